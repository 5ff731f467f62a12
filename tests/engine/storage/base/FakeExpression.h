#pragma once
// A small stand-in for the SQL engine's expressions that honours the storage
// engine's and the data-access layer's contract: comparisons of a field with
// a number or a quoted text ("A = 1", "A <= 5", "NAME = 'b'"), IS NULL and IS
// NOT NULL, joined by AND, with spaces between the words; Locate conditions
// of "=" comparisons. Text comparisons honour both flags: case-insensitive
// folds ASCII letters, partial compare lets a filter text ending in "*" (and
// a Locate value) match the fields that begin with it. Only comparisons with
// numbers serve index scans. Its nodes are its own; the storage engine sees
// them only as opaque node handles.
#include <memory>
#include <string>
#include <vector>

#include "engine/storage/base/Cursor.h"
#include "engine/storage/base/Expression.h"
#include "engine/storage/base/ScanSearchCondition.h"

class FakeExpression : public TVTRExpression {
 public:
  struct Node {
    enum class Kind { Comparison, IsNull, IsNotNull, And };
    Kind kind = Kind::Comparison;
    std::string field;
    uint8_t op = 0;  // 1 "=", 2 "<>", 3 ">", 4 "<", 5 ">=", 6 "<="
    TVTRVariant constant;
    bool case_insensitive = false;
    bool partial = false;  // the field need only begin with a text constant
    std::vector<Node*> operands;
  };

  static TVTRExprNode* HandleOf(Node* node) { return reinterpret_cast<TVTRExprNode*>(node); }
  static Node* NodeOf(TVTRExprNode* handle) { return reinterpret_cast<Node*>(handle); }

  void ParseFilter(TVTRCursor& cursor, std::string_view text, bool partial_compare,
                   bool case_insensitive) override;
  void BuildLocateCondition(TVTRCursor& cursor, std::string_view key_fields, const Variant& key_values,
                            bool case_insensitive, bool partial_key) override;
  void BuildFieldComparison(TVTRCursor* cursor, std::string_view field_name, const TVTRVariant& value,
                            uint8_t comparison_operator) override;
  void AssignCursor(TVTRCursor& cursor, TVTRAO* outer_ao, TVTRCursor* outer_cursor) override {
    cursor_ = &cursor;
  }
  void AssignRecordBuffer(const uint8_t* record, int32_t outer_side) override { record_ = record; }
  bool GetBooleanValue() override;
  bool IsEmpty() const override;
  void CollectScanConditions(const TVTRIndexDefs& index_defs, TVTRScanSearchConditionArray& conditions,
                             int32_t session_id) override;
  bool CanUseIndex(TVTRScanSearchCondition& condition, const TVTRIndexDef& index_def) override;
  void RemoveScanConditionNode(const TVTRScanSearchConditionArray& conditions, int32_t first,
                               int32_t second) override;
  void AppendConjunct(TVTRExprNode* node) override;

  Node* Root() const { return root_; }
  // The root alone, or the operands of a root AND node.
  std::vector<Node*> Conjuncts() const;
  TVTRCursor* BoundCursor() const { return cursor_; }

 private:
  Node* NewNode(Node::Kind kind, std::string field);
  // The one conjunct becomes the root, several an AND node's operands.
  void SetConjuncts(const std::vector<Node*>& conjuncts);
  Node* ParseConjunct(std::string_view text, bool partial_compare, bool case_insensitive);
  Node* NewComparison(std::string field, uint8_t op, const TVTRVariant& constant, bool case_insensitive,
                      bool partial);
  bool Evaluate(const Node& node) const;
  // Whether the node can serve index column `column` after a condition of `kind`.
  bool CanUse(const Node& node, int32_t column, TVTRScanComparison kind, int32_t session_id,
              const TVTRIndexDef& index) const;
  void WriteKey(TVTRScanSearchCondition& condition, const Node& node) const;

  std::vector<std::unique_ptr<Node>> nodes_;  // every node made; the tree points into them
  Node* root_ = nullptr;
  TVTRCursor* cursor_ = nullptr;
  const uint8_t* record_ = nullptr;
};
