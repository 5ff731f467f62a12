#pragma once
// TVTRAOTableExpr: the projection node. It passes its child's rows through
// unchanged; its own select list can add computed columns over them, which
// it then materialises.
#include "engine/sql/operators/AO.h"

class TVTRAOTableExpr : public TVTRAO {
 public:
  // One hidden column per selected column of the child (or per column when
  // the child has no select list), named as the child shows it.
  explicit TVTRAOTableExpr(TVTRAOPtr child);

  void First() override { Left->FirstResult(); }
  void Next() override { Left->NextResult(); }
  bool Eof() override { return Left->EofResult(); }
  int64_t GetRecordCount() override { return Left->GetResultRecordCount(); }
};
