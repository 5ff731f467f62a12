#include <stdexcept>
#include <utility>

#include "engine/storage/base/Expression.h"
#include "engine/storage/base/SQLProcessor.h"

namespace {

// One registered factory per kind of object the SQL engine supplies.
template <typename Factory>
Factory& Registered() {
  static Factory factory;
  return factory;
}

template <typename Factory>
const Factory& RegisteredOrRaise() {
  if (!Registered<Factory>()) throw std::logic_error("no SQL engine is registered");
  return Registered<Factory>();
}

}  // namespace

void RegisterExpressionFactory(TVTRExpressionFactory factory) {
  Registered<TVTRExpressionFactory>() = std::move(factory);
}

std::unique_ptr<TVTRExpression> CreateExpression() {
  return RegisteredOrRaise<TVTRExpressionFactory>()();
}

void RegisterSQLProcessorFactory(TVTRSQLProcessorFactory factory) {
  Registered<TVTRSQLProcessorFactory>() = std::move(factory);
}

std::unique_ptr<TVTRSQLProcessor> CreateSQLProcessor(TVTRQuery& owner) {
  return RegisteredOrRaise<TVTRSQLProcessorFactory>()(owner);
}
