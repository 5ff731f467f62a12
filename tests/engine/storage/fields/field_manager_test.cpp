#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>

#include "engine/foundation/VTRTypes.h"
#include "engine/storage/VTRBase.h"
#include "engine/storage/VTRBaseEngine.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/engine/storage/common/TestSession.h"
#include "tests/support/TableDefinitions.h"

namespace {

TVTRFieldDef& AddNumberedField(TVTRFieldDefs& defs, const std::string& name, TVTRAdvancedDataType type,
                               int32_t size = 0) {
  TVTRFieldDef& field = AddField(defs, name, type, size);
  field.ObjectID = defs.GetCount();
  return field;
}

// A record buffer of exactly the table's size, so that any write past it
// shows under AddressSanitizer; all fields null, values zero.
std::unique_ptr<uint8_t[]> NewRecord(const TVTRBaseFieldManager& manager) {
  const int32_t size = manager.FieldDefs.GetRecordBufferSize();
  auto record = std::make_unique<uint8_t[]>(size);
  std::memset(record.get(), 0, size);
  std::memset(record.get(), 0xFF, manager.FieldDefs.GetNullFlagsSize());
  return record;
}

struct AutoincCase {
  const char* name;
  TVTRAdvancedDataType type;
  int64_t step, initial, max, min;
  bool cycled;
  // Per insert: the value given (none: null), and the value the field ends
  // with (none: the insert fails with 20160).
  std::vector<std::pair<std::optional<int64_t>, std::optional<int64_t>>> inserts;
};

void PrintTo(const AutoincCase& c, std::ostream* os) {
  *os << c.name;
}

constexpr int64_t kNoMax = std::numeric_limits<int64_t>::max();

class Autoincrement : public ::testing::TestWithParam<AutoincCase> {};

TEST_P(Autoincrement, IssuesAndFollowsValues) {
  const AutoincCase& c = GetParam();
  TVTRFieldDefs defs;
  AddNumberedField(defs, "NAME", adtString, 10);
  TVTRFieldDef& counter = AddNumberedField(defs, "NO", c.type);
  counter.AutoincIncrement = c.step;
  counter.AutoincInitialValue = c.initial;
  counter.AutoincMaxValue = c.max;
  counter.AutoincMinValue = c.min;
  counter.AutoincCycled = c.cycled;
  TVTRBaseFieldManager manager(nullptr);
  manager.DefineFields(defs);
  const TVTRFieldDef& field = manager.FieldDefs.GetFieldDef(1);
  TestSession session;

  for (size_t i = 0; i < c.inserts.size(); ++i) {
    SCOPED_TRACE("insert " + std::to_string(i));
    const auto& [given, stored] = c.inserts[i];
    auto record = NewRecord(manager);
    if (given) {
      TVTRVariant value;
      value.SetAsLargeInt(*given);
      value.CastTo(field.BaseType);
      value.CopyToBuffer(record.get() + field.MemoryOffset, field.MemoryDataSize);
      SetBufferBit(false, 1, record.get());
    }
    if (!stored) {
      EXPECT_ENGINE_ERROR(manager.ApplyAutoincs(session, record.get()), 20160,
                          "Autoinc max value exceeded for field 'NO'");
      continue;
    }
    manager.ApplyAutoincs(session, record.get());
    TVTRVariant value;
    value.SetBuffer(record.get() + field.MemoryOffset, field.MemoryDataSize, field.BaseType,
                    TVTRBufferMode::Copy);
    EXPECT_FALSE(GetBufferBit(1, record.get()));
    EXPECT_EQ(value.GetAsLargeInt(), *stored);
    EXPECT_TRUE(GetBufferBit(0, record.get())) << "other fields stay null";
  }
}

using Insert = std::pair<std::optional<int64_t>, std::optional<int64_t>>;
constexpr std::nullopt_t kAuto = std::nullopt;
constexpr std::nullopt_t kFails = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Cases, Autoincrement,
    ::testing::Values(
        AutoincCase{
            "CycledRestartsAtTheMinimum",
            adtAutoInc,
            5,
            10,
            20,
            3,
            true,
            {Insert{kAuto, 15}, {kAuto, 20}, {kAuto, 3}, {kAuto, 8}, {kAuto, 13}, {kAuto, 18}, {kAuto, 3}}},
        AutoincCase{"NotCycledFailsAtEveryInsertPastTheMaximum",
                    adtAutoInc,
                    5,
                    10,
                    20,
                    3,
                    false,
                    {Insert{kAuto, 15}, {kAuto, 20}, {kAuto, kFails}, {kAuto, kFails}, {kAuto, kFails}}},
        AutoincCase{"AGreaterGivenValueRaisesTheCounter",
                    adtAutoInc,
                    1,
                    6,
                    kNoMax,
                    0,
                    false,
                    {Insert{kAuto, 7}, {100, 100}, {kAuto, 101}}},
        AutoincCase{"ASmallerGivenValueLeavesTheCounter",
                    adtAutoInc,
                    1,
                    6,
                    kNoMax,
                    0,
                    false,
                    {Insert{kAuto, 7}, {5, 5}, {kAuto, 8}}},
        AutoincCase{"ANegativeValueInASignedFieldLeavesTheCounter",
                    adtAutoIncSmallInt,
                    1,
                    6,
                    kNoMax,
                    0,
                    false,
                    {Insert{kAuto, 7}, {-5, -5}, {kAuto, 8}}},
        AutoincCase{"ALargeValueInAnUnsignedFieldRaisesTheCounter",
                    adtAutoIncCardinal,
                    1,
                    0,
                    kNoMax,
                    0,
                    false,
                    {Insert{4000000000, 4000000000}, {kAuto, 4000000001}}},
        AutoincCase{"ASmallFieldFailsInsteadOfWrapping",
                    adtAutoIncSmallInt,
                    1,
                    32766,
                    kNoMax,
                    0,
                    false,
                    {Insert{kAuto, 32767}, {kAuto, kFails}, {kAuto, kFails}}},
        AutoincCase{"AnUnsignedFieldCyclesWithinItsRange",
                    adtAutoIncByte,
                    1,
                    254,
                    0,
                    1,
                    true,
                    {Insert{kAuto, 255}, {kAuto, 1}}},
        AutoincCase{"The64BitCounterDoesNotWrap",
                    adtAutoIncLargeInt,
                    1,
                    kNoMax - 1,
                    0,
                    0,
                    false,
                    {Insert{kAuto, kNoMax}, {kAuto, kFails}}},
        AutoincCase{"AStepOfZeroCountsAsOne",
                    adtAutoIncInteger,
                    0,
                    0,
                    kNoMax,
                    0,
                    false,
                    {Insert{kAuto, 1}, {kAuto, 2}}}),
    [](const ::testing::TestParamInfo<AutoincCase>& info) { return info.param.name; });

TEST(AutoincLastValue, IsKeptPerSession) {
  TVTRFieldDefs defs;
  AddNumberedField(defs, "NO", adtAutoInc).ObjectID = 31;
  TVTRBaseFieldManager manager(nullptr);
  manager.DefineFields(defs);
  TestSession first(0), second(1);
  auto record = NewRecord(manager);
  manager.ApplyAutoincs(first, record.get());
  manager.NextAutoincValue(first, 0);
  EXPECT_EQ(manager.GetLastAutoincValue(first, 0), 2);
  EXPECT_ENGINE_ERROR(manager.GetLastAutoincValue(second, 0), 30012,
                      "No SequenceLastValue in session for sequence 'NO'. Call GetNextVal first");
  manager.UpdateAutoincIfGreater(second, 0, 50);
  EXPECT_EQ(manager.GetLastAutoincValue(second, 0), 50);
  EXPECT_EQ(manager.GetLastAutoincValue(first, 0), 2);
  EXPECT_EQ(first.NamedObjects().size(), 1u) << "one remembered value per field";
}

TEST(AutoincCounters, FieldNumbersOutsideTheFieldsOrTheCountersFail) {
  TVTRFieldDefs defs;
  AddNumberedField(defs, "A", adtAutoInc);
  AddNumberedField(defs, "B", adtAutoInc);
  TVTRBaseFieldManager manager(nullptr);
  manager.DefineFields(defs);
  EXPECT_ENGINE_ERROR(manager.GetNextAutoincValue(2), 30402, "Field #2 not found");
  manager.AutoincValues.resize(1);
  EXPECT_ENGINE_ERROR(manager.GetNextAutoincValue(1), 30403, "Field #1 not found");
}

TEST(AutoincCounters, ImageRoundTripsAndRefusesWhatDoesNotFit) {
  TVTRFieldDefs defs;
  AddNumberedField(defs, "A", adtAutoInc).AutoincInitialValue = 5;
  AddNumberedField(defs, "B", adtInteger);
  AddNumberedField(defs, "C", adtAutoIncLargeInt).AutoincInitialValue = -7;
  TVTRBaseFieldManager manager(nullptr);
  manager.DefineFields(defs);
  EXPECT_EQ(manager.AutoincValues, (std::vector<int64_t>{5, 0, -7}));
  EXPECT_EQ(manager.GetAutoincValuesSize(), 4 + 3 * 8);

  Bytes buffer(2 + manager.GetAutoincValuesSize());
  int32_t offset = 2;
  manager.SaveAutoincValues(buffer, offset);
  EXPECT_EQ(offset, static_cast<int32_t>(buffer.size()));
  EXPECT_EQ(Bytes(buffer.begin() + 2, buffer.begin() + 10), (Bytes{3, 0, 0, 0, 5, 0, 0, 0}));

  TVTRBaseFieldManager loaded(nullptr);
  offset = 2;
  loaded.LoadAutoincValues(buffer, offset);
  EXPECT_EQ(loaded.AutoincValues, manager.AutoincValues);
  EXPECT_EQ(offset, static_cast<int32_t>(buffer.size()));

  offset = 3;
  EXPECT_EQ(NativeErrorOf([&] { manager.SaveAutoincValues(buffer, offset); }), 20164);
  buffer[2] = 4;  // claims one counter more than the buffer holds
  offset = 2;
  EXPECT_EQ(NativeErrorOf([&] { loaded.LoadAutoincValues(buffer, offset); }), 20164);
  buffer[5] = 0x80;  // a negative count
  EXPECT_EQ(NativeErrorOf([&] { loaded.LoadAutoincValues(buffer, offset); }), 20164);
}

TEST(Defaults, AreWrittenIntoTheirFields) {
  TVTRFieldDefs defs;
  AddNumberedField(defs, "NAME", adtString, 5).DefaultValue.SetAsString("abc");
  AddNumberedField(defs, "QTY", adtInteger).DefaultValue.SetAsInteger(12);
  AddNumberedField(defs, "NOTE", adtString, 5);
  TVTRBaseFieldManager manager(nullptr);
  manager.DefineFields(defs);
  auto record = NewRecord(manager);
  manager.ApplyDefaults(record.get());
  EXPECT_EQ(std::string(
                reinterpret_cast<const char*>(record.get() + manager.FieldDefs.GetFieldDef(0).MemoryOffset)),
            "abc");
  int32_t qty;
  std::memcpy(&qty, record.get() + manager.FieldDefs.GetFieldDef(1).MemoryOffset, 4);
  EXPECT_EQ(qty, 12);
  EXPECT_EQ(record[0] & 0b111, 0b100) << "only the field without a default stays null";
}

TEST(Defaults, ADefaultLongerThanItsFieldIsRefusedAndNeverWrittenPastIt) {
  TVTRFieldDefs defs;
  AddNumberedField(defs, "CODE", adtString, 3).DefaultValue.SetAsString("ABCDEFGHIJKL");
  TVTRBaseFieldManager manager(nullptr);
  EXPECT_ENGINE_ERROR(manager.DefineFields(defs), 20056, "Buffer size exceeded");

  defs.GetFieldDef(0).DefaultValue.Clear();
  manager.DefineFields(defs);
  manager.FieldDefs.GetFieldDef(0).DefaultValue.SetAsString("ABCDEFGHIJKL");
  auto record = NewRecord(manager);  // 1 flag byte and 4 bytes of field: nothing more to write into
  EXPECT_ENGINE_ERROR(manager.ApplyDefaults(record.get()), 20056, "Buffer size exceeded");
}

class RecordLayouts : public ::testing::Test {
 protected:
  RecordLayouts() {
    AddField(defs_, "ID", adtInteger);
    AddField(defs_, "PICTURE", adtBlob);
    AddField(defs_, "QTY", adtSmallInt);
    manager_.DefineFields(defs_);
  }

  const TVTRFieldDef& Field(int32_t i) const { return manager_.FieldDefs.GetFieldDef(i); }

  TVTRFieldDefs defs_;
  TVTRBaseFieldManager manager_{nullptr};
};

TEST_F(RecordLayouts, ABlobKeepsItsReferenceOnDiskAndLosesItsBookkeeping) {
  Bytes record(manager_.FieldDefs.GetRecordBufferSize());
  for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<uint8_t>(i + 1);
  Bytes stored(manager_.FieldDefs.GetDiskRecordSize(), 0xEE);
  manager_.MemoryToDiskRecord(record.data(), stored.data());
  Bytes expected_stored(record.begin(), record.begin() + Field(1).MemoryOffset + 6);
  expected_stored.insert(expected_stored.end(), record.begin() + Field(2).MemoryOffset, record.end());
  EXPECT_EQ(stored, expected_stored);

  Bytes back(record.size(), 0xEE);
  manager_.DiskToMemoryRecord(stored.data(), back.data());
  Bytes expected_back = record;
  std::fill_n(expected_back.begin() + Field(1).MemoryOffset + 6, 4, 0);
  EXPECT_EQ(back, expected_back);
  EXPECT_TRUE(manager_.RecordsEqual(record.data(), back.data())) << "BLOB bookkeeping is not compared";
}

TEST_F(RecordLayouts, RecordsAreEqualByteForByteNullValuesIncluded) {
  Bytes a(manager_.FieldDefs.GetRecordBufferSize(), 0);
  a[0] = 0xFF;
  Bytes b = a;
  EXPECT_TRUE(manager_.RecordsEqual(a.data(), b.data())) << "all null";
  b[Field(2).MemoryOffset] = 0x5A;
  EXPECT_FALSE(manager_.RecordsEqual(a.data(), b.data())) << "garbage in a null field's value";

  a[0] = b[0] = 0;
  b = a;
  const int32_t i256 = 256, i512 = 512;
  std::memcpy(a.data() + Field(0).MemoryOffset, &i256, 4);
  std::memcpy(b.data() + Field(0).MemoryOffset, &i512, 4);
  EXPECT_FALSE(manager_.RecordsEqual(a.data(), b.data()));
}

TEST(RecordLayout, IsTheSameOnDiskWithoutBlobFields) {
  TVTRFieldDefs defs;
  AddNumberedField(defs, "NAME", adtString, 4);
  AddNumberedField(defs, "PRICE", adtCurrency);
  TVTRBaseFieldManager manager(nullptr);
  manager.DefineFields(defs);
  ASSERT_EQ(manager.FieldDefs.GetDiskRecordSize(), manager.FieldDefs.GetRecordBufferSize());
  Bytes record(manager.FieldDefs.GetRecordBufferSize());
  for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<uint8_t>(3 * i);
  Bytes stored(record.size()), back(record.size());
  manager.MemoryToDiskRecord(record.data(), stored.data());
  manager.DiskToMemoryRecord(stored.data(), back.data());
  EXPECT_EQ(stored, record);
  EXPECT_EQ(back, record);
}

TEST(BlobFields, TheFirstNeedsAPositiveBlockSize) {
  TVTRFieldDefs defs;
  AddNumberedField(defs, "ID", adtInteger);
  TVTRBaseFieldManager manager(nullptr);
  manager.DefineFields(defs);
  EXPECT_FALSE(manager.HasBlobFields());
  AddNumberedField(defs, "NOTES", adtMemo).BlobBlockSize = 0;
  manager.DefineFields(defs);
  EXPECT_ENGINE_ERROR(manager.HasBlobFields(), 10421, "BLOB block size should be > 0 for field NOTES");
  manager.FieldDefs.GetFieldDef(1).BlobBlockSize = 4096;
  EXPECT_TRUE(manager.HasBlobFields());
}

TEST(FieldMetadata, LoadingLaysOutAndStartsTheCounters) {
  TVTRFieldDefs defs;
  AddNumberedField(defs, "NAME", adtString, 7);
  AddNumberedField(defs, "NO", adtAutoInc).AutoincInitialValue = 40;
  TVTRBaseFieldManager source(nullptr);
  source.DefineFields(defs);
  TVTRMemoryStream stream;
  source.SaveMetadata(stream);
  stream.SetPosition(0);
  TVTRBaseFieldManager loaded(nullptr);
  loaded.LoadMetadata(stream);
  EXPECT_EQ(loaded.FieldDefs.GetFieldDef(1).MemoryOffset, 1 + 8);
  EXPECT_EQ(loaded.GetNextAutoincValue(1), 41);
}

}  // namespace
