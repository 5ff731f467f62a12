#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/access/EngineError.h"
#include "engine/access/ErrorMessage.h"
#include "engine/foundation/VTRExcept.h"
#include "platform/rtl/Application.h"

namespace {

TEST(EngineError, TheMessageIsTheCodeAndItsTextAndTheErrorIsADatabaseError) {
  struct Case {
    int32_t code;
    std::string given;
    std::string message;
  };
  const std::vector<Case> cases = {
      {-13, "", "Vantor Engine Error # -13 Table is locked"},
      {-8, "Key violation", "Vantor Engine Error # -8 Key violation"},
      {-1, "ignored", "Vantor Engine Error # -1 Error adding record"},
      {-4, "", "Vantor Engine Error # -4 Error updating record - record was modified by other process"},
      {-7, "", "Vantor Engine Error # -7 Error deleting record - record was deleted by other process"},
      {-11, "", "Vantor Engine Error # -11 Cannot cancel operation in temporary mode"},
      {-12, "", "Vantor Engine Error # -12 Record is locked"},
      {-14, "no text of its own", "Vantor Engine Error # -14 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    try {
      throw EVTREngineError(c.code, c.given);
    } catch (const EDatabaseError& error) {
      EXPECT_EQ(error.Message(), c.message);
      const auto& engine_error = dynamic_cast<const EVTREngineError&>(error);
      EXPECT_EQ(engine_error.ErrorCode, c.code);
      EXPECT_EQ(engine_error.ErrorText, c.message.substr(c.message.find(' ', 23) + 1));
    }
  }
  bool caught_as_database_error = false;
  try {
    throw EVTRException(20229, "Database is not in transaction. Cannot perform operation");
  } catch (const EDatabaseError&) {
    caught_as_database_error = true;
  } catch (const EVTRException&) {
  }
  EXPECT_FALSE(caught_as_database_error);
}

TEST(ErrorMessageUtf8, EngineErrorsAreConvertedFromCodePage874AndOtherMessagesKept) {
  const std::string thai_cp874 = "\xBA\xD1\xAD\xAA\xD5";  // บัญชี
  const std::string thai_utf8 = "บัญชี";
  EXPECT_EQ(ExceptionMessageUtf8(EVTRException(30026, "Field '" + thai_cp874 + "'")),
            "Field '" + thai_utf8 + "' - Native error: 30026");
  EXPECT_EQ(ExceptionMessageUtf8(EVTREngineError(-8, thai_cp874)), "Vantor Engine Error # -8 " + thai_utf8);
  EXPECT_EQ(ExceptionMessageUtf8(EDatabaseError("Database file '" + thai_utf8 + ".vtr' does not exist")),
            "Database file '" + thai_utf8 + ".vtr' does not exist");
  // A byte the code page leaves undefined cannot stop the message from showing.
  EXPECT_EQ(ExceptionMessageUtf8(EVTREngineError(-8, "a\xFC")), "Vantor Engine Error # -8 a\xEF\xBF\xBD");
}

TEST(ErrorMessageUtf8, TheApplicationObjectShowsEngineErrorsInUtf8) {
  std::vector<std::string> shown;
  Application().OnException = [&](TObject*, const std::exception& error) { shown.push_back(error.what()); };
  ShowingEngineErrors(nullptr, [] { throw EVTREngineError(-8, "\xA1"); });
  ShowingEngineErrors(nullptr, [] { throw EDatabaseError("plain"); });
  ShowingEngineErrors(nullptr, [] { throw EAbort(); });
  ShowingEngineErrors(nullptr, [] {});
  Application().OnException = nullptr;
  EXPECT_EQ(shown, (std::vector<std::string>{"Vantor Engine Error # -8 ก", "plain"}));
}

}  // namespace
