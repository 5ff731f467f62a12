// The lines of a memo: line by line, and from text files in UTF-8 or code page 874.
#include <fstream>
#include <string>
#include <vector>

#include "platform/rtl/CodePage874.h"
#include "platform/rtl/FileErrors.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Form.h"
#include "platform/ui/Memo.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/support/ScratchFolder.h"

namespace {

class MemoTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = FormsApplication().CreateForm<TForm>();
    memo_ = new TMemo(form_);
  }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_.File(name), std::ios::binary) << bytes;
  }

  ScratchFolder folder_;
  TForm* form_ = nullptr;
  TMemo* memo_ = nullptr;
};

TEST_F(MemoTest, LinesAreAddedReadAndCleared) {
  memo_->Lines().Add("วัดป่า");
  memo_->Lines().Add("");
  memo_->Lines().Add("ศาลา");
  EXPECT_EQ(memo_->Lines().Count(), 3);
  EXPECT_EQ(memo_->Lines()[2], "ศาลา");
  EXPECT_EQ(memo_->Text(), "วัดป่า\r\n\r\nศาลา");
  EXPECT_THROW(memo_->Lines()[3], EStringListError);
  memo_->Lines().Clear();
  EXPECT_EQ(memo_->Lines().Count(), 0);
}

TEST_F(MemoTest, AFileIsReadAsUtf8OrElseAsCodePage874) {
  const std::string text = "ผ้าป่าสามัคคี\r\nค่าน้ำค่าไฟ\nได้รับเงินจาก\r\n";
  const std::vector<std::string> lines{"ผ้าป่าสามัคคี", "ค่าน้ำค่าไฟ", "ได้รับเงินจาก"};
  struct Case {
    const char* name;
    std::string bytes;
  };
  for (const Case& c : {Case{"utf8.txt", text}, Case{"bom.txt", "\xEF\xBB\xBF" + text},
                        Case{"cp874.txt", Utf8ToCp874(text)}}) {
    Write(c.name, c.bytes);
    memo_->Clear();
    memo_->Lines().LoadFromFile(folder_.File(c.name));
    EXPECT_EQ(memo_->Lines().ToVector(), lines) << c.name;
  }
  EXPECT_THROW(memo_->Lines().LoadFromFile(folder_.File("missing.txt")), EFOpenError);
  EXPECT_EQ(memo_->Lines().ToVector(), lines);
}

}  // namespace
