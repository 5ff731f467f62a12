#include <gtest/gtest.h>

#include "engine/storage/VTRBase.h"
#include "tests/engine/storage/common/TestSession.h"

namespace {

std::unique_ptr<TVTRSessionNamedObjectSequenceValue> Sequence(int32_t id, const char* name, int64_t last) {
  auto object = std::make_unique<TVTRSessionNamedObjectSequenceValue>();
  object->ObjectID = id;
  object->Name = name;
  object->LastValue = last;
  return object;
}

TEST(SessionNamedObjects, AreReplacedByIDOrForIDMinusOneByName) {
  TestSession session;
  EXPECT_EQ(session.SessionID, 0);
  session.AddNamedObject(Sequence(5, "first", 1));
  session.AddNamedObject(Sequence(-1, "Counter", 2));
  session.AddNamedObject(Sequence(5, "other", 3));
  session.AddNamedObject(Sequence(-1, "COUNTER", 4));
  ASSERT_EQ(session.NamedObjects().size(), 2u);
  EXPECT_EQ(static_cast<TVTRSessionNamedObjectSequenceValue*>(session.FindNamedObjectByID(5))->LastValue, 3);
  EXPECT_EQ(static_cast<TVTRSessionNamedObjectSequenceValue*>(session.FindNamedObject("counter"))->LastValue,
            4);
  EXPECT_EQ(session.FindNamedObject("first"), nullptr);
  EXPECT_EQ(session.FindNamedObjectByID(6), nullptr);
}

}  // namespace
