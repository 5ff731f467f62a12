#include <gtest/gtest.h>

#include "engine/storage/VTRBase.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/support/TableDefinitions.h"

namespace {

// Nine fields: INTEGER, VARCHAR(5), BLOB and six SMALLINT.
void AddNineFields(TVTRFieldDefs& defs) {
  AddField(defs, "ID", adtInteger);
  AddField(defs, "NAME", adtString, 5);
  AddField(defs, "PICTURE", adtBlob);
  for (int i = 0; i < 6; ++i) AddField(defs, "S" + std::to_string(i), adtSmallInt);
  defs.CalcOffsets();
}

template <typename Defs>
void RoundTrip(const Defs& source, Defs& target) {
  TVTRMemoryStream stream;
  source.SaveToStream(stream);
  stream.SetPosition(0);
  target.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), stream.Size()) << "the whole image is read";
}

TEST(FieldLayout, NineFieldsTakeTwoNullFlagBytesAndABlobIsShorterOnDisk) {
  TVTRFieldDefs defs;
  AddNineFields(defs);
  EXPECT_EQ(defs.GetNullFlagsSize(), 2);
  const TVTRFieldDef& id = defs.GetFieldDef(0);
  const TVTRFieldDef& name = defs.GetFieldDef(1);
  const TVTRFieldDef& blob = defs.GetFieldDef(2);
  const TVTRFieldDef& small = defs.GetFieldDef(3);
  EXPECT_EQ(id.MemoryOffset, 2);
  EXPECT_EQ(id.DiskOffset, 2);
  EXPECT_EQ(name.MemoryDataSize, 6);
  EXPECT_EQ(blob.MemoryDataSize, 10);
  EXPECT_EQ(blob.DiskDataSize, 6);
  EXPECT_EQ(blob.MemoryOffset, 12);
  EXPECT_EQ(small.MemoryOffset, 22);
  EXPECT_EQ(small.DiskOffset, 18);
  EXPECT_EQ(defs.GetRecordBufferSize(), 2 + 4 + 6 + 10 + 6 * 2);
  EXPECT_EQ(defs.GetDiskRecordSize(), 2 + 4 + 6 + 6 + 6 * 2);
}

TEST(FieldLayout, NullFlagBytesFollowTheFieldCount) {
  for (const auto& [count, flag_bytes] : {std::pair{0, 0}, {1, 1}, {8, 1}, {9, 2}, {16, 2}, {17, 3}}) {
    TVTRFieldDefs defs;
    for (int i = 0; i < count; ++i) AddField(defs, "F" + std::to_string(i), adtByte);
    defs.CalcOffsets();
    EXPECT_EQ(defs.GetNullFlagsSize(), flag_bytes) << count;
    EXPECT_EQ(defs.GetRecordBufferSize(), count == 0 ? 0 : flag_bytes + count) << count;
    EXPECT_EQ(defs.GetDiskRecordSize(), defs.GetRecordBufferSize()) << count;
  }
}

TEST(FieldDef, AColumnTypeWithoutBaseTypeIsRefused) {
  TVTRFieldDef field;
  EXPECT_ENGINE_ERROR(field.SetDataType(static_cast<TVTRAdvancedDataType>(99), 0), 30007,
                      "Unsupported data type 'Unknown'");
}

TEST(ConstraintImage, NotNullWritesItsNamesWithByteSizePrefixes) {
  TVTRConstraintDefs defs;
  TVTRConstraintDefNotNull& constraint = defs.AddNotNull();
  constraint.Name = "C1";
  constraint.ObjectID = 9;
  constraint.TargetID = 4;
  constraint.TargetName = "PRICE";
  const Bytes name_and_id = {2, 'C', '1', 9, 0, 0, 0};
  const Bytes ids = {0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0};
  const Bytes names = {0x01, 0x00, 0x01, 0x00, 0x06, 0x05, 'P', 'R', 'I', 'C', 'E'};
  const Bytes expected = Concat({name_and_id, ids, names});
  EXPECT_EQ(ImageOf([&](TStream& s) { constraint.SaveToStream(s); }), expected);
}

TEST(ConstraintImage, UniqueWritesItsNamesAndKeyColumnsWithIntegerPrefixes) {
  TVTRConstraintDefs defs;
  TVTRConstraintDefUnique& constraint = defs.AddUnique();
  constraint.Name = "U";
  constraint.ObjectID = 1;
  constraint.TargetID = 5;
  constraint.TargetName = "IX";
  constraint.KeyColumns = {{"A", 3}};
  const Bytes name_and_id = {1, 'U', 1, 0, 0, 0};
  const Bytes ids = {0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0};
  const Bytes names = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 3, 0, 0, 0, 2, 'I', 'X'};
  const Bytes key_columns = {1, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 'A'};
  const Bytes expected = Concat({name_and_id, ids, names, key_columns});
  EXPECT_EQ(ImageOf([&](TStream& s) { constraint.SaveToStream(s); }), expected);
}

TEST(ConstraintImage, AListHoldingAnUnknownTypeByteFailsToLoad) {
  TVTRMemoryStream stream;
  FillStream(stream, {1, 0, 0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF});
  TVTRConstraintDefs defs;
  EXPECT_ENGINE_ERROR(defs.LoadFromStream(stream), 30316, "Unknown Constraint Type: '1'");
}

TEST(IndexImage, TemporaryIndexesAreLeftOutOfTheList) {
  TVTRIndexDefs defs;
  defs.AddIndexDef().Name = "STORED";
  TVTRIndexDef& temporary = defs.AddIndexDef();
  temporary.Name = "TEMPORARY_INDEX_1";
  temporary.Temporary = true;
  TVTRIndexDefs loaded;
  RoundTrip(defs, loaded);
  ASSERT_EQ(loaded.GetCount(), 1);
  EXPECT_EQ(loaded.GetIndexDef(0).Name, "STORED");
  EXPECT_EQ(ImageOf([&](TStream& s) { defs.SaveToStream(s); })[0], 1);
}

TEST(DefinitionImages, SaveThenLoadGivesEqualDefinitions) {
  TVTRFieldDefs fields;
  AddNineFields(fields);
  TVTRFieldDef& blob = fields.GetFieldDef(2);
  blob.BlobCompressionAlgorithm = 1;
  blob.BlobCompressionMode = 6;
  blob.BlobBlockSize = 4096;
  TVTRFieldDef& counter = AddField(fields, "NO", adtAutoIncSmallInt);
  counter.AutoincIncrement = 5;
  counter.AutoincInitialValue = 10;
  counter.AutoincMinValue = 3;
  counter.AutoincMaxValue = 20;
  counter.AutoincCycled = true;
  counter.ObjectID = 77;
  fields.GetFieldDef(1).DefaultValue.SetAsString("abc");
  fields.CalcOffsets();

  TVTRFieldDefs loaded_fields;
  RoundTrip(fields, loaded_fields);
  loaded_fields.CalcOffsets();
  ASSERT_EQ(loaded_fields.GetCount(), fields.GetCount());
  for (int32_t i = 0; i < fields.GetCount(); ++i) {
    const TVTRFieldDef& a = fields.GetFieldDef(i);
    const TVTRFieldDef& b = loaded_fields.GetFieldDef(i);
    EXPECT_EQ(b.Name, a.Name);
    EXPECT_EQ(b.DataType, a.DataType);
    EXPECT_EQ(b.MemoryOffset, a.MemoryOffset) << a.Name;
    EXPECT_EQ(b.DiskOffset, a.DiskOffset) << a.Name;
    EXPECT_EQ(b.MemoryDataSize, a.MemoryDataSize) << a.Name;
  }
  EXPECT_EQ(loaded_fields.GetFieldDef(2).BlobBlockSize, 4096);
  EXPECT_EQ(loaded_fields.GetFieldDef(9).AutoincMaxValue, 20);
  EXPECT_EQ(loaded_fields.GetFieldDef(1).DefaultValue.GetAsString(), "abc");
  EXPECT_EQ(ImageOf([&](TStream& s) { loaded_fields.SaveToStream(s); }),
            ImageOf([&](TStream& s) { fields.SaveToStream(s); }));

  TVTRIndexDefs indexes;
  TVTRIndexDef& index = indexes.AddIndexDef();
  index.Name = "IX_NAME";
  index.Unique = true;
  index.RootPage = 12;
  index.Columns = {{"NAME", true, true, 8}, {"ID", false, false, 20}};
  TVTRIndexDefs loaded_indexes;
  RoundTrip(indexes, loaded_indexes);
  const TVTRIndexDef& loaded_index = loaded_indexes.GetIndexDef(0);
  EXPECT_EQ(loaded_index.RootPage, 12);
  ASSERT_EQ(loaded_index.GetColumnCount(), 2);
  EXPECT_TRUE(loaded_index.GetColumn(0).Descending);
  EXPECT_TRUE(loaded_index.GetColumn(0).CaseInsensitive);
  EXPECT_EQ(loaded_index.GetColumn(0).MaxIndexedSize, 8);
  EXPECT_EQ(loaded_index.GetColumn(1).FieldName, "ID");

  TVTRConstraintDefs constraints;
  constraints.AddNotNull().TargetName = "ID";
  TVTRConstraintDefCheck& check = constraints.AddCheck();
  check.MinValue.SetAsInteger(1);
  check.TableName = "DONATE";
  TVTRConstraintDefPrimary& primary = constraints.AddPrimaryKey();
  primary.KeyColumns = {{"ID", 1}, {"NAME", 2}};
  constraints.AddUnique().Name = "C_Unique$NAME";
  TVTRConstraintDefs loaded_constraints;
  RoundTrip(constraints, loaded_constraints);
  ASSERT_EQ(loaded_constraints.GetCount(), 4);
  EXPECT_EQ(loaded_constraints.GetConstraintDef(2).ConstraintType, ctPrimaryKey);
  EXPECT_EQ(
      dynamic_cast<TVTRConstraintDefPrimary&>(loaded_constraints.GetConstraintDef(2)).KeyColumns[1].FieldName,
      "NAME");
  const auto& loaded_check = dynamic_cast<TVTRConstraintDefCheck&>(loaded_constraints.GetConstraintDef(1));
  EXPECT_EQ(loaded_check.MinValue.GetAsInteger(), 1);
  EXPECT_TRUE(loaded_check.MaxValue.IsNull());
  EXPECT_EQ(loaded_check.TableName, "DONATE");
  EXPECT_EQ(ImageOf([&](TStream& s) { loaded_constraints.SaveToStream(s); }),
            ImageOf([&](TStream& s) { constraints.SaveToStream(s); }));
}

TEST(DefinitionImages, OnlyBlobFieldsStoreTheirBlobSettings) {
  TVTRFieldDefs defs;
  const auto image_size = [](const TVTRFieldDef& field) {
    return ImageOf([&](TStream& s) { field.SaveToStream(s); }).size();
  };
  EXPECT_EQ(image_size(AddField(defs, "B", adtBlob)), image_size(AddField(defs, "I", adtInteger)) + 6);
}

template <typename Defs>
void ExpectEveryCutToFail(const Defs& source) {
  const Bytes image = ImageOf([&](TStream& s) { source.SaveToStream(s); });
  for (size_t cut = 0; cut < image.size(); ++cut) {
    TVTRMemoryStream stream;
    FillStream(stream, Bytes(image.begin(), image.begin() + cut));
    Defs target;
    EXPECT_THROW(target.LoadFromStream(stream), EVTRException) << "cut at " << cut;
  }
}

// A cut image, or a damaged count or length, fails with an engine error
// rather than reading or allocating past what is there.
TEST(DefinitionImages, TruncatedOrDamagedImagesRaiseEngineErrors) {
  TVTRFieldDefs fields;
  AddNineFields(fields);
  fields.GetFieldDef(0).DefaultValue.SetAsInteger(5);
  ExpectEveryCutToFail(fields);
  TVTRIndexDefs indexes;
  indexes.AddIndexDef().Columns = {{"ID"}, {"NAME"}};
  ExpectEveryCutToFail(indexes);
  TVTRConstraintDefs constraints;
  constraints.AddNotNull().TargetName = "ID";
  constraints.AddPrimaryKey().KeyColumns = {{"ID", 1}};
  constraints.AddCheck().MaxValue.SetAsInteger(9);
  ExpectEveryCutToFail(constraints);

  TVTRMemoryStream stream;
  FillStream(stream, {0xFF, 0xFF, 0xFF, 0x7F});
  EXPECT_EQ(NativeErrorOf([&] { fields.LoadFromStream(stream); }), 10159);

  TVTRConstraintDefs unique;
  unique.AddUnique();
  Bytes image = ImageOf([&](TStream& s) { unique.SaveToStream(s); });
  // The spare name's prefix: behind the count, the type byte, the empty name,
  // the object ID and three IDs.
  const size_t prefix = 4 + 1 + 1 + 4 + 12;
  image[prefix + 1] = 0x10;
  FillStream(stream, image);
  EXPECT_EQ(NativeErrorOf([&] { unique.LoadFromStream(stream); }), 30306);
}

TEST(DefinitionLists, AssignRefusesNamesThatDifferOnlyInCase) {
  TVTRFieldDefs source;
  AddField(source, "Amount", adtFloat);
  AddField(source, "AMOUNT", adtFloat);
  TVTRFieldDefs target;
  EXPECT_ENGINE_ERROR(target.Assign(source), 10424, "Duplicate field name AMOUNT");
}

TEST(DefinitionLists, AssignCopiesEverythingButTheCursorFieldNumber) {
  TVTRFieldDefs source;
  AddNineFields(source);
  source.GetFieldDef(3).FieldNo = 7;
  source.GetFieldDef(3).DefaultValue.SetAsSmallInt(4);
  TVTRFieldDefs target;
  target.Assign(source);
  EXPECT_EQ(target.GetFieldDef(3).MemoryOffset, 22);
  EXPECT_EQ(target.GetFieldDef(3).FieldNo, 0);
  EXPECT_EQ(target.GetFieldDef(3).DefaultValue.GetAsSmallInt(), 4);
}

TEST(DefinitionLists, ConstraintListsAreFilledOnlyThroughTheirTypedAdds) {
  TVTRConstraintDefs defs;
  EXPECT_ENGINE_ERROR(defs.InternalAddCreated(), 30339,
                      "The method 'InternalAddCreated' not overrided in class 'TVTRConstraintDefs'");
  EXPECT_THROW(defs.Add(std::make_unique<TVTRFieldDef>()), std::invalid_argument);
}

TEST(DefinitionLists, LookupsIgnoreCaseAndFindObjectIDs) {
  TVTRIndexDefs defs;
  defs.AddIndexDef().Name = "ByName";
  TVTRIndexDef& second = defs.AddIndexDef();
  second.Name = "ByDate";
  second.ObjectID = 42;
  EXPECT_EQ(defs.IndexOf("BYDATE"), 1);
  EXPECT_EQ(defs.GetIndexDefByName("byname"), &defs.GetIndexDef(0));
  EXPECT_EQ(defs.GetDefByObjectID(42), &second);
  EXPECT_EQ(defs.IndexOfObjectID(41), -1);
  defs.Move(1, 0);
  EXPECT_EQ(defs.IndexOf("ByDate"), 0);
}

TStringList Strings(std::initializer_list<const char*> items) {
  TStringList list;
  for (const char* item : items) list.Add(item);
  return list;
}

TEST(IndexDef, ColumnsFromListsTakeExactDirectionAndCaseWords) {
  TVTRIndexDef index;
  index.SetColumnsFromLists(Strings({"A", "B", "C"}), Strings({"DESC", "desc", "ASC"}),
                            Strings({"NO_CASE", "CASE", "no_case"}));
  ASSERT_EQ(index.GetColumnCount(), 3);
  EXPECT_TRUE(index.GetColumn(0).Descending);
  EXPECT_TRUE(index.GetColumn(0).CaseInsensitive);
  EXPECT_FALSE(index.GetColumn(1).Descending);
  EXPECT_FALSE(index.GetColumn(2).CaseInsensitive);
  EXPECT_ENGINE_ERROR(index.SetColumnsFromLists(Strings({"A"}), Strings({}), Strings({""})), 10278,
                      "Error - different lists length. L1 = 1, L2 = 0");
  EXPECT_ENGINE_ERROR(index.SetColumnsFromLists(Strings({"A"}), Strings({""}), Strings({"", ""})), 10279,
                      "Error - different lists length. L1 = 1, L2 = 2");
}

class FindIndex : public ::testing::Test {
 protected:
  FindIndex() {
    AddField(fields_, "A", adtString, 10);
    AddField(fields_, "N", adtInteger);
    Add("TEMP_OTHER", 1, {{"a", false, false}}).Temporary = true;
    Add("A_DESC_NOCASE", 2, {{"a", true, true}});
    Add("A_N", 3, {{"A", false, false}, {"N", false, false}});
    Add("N_NOCASE", 4, {{"N", false, true}});
  }

  TVTRIndexDef& Add(const char* name, int32_t id, std::vector<TVTRIndexColumn> columns) {
    TVTRIndexDef& index = indexes_.AddIndexDef();
    index.Name = name;
    index.ObjectID = id;
    index.OwnerSessionID = 5;
    index.Columns = std::move(columns);
    return index;
  }

  int32_t Find(std::initializer_list<const char*> names, std::initializer_list<const char*> directions,
               std::initializer_list<const char*> cases, int32_t session_id = 0) {
    const TStringList n = Strings(names), d = Strings(directions), c = Strings(cases);
    return indexes_.FindIndex(&n, &d, fields_, session_id, &c);
  }

  TVTRFieldDefs fields_;
  TVTRIndexDefs indexes_;
};

TEST_F(FindIndex, DemandsOnlyWhatTheDirectionAndCaseWordsSay) {
  EXPECT_EQ(Find({"A"}, {""}, {""}), 2);
  EXPECT_EQ(Find({"A"}, {""}, {""}, 5), 1) << "a temporary index of the asking session";
  EXPECT_EQ(Find({"A"}, {"ASC"}, {""}), 3) << "a longer index serves by its leading columns";
  EXPECT_EQ(Find({"A"}, {""}, {"CASE"}), 3);
  EXPECT_EQ(Find({"a", "n"}, {"ASC", "ASC"}, {"CASE", "CASE"}), 3);
  EXPECT_EQ(Find({"N"}, {""}, {"CASE"}), 4) << "non-text columns ignore the case word CASE";
  EXPECT_EQ(Find({"N"}, {"DESC"}, {""}), -1);
  EXPECT_EQ(Find({"A", "B"}, {"", ""}, {"", ""}), -1);
}

TEST_F(FindIndex, RefusesMissingAndUnequalLists) {
  const TStringList one = Strings({"A"}), two = Strings({"A", "B"});
  EXPECT_ENGINE_ERROR(indexes_.FindIndex(nullptr, &one, fields_, 0, &one), 10389, "Nil pointer occured");
  EXPECT_ENGINE_ERROR(indexes_.FindIndex(&one, nullptr, fields_, 0, &one), 10390, "Nil pointer occured");
  EXPECT_ENGINE_ERROR(indexes_.FindIndex(&one, &one, fields_, 0, nullptr), 10391, "Nil pointer occured");
  EXPECT_ENGINE_ERROR(indexes_.FindIndex(&one, &two, fields_, 0, &one), 10276,
                      "Error - different lists length. L1 = 1, L2 = 2");
  EXPECT_ENGINE_ERROR(indexes_.FindIndex(&one, &one, fields_, 0, &two), 10277,
                      "Error - different lists length. L1 = 1, L2 = 2");
}

}  // namespace
