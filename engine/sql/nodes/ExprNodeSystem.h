#pragma once
// ROWNUM: 1, 2, 3, ... on successive evaluations of one node, never reset
// while the node lives.
// LASTAUTOINC(table, field): the last value this session drew for the
// autoincrement field, read anew at every evaluation as a LARGEINT; in a
// session that has inserted no row into the table, the engine's 30012.
#include <memory>
#include <string>

#include "engine/sql/nodes/ExprNode.h"
#include "engine/sql/processor/QueryContext.h"

class TVTRTable;

// Where LASTAUTOINC reads: a table (engine text) of the query's alias.
struct TVTRLastAutoincSource {
  TVTRQueryContext Query;
  bool InMemory = false;
  std::string TableName;
  std::string FieldName;
};

class TVTRExprNodeSystem : public TVTRExprNode {
 public:
  explicit TVTRExprNodeSystem(TVTRExprOperator op);
  // LASTAUTOINC. The table opens read-only at the first evaluation (the
  // parser may build and drop a node while it tries alternatives) and
  // stays open while the node lives; a field it lacks raises 30337.
  explicit TVTRExprNodeSystem(TVTRLastAutoincSource source);
  ~TVTRExprNodeSystem() override;

  // Another operator code raises 30338.
  TVTRVariant& GetValue() override;
  TVTRAdvancedDataType GetDataType() override;

 private:
  void OpenTable();

  int32_t row_number_ = 0;
  TVTRLastAutoincSource source_;
  std::unique_ptr<TVTRTable> table_;
  int32_t field_position_ = -1;
};
