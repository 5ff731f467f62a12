#include "engine/sql/SQLEngineStartup.h"

#include <memory>

#include "engine/sql/expression/SQLExpression.h"
#include "engine/sql/processor/SQLProcessor.h"

void InitializeSQLEngine() {
  RegisterExpressionFactory([] { return std::make_unique<TVTRSQLExpression>(); });
  RegisterSQLProcessorFactory([](TVTRQuery& query) {
    return std::make_unique<TVTRLocalSQLProcessor>([&query] { return TVTRQueryContext::Of(query); });
  });
}
