#pragma once
// TVTRExpression: a parsed SQL expression (a tree of expression nodes,
// optionally bound to a cursor or to a record buffer), as the storage engine
// and the data-access layer use it for filters, Locate, record tests and the
// choice of index scans. The SQL engine implements it and registers a
// factory; nodes are the SQL engine's and stay opaque here.
//
// An expression owns its node tree. Nodes taken out of the tree by
// RemoveScanConditionNode are not freed: their owner puts them back with
// AppendConjunct before the expression is used again or freed.
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "engine/foundation/VTRVariant.h"
#include "platform/rtl/Variant.h"

class TVTRAO;
class TVTRCursor;
class TVTRExprNode;
class TVTRIndexDef;
class TVTRIndexDefs;
class TVTRScanSearchCondition;
class TVTRScanSearchConditionArray;

class TVTRExpression {
 public:
  virtual ~TVTRExpression() = default;

  // Binds the cursor and parses the filter text; both flags reach every
  // comparison built. An empty text raises 30119 "Blank SQL command".
  virtual void ParseFilter(TVTRCursor& cursor, std::string_view text, bool partial_compare,
                           bool case_insensitive) = 0;
  // "=" comparisons of the fields named in `key_fields` (separated by ";")
  // with the key value, or with each value of an array, joined by AND. A
  // count of names unlike the count of values raises 30112.
  virtual void BuildLocateCondition(TVTRCursor& cursor, std::string_view key_fields,
                                    const Variant& key_values, bool case_insensitive, bool partial_key) = 0;
  // One comparison of the named field with a copy of `value`; the operator
  // is the SQL engine's code (1 "=", 2 "<>", 3 ">", 4 "<", 5 ">=", 6 "<=").
  // Prepared when a cursor is given.
  virtual void BuildFieldComparison(TVTRCursor* cursor, std::string_view field_name, const TVTRVariant& value,
                                    uint8_t comparison_operator) = 0;
  // Binds every node to the cursor (the outer references to the other two)
  // and prepares the tree; an expression without a tree is left alone.
  virtual void AssignCursor(TVTRCursor& cursor, TVTRAO* outer_ao, TVTRCursor* outer_cursor) = 0;
  // Field nodes of the side (0 inner, 1 outer) read their values from
  // `record`, at the table's field offsets, from now on; the tree is reset
  // for a new evaluation. An expression without a tree is left alone.
  virtual void AssignRecordBuffer(const uint8_t* record, int32_t outer_side) = 0;
  // The value read as a Boolean, NULL counting as false. Without a tree:
  // 30110 "Value is Null".
  virtual bool GetBooleanValue() = 0;
  // No tree, or a root AND node without operands.
  virtual bool IsEmpty() const = 0;

  // Appends an index condition for each comparison (or IS [NOT] NULL test)
  // at the root or under a root AND node that can use one of the indexes
  // (temporary indexes only of the given session); each records the node.
  virtual void CollectScanConditions(const TVTRIndexDefs& index_defs,
                                     TVTRScanSearchConditionArray& conditions, int32_t session_id) = 0;
  // Extends an equality condition by its next key column when an equality
  // node of this expression fixes that column; true when it did.
  virtual bool CanUseIndex(TVTRScanSearchCondition& condition, const TVTRIndexDef& index_def) = 0;
  // Takes out of the tree the nodes of this expression that the conditions
  // at positions `first` and `second` (-1: none) recorded. A node that is
  // neither the root nor one of the root's operands raises 20059.
  virtual void RemoveScanConditionNode(const TVTRScanSearchConditionArray& conditions, int32_t first,
                                       int32_t second) = 0;
  // Puts a node back: it becomes the root of an empty expression, else an
  // operand of the root (an AND node).
  virtual void AppendConjunct(TVTRExprNode* node) = 0;
};

using TVTRExpressionFactory = std::function<std::unique_ptr<TVTRExpression>()>;

// The SQL engine registers its expressions once at start-up.
void RegisterExpressionFactory(TVTRExpressionFactory factory);
// A new, empty expression (no tree, not bound, both comparison options off).
// Raises std::logic_error while no SQL engine is registered.
std::unique_ptr<TVTRExpression> CreateExpression();
