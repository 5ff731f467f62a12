// The batch copy of the dataset component: progress steps and percents, a
// stop through Continue, values by type with the picture-header rule of
// GRAPHIC fields, and failures in the log, with the source back on its
// record in every case.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/DB.h"
#include "tests/engine/access/TableFixture.h"

namespace {

struct FieldSpec {
  const char* name;
  TFieldType type;
  int size = 0;
};

// A progress report: the records the destination held and the percent.
struct Report {
  int copied;
  int32_t percent;
  bool operator==(const Report&) const = default;
};

class BatchCopy : public TableTest {
 protected:
  std::unique_ptr<TVTRTable> NewTable(const std::string& name, const std::vector<FieldSpec>& fields) {
    auto table = Table(name);
    for (const FieldSpec& field : fields) table->FieldDefs().Add(field.name, field.type, field.size);
    table->CreateTable();
    table->Open();
    return table;
  }

  // Donations 1 to `count` in "Donate", open, and an empty copy of it.
  void Fill(int count) {
    source_->Open();
    std::vector<Donation> donations;
    for (int id = 1; id <= count; ++id) donations.push_back({id, "donor" + std::to_string(id % 7), id * 1.5});
    database_->StartTransaction();
    Add(*source_, donations);
    database_->Commit(true);
    source_->First();
  }

  // Copies with a progress handler that records each report.
  bool Copy(TDataSet& source, int32_t min_percent = 0, int32_t max_percent = 100, bool ignore_errors = true) {
    return TVTRDataSet::BatchCopy(
        source, *dest_, log_, continue_, ignore_errors, false,
        [this](TObject*, int32_t percent, bool&) { reports_.push_back({dest_->RecordCount(), percent}); },
        min_percent, max_percent);
  }

  std::unique_ptr<TVTRTable> source_ = Table("Donate", "ByID");
  std::unique_ptr<TVTRTable> dest_ =
      NewTable("Copied", {{"ID", ftInteger}, {"Donor", ftString, 20}, {"Amount", ftFloat}});
  std::string log_;
  bool continue_ = true;
  std::vector<Report> reports_;
};

TEST_F(BatchCopy, AThousandRecordsReportAfterRecords1_12_23AndSoOnFrom0To99) {
  Fill(1000);
  EXPECT_TRUE(Copy(*source_));
  EXPECT_EQ(log_, "");
  EXPECT_EQ(dest_->RecordCount(), 1000);
  ASSERT_EQ(reports_.size(), 91u);
  for (size_t k = 0; k < reports_.size(); ++k) EXPECT_EQ(reports_[k].copied, static_cast<int>(1 + 11 * k));
  EXPECT_EQ(reports_.front().percent, 0);
  EXPECT_EQ(reports_.back(), (Report{991, 99}));
}

TEST_F(BatchCopy, PercentsRoundHalvesToEvenWithinTheCallersSlice) {
  struct Case {
    int32_t min_percent;
    int32_t max_percent;
    std::vector<int32_t> percents;
  };
  Fill(8);
  const Case cases[] = {
      {0, 100, {12, 25, 38, 50, 62, 75, 88, 100}},  // 12.5 → 12, 37.5 → 38, 62.5 → 62, 87.5 → 88
      {20, 23, {20, 22, 23}},                       // step 3: after records 1, 4, 7
      {40, 40, {40, 40, 40, 40, 40, 40, 40, 40}},   // no span: every record, step 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.max_percent);
    dest_->Close();
    dest_->EmptyTable();
    dest_->Open();
    reports_.clear();
    EXPECT_TRUE(Copy(*source_, c.min_percent, c.max_percent));
    std::vector<int32_t> percents;
    for (const Report& report : reports_) percents.push_back(report.percent);
    EXPECT_EQ(percents, c.percents);
  }
}

TEST_F(BatchCopy, AnEmptySourceReportsNothingAndAnswersTrue) {
  source_->Open();
  EXPECT_TRUE(Copy(*source_));
  EXPECT_TRUE(reports_.empty());
  EXPECT_EQ(log_, "");
}

// A source whose record count reads 0 while it is copied, as when another
// process deleted the records meanwhile.
class VanishingTable : public TVTRTable {
 public:
  using TVTRTable::TVTRTable;
  bool counting = true;

 protected:
  int GetRecordCount() override { return counting ? TVTRTable::GetRecordCount() : 0; }
};

TEST_F(BatchCopy, ARecordCountThatReadsZeroKeepsThePercentWithinTheSlice) {
  Fill(30);
  VanishingTable source(&form_);
  source.SetDatabaseName("d_main");
  source.SetTableName("Donate");
  source.Open();
  const bool answer = TVTRDataSet::BatchCopy(
      source, *dest_, log_, continue_, true, false,
      [&](TObject*, int32_t percent, bool&) {
        source.counting = false;
        reports_.push_back({dest_->RecordCount(), percent});
      },
      10, 60);
  EXPECT_TRUE(answer);
  EXPECT_EQ(dest_->RecordCount(), 30);
  ASSERT_EQ(reports_.size(), 30u);
  EXPECT_EQ(reports_.front(), (Report{1, 12}));
  for (const Report& report : reports_) {
    EXPECT_GE(report.percent, 10);
    EXPECT_LE(report.percent, 60);
  }
  EXPECT_EQ(reports_.back().percent, 60);
}

TEST_F(BatchCopy, AStopThroughContinueIsLoggedAndTheSourceIsBackOnItsRecord) {
  Fill(50);
  source_->MoveBy(4);
  const TBookmark before = source_->GetBookmark();
  const bool answer = TVTRDataSet::BatchCopy(
      *source_, *dest_, log_, continue_, false, false,
      [this](TObject* sender, int32_t, bool& go_on) {
        EXPECT_EQ(sender, source_.get());
        go_on = dest_->RecordCount() < 2;
      },
      0, 10);
  EXPECT_FALSE(answer);
  EXPECT_FALSE(continue_);
  EXPECT_EQ(log_, "Terminated by User.\r\n");
  EXPECT_EQ(dest_->RecordCount(), 7) << "reports after records 1 and 7 (step 6)";
  EXPECT_EQ(source_->CompareBookmarks(source_->GetBookmark(), before), 0);
  EXPECT_EQ(source_->FieldByName("ID")->AsInteger(), 5);
}

TEST_F(BatchCopy, ARefusedRecordIsLoggedWithItsNumberAndTheRestFollowsOrTheCopyStops) {
  Fill(4);
  CreateMembers({{2, "taken"}});
  auto members = Table("Member", "ByID");
  members->Open();
  EXPECT_FALSE(TVTRDataSet::BatchCopy(*source_, *members, log_, continue_, true, false, {}, 0, 100));
  const std::string refused = "Error copying table. Record #2 was not imported due to error: ";
  ASSERT_EQ(log_.rfind(refused, 0), 0u) << log_;
  EXPECT_EQ(log_.substr(log_.size() - 4), "\r\n\r\n");
  EXPECT_EQ(log_.find("Record #", refused.size()), std::string::npos) << "one line only";
  members->First();
  std::vector<std::string> names;
  for (; !members->Eof(); members->Next())
    names.push_back(std::to_string(members->FieldByName("ID")->AsInteger()) + members->FieldByName("Name")->AsString());
  EXPECT_EQ(names, (std::vector<std::string>{"1", "2taken", "3", "4"}));

  log_.clear();
  source_->MoveBy(2);
  EXPECT_ANY_THROW(TVTRDataSet::BatchCopy(*source_, *members, log_, continue_, false, false, {}, 0, 100));
  EXPECT_EQ(log_.rfind("Error copying table. Record #1 was not imported due to error: ", 0), 0u) << log_;
  EXPECT_EQ(members->State(), dsBrowse);
  EXPECT_EQ(source_->FieldByName("ID")->AsInteger(), 3);
}

// The 8-byte header a picture field's value may carry: count 1, type 0x0100,
// then the size of what follows.
std::string PictureHeader(uint32_t size) {
  return std::string{1, 0, 0, 1} + std::string{static_cast<char>(size & 0xFF), static_cast<char>(size >> 8 & 0xFF),
                                               static_cast<char>(size >> 16 & 0xFF), static_cast<char>(size >> 24)};
}

TEST_F(BatchCopy, OnlyAGraphicValueLosesAPictureHeaderWhoseSizeMatches) {
  const std::vector<FieldSpec> fields = {
      {"ID", ftInteger}, {"Pic", ftGraphic}, {"Data", ftBlob}, {"Note", ftMemo}};
  auto pictures = NewTable("Pictures", fields);
  auto copies = NewTable("PictureCopies", fields);
  const std::string body = "JFIF picture bytes";
  struct Case {
    const char* what;
    const char* field;
    std::string value;
    std::string copied;
  };
  const Case cases[] = {
      {"a graphic value with a matching header", "Pic", PictureHeader(18) + body, body},
      {"a graphic value whose size field differs", "Pic", PictureHeader(17) + body, PictureHeader(17) + body},
      {"a graphic value shorter than a header", "Pic", PictureHeader(0).substr(0, 7), PictureHeader(0).substr(0, 7)},
      {"a BLOB value with a matching header", "Data", PictureHeader(18) + body, PictureHeader(18) + body},
      {"a memo value with a matching header", "Note", PictureHeader(18) + body, PictureHeader(18) + body},
  };
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    pictures->Append();
    pictures->FieldByName("ID")->SetAsInteger(i);
    pictures->FieldByName(cases[i].field)->SetAsString(cases[i].value);
    pictures->Post();
  }
  EXPECT_TRUE(TVTRDataSet::BatchCopy(*pictures, *copies, log_, continue_, false, false, {}, 0, 100)) << log_;
  copies->First();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_FALSE(copies->Eof());
    EXPECT_EQ(copies->FieldByName(c.field)->AsString(), c.copied);
    for (const char* other : {"Pic", "Data", "Note"})
      if (std::string(other) != c.field) EXPECT_TRUE(copies->FieldByName(other)->IsNull()) << other;
    copies->Next();
  }
}

TEST_F(BatchCopy, LargeIntegersBytesAndNullsKeepTheirValues) {
  const std::vector<FieldSpec> fields = {{"Big", ftLargeint}, {"Raw", ftVarBytes, 6}, {"Name", ftString, 10}};
  auto values = NewTable("Values", fields);
  auto copies = NewTable("ValueCopies", fields);
  values->Append();
  values->FieldByName("Big")->SetAsLargeInt(int64_t{1} << 53 | 7);
  values->FieldByName("Raw")->SetAsString(std::string("\x00\xFFz", 3));
  values->FieldByName("Name")->SetAsString("full");
  values->Post();
  values->Append();
  values->Post();
  EXPECT_TRUE(TVTRDataSet::BatchCopy(*values, *copies, log_, continue_, false, false, {}, 0, 100)) << log_;
  copies->First();
  EXPECT_EQ(copies->FieldByName("Big")->AsLargeInt(), int64_t{1} << 53 | 7);
  EXPECT_EQ(copies->FieldByName("Raw")->AsString(), std::string("\x00\xFFz", 3));
  EXPECT_EQ(copies->FieldByName("Name")->AsString(), "full");
  copies->Next();
  for (const char* name : {"Big", "Raw", "Name"}) EXPECT_TRUE(copies->FieldByName(name)->IsNull()) << name;
}

}  // namespace
