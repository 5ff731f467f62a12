#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/rtl/DateTime.h"
#include "tests/platform/db/TestSupport.h"

namespace {

// One field of each class, open and appending a record whose fields are all null.
class FieldKindsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dataset.Open();
    dataset.Append();
  }
  TField* F(const char* name) { return dataset.FieldByName(name); }
  // The native bytes the dataset stored for a field, after posting.
  template <typename T>
  T Stored(const char* name) {
    if (dataset.State() != dsBrowse) dataset.Post();
    T value{};
    const auto& bytes = dataset.Stored(0, F(name)->FieldNo() - 1);
    EXPECT_TRUE(bytes.has_value());
    if (bytes) std::memcpy(&value, bytes->data(), sizeof value);
    return value;
  }

  TArrayDataSet dataset{nullptr,
                        {{"ID", ftInteger},
                         {"NAME", ftString, 10},
                         {"FIXED", ftFixedChar, 4},
                         {"WNAME", ftWideString, 5},
                         {"SMALL", ftSmallint},
                         {"WORD", ftWord},
                         {"BIG", ftLargeint},
                         {"AMOUNT", ftFloat},
                         {"PRICE", ftCurrency},
                         {"FLAG", ftBoolean},
                         {"DAY", ftDate},
                         {"CLOCK", ftTime},
                         {"STAMP", ftDateTime},
                         {"TS", ftTimeStamp},
                         {"RAW", ftBytes, 4},
                         {"VRAW", ftVarBytes, 4},
                         {"DATA", ftBlob},
                         {"NOTE", ftMemo}}};
};

TEST_F(FieldKindsTest, DefaultFieldsHaveTheClassOfTheirType) {
  const std::vector<std::string> classes = {
      "TIntegerField",  "TStringField",   "TStringField",   "TWideStringField",   "TSmallintField",
      "TWordField",     "TLargeintField", "TFloatField",    "TCurrencyField",     "TBooleanField",
      "TDateField",     "TTimeField",     "TDateTimeField", "TSQLTimeStampField", "TBytesField",
      "TVarBytesField", "TBlobField",     "TMemoField"};
  ASSERT_EQ(static_cast<int>(classes.size()), dataset.FieldCount());
  for (int i = 0; i < dataset.FieldCount(); ++i) {
    EXPECT_EQ(classes[i], dataset.Fields()[i]->ClassName());
    EXPECT_EQ(i + 1, dataset.Fields()[i]->FieldNo());
  }
}

TEST_F(FieldKindsTest, ANullFieldReadsAsEmptyZeroFalseAndDayZero) {
  for (TField* field : dataset.Fields()) {
    SCOPED_TRACE(field->FieldName());
    EXPECT_TRUE(field->IsNull());
    EXPECT_EQ("", field->AsString());
    EXPECT_EQ("", field->DisplayText());
    EXPECT_TRUE(field->Value().IsNull());
  }
  for (const char* name : {"ID", "SMALL", "WORD", "BIG", "AMOUNT", "PRICE"}) {
    EXPECT_EQ(0, F(name)->AsInteger());
    EXPECT_EQ(0.0, F(name)->AsFloat());
  }
  EXPECT_FALSE(F("FLAG")->AsBoolean());
  for (const char* name : {"DAY", "CLOCK", "STAMP", "TS"}) EXPECT_EQ(0.0, F(name)->AsDateTime());
}

TEST_F(FieldKindsTest, DatesAndTimesReachTheDatasetInTheirNativeForms) {
  const TDateTime leap_day = EncodeDate(2024, 2, 29);
  const TDateTime last_moment = EncodeTime(23, 59, 59, 999);
  const TDateTime both = ComposeDateTime(leap_day, last_moment);
  F("DAY")->SetAsDateTime(leap_day);
  F("CLOCK")->SetAsDateTime(last_moment);
  F("STAMP")->SetAsDateTime(both);
  F("TS")->SetAsDateTime(both);
  EXPECT_EQ(738945, Stored<int32_t>("DAY"));
  EXPECT_EQ(86399999, Stored<int32_t>("CLOCK"));
  EXPECT_EQ(738945.0 * 86400000 + 86399999, Stored<double>("STAMP"));
  const auto stamp = Stored<TSQLTimeStamp>("TS");
  EXPECT_EQ((std::vector<int>{2024, 2, 29, 23, 59, 59, 999}),
            (std::vector<int>{stamp.Year, stamp.Month, stamp.Day, stamp.Hour, stamp.Minute, stamp.Second,
                              static_cast<int>(stamp.Fractions)}));
  EXPECT_EQ(leap_day, F("DAY")->AsDateTime());
  EXPECT_EQ(last_moment, F("CLOCK")->AsDateTime());
  EXPECT_EQ(both, F("STAMP")->AsDateTime());
  EXPECT_EQ(both, F("TS")->AsDateTime());
  EXPECT_EQ("29/02/2024", F("DAY")->DisplayText());
  EXPECT_EQ("23:59:59", F("CLOCK")->DisplayText());
  EXPECT_EQ("29/02/2024 23:59:59", F("STAMP")->DisplayText());
  static_cast<TDateTimeField*>(F("DAY"))->SetDisplayFormat("d mmm yyyy");
  EXPECT_EQ("29 Feb 2024", F("DAY")->DisplayText());
  EXPECT_EQ("29/02/2024", F("DAY")->Text());
}

TEST_F(FieldKindsTest, DatesBeforeTheBaseDayKeepTheirTimeOfDay) {
  const TDateTime morning = ComposeDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0, 0));
  ASSERT_EQ(-1.25, morning);
  F("STAMP")->SetAsDateTime(morning);
  EXPECT_EQ(693593.0 * 86400000 + 6 * 3600000, Stored<double>("STAMP"));
  EXPECT_EQ(morning, F("STAMP")->AsDateTime());
}

TEST_F(FieldKindsTest, WideTextIsStoredAsZeroTerminatedUtf16CutToTheFieldSize) {
  F("WNAME")->SetAsString("กขคงจฉ");
  dataset.Post();
  const std::string& bytes = *dataset.Stored(0, F("WNAME")->FieldNo() - 1);
  std::u16string stored(6, u'?');
  std::memcpy(stored.data(), bytes.data(), 12);
  EXPECT_EQ(std::u16string(u"กขคงจ") + u'\0', stored);
  EXPECT_EQ("กขคงจ", F("WNAME")->AsString());
}

TEST_F(FieldKindsTest, TextIsCutAtACharacterBoundary) {
  const struct {
    const char* field;
    std::string input;
    std::string expected;
  } cases[] = {
      {"NAME", "abcdefghijkl", "abcdefghij"},
      {"NAME", "กขคง", "กขค"},  // 3 bytes each: a fourth would split
      {"FIXED", "ab  ", "ab"},  // fixed text reads without trailing blanks
  };
  for (const auto& c : cases) {
    F(c.field)->SetAsString(c.input);
    EXPECT_EQ(c.expected, F(c.field)->AsString()) << c.input;
  }
}

TEST_F(FieldKindsTest, ValuesConvertBetweenTheAccessors) {
  F("ID")->SetAsString(" 42");
  F("SMALL")->SetAsFloat(-2.5);  // half away from zero
  F("BIG")->SetAsString("9007199254740993");
  F("AMOUNT")->SetAsString("1234.5");
  F("PRICE")->SetAsInteger(7);
  F("FLAG")->SetAsString("t");
  F("NAME")->SetAsFloat(0.1 + 0.2);
  F("RAW")->SetAsString(std::string("\x01\x02", 2));
  F("VRAW")->SetAsString("xyz");
  EXPECT_EQ(42, F("ID")->AsInteger());
  EXPECT_EQ("-3", F("SMALL")->AsString());
  EXPECT_EQ(9007199254740993, F("BIG")->AsLargeInt());
  EXPECT_EQ(1234.5, F("AMOUNT")->AsFloat());
  EXPECT_EQ("1234.5", F("AMOUNT")->AsString());
  EXPECT_EQ(1235, F("AMOUNT")->AsInteger());
  EXPECT_EQ("7.00", F("PRICE")->DisplayText());
  EXPECT_EQ(Variant::varCurrency, F("PRICE")->Value().VarType());
  EXPECT_EQ("True", F("FLAG")->AsString());
  EXPECT_EQ("0.3", F("NAME")->AsString());
  EXPECT_EQ(0.3, F("NAME")->AsFloat());
  EXPECT_EQ(std::string("\x01\x02\0\0", 4), F("RAW")->AsString());
  EXPECT_EQ("xyz", F("VRAW")->AsString());
  EXPECT_EQ(Stored<int16_t>("FLAG"), -1);
}

TEST_F(FieldKindsTest, AssignValueTakesTheKindOfTheValue) {
  F("NAME")->AssignValue(Variant(int64_t{12}));
  F("ID")->AssignValue(Variant("34"));
  F("DAY")->AssignValue(Variant::Date(EncodeDate(2024, 1, 2)));
  F("FLAG")->AssignValue(Variant(true));
  EXPECT_THROW(F("AMOUNT")->AssignValue(Variant(true)), EDatabaseError);
  EXPECT_EQ("12", F("NAME")->AsString());
  EXPECT_EQ(34, F("ID")->AsInteger());
  EXPECT_EQ("02/01/2024", F("DAY")->AsString());
  EXPECT_TRUE(F("FLAG")->AsBoolean());
  F("ID")->AssignValue(Variant::Null());
  EXPECT_TRUE(F("ID")->IsNull());
  F("BIG")->Assign(F("NAME"));
  EXPECT_EQ(12, F("BIG")->AsLargeInt());
  F("BIG")->Assign(F("ID"));
  EXPECT_TRUE(F("BIG")->IsNull());
}

TEST_F(FieldKindsTest, BadValuesAreRefusedAndTheFieldKeepsItsValue) {
  F("SMALL")->SetAsInteger(5);
  const struct {
    std::function<void()> write;
    std::string message;
  } cases[] = {
      {[&] { F("ID")->SetAsString("12a"); }, "'12a' is not a valid integer value for field 'ID'"},
      {[&] { F("SMALL")->SetAsInteger(40000); },
       "40000 is not a valid value for field 'SMALL'. The allowed range is -32768 to 32767"},
      {[&] { F("WORD")->SetAsInteger(-1); },
       "-1 is not a valid value for field 'WORD'. The allowed range is 0 to 65535"},
      {[&] { F("SMALL")->SetAsFloat(1e300); },
       "1E300 is not a valid value for field 'SMALL'. The allowed range is -32768 to 32767"},
      {[&] { F("AMOUNT")->SetAsString("1,5"); },
       "'1,5' is not a valid floating point value for field 'AMOUNT'"},
      {[&] { F("AMOUNT")->SetAsFloat(std::nan("")); },
       "'NAN' is not a valid floating point value for field 'AMOUNT'"},
      {[&] { F("FLAG")->SetAsString("maybe"); }, "'maybe' is not a valid boolean value for field 'FLAG'"},
      {[&] { F("ID")->SetAsBoolean(true); }, "Cannot access field 'ID' as type Boolean"},
  };
  for (const auto& c : cases) {
    try {
      c.write();
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(c.message, e.what());
    }
  }
  EXPECT_EQ(5, F("SMALL")->AsInteger());
  EXPECT_TRUE(F("AMOUNT")->IsNull());
  EXPECT_THROW(F("DAY")->SetAsString("31/02/2024"), EConvertError);
  EXPECT_THROW(F("STAMP")->SetAsDateTime(EncodeDate(9999, 12, 31) + 1), EDatabaseError);
}

TEST_F(FieldKindsTest, BlobContentTravelsThroughTheDatasetStreams) {
  auto* data = static_cast<TBlobField*>(F("DATA"));
  std::string source("\x00\x01picture", 9);
  BytesStream in(source);
  data->LoadFromStream(in);
  EXPECT_EQ(9, data->BlobSize());
  std::string copy;
  BytesStream out(copy);
  data->SaveToStream(out);
  EXPECT_EQ(source, copy);

  const std::string path = (std::filesystem::temp_directory_path() / "blob_field_test.bin").string();
  data->SaveToFile(path);
  F("NOTE")->SetAsString("บันทึก");
  static_cast<TBlobField*>(F("NOTE"))->LoadFromFile(path);
  std::filesystem::remove(path);
  EXPECT_EQ(source, F("NOTE")->AsString());
  EXPECT_THROW(data->LoadFromFile(path), EStreamError);
  dataset.Post();
  EXPECT_EQ(source, data->AsString());
  EXPECT_FALSE(data->IsNull());
}

TEST_F(FieldKindsTest, NumbersShowThroughTheirMasks) {
  auto* amount = static_cast<TFloatField*>(F("AMOUNT"));
  amount->SetDisplayFormat("###,###,##0.00");
  amount->SetEditFormat("0.00");
  const struct {
    double value;
    std::string display;
    std::string edit;
  } cases[] = {
      {1234567.891, "1,234,567.89", "1234567.89"},
      {1.005, "1.01", "1.01"},
      {0.1 + 0.2, "0.30", "0.30"},
      {-5, "-5.00", "-5.00"},
  };
  for (const auto& c : cases) {
    amount->SetAsFloat(c.value);
    EXPECT_EQ(c.display, amount->DisplayText());
    EXPECT_EQ(c.edit, amount->Text());
  }
  auto* id = static_cast<TIntegerField*>(F("ID"));
  id->SetAsInteger(1234567);
  EXPECT_EQ("1234567", id->DisplayText());
  id->SetDisplayFormat("#,##0");
  EXPECT_EQ("1,234,567", id->DisplayText());
  EXPECT_EQ("1,234,567", id->Text());  // without an edit mask the display mask edits too
}

TEST(FieldText, ACodePage874DatasetStoresThaiAsSingleBytes) {
  TArrayDataSet dataset(nullptr, {{"NAME", ftString, 10}, {"NOTE", ftMemo}});
  dataset.SetCodec(&CodePage874Codec());
  dataset.Open();
  dataset.Append();
  TField* name = dataset.FieldByName("NAME");
  name->SetAsString("กขค");
  dataset.FieldByName("NOTE")->SetAsString("บันทึก 1");
  dataset.Post();
  EXPECT_EQ(std::string("\xA1\xA2\xA4\0", 4), dataset.Stored(0, 0)->substr(0, 4));
  EXPECT_EQ("กขค", name->AsString());
  EXPECT_EQ("บันทึก 1", dataset.FieldByName("NOTE")->AsString());

  dataset.Edit();
  for (TField* field : dataset.Fields()) {
    try {
      field->SetAsString("ก中");
      ADD_FAILURE() << field->FieldName() << " took a character code page 874 lacks";
    } catch (const EDatabaseError& e) {
      EXPECT_EQ("Field '" + field->FieldName() + "' cannot store the character '中'", e.what());
    }
  }
  EXPECT_EQ("กขค", name->AsString());
  EXPECT_EQ("บันทึก 1", dataset.FieldByName("NOTE")->AsString());
}

TEST(FieldEvents, OnValidateSeesTheNewValueAndCanRefuseIt) {
  auto dataset = People(1);
  TField* name = dataset->FieldByName("NAME");
  std::vector<std::string> seen;
  name->OnValidate = [&](TField* field) {
    seen.push_back(field->AsString());
    if (field->AsString() == "bad") throw EDatabaseError("refused");
  };
  int changes = 0;
  name->OnChange = [&](TField*) { ++changes; };
  dataset->Edit();
  name->SetAsString("good");
  EXPECT_THROW(name->SetAsString("bad"), EDatabaseError);
  EXPECT_EQ("good", name->AsString());
  EXPECT_EQ((std::vector<std::string>{"good", "bad"}), seen);
  EXPECT_EQ(1, changes);
}

TEST(FieldEvents, AReadOnlyFieldRefusesWrites) {
  auto dataset = People(1);
  dataset->FieldByName("NAME")->SetReadOnly(true);
  dataset->Edit();
  try {
    dataset->FieldByName("NAME")->SetAsString("x");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ("Field 'NAME' cannot be modified", e.what());
  }
}

class CalculatedFieldsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dataset.SetName("Table1");
    total = new TIntegerField(&form);
    total->SetFieldName("TOTAL");
    total->SetFieldKind(fkCalculated);
    total->SetDataSet(&dataset);
    share = new TFloatField(&form);
    share->SetFieldName("SHARE");
    share->SetCalculated(true);
    share->SetDataSet(&dataset);
    id = new TIntegerField(&form);
    id->SetFieldName("ID");
    id->SetDataSet(&dataset);
    dataset.OnCalcFields = [this](TDataSet*) {
      ++calculations;
      total->SetAsInteger(id->AsInteger() * 10);
      share->SetAsFloat(id->AsInteger() / 4.0);
    };
  }

  TComponent form{nullptr};
  TArrayDataSet dataset{&form, {{"ID", ftInteger}, {"NAME", ftString, 20}}};
  TIntegerField* total;
  TFloatField* share;
  TIntegerField* id;
  int calculations = 0;
};

TEST_F(CalculatedFieldsTest, PersistentFieldsAreBoundByNameAndCalculatedOnesGetTheirArea) {
  dataset.Open();
  EXPECT_EQ(14, dataset.CalcFieldsSize());  // (4 + 1) + (8 + 1)
  EXPECT_EQ(3, dataset.FieldCount());       // no default fields beside persistent ones
  EXPECT_EQ(nullptr, dataset.FindField("NAME"));
  EXPECT_EQ(1, id->FieldNo());
  EXPECT_EQ(-1, total->FieldNo());
  EXPECT_EQ(0, total->Offset());
  EXPECT_EQ(5, share->Offset());
}

TEST_F(CalculatedFieldsTest, OnCalcFieldsRunsOncePerFetchedRecord) {
  dataset.Open();
  for (int i = 1; i <= 4; ++i) {
    dataset.Append();
    id->SetAsInteger(i);
    dataset.Post();
  }
  dataset.First();
  calculations = dataset.records_fetched = 0;
  while (!dataset.Eof()) {
    EXPECT_FALSE(total->IsNull());
    EXPECT_EQ(id->AsInteger() * 10, total->AsInteger());
    dataset.Next();
  }
  EXPECT_EQ(dataset.records_fetched, calculations);
  EXPECT_EQ(1.0, share->AsFloat());
}

TEST_F(CalculatedFieldsTest, EditingRecalculatesWhenAutoCalcFieldsIsOn) {
  dataset.Open();
  dataset.Append();
  id->SetAsInteger(3);
  EXPECT_EQ(30, total->AsInteger());
  dataset.SetAutoCalcFields(false);
  id->SetAsInteger(4);
  EXPECT_EQ(30, total->AsInteger());
  dataset.Cancel();
}

TEST_F(CalculatedFieldsTest, BindingRefusesFieldsThatDoNotMatchTheDefinitions) {
  auto* missing = new TStringField(&form);
  missing->SetFieldName("X");
  missing->SetDataSet(&dataset);
  try {
    dataset.Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ("Table1: Field 'X' not found", e.what());
  }
  EXPECT_FALSE(dataset.Active());
  delete missing;
  auto* name = new TStringField(&form);
  name->SetFieldName("NAME");
  name->SetSize(10);
  name->SetDataSet(&dataset);
  try {
    dataset.Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ("Table1: Size mismatch for field 'NAME', expecting: 10 actual: 20", e.what());
  }
  delete name;
  auto* wrong = new TFloatField(&form);
  wrong->SetFieldName("NAME");
  wrong->SetDataSet(&dataset);
  EXPECT_THROW(dataset.Open(), EDatabaseError);
}

TEST_F(CalculatedFieldsTest, FieldsOfAnOpenDatasetCannotChange) {
  dataset.Open();
  auto* late = new TIntegerField(&form);
  EXPECT_THROW(late->SetDataSet(&dataset), EDatabaseError);
  EXPECT_THROW(id->SetFieldKind(fkCalculated), EDatabaseError);
  try {
    dataset.FieldByName("nothing");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ("Table1: Field 'nothing' not found", e.what());
  }
}

}  // namespace
