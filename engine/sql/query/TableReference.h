#pragma once
// TVTRTableReference: one FROM item while a SELECT is parsed and built: a
// stored table, a join of two references, or a subquery.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/sql/expression/SQLExpression.h"
#include "engine/sql/operators/AOJoin.h"

class TVTRSQLUnion;

enum TVTRTableReferenceKind : uint8_t { trkTable = 0, trkJoin = 1, trkSubquery = 2 };

struct TVTRTableReference {
  TVTRTableReference();
  ~TVTRTableReference();
  TVTRTableReference(const TVTRTableReference&) = delete;
  TVTRTableReference& operator=(const TVTRTableReference&) = delete;

  TVTRTableReferenceKind Kind = trkTable;
  std::string ExternalFile;  // the file of another database (file.table)
  std::string TableName;
  std::string Alias;  // the correlation name, also of a parenthesised item
  std::string Password;
  bool InMemory = false;
  bool Natural = false;
  TVTRJoinType JoinType = jtCross;
  std::unique_ptr<TVTRTableReference> Left, Right;
  std::vector<std::string> UsingList;
  std::unique_ptr<TVTRSQLExpression> OnCondition;
  std::unique_ptr<TVTRSQLUnion> Subquery;
};
