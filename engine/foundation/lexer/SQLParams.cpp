#include "engine/foundation/lexer/SQLParams.h"

#include "platform/rtl/TextCase.h"

TVTRSQLParam& TVTRSQLParams::AddParam() {
  return *items_.emplace_back(std::make_unique<TVTRSQLParam>());
}

const TVTRSQLParam* TVTRSQLParams::FindParam(std::string_view name) const {
  for (const auto& param : items_)
    if (SameText(param->Name(), name)) return param.get();
  return nullptr;
}
