#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/access/VTRMain.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/support/TableDefinitions.h"

namespace {

struct Column {
  std::string name;
  bool descending;
  bool case_insensitive;
  int32_t size;
  bool operator==(const Column&) const = default;
};

std::vector<Column> ColumnsOf(const TVTRIndexDef& index) {
  std::vector<Column> columns;
  for (const TVTRIndexColumn& c : index.Columns)
    columns.push_back({c.FieldName, c.Descending, c.CaseInsensitive, c.MaxIndexedSize});
  return columns;
}

class Definitions : public ::testing::Test {
 protected:
  Definitions() {
    for (const char* name : {"a", "b", "c"}) fields_.Add(name, ftString, 20);
  }

  // The engine index of one extended index over the fields a, b and c.
  void Convert(const TVTRAdvIndexDef& def) {
    TVTRAdvIndexDefs items;
    items.AddIndexDef().Assign(def);
    AdvIndexDefsToEngineIndexDefs(items, indexes_, fields_);
  }
  static TVTRAdvIndexDef Def(std::string name, std::string fields, uint8_t options = 0, std::string desc = "",
                             std::string case_ins = "", std::string sizes = "") {
    TVTRAdvIndexDefs items;
    return items.AppendIndexDef(std::move(name), std::move(fields), options, false, std::move(desc),
                                std::move(case_ins), std::move(sizes));
  }

  TFieldDefs fields_{nullptr};
  TVTRIndexDefs indexes_;
};

TEST_F(Definitions, ExtendedIndexesBecomeEngineIndexesAndTheirConstraints) {
  struct Case {
    TVTRAdvIndexDef def;
    std::vector<Column> columns;
    std::string constraint;  // empty: none
  };
  const std::vector<Case> cases = {
      {Def("pk", "a;b", kIndexPrimaryBit), {{"a", false, false, 20}, {"b", false, false, 20}}, "C_PK$a$b"},
      {Def("pk", "a,b", kIndexPrimaryBit), {{"a", false, false, 20}, {"b", false, false, 20}}, "C_PK$a$b"},
      {Def("sizes", "a; b ;c", 0, "", "", "10;;30"),
       {{"a", false, false, 10}, {"b", false, false, 20}, {"c", false, false, 30}},
       ""},
      {Def("u", "A;b", kIndexUniqueBit, "B", "a"), {{"A", false, true, 20}, {"b", true, false, 20}}, "C_Unique$A$b"},
      {Def("all", "c", kIndexDescendingBit | kIndexCaseInsensitiveBit), {{"c", true, true, 20}}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.def.Fields);
    Convert(c.def);
    ASSERT_EQ(indexes_.GetCount(), 1);
    const TVTRIndexDef& index = indexes_.GetIndexDef(0);
    EXPECT_EQ(ColumnsOf(index), c.columns);
    TVTRConstraintDefs constraints;
    const TVTRConstraintDefUnique* constraint = CreateConstraintFromIndexDef(index, constraints);
    EXPECT_EQ(constraint ? constraint->Name : "", c.constraint);
    EXPECT_EQ(constraints.GetCount(), constraint ? 1 : 0);
    if (constraint) {
      EXPECT_EQ(constraint->TargetName, c.def.Name);
    }

    TVTRAdvIndexDefs back;
    EngineIndexDefsToAdvIndexDefs(indexes_, back);
    Convert(back.GetItem(0));
    EXPECT_EQ(ColumnsOf(indexes_.GetIndexDef(0)), c.columns) << "read back, the index is the same";
  }
}

TEST_F(Definitions, AnIndexThatCannotBeBuiltIsRefused) {
  struct Case {
    TVTRAdvIndexDef def;
    int32_t code;
    std::string message;
  };
  const std::vector<Case> cases = {
      {Def("", "a"), 20048, "Invalid index name ''"},
      {Def("i", ""), 20049, "Cannot find index field ''"},
      {Def("i", "a;x"), 20050, "Cannot find index field 'x'"},
  };
  for (const Case& c : cases) EXPECT_ENGINE_ERROR(Convert(c.def), c.code, c.message);
  EXPECT_THROW(Convert(Def("i", "a", 0, "", "", "ten")), EConvertError);
}

TEST_F(Definitions, CopyingIndexesCanLeaveOutTheTemporaryOnes) {
  TVTRAdvIndexDefs source;
  source.AppendIndexDef("ByName", "a", 0, false, "", "", "");
  source.AppendIndexDef("my_Temporary_idx", "a", 0, false, "", "", "");
  source.AppendIndexDef("session", "b", 0, true, "", "", "");
  TVTRAdvIndexDefs copy;
  copy.Assign(source, true);
  ASSERT_EQ(copy.GetCount(), 1);
  EXPECT_EQ(copy.GetItem(0).Name, "ByName");
  copy.Assign(source, false);
  EXPECT_EQ(copy.GetCount(), 3);
}

TEST_F(Definitions, IndexDefinitionsOfTheDatasetLayerKeepEveryOption) {
  TIndexDefs defs(nullptr);
  TIndexDef* def = defs.Add("ix", "a;b", {ixUnique, ixExpression});
  def->SetDescFields("b");
  TVTRAdvIndexDefs items;
  IndexDefsToAdvIndexDefs(defs, items);
  EXPECT_EQ(items.GetItem(0).Options, kIndexUniqueBit | (1 << ixExpression));
  TIndexDefs back(nullptr);
  AdvIndexDefsToIndexDefs(items, back);
  ASSERT_EQ(back.Count(), 1);
  EXPECT_EQ(back[0]->Fields(), "a;b");
  EXPECT_EQ(back[0]->DescFields(), "b");
  EXPECT_EQ(back[0]->Options(), (TIndexOptions{ixUnique, ixExpression}));
}

// A table of ID (autoincrement), Name, Code (GUID) and Hidden, with NOT NULL
// on ID and Name and a CHECK on Hidden.
class StoredFields : public ::testing::Test {
 protected:
  StoredFields() {
    int32_t id = 100;
    for (auto [name, type, size] : {std::tuple{"ID", adtAutoIncInteger, 0}, std::tuple{"Name", adtString, 30},
                                    std::tuple{"Code", adtGuid, 38}, std::tuple{"Hidden", adtInteger, 0}}) {
      AddField(table_, name, type, size).ObjectID = id++;
    }
    visible_.Assign(table_);
    visible_.Delete(3);
    for (int32_t i = 0; i < visible_.GetCount(); ++i) visible_.GetFieldDef(i).FieldNo = i;
    for (int32_t id_of : {100, 101}) constraints_.AddNotNull().TargetID = id_of;
    TVTRConstraintDefCheck& check = constraints_.AddCheck();
    check.TargetID = 103;
    check.MinValue.SetAsInteger(1);
  }

  TVTRFieldDefs table_;
  TVTRFieldDefs visible_;
  TVTRConstraintDefs constraints_;
};

TEST_F(StoredFields, BecomeDatasetDefinitionsWhereNotNullSparesAutoincrementFields) {
  TFieldDefs defs(nullptr);
  EngineDefsToFieldDefs(visible_, constraints_, defs);
  ASSERT_EQ(defs.Count(), 3);
  EXPECT_EQ(defs[0]->DataType(), ftAutoInc);
  EXPECT_FALSE(defs[0]->Required());
  EXPECT_TRUE(defs[1]->Required());
  EXPECT_EQ(defs[1]->Size(), 30);
  EXPECT_EQ(defs[2]->DataType(), ftGuid);
  EXPECT_EQ(defs[2]->Size(), 0);
}

TEST_F(StoredFields, BecomeExtendedDefinitionsWithTheirConstraints) {
  TVTRAdvFieldDefs items;
  EngineDefsToAdvFieldDefs(visible_, table_, constraints_, items);
  ASSERT_EQ(items.GetCount(), 3);
  EXPECT_TRUE(items.GetItem(0).Required);
  EXPECT_EQ(items.GetItem(0).ObjectID, 100);
  EXPECT_TRUE(items.GetItem(1).Required);
  EXPECT_FALSE(items.GetItem(2).Required);
  EXPECT_EQ(items.GetItem(2).Size, 0) << "GUID";
  for (int32_t i = 0; i < 3; ++i) EXPECT_TRUE(items.GetItem(i).MinValue.IsNull()) << "the CHECK is on a hidden field";

  constraints_.AddNotNull().TargetID = 999;
  EXPECT_ENGINE_ERROR(EngineDefsToAdvFieldDefs(visible_, table_, constraints_, items), 30032, "Field #999 not found");
}

TEST(ExtendedFields, BecomeEngineFieldsWithConstraintsUnlessTemporary) {
  TVTRAdvFieldDefs items;
  TVTRAdvFieldDef& id = items.AddFieldDef();
  id.Name = "ID";
  id.DataType = adtAutoIncInteger;
  id.Required = true;
  TVTRAdvFieldDef& amount = items.AddFieldDef();
  amount.Name = "Amount";
  amount.DataType = adtFloat;
  amount.MaxValue.SetAsDouble(1000);
  TVTRAdvFieldDef& note = items.AddFieldDef();
  note.Name = "Note";
  note.DataType = adtMemo;
  note.BlobBlockSize = 0;
  TVTRIndexDefs indexes;
  AddIndex(indexes, "pk", "ID").Primary = true;

  for (const bool temporary : {false, true}) {
    SCOPED_TRACE(temporary);
    TVTRFieldDefs fields;
    TVTRConstraintDefs constraints;
    AdvFieldDefsToEngineDefs(items, fields, indexes, constraints, temporary);
    ASSERT_EQ(fields.GetCount(), 3);
    EXPECT_EQ(fields.GetFieldDef(2).BlobBlockSize, kDefaultBlobBlockSize);
    std::vector<std::string> names;
    for (int32_t i = 0; i < constraints.GetCount(); ++i) {
      const TVTRConstraintDef& c = constraints.GetConstraintDef(i);
      names.push_back(std::to_string(c.ConstraintType) + ":" + c.TargetName);
    }
    const std::vector<std::string> expected =
        temporary ? std::vector<std::string>{"0:pk"} : std::vector<std::string>{"3:ID", "4:Amount", "0:pk"};
    EXPECT_EQ(names, expected);
  }
  EXPECT_ENGINE_ERROR(items.Delete("nope"), 30349, "Field 'nope' not found");
  items.Delete("amount");
  EXPECT_EQ(items.Find("AMOUNT"), nullptr);
  EXPECT_EQ(items.Find("note"), &note);
}

}  // namespace
