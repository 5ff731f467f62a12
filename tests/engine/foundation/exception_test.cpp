#include "engine/foundation/VTRExcept.h"

#include <gtest/gtest.h>

namespace {

TEST(EngineException, CreatePadsTheCodeWithZeros) {
  EVTRException e(1234, "x");
  EXPECT_EQ("x - Native error: 01234", e.Message());
  EXPECT_EQ(1234, e.NativeError());
  EXPECT_EQ("Invalid pointer - Native error: 30001", EVTRException(30001, "Invalid pointer").Message());
}

TEST(EngineException, CreateFmtPadsTheCodeWithBlanks) {
  EXPECT_EQ("Cannot find field ID - Native error:  1234",
            EVTRException::CreateFmt(1234, "Cannot find field %s", "ID").Message());
  EXPECT_EQ("plain - Native error: 20213", EVTRException::CreateFmt(20213, "plain").Message());
}

TEST(EngineException, CreateFmtFallsBackToTheRawFormatOnMismatch) {
  const EVTRException e = EVTRException::CreateFmt(30010, "Cannot find field %s", 42);
  EXPECT_EQ("Cannot find field %s Arguments are invalid! - Native error: 30010", e.Message());
  EXPECT_EQ(30010, e.NativeError());
  EXPECT_EQ("Need %d and %d Arguments are invalid! - Native error:   123",
            EVTRException::CreateFmt(123, "Need %d and %d", 1).Message());
}

TEST(EngineException, IsCaughtAsThePlatformException) {
  try {
    throw EVTRException(30137, "Memory overrun detected");
  } catch (const Exception& e) {
    EXPECT_STREQ("Memory overrun detected - Native error: 30137", e.what());
  }
}

}  // namespace
