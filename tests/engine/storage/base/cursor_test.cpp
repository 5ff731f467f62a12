#include <gtest/gtest.h>

#include <cstring>

#include "engine/foundation/VTRTypes.h"
#include "engine/storage/VTRBase.h"
#include "tests/engine/storage/base/FakeExpression.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/engine/storage/common/TestCursor.h"
#include "tests/engine/storage/common/TestDatabase.h"
#include "tests/support/TableDefinitions.h"

namespace {

TStringList Strings(std::initializer_list<const char*> items) {
  TStringList list;
  for (const char* item : items) list.Add(item);
  return list;
}

// A cursor on ID INTEGER, NAME VARCHAR(5), QTY SMALLINT.
class CursorBase : public ::testing::Test {
 protected:
  CursorBase() {
    TVTRFieldDefs fields;
    AddField(fields, "ID", adtInteger);
    AddField(fields, "NAME", adtString, 5);
    AddField(fields, "QTY", adtSmallInt);
    cursor_.SetTableFields(fields);
    record_.assign(cursor_.RecordBufferSize, 0);
    cursor_.InitRecord(record_.data(), false);
    cursor_.CurrentRecord = record_.data();
  }


  TestCursor cursor_;
  Bytes record_;
};

TEST(CursorSizes, ATableWithoutFieldsStillHasTheRecordTrailers) {
  TestCursor cursor;
  cursor.SetTableFields(TVTRFieldDefs{});
  EXPECT_EQ(cursor.RecordSize, 0);
  EXPECT_EQ(cursor.NullFlagsSize, 0);
  EXPECT_EQ(cursor.RecordBufferSize, 7);
  EXPECT_EQ(cursor.KeyBufferSize, 6);
}

TEST_F(CursorBase, SizesFollowTheLastField) {
  EXPECT_EQ(cursor_.NullFlagsSize, 1);
  EXPECT_EQ(cursor_.RecordSize, 1 + 4 + 6 + 2);
  EXPECT_EQ(cursor_.RecordBufferSize, 13 + 7);
  EXPECT_EQ(cursor_.RecordCompareSize, 13 + 7);
  EXPECT_EQ(cursor_.CalcFieldsOffset, 13 + 7);
  EXPECT_EQ(cursor_.KeyBufferSize, 13 + 6);
}

TEST_F(CursorBase, FieldDataIsReadAndWrittenThroughTheTableFieldsAnEntryShows) {
  cursor_.SetProjection(Strings({"QTY", "ID"}), Strings({"", ""}));
  const int16_t qty = 12;
  int32_t id = 99;
  cursor_.SetFieldData(0, &qty, record_.data());
  EXPECT_FALSE(cursor_.GetFieldData(1, &id, record_.data()));
  EXPECT_EQ(id, 99) << "a null field leaves the destination alone";
  int32_t read_qty = 0;
  EXPECT_TRUE(cursor_.GetFieldData(0, &read_qty, record_.data()));
  EXPECT_EQ(read_qty, 12) << "SMALLINT exchanged as stored";
  EXPECT_FALSE(GetBufferBit(2, record_.data()));
  EXPECT_TRUE(GetBufferBit(0, record_.data()));
  EXPECT_ENGINE_ERROR(cursor_.GetFieldData(2, &id, record_.data()), 10005,
                      "Invalid field number - FieldNo = 2, FieldCount = 2");
  EXPECT_ENGINE_ERROR(cursor_.SetFieldData(2, &id, record_.data()), 10006,
                      "Invalid field number - FieldNo = 2, FieldCount = 2");
}

TEST_F(CursorBase, FieldValuesAreConvertedToTheFieldsType) {
  TVTRVariant value;
  value.SetAsDouble(7.0);
  cursor_.SetFieldValue(value, 2, true, nullptr);
  EXPECT_EQ(value.DataType(), bdtSmallInt) << "converted in place";
  TVTRVariant text;
  text.SetAsString("abcde");
  cursor_.SetFieldValue(text, 1, false, nullptr);
  text.SetAsString("xy");
  cursor_.SetFieldValue(text, 1, false, nullptr);

  TVTRVariant read;
  cursor_.GetFieldValue(read, 2, true);
  EXPECT_EQ(read.DataType(), bdtSmallInt);
  EXPECT_EQ(read.GetAsInteger(), 7);
  const uint8_t* name = record_.data() + cursor_.TableFieldDefs.GetFieldDef(1).MemoryOffset;
  EXPECT_EQ(Bytes(name, name + 6), (Bytes{'x', 'y', 0, 0, 0, 0})) << "no tail of the longer text";
  cursor_.GetFieldValue(read, 0, false);
  EXPECT_TRUE(read.IsNull());

  text.SetAsString("too long");
  EXPECT_ENGINE_ERROR(cursor_.SetFieldValue(text, 1, true, nullptr), 20056, "Buffer size exceeded");
  EXPECT_EQ(Bytes(name, name + 6), (Bytes{'x', 'y', 0, 0, 0, 0}));
  value.Clear();
  cursor_.SetFieldValue(value, 2, true, nullptr);
  EXPECT_TRUE(GetBufferBit(2, record_.data()));
}

TEST_F(CursorBase, FieldNumbersOutsideTheListsFailWithTheirCodes) {
  TVTRVariant value;
  value.SetAsInteger(1);
  EXPECT_EQ(NativeErrorOf([&] { cursor_.GetFieldValue(value, 3, true); }), 20191);
  EXPECT_EQ(NativeErrorOf([&] { cursor_.GetFieldValue(value, -1, false); }), 10317);
  EXPECT_EQ(NativeErrorOf([&] { cursor_.SetFieldValue(value, 3, true, nullptr); }), 20192);
  EXPECT_EQ(NativeErrorOf([&] { cursor_.SetFieldValue(value, 3, false, nullptr); }), 20193);
}

TEST_F(CursorBase, ProjectionRenamesWithUniqueOutputNames) {
  cursor_.SetProjection(Strings({"ID", "NAME", "QTY"}), Strings({"A", "A", ""}));
  ASSERT_EQ(cursor_.FieldDefs.GetCount(), 3);
  EXPECT_EQ(cursor_.FieldDefs.GetFieldDef(0).Name, "A");
  EXPECT_EQ(cursor_.FieldDefs.GetFieldDef(1).Name, "A_1");
  EXPECT_EQ(cursor_.FieldDefs.GetFieldDef(2).Name, "QTY");
  EXPECT_EQ(cursor_.FieldDefs.GetFieldDef(1).FieldNo, 1);
  EXPECT_EQ(cursor_.FieldDefs.GetFieldDef(1).MemoryOffset,
            cursor_.TableFieldDefs.GetFieldDef(1).MemoryOffset);

  EXPECT_ENGINE_ERROR(cursor_.SetProjection(Strings({"ID"}), Strings({})), 10321,
                      "Error - different lists length. L1 = 1, L2 = 0");
  EXPECT_ENGINE_ERROR(cursor_.SetProjection(Strings({}), Strings({})), 10322,
                      "No fields were specified while setting projection");
  EXPECT_ENGINE_ERROR(cursor_.SetProjection(Strings({"PRICE"}), Strings({""})), 10323,
                      "Cannot find field PRICE");
}

TEST_F(CursorBase, RenamingAFieldRefusesUnknownAndTakenNames) {
  EXPECT_ENGINE_ERROR(cursor_.RenameField("PRICE", "COST"), 30345, "Field 'PRICE' not found");
  EXPECT_ENGINE_ERROR(cursor_.RenameField("ID", "name"), 30346,
                      "Cannot rename field 'ID'. Field 'name' already exists");
  cursor_.RenameField("qty", "AMOUNT");
  EXPECT_EQ(cursor_.TableFieldDefs.GetFieldDef(2).Name, "AMOUNT");
}

TEST_F(CursorBase, TheIndexNameFindsItsObjectID) {
  TVTRIndexDef& index = cursor_.IndexDefs.AddIndexDef();
  index.Name = "ByName";
  index.ObjectID = 14;
  cursor_.SetIndexName("BYNAME");
  EXPECT_EQ(cursor_.IndexID, 14);
  EXPECT_TRUE(cursor_.HasIndex());
  cursor_.SetIndexName("ByDate");
  EXPECT_EQ(cursor_.IndexID, -1);
  EXPECT_EQ(cursor_.IndexName, "ByDate");
}

TEST_F(CursorBase, RangesAndFiltersEmptyTheRecordBitmap) {
  TestDatabase database("TEST.VTR", false);
  TestTable table(database, "T");
  cursor_.RecordBitmap = std::make_unique<TVTRRecordBitmap>(&table);
  const auto fill = [&] {
    cursor_.RecordBitmap->AddRecord({0, 3});
    cursor_.RecordBitmap->Complete = true;
  };

  fill();
  Bytes low(cursor_.KeyBufferSize);
  cursor_.SetRange(low.data(), nullptr, 1, 0, true, false);
  EXPECT_FALSE(cursor_.RecordBitmap->Complete);
  EXPECT_EQ(cursor_.RecordBitmap->GetRecordCount(), 0);
  EXPECT_TRUE(cursor_.HasRange());
  EXPECT_TRUE(cursor_.UsesRecordBitmap());
  fill();
  cursor_.CancelRange();
  EXPECT_FALSE(cursor_.RecordBitmap->Complete);
  EXPECT_FALSE(cursor_.UsesRecordBitmap());

  fill();
  FakeExpression search;
  cursor_.SetFilterExpression(&search, nullptr, nullptr);
  EXPECT_EQ(search.BoundCursor(), &cursor_);
  EXPECT_FALSE(cursor_.RecordBitmap->Complete);
  EXPECT_TRUE(cursor_.HasFilter());
  cursor_.SetFilterExpression(nullptr, nullptr, nullptr);
  cursor_.OnFilterRecord = [](const uint8_t*) { return true; };
  EXPECT_TRUE(cursor_.UsesRecordBitmap());
}

TEST_F(CursorBase, RecordBuffersAndPositions) {
  uint8_t* buffer = cursor_.AllocRecordBuffer();
  EXPECT_EQ(Bytes(buffer, buffer + cursor_.RecordBufferSize), Bytes(cursor_.RecordBufferSize, 0));
  std::memset(buffer, 0x55, cursor_.RecordBufferSize);
  cursor_.InitRecordBuffer(buffer);
  EXPECT_EQ(buffer[0], 0xFF) << "all fields null";
  EXPECT_EQ(buffer[cursor_.KeyBufferSize - 1], 0);
  cursor_.FreeRecordBuffer(buffer);
  EXPECT_EQ(buffer, nullptr);

  cursor_.Bof = true;
  cursor_.CurrentRecordID = {4, 2};
  const TVTRCursorPosition saved = cursor_.SavePosition();
  cursor_.Bof = false;
  cursor_.Eof = true;
  cursor_.CurrentRecordID = {9, 9};
  cursor_.RestorePosition(saved);
  EXPECT_TRUE(cursor_.Bof);
  EXPECT_FALSE(cursor_.Eof);
  EXPECT_EQ(cursor_.CurrentRecordID, (TVTRRecordID{4, 2}));
}

}  // namespace
