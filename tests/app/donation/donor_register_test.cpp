// The donor register over a fresh temple database, driven as a user drives it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/donation/Ref_Attn.h"
#include "app/donation/Ref_Cust.h"
#include "platform/report/PreviewService.h"
#include "platform/rtl/CodePage874.h"
#include "tests/app/donation/support/DonationRegisterTest.h"
#include "tests/app/donation/support/PartyPicker.h"

namespace {

TableRow Donor(const std::string& number, const std::string& name) {
  return {"customer", {{"cust_no", number}, {"cust_name", name}}};
}

class DonorRegister : public DonationRegisterTest {
 protected:
  void SetUp() override {
    DonationRegisterTest::SetUp();
    myVar.PickCaller = "0";
    SetDonorPrefix("ABCD");
  }

  template <typename Window = TRef_Cust>
  Window& Open(PickTarget* opener = nullptr) {
    auto* window = FormsApplication().CreateForm<Window>(opener);
    window->Show();
    user::ProcessEvents();
    return *window;
  }

  Rows StoredDonors() { return Stored("customer", {"cust_no", "cust_name"}); }

  // Adds a donor as a user does: add, type the name after the preset title, save.
  void AddDonor(TRef_Cust& w, const std::string& name) {
    user::Click(*w.SpeedButton1);
    EXPECT_EQ(seen::Text(*w.Edit2), "Tempxxxx");
    EXPECT_TRUE(seen::HasFocus(*w.Edit3));
    user::Type(name);
    user::Click(*w.SpeedButton8);
  }
};

TEST_F(DonorRegister, NewDonorsAreNumberedInTurnUnderThePrefix) {
  TRef_Cust& w = Open();
  EXPECT_EQ(seen::Caption(w), " ทะเบียนผู้บริจาค - ผู้ใช้บริการ");
  EXPECT_EQ(seen::Text(*w.SpeedButton2), "เลิก");
  AddDonor(w, "สมศรี");
  AddDonor(w, "สมชาย");
  EXPECT_TRUE(Dialogs().Transcript().empty());
  EXPECT_EQ(StoredDonors(), (Rows{{"ABCD000001", "คุณสมศรี"}, {"ABCD000002", "คุณสมชาย"}}));
  EXPECT_EQ(seen::Text(*w.Edit2), "ABCD000002");
  EXPECT_EQ(myVar.CurrentPartyNo, "ABCD000002");
  EXPECT_EQ(w.EditState, "normal");
}

TEST_F(DonorRegister, TheNextNumberFollowsTheHighestRunningNumberOfThePrefixOnly) {
  Store({Donor("ABCD000099", "เก้าสิบเก้า"), Donor("XYZW000500", "อื่น"), Donor("ABCD12", "เก่า"),
         Donor("ABCD00012X", "เก่าด้วย")});
  TRef_Cust& w = Open();
  AddDonor(w, "ใหม่");
  EXPECT_EQ(Stored("customer", {"cust_no"}).back(), std::vector<std::string>{"ABCD000100"});
}

struct Refusal {
  const char* prefix;
  const char* stored;  // a donor number stored before, or ""
  const char* message;
};

class DonorNumberRefused : public DonorRegister, public testing::WithParamInterface<Refusal> {};

TEST_P(DonorNumberRefused, SavesNothingAndStaysInAdd) {
  const Refusal& refusal = GetParam();
  SetDonorPrefix(refusal.prefix);
  if (*refusal.stored != '\0') Store({Donor(refusal.stored, "สุดท้าย")});
  const Rows before = StoredDonors();
  TRef_Cust& w = Open();
  Dialogs().Answer(mrOk);
  AddDonor(w, "ใหม่");
  EXPECT_EQ(Shown(), std::vector<std::string>{refusal.message});
  EXPECT_EQ(StoredDonors(), before);
  EXPECT_EQ(w.EditState, "add");
  EXPECT_EQ(seen::Text(*w.Edit3), "คุณใหม่");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DonorNumberRefused,
    testing::Values(Refusal{"ABCD", "ABCD999999", kDonorNumbersUsedUp},
                    Refusal{"ABC", "", "รหัสนำหน้าใบรับ / ใบคืน ไม่ครบ 4 หลัก..."},
                    Refusal{"", "", "รหัสนำหน้าใบรับ / ใบคืน ไม่ครบ 4 หลัก..."}));

// Takes the number it computes for itself after another user stored it, as
// when two users add a donor at the same moment.
class TRacedRegister : public TRef_Cust {
 public:
  using TRef_Cust::TRef_Cust;
  std::function<void(const std::string&)> on_number;

 protected:
  std::string NextNumber() override {
    std::string number = TRef_Cust::NextNumber();
    if (on_number) std::exchange(on_number, nullptr)(number);
    return number;
  }
};

TEST_F(DonorRegister, ANumberAnotherUserStoredFirstIsRefusedAndTheNextSaveNumbersAgain) {
  TRacedRegister& w = Open<TRacedRegister>();
  w.on_number = [this](const std::string& number) { Store({Donor(number, "ผู้ใช้อื่น")}); };
  Dialogs().Answer(mrOk);
  AddDonor(w, "สมศรี");
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].type, mtError) << Dialogs().Transcript()[0].text;
  EXPECT_EQ(w.EditState, "add");
  EXPECT_EQ(StoredDonors(), (Rows{{"ABCD000001", "ผู้ใช้อื่น"}}));
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(StoredDonors(), (Rows{{"ABCD000001", "ผู้ใช้อื่น"}, {"ABCD000002", "คุณสมศรี"}}));
  EXPECT_EQ(w.EditState, "normal");
}

TEST_F(DonorRegister, ChoosingATitleReplacesTheNameAndTheTypedNameFollowsIt) {
  TRef_Attn& titles = *FormsApplication().CreateForm<TRef_Attn>();
  user::ProcessEvents();
  for (const char* title : {"พระ", "นาง"}) {
    user::Click(*titles.SpeedButton1);
    user::Type(title);
    user::PressEnter();
    EXPECT_TRUE(seen::HasFocus(*titles.Button8));
    user::Click(*titles.Button8);
  }
  TRef_Cust& w = Open();
  EXPECT_FALSE(seen::Visible(*w.ComboBox2));
  user::Click(*w.SpeedButton1);
  ASSERT_TRUE(seen::Visible(*w.ComboBox2));
  EXPECT_EQ(w.ComboBox2->Items(), (std::vector<std::string>{"พระ", "นาง"}));
  user::Type("ลบทิ้ง");
  user::ChooseComboItem(*w.ComboBox2, 1);
  EXPECT_TRUE(seen::HasFocus(*w.Edit3));
  user::Type("สมศรี");
  EXPECT_EQ(seen::Text(*w.Edit3), "นางสมศรี");
  user::Click(*w.SpeedButton6);
  EXPECT_FALSE(seen::Visible(*w.ComboBox2));
}

TEST_F(DonorRegister, ASearchByPartFindsTypedQuotesAndReturnFromItRestoresTheFullList) {
  Store({Donor("ABCD000001", "คุณO'Neil"), Donor("ABCD000002", "คุณสมศรี"), Donor("ABCD000003", "abc")});
  TRef_Cust& w = Open();
  TDonorSearchPage& search = *w.TabSheet2;
  user::Click(*w.BitBtn1);
  EXPECT_FALSE(seen::Visible(*w.Panel1));
  EXPECT_TRUE(seen::HasFocus(*search.Edit1));
  user::Type("O'Neil");
  user::PressEnter();
  ASSERT_EQ(seen::RowCount(*search.DBGrid1), 1);
  EXPECT_EQ(seen::Cell(*search.DBGrid1, 0, 1), "คุณO'Neil");
  EXPECT_TRUE(seen::HasFocus(*search.Button1));
  EXPECT_TRUE(Dialogs().Transcript().empty());
  user::Click(*search.Button1);
  EXPECT_TRUE(seen::Visible(*w.Panel1));
  EXPECT_EQ(seen::Text(*w.Edit3), "คุณO'Neil");
  EXPECT_EQ(w.Table1->RecordCount(), 3);
}

TEST_F(DonorRegister, ASearchForTheWholeValueIgnoresLetterCaseButNotAMissingEnd) {
  Store({Donor("ABCD000001", "abc"), Donor("ABCD000002", "คุณสมศรี")});
  TRef_Cust& w = Open();
  TDonorSearchPage& search = *w.TabSheet2;
  user::Click(*w.BitBtn1);
  user::ClickItem(*search.RadioGroup2, 1);
  EXPECT_TRUE(seen::HasFocus(*search.Edit1));
  struct Case {
    std::string typed;
    TButton* focused;
    std::string shown;
  };
  for (const Case& c : {Case{"ABC", search.Button1, "abc"}, Case{"คุณสม", search.Button2, "คุณสมศรี"}}) {
    user::ClickButton(*w.DBNavigator1, nbLast);
    search.Edit1->Clear();
    user::Click(*search.Edit1);
    user::Type(c.typed);
    user::PressEnter();
    EXPECT_TRUE(seen::HasFocus(*c.focused)) << c.typed;
    EXPECT_EQ(w.Table1->FieldByName("cust_name")->AsString(), c.shown) << c.typed;
  }
}

TEST_F(DonorRegister, ClosingAPickWritesTheDonorShownIntoTheWindowThatOpenedIt) {
  Store({{"customer",
          {{"cust_no", "ABCD000007"},
           {"cust_name", "คุณสมศรี"},
           {"cust_add1", "1 ถนนสุขุมวิท"},
           {"cust_add2", "คลองเตย"},
           {"cust_add4", "กรุงเทพฯ"},
           {"cust_zip", "10110"},
           {"country", "ไทย"},
           {"cust_birth", "31/12/2500"}}}});
  myVar.PickCaller = "1";
  auto& opener = *FormsApplication().CreateForm<TPartyPicker>();
  // A newer window of the opener's class is not the one that asked.
  auto& newer = *FormsApplication().CreateForm<TPartyPicker>();
  TRef_Cust& w = Open(&opener);
  EXPECT_EQ(seen::Text(*w.SpeedButton2), "กลับใช้ข้อมูลนี้");
  user::CloseWindow(w);
  user::ProcessEvents();
  EXPECT_EQ(opener.DonationCustNo, "ABCD000007");
  EXPECT_EQ((std::vector<std::string>{seen::Text(*opener.Edit2), seen::Text(*opener.Edit3),
                                      seen::Text(*opener.Edit21), seen::Text(*opener.Edit22),
                                      seen::Text(*opener.Edit23), seen::Text(*opener.Edit13),
                                      seen::Text(*opener.Edit12)}),
            (std::vector<std::string>{"คุณสมศรี", "1 ถนนสุขุมวิท", "คลองเตย", "กรุงเทพฯ", "10110", "ไทย",
                                      "31/12/2500"}));
  EXPECT_EQ(newer.DonationCustNo, "unchanged");

  myVar.PickCaller = "0";
  TRef_Cust& from_menu = Open(&newer);
  user::Click(*from_menu.SpeedButton2);
  user::ProcessEvents();
  EXPECT_EQ(newer.Written(), kNothingWritten);
}

TEST_F(DonorRegister, TheExportWritesEveryDonorQuotedInTheThaiCodePage) {
  Store({Donor("ABCD000001", "คุณO'Neil"), Donor("ABCD000002", "คุณสมศรี")});
  TRef_Cust& w = Open();
  EXPECT_TRUE(w.Button7->Enabled());
  Dialogs().Answer(mrOk);
  user::Click(*w.Button7);
  EXPECT_EQ(Shown(), std::vector<std::string>{"ไม่สามารถดำเนิการได้..."}) << "no CSV folder";

  std::filesystem::create_directory(folder_.Path() / "CSV");
  Dialogs().Clear();
  Dialogs().Answer(mrOk);
  Dialogs().Answer(mrOk);
  user::Click(*w.Button7);
  EXPECT_EQ(Shown(), (std::vector<std::string>{
                         "บันทึกลงแฟ้ม  CSV\\ทะเบียนรายชื่อผู้บริจาค.csv สำเร็จ...",
                         "ดำเนินการสร้างแฟ้ม CSV\\ทะเบียนรายชื่อผู้บริจาค.csv เรียบร้อยแล้ว..."}));
  std::ifstream file(folder_.Path() / "CSV" / "ทะเบียนรายชื่อผู้บริจาค.csv", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::string text = Cp874ToUtf8(bytes);
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  ASSERT_EQ(lines.size(), 3u) << text;
  EXPECT_TRUE(lines[0].starts_with("'CUST_NO','CUST_NAME','CUST_ADD1'") ||
              lines[0].starts_with("'cust_no','cust_name','cust_add1'"))
      << lines[0];
  EXPECT_TRUE(lines[1].starts_with("'ABCD000001','คุณO''Neil',")) << lines[1];
  EXPECT_TRUE(lines[2].starts_with("'ABCD000002','คุณสมศรี',")) << lines[2];
}

TEST_F(DonorRegister, TheEnvelopeAddressesTheDonorShownFromTheTemple) {
  Store({{"customer",
          {{"cust_no", "ABCD000001"},
           {"cust_name", "คุณสมศรี"},
           {"cust_add1", "9 ซอยสุข"},
           {"cust_add4", "ลำพูน"},
           {"cust_zip", "51000"}}}});
  StoreTempleAddress();
  auto preview = std::make_unique<THeadlessPreview>();
  THeadlessPreview& shown = *preview;
  auto previous = SetPreviewService(std::move(preview));
  TRef_Cust& w = Open();
  user::Click(*w.SpeedButton9);
  const TQRPrintedReport& envelope = shown.Last();
  EXPECT_DOUBLE_EQ(envelope.paper_width, 210.1);
  EXPECT_DOUBLE_EQ(envelope.paper_length, 110.9);
  ASSERT_EQ(envelope.PageCount(), 1);
  const TQRPrintedPage& printed = envelope.pages[0];
  for (const char* line : {"กรุณาส่ง", "คุณสมศรี", "9 ซอยสุข", "ลำพูน 51000", "วัดป่า", "1 ถนนวัด เชียงใหม่ 50000"})
    EXPECT_NE(printed.FindText(line), nullptr) << line;
  SetPreviewService(std::move(previous));
}

}  // namespace
