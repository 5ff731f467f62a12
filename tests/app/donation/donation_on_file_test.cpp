// The donation window and its printouts on a database file, through the SQL
// engine: the stored donation of the series with its lines and total and its
// receipt; a donation entered as a user does, for a donor picked from the
// register, stored with lines of their own; and a save that fails stores
// nothing of itself; two copies of the program saving new donations of one
// series at once store every number once, each with its own lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/core/ZeroPadding.h"
#include "app/core/myVar.h"
#include "app/donation/Ref_Cust.h"
#include "app/donation/cdonate.h"
#include "engine/access/Database.h"
#include "engine/storage/base/TableLockType.h"
#include "platform/os/RetryPolicy.h"
#include "platform/report/PreviewService.h"
#include "tests/app/core/support/HelperOutput.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"
#include "tests/support/ScratchFolder.h"

namespace {

class DonationOnFileTest : public TempleWindowTest {
 protected:
  void SetUp() override {
    TempleWindowTest::SetUp();
    AddSampleRows();
    Store({{"m_donate", {{"accessory_no", "003"}, {"accessory_name", "สร้างศาลา"}, {"accessory_type", "1"},
                         {"accessory_unit", "บาท"}, {"cut_stock", "0"}, {"price_1", "1000"}}},
           {"m_donate", {{"accessory_no", "004"}, {"accessory_name", "ค่าดอกไม้"}, {"accessory_type", "2"},
                         {"accessory_unit", "ชุด"}, {"cut_stock", "1"}, {"price_1", "20"}}}});
    auto preview = std::make_unique<THeadlessPreview>();
    preview_ = preview.get();
    previous_ = SetPreviewService(std::move(preview));
  }
  void TearDown() override {
    SetPreviewService(std::move(previous_));
    TempleWindowTest::TearDown();
  }

  Tdonate& Open() {
    Tdonate& w = *FormsApplication().CreateForm<Tdonate>();
    w.Show();
    user::ProcessEvents();
    return w;
  }

  // Types `text` over the box's text, as a user who selects it first.
  static void Retype(TEdit& box, const std::string& text) {
    box.SetFocus();
    box.SelectAll();
    user::Type(text);
  }

  // A new line of the purpose in row `row` of the catalogue, at `price`.
  static void AddLine(Tdonate& w, int row, const std::string& price) {
    user::Click(w.Button5);
    user::ClickCell(w.DBGrid3, row, 0);
    Retype(w.MaskEdit13, price);
    user::Click(w.Button9);
  }

  // The stored lines of a donation: bill_id, qty and total.
  std::vector<std::vector<std::string>> LinesOf(const std::string& number) {
    std::vector<std::vector<std::string>> lines;
    for (const auto& row : Stored("donate", {"bill_no", "bill_id", "qty", "total", "stk_post"})) {
      if (row[0] == number) lines.push_back({row[1], row[2], row[3], row[4]});
    }
    return lines;
  }

  THeadlessPreview* preview_ = nullptr;
  std::unique_ptr<TQRPreviewService> previous_;
};

TEST_F(DonationOnFileTest, TheStoredDonationShowsWithItsLinesAndPrintsItsReceipt) {
  Tdonate& w = Open();
  EXPECT_EQ(seen::Text(w.Edit16), kSampleDonationNo);
  EXPECT_EQ(seen::Text(w.Edit2), kSampleDonorName);
  EXPECT_EQ(seen::Text(w.Edit19), "05/03/2567");
  EXPECT_EQ(seen::RowCount(w.DBGrid2), 2);
  EXPECT_EQ(seen::Text(w.Label26), "1,500.00");

  user::Click(w.Button18);
  const TQRPrintedPage& page = preview_->Last().pages.at(0);
  EXPECT_EQ(page.Find("QRLabel57")->text, "DONA-1-000001");
  EXPECT_EQ(page.Find("QRLabel53")->text, "1,500.00");
  EXPECT_EQ(page.FindAll("QRDBText7").size(), 2u);
}

TEST_F(DonationOnFileTest, ADonationEnteredAsAUserDoesIsStoredWithLinesOfTheirOwn) {
  Tdonate& w = Open();
  user::Click(w.Button16);
  std::string picker;
  seen::OnModalForm([&](TForm& modal) {
    picker = seen::Caption(modal);
    user::CloseWindow(modal);
  });
  user::Click(w.Button14);
  user::ActivateWindow(w);
  EXPECT_EQ(picker, " ทะเบียนผู้บริจาค - ผู้ใช้บริการ");
  EXPECT_EQ(w.DonationCustNo, "DONR000002") << "the donor the register showed";
  EXPECT_EQ(seen::Text(w.Edit2), "O'Neil Smith");
  EXPECT_EQ(seen::Text(w.Edit13), "ไอร์แลนด์");
  user::Click(w.Button12);
  EXPECT_EQ(seen::Text(w.Edit16), "DONA1000002");
  EXPECT_EQ(w.State(), DonationState::kNormal);

  AddLine(w, 2, "1000");
  AddLine(w, 3, "250.50");
  EXPECT_EQ(seen::Text(w.Label26), "1,250.50");
  std::vector<std::vector<std::string>> lines = LinesOf("DONA1000002");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0][0], lines[1][0]) << "each line has its own id";
  EXPECT_EQ(lines[0][3], "5") << "a purpose that keeps no stock";
  EXPECT_EQ(lines[1][3], "1");

  user::ClickCell(w.DBGrid2, 1, 2);
  user::Click(w.Button6);
  Retype(w.MaskEdit12, "2");
  user::Click(w.Button9);
  EXPECT_EQ(LinesOf("DONA1000002"), (std::vector<std::vector<std::string>>{
                                        {lines[0][0], "1", "1000", "5"}, {lines[1][0], "2", "501", "1"}}));
  EXPECT_EQ(seen::Text(w.Label26), "1,501.00");

  user::ClickCell(w.DBGrid2, 0, 2);
  Dialogs().Answer(mrYes);
  user::Click(w.Button7);
  EXPECT_EQ(LinesOf("DONA1000002"), (std::vector<std::vector<std::string>>{{lines[1][0], "2", "501", "1"}}));
  EXPECT_EQ(seen::Text(w.Label26), "501.00");
  EXPECT_EQ(LinesOf(kSampleDonationNo).size(), 2u) << "the other donation's lines stay";
}

TEST_F(DonationOnFileTest, ALineSaveThatFailsStoresNothingAndSaysSo) {
  Tdonate& w = Open();
  struct Case {
    const char* how;
    std::function<void()> fail;
  };
  TVTRTable& other = OtherUser("donate");
  ScopedRetryCaps quick({.max_tries = 3, .max_delay_ms = 1});
  for (const Case& c :
       {Case{"a failure before the commit", [&] { w.BeforeCommit = [] { throw std::runtime_error("commit"); }; }},
        Case{"another user's uncommitted change of the lines", [&] {
               w.BeforeCommit = nullptr;
               other.Open();
               other.Database()->StartTransaction();
               other.Edit();
               other.FieldByName("qty")->SetAsString("3");
               other.Post();
             }}}) {
    SCOPED_TRACE(c.how);
    c.fail();
    Dialogs().Answer(mrOk);
    AddLine(w, 2, "1000");
    EXPECT_EQ(Dialogs().Transcript().back().text,
              "ยังไม่สามารถบันทึกได้ตอนนี้ มี USER อื่น กำลัง Lock ข้อมูลอยู่ สักครู่ .. ลองใหม่...");
    EXPECT_FALSE(w.Database1.InTransaction());
    EXPECT_EQ(seen::Text(w.Label26), "1,500.00");
    EXPECT_EQ(seen::RowCount(w.DBGrid2), 2);
  }
  other.Database()->Rollback();
  other.Close();
  EXPECT_EQ(LinesOf(kSampleDonationNo).size(), 2u);
}

TEST_F(DonationOnFileTest, ASaveThatCommittedIsNeverRepeatedWhileAnotherUsersLockHoldsBackItsReadBack) {
  Tdonate& w = Open();
  ScopedRetryCaps quick({.max_tries = 3, .max_delay_ms = 1});
  TVTRTable& headers = OtherUser("g_donate_2");
  TVTRTable& lines = OtherUser("donate");
  headers.Open();
  lines.Open();
  // Another user locks the table the moment the save has committed.
  const auto lock_after_commit = [&w](TVTRTable& table) {
    w.AfterCommit = [&table] { ASSERT_TRUE(table.Handle()->LockTable(tltWrite, 1, 0)); };
  };
  const auto unlock = [](TVTRTable& table) { table.Handle()->UnlockTable(tltWrite, false); };

  lock_after_commit(headers);
  user::Click(w.Button16);
  Dialogs().Answer(mrOk);
  user::Click(w.Button12);
  EXPECT_EQ(Dialogs().Transcript().back().text, std::string(kSavedButLockedMessage));
  EXPECT_EQ(w.State(), DonationState::kNormal) << "a committed save is not left to be saved again";
  EXPECT_EQ(seen::Text(w.Edit16), "DONA1000002");
  unlock(headers);

  lock_after_commit(lines);
  Dialogs().Answer(mrOk);
  AddLine(w, 2, "1000");
  EXPECT_EQ(Dialogs().Transcript().back().text, std::string(kSavedButLockedMessage));
  EXPECT_EQ(LinesOf("DONA1000002").size(), 1u) << "the line is stored under the saved donation";
  unlock(lines);

  w.AfterCommit = nullptr;
  const size_t shown = Dialogs().Transcript().size();
  AddLine(w, 3, "250.50");
  EXPECT_EQ(Dialogs().Transcript().size(), shown) << "nothing to say once the lock is gone";
  EXPECT_EQ(seen::Text(w.Edit16), "DONA1000002");
  EXPECT_EQ(seen::RowCount(w.DBGrid2), 2);
  EXPECT_EQ(seen::Text(w.Label26), "1,250.50");
  EXPECT_EQ(LinesOf("DONA1000002").size(), 2u);
  EXPECT_EQ(Stored("g_donate_2", {"bill_no"}).size(), 2u) << "the sample donation and the one saved once";
}

TEST_F(DonationOnFileTest, TwoCopiesSavingDonationsOfOneSeriesAtOnceStoreEachNumberOnceWithItsOwnLines) {
  TVTRTable& settings = OtherUser("sys_sys");
  settings.Open();
  settings.Edit();
  settings.FieldByName("prefix5")->SetAsString("DN67");
  settings.Post();
  settings.Close();
  Tdonate& w = Open();
  EXPECT_EQ(seen::Text(w.Edit16), "") << "the series has no donation yet";

  constexpr int kEach = 20;
  ScratchFolder meeting;
  const std::vector<std::string> tags{"COPY1", "COPY2"};
  std::vector<FILE*> copies;
  for (const std::string& tag : tags) {
    const std::string command = std::string(VTR_DONATION_SAVE_HELPER) + " '" + folder_.Path().string() + "' " + tag +
                                " " + std::to_string(kEach) + " 2 '" + meeting.Path().string() + "' 2";
    copies.push_back(popen(command.c_str(), "r"));
    ASSERT_NE(copies.back(), nullptr);
  }
  std::map<std::string, std::string> copy_of_printed;  // number: the tag of the copy that says it saved it
  for (size_t i = 0; i < copies.size(); ++i) {
    const std::vector<std::string> printed = OutputOf(copies[i]);
    EXPECT_EQ(pclose(copies[i]), 0) << tags[i];
    EXPECT_EQ(printed.size(), static_cast<size_t>(kEach)) << tags[i] << " saved each donation once";
    for (const std::string& line : printed) {
      EXPECT_TRUE(copy_of_printed.emplace(line.substr(std::string("saved ").size()), tags[i]).second) << line;
    }
  }

  std::map<std::string, std::string> donor_of;  // stored number: its donor, the tag of the copy
  for (const auto& row : Stored("g_donate_2", {"bill_no", "cust_no"})) {
    if (row[0].starts_with("DN67")) EXPECT_TRUE(donor_of.emplace(row[0], row[1]).second) << row[0];
  }
  std::vector<std::string> numbers;
  for (const auto& [number, donor] : donor_of) numbers.push_back(number);
  std::vector<std::string> expected;
  for (int i = 1; i <= 2 * kEach; ++i) expected.push_back("DN671" + PadLeftZeros(std::to_string(i), 6));
  EXPECT_EQ(numbers, expected) << "exactly DN671000001 to DN671000040";
  EXPECT_EQ(copy_of_printed, donor_of) << "each copy stored the donations it says it saved";

  std::map<std::string, std::vector<std::string>> line_totals;
  for (const auto& row : Stored("donate", {"bill_no", "cust_no", "total"})) {
    if (!row[0].starts_with("DN67")) continue;
    EXPECT_EQ(row[1], donor_of[row[0]]) << row[0] << ": a line under another copy's donation";
    line_totals[row[0]].push_back(row[2]);
  }
  EXPECT_EQ(line_totals.size(), donor_of.size());
  for (const auto& [number, totals] : line_totals) {
    EXPECT_EQ(totals, (std::vector<std::string>{"1", "2"})) << number;
  }

  // The window open meanwhile finds a donation the copies committed.
  user::Click(w.Button2);
  user::Type("DN671000040");
  user::PressEnter();
  user::Click(w.Button1);
  EXPECT_EQ(seen::Text(w.Edit16), "DN671000040");
  EXPECT_EQ(seen::Text(w.Edit2), donor_of["DN671000040"]);
}

}  // namespace
