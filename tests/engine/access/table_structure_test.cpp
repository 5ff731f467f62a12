// The structure operations of the table component on a real file: tables
// created from either kind of definitions and read back, refused
// definitions, transactions, renames and indexes, against a second process
// where the table must be had alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/DataTypes.h"
#include "platform/db/DB.h"
#include "platform/rtl/Format.h"
#include "tests/engine/access/TableFixture.h"
#include "tests/engine/storage/HelperProcess.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

class TableStructure : public TableTest {
 protected:
  // A column of the extended definitions, as the SQL engine adds them.
  static TVTRAdvFieldDef& Column(TVTRTable& table, const std::string& name, TVTRAdvancedDataType type,
                                 int32_t size = 0) {
    TVTRAdvFieldDef& item = table.AdvFieldDefs().AddFieldDef();
    item.Name = name;
    item.DataType = type;
    item.Size = size;
    return item;
  }
};

TEST_F(TableStructure, ATableWithEveryColumnTypeReadsBackItsDefinitions) {
  const std::vector<TVTRAdvancedDataType> sized = {adtChar, adtString, adtWideChar, adtWideString, adtBytes,
                                                   adtVarBytes};
  {
    auto table = Table("Everything");
    for (int type = adtChar; type <= adtGuid; ++type) {
      const auto advanced = static_cast<TVTRAdvancedDataType>(type);
      const bool has_size = std::ranges::find(sized, advanced) != sized.end();
      Column(*table, "F" + std::to_string(type), advanced, has_size ? 10 : 0).Required = type % 5 == 0;
    }
    TVTRAdvIndexDefs& indexes = table->AdvIndexDefs();
    indexes.AppendIndexDef("ByInteger", "F7", kIndexPrimaryBit, false, "", "", "");
    indexes.AppendIndexDef("ByString", "F2", kIndexUniqueBit, false, "", "", "");
    indexes.AppendIndexDef("ByDateDown", "F25;F7", 0, false, "F25", "", "");
    indexes.AppendIndexDef("ByCharAnyCase", "F1", 0, false, "", "F1", "");
    table->CreateTable();
  }
  auto table = Table("Everything");
  table->Open();
  const TVTRAdvFieldDefs& items = table->AdvFieldDefs();
  ASSERT_EQ(items.GetCount(), adtGuid);
  ASSERT_EQ(table->FieldDefs().Count(), adtGuid);
  for (int type = adtChar; type <= adtGuid; ++type) {
    const auto advanced = static_cast<TVTRAdvancedDataType>(type);
    const TVTRAdvFieldDef& item = items.GetItem(type - 1);
    const TFieldDef& def = *table->FieldDefs()[type - 1];
    SCOPED_TRACE(std::string(GetAdvancedTypeName(advanced)));
    const bool has_size = std::ranges::find(sized, advanced) != sized.end();
    EXPECT_EQ(item.Name, "F" + std::to_string(type));
    EXPECT_EQ(item.DataType, advanced);
    EXPECT_EQ(item.Size, has_size ? 10 : 0) << "a GUID column reads back without size";
    EXPECT_EQ(item.Required, type % 5 == 0);
    EXPECT_EQ(def.DataType(), AdvancedTypeToFieldType(advanced));
    EXPECT_EQ(def.Size(), advanced == adtGuid ? 38 : (has_size ? 10 : 0));
    EXPECT_EQ(def.Required(), type % 5 == 0 && def.DataType() != ftAutoInc);
  }
  struct IndexCase {
    const char* name;
    const char* fields;
    TIndexOptions options;
    const char* desc_fields;
    const char* case_ins_fields;
  };
  ASSERT_EQ(table->IndexDefs().Count(), 4);
  int i = 0;
  for (const IndexCase& c : {IndexCase{"ByInteger", "F7", {ixPrimary}, "", ""},
                             IndexCase{"ByString", "F2", {ixUnique}, "", ""},
                             IndexCase{"ByDateDown", "F25;F7", {}, "F25", ""},
                             IndexCase{"ByCharAnyCase", "F1", {}, "", "F1"}}) {
    const TIndexDef& def = *table->IndexDefs()[i++];
    EXPECT_EQ(def.Name(), c.name);
    EXPECT_EQ(def.Fields(), c.fields);
    EXPECT_EQ(def.Options(), c.options) << c.name;
    EXPECT_EQ(def.DescFields(), c.desc_fields);
    EXPECT_EQ(def.CaseInsFields(), c.case_ins_fields);
  }
}

TEST_F(TableStructure, RefusedDefinitionsCreateNothing) {
  struct Case {
    TVTRAdvancedDataType type;
    int32_t size;
    uint8_t algorithm, mode;
    int32_t code;
    const char* message;
  };
  for (const Case& c :
       {Case{adtString, 0, 0, 0, 30453, "Cannot create table 'Bad' with field: Name STRING(0)"},
        Case{adtVarBytes, 0, 0, 0, 30453, "Cannot create table 'Bad' with field: Name VARBYTES(0)"},
        Case{adtBlob, 0, 1, 0, 20257,
             "Invalid BlobCompressionMode (must be in 1..9 range) for blob field 'Name'. Cannot create table 'Bad'"},
        Case{adtMemo, 0, 2, 10, 20257,
             "Invalid BlobCompressionMode (must be in 1..9 range) for blob field 'Name'. Cannot create table 'Bad'"}}) {
    auto table = Table("Bad");
    Column(*table, "ID", adtInteger);
    TVTRAdvFieldDef& item = Column(*table, "Name", c.type, c.size);
    item.BlobCompressionAlgorithm = c.algorithm;
    item.BlobCompressionMode = c.mode;
    EXPECT_ENGINE_ERROR(table->CreateTable(), c.code, c.message);
    EXPECT_FALSE(table->Exists());
  }
  auto compressed = Table("Good");
  Column(*compressed, "Note", adtMemo).BlobCompressionAlgorithm = 1;
  compressed->AdvFieldDefs().GetItem(0).BlobCompressionMode = 9;
  compressed->CreateTable();
  EXPECT_TRUE(compressed->Exists());
}

TEST_F(TableStructure, StructureChangesAreRefusedInATransactionButEmptyingIsNot) {
  database_->Open();
  database_->StartTransaction();
  const std::string refusal = "Cannot perform '%s' operation on a database in transaction";
  auto table = Table();
  struct Case {
    const char* operation;
    int32_t code;
    std::function<void()> run;
  };
  for (const Case& c : {Case{"CreateTable", 20182, [&] { Table("New")->CreateTable(); }},
                        Case{"DeleteTable", 20183, [&] { table->DeleteTable(); }},
                        Case{"RenameTable", 20181, [&] { table->RenameTable("Gift"); }},
                        Case{"RenameField", 20179, [&] { table->RenameField("Amount", "Total"); }},
                        Case{"AddIndex", 20175, [&] { table->AddIndex("ByAmount", "Amount", {}); }},
                        Case{"DeleteIndex", 20177, [&] { table->DeleteIndex("ByDonor"); }}}) {
    EXPECT_ENGINE_ERROR(c.run(), c.code, Format(refusal, c.operation));
    EXPECT_FALSE(table->Active());
    EXPECT_EQ(table->Database(), nullptr);
  }
  table->Open();
  Add(*table, {{1, "Anan", 10}});
  table->Close();
  table->EmptyTable();
  database_->Commit(true);
  table->Open();
  EXPECT_EQ(table->RecordCount(), 0);
  EXPECT_TRUE(table->Exists());
}

TEST_F(TableStructure, ATableIsRenamedItsFieldsAndIndexesChangedAndDeleted) {
  for (auto& operation : std::vector<std::function<void(TVTRTable&)>>{
           [](TVTRTable& t) { t.CreateTable(); }, [](TVTRTable& t) { t.DeleteTable(); },
           [](TVTRTable& t) { t.RenameTable("x"); }}) {
    auto nameless = Table(" ");
    EXPECT_EQ(DatabaseErrorOf([&] { operation(*nameless); }), "Missing TableName property");
  }
  auto table = Table();
  table->RenameTable("Gift");
  EXPECT_EQ(table->TableName(), "Gift");
  EXPECT_FALSE(Table("Donate")->Exists());
  table->RenameField("Amount", "Total");
  EXPECT_FALSE(table->Exclusive()) << "the exclusive open was for the rename only";
  table->Open();
  EXPECT_NE(table->FindField("Total"), nullptr);
  table->Append();
  table->FieldByName("ID")->SetAsInteger(1);
  table->FieldByName("Total")->SetAsFloat(50);
  table->Post();
  table->Append();
  table->FieldByName("ID")->SetAsInteger(2);
  table->FieldByName("Total")->SetAsFloat(20);
  table->Post();

  EXPECT_ENGINE_ERROR(table->AddIndex("", "Total", {}), 20046, "Invalid index name ''");
  EXPECT_ENGINE_ERROR(table->AddIndex("ByTotal", "", {}), 20047, "Cannot find index field ''");
  table->AddIndex("ByTotal", "Total", {});
  EXPECT_TRUE(table->Active()) << "an index is added to an open table";
  table->SetIndexName("ByTotal");
  table->First();
  EXPECT_EQ(IdsFromHere(*table), (std::vector<int32_t>{2, 1}));
  table->Close();
  table->DeleteIndex("ByDonor");
  table->IndexDefs().Update();
  EXPECT_EQ(table->IndexDefs().IndexOf("ByDonor"), -1);
  EXPECT_EQ(table->IndexDefs().IndexOf("ByTotal"), 1);

  table->Open();
  table->DeleteTable();
  EXPECT_FALSE(table->Active());
  EXPECT_FALSE(table->Exists());
}

TEST_F(TableStructure, AutoincrementValuesAreReadBackFromTheOpenTable) {
  {
    auto table = Table("Receipt");
    Column(*table, "No", adtAutoInc);
    Column(*table, "Payer", adtString, 20);
    table->CreateTable();
  }
  auto table = Table("Receipt");
  table->Open();
  for (const char* payer : {"Anan", "Bua"}) {
    table->Append();
    table->FieldByName("Payer")->SetAsString(payer);
    table->Post();
  }
  table->Last();
  EXPECT_EQ(table->GetLastAutoincValue("No"), table->FieldByName("No")->AsInteger());
  EXPECT_EQ(DatabaseErrorOf([&] { table->GetLastAutoincValue("Nope"); }), "Field 'Nope' not found");
}

TEST_F(TableStructure, AnIndexIsNotAddedWhileAnotherProcessHasTheTableOpen) {
  ScopedRetryCaps caps{{50, 2}};
  HelperProcess other(VTR_TABLE_HELPER, {file_});
  ASSERT_EQ(other.Answer(), "ready");
  auto table = Table();
  const auto started = std::chrono::steady_clock::now();
  EXPECT_ENGINE_ERROR(table->AddIndex("ByAmount", "Amount", {}), 20228,
                      "Cannot access table 'Donate' in exclusive mode. Probably the table is open by another user");
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(49)) << "its 50 tries";
  EXPECT_EQ(table->Database(), nullptr);
  other.Send("close");
  ASSERT_EQ(other.Answer(), "ok");
  table->AddIndex("ByAmount", "Amount", {});
  table->IndexDefs().Update();
  EXPECT_GE(table->IndexDefs().IndexOf("ByAmount"), 0);
}

}  // namespace
