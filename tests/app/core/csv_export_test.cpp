#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/core/CsvExport.h"
#include "platform/rtl/CodePage874.h"
#include "tests/app/core/support/ScopedWorkingFolder.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/support/ArrayDataSet.h"
#include "tests/support/ScratchFolder.h"

namespace {

constexpr const char* kDonationsFile = "CSV\\รายการบริจาค.csv";

struct Donation {
  const char* bill_no;
  const char* name;  // nullptr: no value
  double total;
};

class CsvExportTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    std::filesystem::create_directory(csv_folder_);
  }

  std::unique_ptr<TArrayDataSet> Donations(const std::vector<Donation>& rows) {
    auto dataset = std::make_unique<TArrayDataSet>(
        nullptr,
        std::vector<ArrayFieldDef>{{"BILL_NO", ftString, 10}, {"NAME", ftString, 60}, {"TOTAL", ftFloat}});
    dataset->Open();
    for (const Donation& row : rows) {
      dataset->Append();
      dataset->FieldByName("BILL_NO")->SetAsString(row.bill_no);
      if (row.name) dataset->FieldByName("NAME")->SetAsString(row.name);
      dataset->FieldByName("TOTAL")->SetAsFloat(row.total);
      dataset->Post();
    }
    dataset->Last();
    return dataset;
  }

  // The export with the box it is expected to show.
  bool Export(TDataSet& dataset, const std::string& box) {
    Dialogs().Clear();
    Dialogs().Answer(mrOk);
    const bool written = ExportQueryToCsv(kDonationsFile, dataset);
    std::vector<std::string> shown;
    for (const DialogRecord& record : Dialogs().Transcript()) shown.push_back(record.text);
    EXPECT_EQ(shown, std::vector<std::string>{box});
    return written;
  }

  std::string Exported() const {
    std::ifstream file(csv_folder_ / "รายการบริจาค.csv", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  std::vector<std::string> CsvFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(csv_folder_))
      names.push_back(entry.path().filename().string());
    return names;
  }

  ScratchFolder folder_;
  ScopedWorkingFolder working_folder_{folder_.Path()};
  std::filesystem::path csv_folder_ = folder_.Path() / "CSV";
};

TEST_F(CsvExportTest, RowsAreWrittenQuotedInCodePage874WithCrLf) {
  auto dataset = Donations(
      {{"DONA000001", "สมชาย ใจดี", 1500}, {"DONA000002", "O'Neil", 21.5}, {"DONA000003", nullptr, 0}});
  EXPECT_TRUE(Export(*dataset, "บันทึกลงแฟ้ม  CSV\\รายการบริจาค.csv สำเร็จ..."));
  EXPECT_EQ(Exported(), Utf8ToCp874("'BILL_NO','NAME','TOTAL'\r\n"
                                    "'DONA000001','สมชาย ใจดี','1500'\r\n"
                                    "'DONA000002','O''Neil','21.5'\r\n"
                                    "'DONA000003','','0'\r\n"));
  EXPECT_NE(Exported().find("'\xCA\xC1\xAA\xD2\xC2 "), std::string::npos)
      << "Thai is written in code page 874";
  EXPECT_TRUE(dataset->Eof());
  EXPECT_EQ(CsvFiles(), std::vector<std::string>{"รายการบริจาค.csv"}) << "nothing is left beside the export";
}

TEST_F(CsvExportTest, NoRowsWriteNothing) {
  auto dataset = Donations({});
  EXPECT_FALSE(Export(*dataset, "ไม่มีรายการ..."));
  EXPECT_TRUE(CsvFiles().empty());
}

TEST_F(CsvExportTest, WithoutTheCsvFolderTheExportFailsAndLeavesNoFile) {
  std::filesystem::remove(csv_folder_);
  auto dataset = Donations({{"DONA000001", "สมชาย", 100}});
  EXPECT_FALSE(Export(*dataset, "ไม่สามารถดำเนิการได้..."));
  EXPECT_TRUE(folder_.Files().empty());
}

// A character the code page cannot hold would turn into "?" in the file.
TEST_F(CsvExportTest, TextThatCodePage874CannotHoldFailsTheExportAndKeepsTheEarlierFile) {
  auto earlier = Donations({{"DONA000001", "สมชาย", 100}});
  ASSERT_TRUE(Export(*earlier, "บันทึกลงแฟ้ม  CSV\\รายการบริจาค.csv สำเร็จ..."));
  const std::string before = Exported();
  auto dataset = Donations({{"DONA000002", "Zoë", 100}});
  EXPECT_FALSE(Export(*dataset, "ไม่สามารถดำเนิการได้..."));
  EXPECT_EQ(Exported(), before);
  EXPECT_EQ(CsvFiles().size(), 1u);
}

}  // namespace
