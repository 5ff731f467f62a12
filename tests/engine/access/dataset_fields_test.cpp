// Field values through a table on a real file: dates and times, wide and
// Thai text, BLOBs through the dataset's BLOB streams, and the engine values
// the SQL engine reads and writes.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "platform/db/DB.h"
#include "platform/rtl/CodePage874.h"
#include "platform/rtl/DateTime.h"
#include "tests/engine/access/TableFixture.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

constexpr int32_t kNameField = 5;
constexpr int32_t kPhotoField = 6;

class FieldValues : public TableTest {
 protected:
  void SetUp() override {
    auto table = Table("Entry");
    TFieldDefs& defs = table->FieldDefs();
    defs.Add("ID", ftInteger, 0, true);
    defs.Add("Day", ftDate);
    defs.Add("At", ftTime);
    defs.Add("Moment", ftDateTime);
    defs.Add("Wide", ftWideString, 10);
    defs.Add("Name", ftString, 20);
    defs.Add("Photo", ftGraphic);
    defs.Add("Stamp", ftTimeStamp);
    table->IndexDefs().Add("ByID", "ID", TIndexOptions{ixPrimary});
    table->CreateTable();
    table->Open();
    table->Append();
    table->FieldByName("ID")->SetAsInteger(1);
    table->FieldByName("Name")->SetAsString("Anan");
    table->Post();
  }

  std::unique_ptr<TVTRTable> OpenEntry() {
    auto table = Table("Entry", "ByID");
    table->Open();
    return table;
  }

  // A JPEG-shaped file of `size` bytes: start and end markers around noise.
  std::string PictureFile(size_t size) {
    std::string bytes(size, '\0');
    std::mt19937 random(7);
    for (char& byte : bytes) byte = static_cast<char>(random());
    bytes.replace(0, 4, "\xFF\xD8\xFF\xE0", 4);
    bytes.replace(size - 2, 2, "\xFF\xD9", 2);
    const std::string name = folder_.File("picture.jpg");
    std::ofstream(name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return name;
  }
};

TEST_F(FieldValues, DatesTimesAndMomentsReadBackToTheMillisecond) {
  const TDateTime leap_day = EncodeDate(2024, 2, 29);
  const TDateTime last_moment = EncodeTime(23, 59, 59, 999);
  struct Case {
    TDateTime day, at, moment;
  };
  const TDateTime old_moment = ComposeDateTime(EncodeDate(1850, 6, 15), EncodeTime(6, 30, 0, 250));
  for (const Case& c : {Case{leap_day, last_moment, ComposeDateTime(leap_day, last_moment)},
                        Case{EncodeDate(1, 1, 1), EncodeTime(0, 0, 0, 1), old_moment}}) {
    {
      auto table = OpenEntry();
      table->Edit();
      table->FieldByName("Day")->SetAsDateTime(c.day);
      table->FieldByName("At")->SetAsDateTime(c.at);
      table->FieldByName("Moment")->SetAsDateTime(c.moment);
      table->Post();
    }
    auto table = OpenEntry();
    EXPECT_EQ(table->FieldByName("Day")->AsDateTime(), c.day);
    EXPECT_EQ(table->FieldByName("At")->AsDateTime(), c.at);
    EXPECT_EQ(table->FieldByName("Moment")->AsDateTime(), c.moment);
    EXPECT_EQ(table->FieldByName("Moment")->AsString(), DateTimeToStr(c.moment));
  }
}

TEST_F(FieldValues, TimeStampsTravelAsTheEnginesDateTime) {
  const TSQLTimeStamp stamp{2024, 2, 29, 23, 59, 59, 999};
  {
    auto table = OpenEntry();
    table->Edit();
    static_cast<TSQLTimeStampField*>(table->FieldByName("Stamp"))->SetAsSQLTimeStamp(stamp);
    table->Post();
  }
  auto table = OpenEntry();
  const TSQLTimeStamp read = static_cast<TSQLTimeStampField*>(table->FieldByName("Stamp"))->AsSQLTimeStamp();
  EXPECT_EQ(std::tie(read.Year, read.Month, read.Day, read.Hour, read.Minute, read.Second, read.Fractions),
            std::tie(stamp.Year, stamp.Month, stamp.Day, stamp.Hour, stamp.Minute, stamp.Second, stamp.Fractions));
  TVTRVariant engine;
  table->GetFieldVariant(engine, 7, false);
  EXPECT_EQ(engine.GetAsDateTime(), ComposeDateTime(EncodeDate(2024, 2, 29), EncodeTime(23, 59, 59, 999)));
}

TEST_F(FieldValues, TextIsStoredInCodePage874AndWideTextIsCutToItsSize) {
  {
    auto table = OpenEntry();
    table->Edit();
    table->FieldByName("Name")->SetAsString("ทดสอบ");
    table->FieldByName("Wide")->SetAsString("ABCDEFGHIJK");
    table->Post();
  }
  auto table = OpenEntry();
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "ทดสอบ");
  EXPECT_EQ(table->FieldByName("Wide")->AsString(), "ABCDEFGHIJ");
  TVTRVariant stored;
  table->GetFieldVariant(stored, kNameField, true);
  EXPECT_EQ(stored.GetAsString(), "\xB7\xB4\xCA\xCD\xBA");

  table->Edit();
  const std::string refused = DatabaseErrorOf([&] { table->FieldByName("Name")->SetAsString("ทด😀"); });
  EXPECT_NE(refused.find("Name"), std::string::npos) << refused;
  table->Post();
  table->Close();
  table->Open();
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "ทดสอบ") << "the stored record is unchanged";
}

TEST_F(FieldValues, FieldsAreWrittenOnlyWhileEditing) {
  auto table = OpenEntry();
  EXPECT_ENGINE_ERROR(table->FieldByName("Name")->SetAsString("x"), 10007, "Dataset not in edit or insert mode");
}

TEST_F(FieldValues, APictureLoadedInEditStateIsModifiedAndReadsBackWhole) {
  const std::string picture = PictureFile(100 * 1024);
  {
    auto table = OpenEntry();
    table->Edit();
    auto* photo = static_cast<TBlobField*>(table->FieldByName("Photo"));
    photo->LoadFromFile(picture);
    EXPECT_TRUE(photo->Modified());
    EXPECT_TRUE(table->Modified());
    table->Post();
  }
  auto table = OpenEntry();
  std::ifstream file(picture, std::ios::binary);
  const std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(table->FieldByName("Photo")->AsString() == expected);
  TVTRVariant whole;
  table->GetFieldVariant(whole, kPhotoField, true);
  ASSERT_EQ(whole.Size(), static_cast<int32_t>(expected.size()));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(whole.Data()), whole.Size()), expected);
}

TEST_F(FieldValues, AWriteStreamLeftUnwrittenEmptiesTheBlobAndAnEmptyBlobIsANullOfItsType) {
  {
    auto table = OpenEntry();
    table->Edit();
    table->FieldByName("Photo")->SetAsString("picture");
    table->Post();
    table->Edit();
    table->CreateBlobStream(table->FieldByName("Photo"), bmWrite).reset();
    table->Post();
  }
  auto table = OpenEntry();
  EXPECT_EQ(table->FieldByName("Photo")->AsString(), "");
  TVTRVariant value;
  value.SetAsString("stale");
  table->GetFieldVariant(value, kPhotoField, true);
  EXPECT_TRUE(value.IsNull());
  EXPECT_EQ(value.DataType(), bdtBlob);

  table->Edit();
  TVTRVariant content;
  content.SetBuffer("abc", 3, bdtBlob, TVTRBufferMode::Copy);
  table->SetFieldVariant(content, kPhotoField, true);
  EXPECT_TRUE(table->FieldByName("Photo")->Modified());
  table->Post();
  EXPECT_EQ(table->FieldByName("Photo")->AsString(), "abc");
  table->Edit();
  TVTRVariant null;
  table->SetFieldVariant(null, kPhotoField, true);
  table->Post();
  EXPECT_TRUE(table->FieldByName("Photo")->IsNull());
}

TEST_F(FieldValues, AReadOnlyTableRefusesWriteStreams) {
  auto table = OpenEntry();
  table->SetReadOnly(true);
  EXPECT_ENGINE_ERROR(table->CreateBlobStream(table->FieldByName("Photo"), bmWrite), 10107,
                      "Dataset is in read only mode");
  EXPECT_EQ(DatabaseErrorOf([&] { table->Edit(); }), "Cannot modify a read-only dataset");
}

// Another window of the program, with its own database component and so its
// own connection, holding the table's write lock as a post in progress does.
class LockedByAnotherConnection : public FieldValues {
 protected:
  void LockTable() {
    other_->Open();
    ASSERT_TRUE(other_->Handle()->LockTable(tltWrite, 1, 0));
  }
  void UnlockTable() { other_->Handle()->UnlockTable(tltWrite, false); }

  ScopedRetryCaps caps_{{20, 1}};
  TComponent other_form_{nullptr};
  std::unique_ptr<TVTRDatabase> other_database_ = Database("d_main", file_, &other_form_);
  std::unique_ptr<TVTRTable> other_ = [this] {
    auto table = std::make_unique<TVTRTable>(&other_form_);
    table->SetDatabaseName("d_main");
    table->SetTableName("Entry");
    return table;
  }();
};

TEST_F(LockedByAnotherConnection, ABlobThatCannotBeWrittenFailsTheAssignmentAndKeepsThePendingRecord) {
  auto table = OpenEntry();
  table->Edit();
  table->FieldByName("Name")->SetAsString("Bua");
  LockTable();
  const std::string refused = DatabaseErrorOf([&] { table->FieldByName("Photo")->SetAsString("picture"); });
  EXPECT_EQ(refused,
            "Cannot write field 'Photo': its record cannot be read now; the table may be locked by another user");
  EXPECT_EQ(table->State(), dsEdit) << "neither posted nor cancelled in the middle of the assignment";
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Bua");
  UnlockTable();
  table->FieldByName("Photo")->SetAsString("picture");
  table->Post();
  table->Close();
  table->Open();
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Bua");
  EXPECT_EQ(table->FieldByName("Photo")->AsString(), "picture");
}

TEST_F(LockedByAnotherConnection, AReadStreamOfAVanishedRecordRefreshesTheTableAndReadsNothing) {
  auto table = OpenEntry();
  table->Edit();
  table->FieldByName("Photo")->SetAsString("picture");
  table->Post();
  other_->Open();
  other_->Delete();
  EXPECT_EQ(table->RecordCount(), 0);
  EXPECT_FALSE(table->IsEmpty()) << "the buffers still show the record";
  EXPECT_EQ(table->FieldByName("Photo")->AsString(), "");
  EXPECT_TRUE(table->IsEmpty()) << "refreshed";
}

}  // namespace
