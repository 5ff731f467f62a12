#include "engine/access/EngineError.h"

#include <array>
#include <utility>

#include "engine/storage/base/ResultCodes.h"

namespace {

constexpr std::array<std::pair<int32_t, std::string_view>, 12> kResultTexts = {{
    {kResultAddFailed, "Error adding record"},
    {kResultUpdateFailed, "Error updating record"},
    {kResultDeleteFailed, "Error deleting record"},
    {kResultUpdateModified, "Error updating record - record was modified by other process"},
    {kResultDeleteModified, "Error deleting record - record was modified by other process"},
    {kResultUpdateDeleted, "Error updating record - record was deleted by other process"},
    {kResultDeleteDeleted, "Error deleting record - record was deleted by other process"},
    {kResultTemporaryUpdate, "Cannot update record in temporary mode"},
    {kResultTemporaryDelete, "Cannot delete record in temporary mode"},
    {kResultTemporaryCancel, "Cannot cancel operation in temporary mode"},
    {kResultRecordLocked, "Record is locked"},
    {kResultTableLocked, "Table is locked"},
}};

std::string ResultText(int32_t error_code, std::string_view text) {
  if (error_code == kResultFailure) return std::string(text);
  for (const auto& [code, fixed] : kResultTexts)
    if (code == error_code) return std::string(fixed);
  return {};
}

}  // namespace

EVTREngineError::EVTREngineError(int32_t error_code, std::string_view text)
    : EDatabaseError(std::string()), ErrorCode(error_code), ErrorText(ResultText(error_code, text)) {
  SetMessage("Vantor Engine Error # " + std::to_string(error_code) + " " + ErrorText);
}
