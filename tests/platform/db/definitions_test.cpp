#include <gtest/gtest.h>

#include "tests/platform/db/TestSupport.h"

namespace {

// A dataset that counts definition changes and reads its index definitions on request.
class IndexedDataSet : public TArrayDataSet {
 public:
  explicit IndexedDataSet(TComponent* owner)
      : TArrayDataSet(owner, {{"ID", ftInteger}, {"NAME", ftString, 20}}) {}

  TIndexDefs index_defs{this};
  int def_changes = 0;
  int index_reads = 0;

 protected:
  void DefChanged(TDefCollection*) override { ++def_changes; }
  void UpdateIndexDefs() override {
    ++index_reads;
    index_defs.Clear();
    index_defs.Add("PK", "ID", {ixPrimary, ixUnique});
    index_defs.Add("BY_NAME", "NAME;ID", {ixCaseInsensitive});
  }
};

TEST(FieldNames, SplitAtSemicolonsAndTrimBlanks) {
  std::string_view list = " ID ; Name;;x";
  size_t pos = 0;
  EXPECT_EQ("ID", ExtractFieldName(list, pos));
  EXPECT_EQ("Name", ExtractFieldName(list, pos));
  EXPECT_EQ("", ExtractFieldName(list, pos));
  EXPECT_EQ("x", ExtractFieldName(list, pos));
  EXPECT_EQ(list.size(), pos);
  EXPECT_EQ((std::vector<std::string>{"ID", "Name", "x"}), SplitFieldNameList(list));
}

TEST(FieldDefs, ReadFromAClosedDatasetWithoutCountingAsAChange) {
  IndexedDataSet dataset(nullptr);
  dataset.SetName("Table1");
  dataset.FieldDefs().Update();
  EXPECT_FALSE(dataset.Active());
  EXPECT_TRUE(dataset.FieldDefs().Updated());
  ASSERT_EQ(2, dataset.FieldDefs().Count());
  EXPECT_EQ(0, dataset.def_changes);
  const TFieldDef* name = dataset.FieldDefs().Find("name");
  EXPECT_EQ(2, name->FieldNo());
  EXPECT_EQ(20, name->Size());
  EXPECT_EQ(0, dataset.FieldDefs().IndexOf("Id"));
  try {
    dataset.FieldDefs().Find("x");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ("Table1: Field 'x' not found", e.what());
  }
  EXPECT_THROW(dataset.FieldDefs().Add("ID", ftInteger), EDatabaseError);
  dataset.FieldDefs().Add("EXTRA", ftFloat);
  EXPECT_EQ(1, dataset.def_changes);
  EXPECT_EQ(3, dataset.FieldDefs()[2]->FieldNo());

  TFieldDefs copy(nullptr);
  copy.Assign(&dataset.FieldDefs());
  EXPECT_EQ(3, copy.Count());
  EXPECT_EQ(ftFloat, copy[2]->DataType());
}

TEST(IndexDefs, FindIndexForFieldsPrefersAnExactMatchThenALeadingOne) {
  IndexedDataSet dataset(nullptr);
  dataset.SetName("Table1");
  dataset.index_defs.Update();
  EXPECT_EQ(1, dataset.index_reads);
  EXPECT_EQ(0, dataset.def_changes);
  TIndexDefs& defs = dataset.index_defs;
  defs.Add("NAME_DESC", "NAME", {ixDescending});
  defs.Add("BY_NAME_ONLY", "name", {});
  EXPECT_EQ("PK", defs.FindIndexForFields("id")->Name());
  EXPECT_EQ("BY_NAME_ONLY", defs.FindIndexForFields("NAME")->Name());
  EXPECT_EQ("BY_NAME", defs.FindIndexForFields("Name ; Id")->Name());
  EXPECT_EQ("BY_NAME", defs.GetIndexForFields("NAME", true)->Name());
  EXPECT_EQ(nullptr, defs.GetIndexForFields("ID;NAME", false));
  try {
    defs.FindIndexForFields("ID;NAME");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ("Table1: No index for fields 'ID;NAME'", e.what());
  }
  EXPECT_EQ(uint32_t{0b11}, defs.Find("pk")->Options().Bits());
  EXPECT_THROW(defs.Find("none"), EDatabaseError);

  TIndexDefs copy(nullptr);
  defs[1]->SetDescFields("NAME");
  copy.Assign(&defs);
  EXPECT_EQ(4, copy.Count());
  EXPECT_EQ("NAME", copy[1]->DescFields());
}

}  // namespace
