#include "engine/access/ErrorMessage.h"

#include "engine/access/EngineError.h"
#include "engine/foundation/VTRExcept.h"
#include "platform/rtl/Application.h"
#include "platform/rtl/CodePage874.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Unicode.h"

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

std::string DisplayCp874(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (const char byte : text) {
    char32_t code_point;
    if (!Cp874ToUnicode(static_cast<uint8_t>(byte), code_point)) code_point = kReplacementCharacter;
    AppendUtf8(out, code_point);
  }
  return out;
}

bool IsEngineError(const std::exception& error) {
  return dynamic_cast<const EVTRException*>(&error) != nullptr ||
         dynamic_cast<const EVTREngineError*>(&error) != nullptr;
}

}  // namespace

std::string ExceptionMessageUtf8(const std::exception& error) {
  return IsEngineError(error) ? DisplayCp874(error.what()) : std::string(error.what());
}

std::string EngineMessageText(std::string_view utf8) {
  try {
    return Utf8ToCp874(utf8);
  } catch (const EConvertError&) {
    return std::string(utf8);
  }
}

void HandleEngineException(TObject* sender) {
  try {
    throw;
  } catch (const std::exception& error) {
    if (!IsEngineError(error)) return Application().HandleException(sender);
    try {
      throw Exception(ExceptionMessageUtf8(error));
    } catch (...) {
      Application().HandleException(sender);
    }
  } catch (...) {
    Application().HandleException(sender);
  }
}

void ShowingEngineErrors(TObject* sender, const std::function<void()>& step) {
  try {
    step();
  } catch (...) {
    HandleEngineException(sender);
  }
}

void CleaningUp(const std::function<void()>& step) {
  try {
    step();
  } catch (...) {
    // The failure being handled is the one to report.
  }
}
