// The register windows' answers to failed dataset-level deletes, edits and
// posts, driven by a dataset whose writes raise the engine's record errors.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/core/RegisterErrorHandlers.h"
#include "engine/access/EngineError.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/support/ArrayDataSet.h"

namespace {

class RegisterErrorHandlers : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    people_.Open();
    people_.Append();
    people_.FieldByName("no")->SetAsString("00001");
    people_.Post();
    people_.Append();
    people_.FieldByName("no")->SetAsString("00002");
    people_.Post();
    BindRegisterErrorHandlers(people_);
    people_.internal_post_calls = 0;
  }

  // A hook that raises the engine's error with `code` the first `times` calls.
  static std::function<void()> Failing(int32_t code, int times, std::string text = {}) {
    return [code, times, text, calls = 0]() mutable {
      if (calls++ < times) throw EVTREngineError(code, text);
    };
  }

  // Runs the operation; true when it ended quietly aborted.
  static bool Aborted(const std::function<void()>& operation) {
    try {
      operation();
    } catch (const EAbort&) {
      return true;
    }
    return false;
  }

  std::string OnlyDialogText() {
    EXPECT_EQ(Dialogs().Transcript().size(), 1u);
    return Dialogs().Transcript().empty() ? std::string() : Dialogs().Transcript().front().text;
  }

  TArrayDataSet people_{nullptr, {{"no", ftString, 5}}};
};

TEST_F(RegisterErrorHandlers, ALockedTableOnPostAsksAndYesRetriesTheRecord) {
  people_.on_internal_post = Failing(-13, 1);
  people_.Append();
  people_.FieldByName("no")->SetAsString("00003");
  Dialogs().Answer(mrYes);
  people_.Post();
  EXPECT_EQ(OnlyDialogText(), "The table is locked. Do you want to try to post this record again?");
  EXPECT_EQ(Dialogs().Transcript().front().type, mtWarning);
  EXPECT_EQ(people_.RowCount(), 3);
  EXPECT_EQ(people_.internal_post_calls, 2);
}

TEST_F(RegisterErrorHandlers, AnswersThatAbandonTheOperationLeaveTheRowsAsTheyWere) {
  struct Case {
    const char* what;
    int32_t code;
    TModalResult answer;  // mrNone: an error box with OK
    std::function<void(TArrayDataSet&)> operation;
    std::string text;
    TMsgDlgType type;
  };
  const auto edit = [](TArrayDataSet& d) { d.Edit(); };
  const auto del = [](TArrayDataSet& d) { d.Delete(); };
  const auto post = [](TArrayDataSet& d) {
    d.Append();
    d.FieldByName("no")->SetAsString("00009");
    d.Post();
  };
  const std::vector<Case> cases = {
      {"delete, table locked, No", -13, mrNo, del, "Table locked. ต้องการจะลบ record นี้ อีกหรือไม่ ?", mtWarning},
      {"delete, record locked, No", -12, mrNo, del, "Record locked. ต้องการจะลบ record นี้ อีกหรือไม่ ?", mtWarning},
      {"delete, deleted by another user", -7, mrOk, del,
       "Record ที่ต้องการลบ ได้ถูกลบไปแล้วโดยผู้ใช้คนอื่น .ข้อมูลจะถูกปรับปรุง ให้เป็นปัจจุบัน .", mtWarning},
      {"delete, changed by another user", -5, mrOk, del,
       "Record ที่จะลบถูกเปลี่ยนแปลง แก้ไข โดยผู้ใช้คนอื่น.  ลองอีกครั้ง .", mtWarning},
      {"edit, table locked, No", -13, mrNo, edit, "Table locked. ต้องการลองใหม่อีกครั้งหรือไม่ ?", mtWarning},
      {"edit, record locked, No", -12, mrNo, edit, "Record locked ต้องการลองใหม่อีกครั้งหรือไม่ ?", mtWarning},
      {"post, constraint", -8, mrOk, post,
       "per_no must be unique. Please change the record to make the constraint satisfied and re-post the record.",
       mtError},
      {"post, another code", -1, mrOk, post, "Vantor Engine Error # -1 Error adding record", mtError},
      {"delete, another code", -3, mrOk, del, "Vantor Engine Error # -3 Error deleting record", mtError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Dialogs().Clear();
    const auto hook = Failing(c.code, 1, c.code == -8 ? "per_no must be unique" : "");
    people_.on_internal_edit = people_.on_internal_delete = people_.on_internal_post = nullptr;
    if (c.operation.target_type() == typeid(edit)) people_.on_internal_edit = hook;
    if (c.operation.target_type() == typeid(del)) people_.on_internal_delete = hook;
    if (c.operation.target_type() == typeid(post)) people_.on_internal_post = hook;
    Dialogs().Answer(c.answer);
    EXPECT_TRUE(Aborted([&] { c.operation(people_); }));
    if (people_.State() != dsBrowse) people_.Cancel();
    EXPECT_EQ(OnlyDialogText(), c.text);
    if (!Dialogs().Transcript().empty()) {
      EXPECT_EQ(Dialogs().Transcript().front().type, c.type);
    }
    EXPECT_EQ(people_.RowCount(), 2);
  }
}

TEST_F(RegisterErrorHandlers, AnEditOfARowAnotherUserChangedOrDeletedIsRetriedAfterTheRefresh) {
  for (const int32_t code : {-6, -4}) {
    SCOPED_TRACE(code);
    Dialogs().Clear();
    people_.on_internal_edit = Failing(code, 1);
    Dialogs().Answer(mrOk);
    people_.Edit();
    EXPECT_EQ(people_.State(), dsEdit) << "the retry after the refresh edits the row";
    people_.Cancel();
    EXPECT_EQ(OnlyDialogText(), code == -6 ? "Record ถูกลบ โดยผู้ใช้คนอื่น . ข้อมูลจะถูกปรับปรุง ให้เป็นปัจจุบัน"
                                           : "Record  modified โดยผู้ใช้คนอื่น . ข้อมูลจะถูกปรับปรุง ให้เป็นปัจจุบัน");
  }
}

TEST_F(RegisterErrorHandlers, ADeleteOfALockedRecordAnsweredYesIsRetried) {
  people_.on_internal_delete = Failing(-12, 1);
  Dialogs().Answer(mrYes);
  people_.Delete();
  EXPECT_EQ(people_.RowCount(), 1);
}

}  // namespace
