// Document numbers: the next number of a series from the highest well-formed
// stored number, the first number asked from the user, and every refusal shown
// with no number made.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/core/DocumentNumber.h"
#include "platform/rtl/Component.h"
#include "tests/app/core/support/ServedQuery.h"
#include "tests/platform/ui/support/UiTest.h"

namespace {

const NumberingStatement kStatement{{" select bill_no from g_donate_2 where substring(bill_no from 1 for 5) = "
                                     ":head_bill  order by bill_no "}};

class DocumentNumberTest : public UiTest {
 protected:
  std::optional<std::string> Next(const std::vector<std::string>& stored, std::string_view prefix = "DN67") {
    for (const std::string& number : stored) query_.served.push_back({Variant(number)});
    return NextDocumentNumber(query_, kStatement, prefix);
  }

  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const DialogRecord& record : Dialogs().Transcript()) {
      if (record.kind == DialogRecord::Kind::Message) texts.push_back(record.text);
    }
    return texts;
  }

  TComponent owner_{nullptr};
  ServedQuery query_{owner_, {{"bill_no", ftString, 11}}, ""};
};

TEST_F(DocumentNumberTest, TheNextNumberFollowsTheHighestWellFormedNumberOfTheHead) {
  struct Case {
    std::vector<std::string> stored;  // in the statement's order
    const char* next;
  };
  for (const Case& c : {Case{{"DN671000041"}, "DN671000042"},
                        Case{{"DN671000009", "DN671000099"}, "DN671000100"},
                        Case{{"DN671000041", "DN6712"}, "DN671000042"},
                        Case{{"DN671000041", "DN6710000x2"}, "DN671000042"},
                        Case{{"DN671999998"}, "DN671999999"}}) {
    query_.served.clear();
    EXPECT_EQ(Next(c.stored), c.next) << c.stored.back();
  }
  ASSERT_FALSE(query_.runs.empty());
  EXPECT_EQ(query_.runs[0].lines, kStatement.lines);
  const Variant* head = ServedQuery::Parameter(query_.runs[0], "head_bill");
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->AsString(), "DN671");
  EXPECT_TRUE(Dialogs().Transcript().empty()) << "a series with a number asks nothing";
  EXPECT_FALSE(query_.Rows().Active()) << "the numbering closes its query";
}

TEST_F(DocumentNumberTest, TheFirstNumberOfAHeadIsAskedAndMustBeSixDigits) {
  Dialogs().AnswerInput("000001");
  EXPECT_EQ(Next({}), "DN671000001");
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  const DialogRecord& box = Dialogs().Transcript()[0];
  EXPECT_EQ(box.caption, "กำหนดเลขที่ใบสำคัญครั้งแรก");
  EXPECT_EQ(box.text, "เลขจำนวน 6 หลัก เช่น 001007 ค่าโดยปริยาย 000001");

  Dialogs().CancelInput();
  EXPECT_EQ(Next({}), "DN671000001") << "cancelling gives the default";
  Dialogs().AnswerInput("001007");
  EXPECT_EQ(Next({"DN6712"}), "DN671001007") << "a head with only ill-formed numbers starts again";

  struct Refused {
    const char* answer;
    std::vector<std::string> messages;
  };
  const std::string digits = "ต้องเป็นตัวเลข จำนวน 6 หลัก ยกเลิกแล้วเริ่มต้นใหม่ นะ.";
  const std::string length = "ไม่ครบ 6 หลัก ยกเลิกแล้วเริ่มต้นใหม่ นะ.";
  for (const Refused& c : {Refused{"12", {length}}, Refused{"12a456", {digits}}, Refused{"ab", {digits, length}},
                           Refused{"-12345", {digits}}, Refused{"0000001", {length}}}) {
    Dialogs().Clear();
    Dialogs().AnswerInput(c.answer);
    for (size_t i = 0; i < c.messages.size(); ++i) Dialogs().Answer(mrOk);
    EXPECT_EQ(Next({}), std::nullopt) << c.answer;
    EXPECT_EQ(Messages(), c.messages) << c.answer;
  }
}

TEST_F(DocumentNumberTest, RefusalsAreShownAndMakeNoNumber) {
  struct Case {
    const char* prefix;
    std::vector<std::string> stored;
    const char* fail;
    const char* message;
  };
  for (const Case& c :
       {Case{"DN6", {"DN671000041"}, "", "รหัสนำหน้าใบรับ / ใบคืน ไม่ครบ 4 หลัก..."},
        Case{"DN678", {"DN671000041"}, "", "รหัสนำหน้าใบรับ / ใบคืน ไม่ครบ 4 หลัก..."},
        Case{"DN67", {"DN671999999"}, "", kSeriesFullMessage.data()},
        Case{"DN67", {}, "record locked", " ยังไม่สามารถกำหนดเลขที่ใบสำคัญตอนนี้ได้ ... รอสักครู่ และดำเนินการใหม่อีกครั้ง"}}) {
    Dialogs().Clear();
    query_.served.clear();
    query_.fail_next = c.fail;
    Dialogs().Answer(mrOk);
    EXPECT_EQ(Next(c.stored, c.prefix), std::nullopt) << c.message;
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
  }
}

TEST(DocumentNumberSplit, PrefixKindAndRunningNumberAreSeparated) {
  EXPECT_EQ(SplitDocumentNumber("ABCD1000123"), "ABCD-1-000123");
  EXPECT_EQ(SplitDocumentNumber("กขคง1000123"), "กขคง-1-000123");
  EXPECT_EQ(SplitDocumentNumber("AB"), "AB--");
  EXPECT_TRUE(IsWellFormedDocumentNumber("กขคง1000123"));
  EXPECT_FALSE(IsWellFormedDocumentNumber("DN67100012"));
}

}  // namespace
