#pragma once
// The parameter list that a query fills and the lexer reads: an owned,
// ordered list of named values.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/foundation/VTRVariant.h"

class TVTRSQLParams {
 public:
  TVTRSQLParams() = default;
  TVTRSQLParams(const TVTRSQLParams&) = delete;
  TVTRSQLParams& operator=(const TVTRSQLParams&) = delete;

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // Requires 0 <= index < Count().
  TVTRSQLParam& Items(int32_t index) { return *items_.at(index); }
  const TVTRSQLParam& Items(int32_t index) const { return *items_.at(index); }
  // Appends an untyped NULL parameter; the caller sets its name and value.
  TVTRSQLParam& AddParam();
  void Clear() { items_.clear(); }
  // The first parameter of that name, compared without regard to letter case; null if none.
  const TVTRSQLParam* FindParam(std::string_view name) const;

 private:
  std::vector<std::unique_ptr<TVTRSQLParam>> items_;
};
