#include <gtest/gtest.h>

#include <functional>

#include "engine/storage/constraints/ConstraintManager.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/engine/storage/index/IndexTestSupport.h"

namespace {

using Value = TestIndexTable::Value;

class ConstraintManager : public ::testing::Test {
 protected:
  ConstraintManager()
      : table_({{"ID", adtInteger, 0}, {"CODE", adtInteger, 0}, {"NAME", adtString, 20}}),
        random_(7),
        constraints_(table_, table_.Manager(), random_) {}

  // A unique or primary index with its constraint.
  void AddKeyIndex(const std::string& name, const std::vector<TVTRIndexColumn>& columns, bool primary) {
    TVTRIndexDef def;
    def.Name = name;
    def.Columns = columns;
    def.Unique = !primary;
    def.Primary = primary;
    table_.Manager().AddIndex(&table_.Cursor(0), def);
    constraints_.AddIndexConstraint(def);
  }
  // Checks the record of the values as an insert, raising the violation.
  void CheckInsert(const std::vector<Value>& values) {
    const std::vector<uint8_t> record = table_.Record(values);
    constraints_.CheckRecord(0, record.data(), true, {}, true, nullptr);
  }
  void CheckUpdate(const TVTRRecordID& id, const std::vector<Value>& values) {
    const std::vector<uint8_t> record = table_.Record(values);
    constraints_.CheckRecord(0, record.data(), true, id, false, table_.Stored(id).data());
  }
  TVTRConstraintDef& Named(const std::string& name) {
    return constraints_.ConstraintDefs.GetConstraintDef(constraints_.ConstraintDefs.IndexOf(name));
  }

  TestIndexTable table_;
  RandomSource random_;
  TVTRBaseConstraintManager constraints_;
};

TEST_F(ConstraintManager, APrimaryKeyRefusesDuplicatesAndKeysThatAreWhollyNull) {
  AddKeyIndex("PK_ID", {{"ID"}}, true);
  ASSERT_EQ(constraints_.ConstraintDefs.GetCount(), 1);
  EXPECT_NO_THROW(CheckInsert({int64_t{1}, int64_t{0}, std::string("a")})) << "the first record of a table";
  table_.Insert({int64_t{1}, int64_t{0}, std::string("a")});
  EXPECT_ENGINE_ERROR(CheckInsert({int64_t{1}, int64_t{5}, std::string("b")}), 30319,
                      "Primary Key constraint 'C_PK$ID' violated. Duplicate found.");
  EXPECT_NO_THROW(CheckInsert({int64_t{2}, int64_t{5}, std::string("b")}));
  EXPECT_ENGINE_ERROR(CheckInsert({std::nullopt, int64_t{5}, std::string("b")}), 30330,
                      "Constraint 'C_PK$ID' violated. Value in field 'ID' cannot be null");
}

TEST_F(ConstraintManager, ATwoColumnPrimaryKeyNeedsOneColumnSet) {
  AddKeyIndex("PK_ID_CODE", {{"ID"}, {"CODE"}}, true);
  EXPECT_EQ(constraints_.ConstraintDefs.GetConstraintDef(0).Name, "C_PK$ID$CODE");
  EXPECT_NO_THROW(CheckInsert({int64_t{1}, std::nullopt, std::nullopt}));
  EXPECT_NO_THROW(CheckInsert({std::nullopt, int64_t{1}, std::nullopt}));
  EXPECT_ENGINE_ERROR(CheckInsert({std::nullopt, std::nullopt, std::string("x")}), 30330,
                      "Constraint 'C_PK$ID$CODE' violated. Value in field 'ID,CODE' cannot be null");
}

TEST_F(ConstraintManager, AUniqueKeyMayStayButNotMoveOntoAnotherRecordsKey) {
  AddKeyIndex("U_CODE_NAME", {{"CODE"}, {"NAME"}}, false);
  const TVTRRecordID first = table_.Insert({int64_t{1}, int64_t{7}, std::string("a")});
  table_.Insert({int64_t{2}, int64_t{7}, std::string("b")});
  EXPECT_NO_THROW(CheckUpdate(first, {int64_t{9}, int64_t{7}, std::string("a")}));
  EXPECT_ENGINE_ERROR(CheckUpdate(first, {int64_t{1}, int64_t{7}, std::string("b")}), 30320,
                      "Constraint unique 'C_Unique$CODE$NAME' violated. Duplicate found.");
  EXPECT_ENGINE_ERROR(CheckInsert({int64_t{3}, int64_t{7}, std::string("a")}), 30320,
                      "Constraint unique 'C_Unique$CODE$NAME' violated. Duplicate found.");
  const int32_t index_id = constraints_.ConstraintDefs.GetConstraintDef(0).TargetID;
  constraints_.DropIndexConstraint(index_id);
  EXPECT_EQ(constraints_.ConstraintDefs.GetCount(), 0);
}

TEST_F(ConstraintManager, NotNullAndCheckConstraints) {
  TVTRConstraintDefNotNull& not_null = constraints_.ConstraintDefs.AddNotNull();
  not_null.Name = "NN_NAME";
  not_null.TargetName = "NAME";
  TVTRConstraintDefCheck& check = constraints_.ConstraintDefs.AddCheck();
  check.Name = "CODE_RANGE";
  check.TargetName = "CODE";
  check.MinValue.SetAsInteger(1);
  check.MaxValue.SetAsInteger(10);
  constraints_.ResolveAll();

  EXPECT_ENGINE_ERROR(CheckInsert({int64_t{1}, int64_t{1}, std::nullopt}), 30026,
                      "Constraint 'NN_NAME' violated. Value in field 'NAME' cannot be null");
  const std::vector<uint8_t> nameless = table_.Record({int64_t{1}, int64_t{1}, std::nullopt});
  EXPECT_FALSE(constraints_.CheckRecord(0, nameless.data(), false, {}, true, nullptr));
  EXPECT_NO_THROW(CheckInsert({int64_t{1}, int64_t{1}, std::string("a")}));
  EXPECT_NO_THROW(CheckInsert({int64_t{1}, int64_t{10}, std::string("a")}));
  EXPECT_NO_THROW(CheckInsert({int64_t{1}, std::nullopt, std::string("a")}));
  EXPECT_ENGINE_ERROR(CheckInsert({int64_t{1}, int64_t{0}, std::string("a")}), 30029,
                      "Constraint 'CODE_RANGE' violated. Value in field 'CODE' cannot be lower than '1'");
  EXPECT_ENGINE_ERROR(CheckInsert({int64_t{1}, int64_t{11}, std::string("a")}), 30030,
                      "Constraint 'CODE_RANGE' violated. Value in field 'CODE' cannot be greater than '10'");
}

TEST_F(ConstraintManager, UnnamedConstraintsAreNamedAfterTableAndFieldAndMadeUnique) {
  for (const char* field : {"NAME", "CODE", "NAME"}) {
    TVTRConstraintDefNotNull& def = constraints_.ConstraintDefs.AddNotNull();
    def.TableName = "T";
    def.TargetName = field;
  }
  constraints_.NameUnnamedConstraints();
  EXPECT_EQ(constraints_.ConstraintDefs.GetConstraintDef(0).Name, "$C_NotNull$T$NAME");
  EXPECT_EQ(constraints_.ConstraintDefs.GetConstraintDef(1).Name, "$C_NotNull$T$CODE");
  const std::string third = constraints_.ConstraintDefs.GetConstraintDef(2).Name;
  const std::string base = "$C_NotNull$T$NAME";
  ASSERT_GT(third.size(), base.size());
  EXPECT_EQ(third.substr(0, base.size()), base);
  const std::string number = third.substr(base.size());
  EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos);
  EXPECT_LT(std::stoi(number), 65535);
  constraints_.ConstraintDefs.AddUnique();
  EXPECT_ENGINE_ERROR(constraints_.NameUnnamedConstraints(), 30038, "Not implemented yet");
}

TEST_F(ConstraintManager, ResolvingAndCheckingReportMissingTargets) {
  const auto resolve = [&](TVTRConstraintDef& def) { return [&] { constraints_.ResolveConstraint(def); }; };
  TVTRConstraintDefPrimary& primary = constraints_.ConstraintDefs.AddPrimaryKey();
  primary.TargetName = "NO_INDEX";
  TVTRConstraintDefUnique& unique = constraints_.ConstraintDefs.AddUnique();
  unique.TargetName = "NO_INDEX";
  TVTRConstraintDefNotNull& not_null = constraints_.ConstraintDefs.AddNotNull();
  not_null.TargetName = "NO_FIELD";
  EXPECT_EQ(NativeErrorOf(resolve(primary)), 30325);
  EXPECT_EQ(NativeErrorOf(resolve(unique)), 30326);
  EXPECT_EQ(NativeErrorOf(resolve(not_null)), 30027);
  table_.AddIndex("BY_ID", {{"ID"}}, true);
  primary.TargetName = unique.TargetName = "BY_ID";
  primary.KeyColumns = unique.KeyColumns = {{"NO_FIELD", 0}};
  EXPECT_EQ(NativeErrorOf(resolve(primary)), 30331);
  EXPECT_EQ(NativeErrorOf(resolve(unique)), 30332);

  // Constraints whose fields are gone (IDs no field has).
  constraints_.ConstraintDefs.Clear();
  const std::vector<uint8_t> record = table_.Record({int64_t{1}, int64_t{1}, std::string("a")});
  const auto check = [&] { constraints_.CheckRecord(0, record.data(), false, {}, true, nullptr); };
  constraints_.ConstraintDefs.AddNotNull().TargetID = 999;
  EXPECT_EQ(NativeErrorOf(check), 30024);
  constraints_.ConstraintDefs.Clear();
  constraints_.ConstraintDefs.AddCheck().TargetID = 999;
  EXPECT_EQ(NativeErrorOf(check), 30028);
  constraints_.ConstraintDefs.Clear();
  constraints_.ConstraintDefs.AddPrimaryKey().KeyColumns = {{"GONE", 999}};
  EXPECT_EQ(NativeErrorOf(check), 30329);
}

}  // namespace
