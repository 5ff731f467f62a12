#include "engine/sql/SQLEngineStartup.h"

#include <memory>

#include "engine/sql/expression/SQLExpression.h"

void InitializeSQLEngine() {
  RegisterExpressionFactory([] { return std::make_unique<TVTRSQLExpression>(); });
}
