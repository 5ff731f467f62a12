#include <gtest/gtest.h>

#include "engine/foundation/VTRStreams.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/engine/storage/index/IndexTestSupport.h"

namespace {

using Value = TestIndexTable::Value;

TStringList List(std::initializer_list<const char*> items) {
  TStringList list;
  for (const char* item : items) list.Add(item);
  return list;
}

class IndexManager : public ::testing::Test {
 protected:
  IndexManager() : table_({{"A", adtInteger, 0}, {"B", adtString, 10}}) {}

  TVTRBaseIndexManager& Manager() { return table_.Manager(); }
  // The RecordIDs an index holds, in its order.
  std::vector<TVTRRecordID> Walk(int32_t index_id) {
    std::vector<TVTRRecordID> ids;
    TVTRBTreeRecordIndex& index = table_.Index(index_id);
    TVTRKeyPath path;
    for (bool more = index.First(0, path); more; more = index.Next(0, path)) {
      ids.emplace_back();
      index.GetValueAtPath(0, path, ids.back());
    }
    return ids;
  }
  int32_t TemporaryIndex(int32_t session_id, std::initializer_list<const char*> fields) {
    const TStringList names = List(fields);
    TStringList flags, directions;
    for (int32_t i = 0; i < names.Count(); ++i) {
      flags.Add("CASE");
      directions.Add("ASC");
    }
    return Manager().FindOrCreateTemporaryIndex(table_.Cursor(session_id), names, flags, directions);
  }

  TestIndexTable table_;
};

TEST_F(IndexManager, ATableCreatedWithTwoIndexesGivesBothARootAndNoKeys) {
  TVTRIndexDefs defs;
  for (const char* field : {"A", "B"}) {
    TVTRIndexDef& def = defs.AddIndexDef();
    def.Name = std::string("BY_") + field;
    def.ObjectID = table_.GetNextObjectID();
    def.Columns = {{field}};
  }
  Manager().AssignIndexDefs(defs);
  Manager().CreateAllIndexes(nullptr);
  table_.Pages().Commit(kSystemSessionID);  // made without a cursor, by the system session
  ASSERT_EQ(Manager().IndexDefs.GetCount(), 2);
  for (int32_t i = 0; i < 2; ++i) {
    const TVTRIndexDef& def = Manager().IndexDefs.GetIndexDef(i);
    EXPECT_NE(def.RootPage, -1);
    EXPECT_TRUE(Walk(def.ObjectID).empty());
  }
  EXPECT_NE(Manager().IndexDefs.GetIndexDef(0).RootPage, Manager().IndexDefs.GetIndexDef(1).RootPage);
}

TEST_F(IndexManager, AnAddedIndexHoldsTheRecordsAlreadyStoredAndKeepsItsOwnCopyOfTheDefinition) {
  const TVTRRecordID second = table_.Insert({int64_t{2}, std::string("x")});
  const TVTRRecordID first = table_.Insert({int64_t{1}, std::string("y")});
  TVTRIndexDef def;
  def.Name = "BY_A";
  def.Columns = {{"A"}};
  const int32_t id = Manager().AddIndex(&table_.Cursor(0), def);
  EXPECT_EQ(def.ObjectID, id);
  EXPECT_NE(def.RootPage, -1);
  def.Columns[0].FieldName = "B";
  def.Name = "CHANGED";
  EXPECT_EQ(Manager().IndexDefs.GetIndexDef(0).Name, "BY_A");
  EXPECT_EQ(Manager().IndexDefs.GetIndexDef(0).Columns[0].FieldName, "A");
  EXPECT_EQ(Walk(id), (std::vector<TVTRRecordID>{first, second}));
  EXPECT_TRUE(Manager().OpenIndexes.size() == 1) << "only the walk opened it";
}

TEST_F(IndexManager, AFailedCreationLeavesNoDefinition) {
  TVTRIndexDef def;
  def.Name = "BAD";
  def.Columns = {{"NO_SUCH_FIELD"}};
  EXPECT_ENGINE_ERROR(Manager().AddIndex(nullptr, def), 20043, "Cannot find index field 'NO_SUCH_FIELD'");
  EXPECT_EQ(Manager().IndexDefs.GetCount(), 0);
  EXPECT_ENGINE_ERROR(Manager().GetIndexByID(def.ObjectID), 20018, "Index not found");
  table_.SetHasFields(false);
  def.Columns = {{"A"}};
  EXPECT_ENGINE_ERROR(Manager().AddIndex(nullptr, def), 20044, "Pointer is nil");
}

TEST_F(IndexManager, TemporaryIndexesArePerSessionAndAStoredIndexOnMoreColumnsServes) {
  table_.Insert({int64_t{1}, std::string("b")});
  const int32_t mine = TemporaryIndex(0, {"B"});
  EXPECT_EQ(TemporaryIndex(0, {"B"}), mine);
  const int32_t theirs = TemporaryIndex(1, {"B"});
  EXPECT_NE(theirs, mine);
  const TVTRIndexDef& def = Manager().IndexDefs.GetIndexDef(0);
  EXPECT_EQ(def.Name.rfind("TEMPORARY_INDEX_", 0), 0u);
  EXPECT_TRUE(def.Temporary);
  EXPECT_EQ(def.OwnerSessionID, 0);
  EXPECT_EQ(Walk(mine).size(), 1u);
  EXPECT_EQ(table_.Pages().LivePages(), 0) << "temporary indexes live in the temporary page store";
  EXPECT_GT(table_.TemporaryPages().LivePages(), 0);

  const int32_t stored = table_.AddIndex("BY_A_B", {{"A"}, {"B"}});
  EXPECT_EQ(TemporaryIndex(0, {"A"}), stored);
  TVTRMemoryStream stream;
  Manager().SaveMetadata(stream);
  stream.SetPosition(0);
  TVTRIndexDefs saved;
  saved.LoadFromStream(stream);
  EXPECT_EQ(saved.GetCount(), 1) << "temporary definitions are never stored";
}

TEST_F(IndexManager, ATemporaryIndexThatMissedChangesIsRebuiltAndCanBeOpenedAgain) {
  const TVTRRecordID before = table_.Insert({int64_t{5}, std::string("a")});
  const int32_t id = TemporaryIndex(0, {"A"});
  const TVTRRecordID elsewhere = table_.InsertUnindexed({int64_t{1}, std::string("z")});
  EXPECT_EQ(Walk(id), std::vector<TVTRRecordID>{before});
  Manager().RebuildTemporaryIndexes(table_.Cursor(0));
  EXPECT_EQ(Walk(id), (std::vector<TVTRRecordID>{elsewhere, before}));
  const TVTRIndexDef& def = *Manager().IndexDefs.GetIndexDefByName(table_.Index(id).Def.Name);
  EXPECT_EQ(def.ChangeStamp, table_.GetChangeCount());
  Manager().CloseIndex(id);
  EXPECT_EQ(Walk(id), (std::vector<TVTRRecordID>{elsewhere, before})) << "the list lost the rebuilt root";
  table_.TemporaryPages().Commit(0);
  const int32_t live = table_.TemporaryPages().LivePages();
  Manager().RebuildTemporaryIndexes(table_.Cursor(0));
  table_.TemporaryPages().Commit(0);
  EXPECT_EQ(table_.TemporaryPages().LivePages(), live) << "an index in step is not rebuilt";
}

TEST_F(IndexManager, DroppingAnIndexNeverOpenedFreesItsPagesAndDefinition) {
  for (int i = 0; i < 500; ++i) table_.Insert({int64_t{i}, std::string("v")});
  table_.Pages().Commit(0);
  const int32_t live = table_.Pages().LivePages();
  const int32_t id = table_.AddIndex("BY_A", {{"A"}});
  table_.Pages().Commit(0);
  ASSERT_GT(table_.Pages().LivePages(), live + 1);
  EXPECT_TRUE(Manager().OpenIndexes.empty());
  Manager().DropIndex(0, id);
  table_.Pages().Commit(0);
  EXPECT_EQ(table_.Pages().LivePages(), live);
  EXPECT_TRUE(Manager().OpenIndexes.empty());
  EXPECT_EQ(Manager().IndexDefs.GetCount(), 0);
}

TEST_F(IndexManager, EmptyingKeepsTheRootsAndDropsTheKeys) {
  const int32_t by_a = table_.AddIndex("BY_A", {{"A"}});
  const int32_t by_b = table_.AddIndex("BY_B", {{"B"}});
  for (int i = 0; i < 300; ++i) table_.Insert({int64_t{i}, std::string("v")});
  const int32_t root = table_.Index(by_a).Def.RootPage;
  Manager().EmptyAllIndexes(0);
  EXPECT_TRUE(Walk(by_a).empty());
  EXPECT_TRUE(Walk(by_b).empty());
  EXPECT_EQ(table_.Index(by_a).Def.RootPage, root);
}

TEST_F(IndexManager, RenamingAFieldRenamesItInEveryIndexWhateverItsCase) {
  table_.AddIndex("ONE", {{"b"}});
  table_.AddIndex("TWO", {{"A"}, {"B"}});
  Manager().RenameFieldInIndexes("B", "NAME");
  EXPECT_EQ(Manager().IndexDefs.GetIndexDef(0).Columns[0].FieldName, "NAME");
  EXPECT_EQ(Manager().IndexDefs.GetIndexDef(1).Columns[0].FieldName, "A");
  EXPECT_EQ(Manager().IndexDefs.GetIndexDef(1).Columns[1].FieldName, "NAME");
}

TEST_F(IndexManager, ARecordWhoseStoredCopyIsGoneLeavesTheIndexesAlone) {
  const int32_t id = table_.AddIndex("BY_A", {{"A"}});
  const TVTRRecordID gone = table_.Insert({int64_t{1}, std::string("v")});
  table_.EraseUnindexed(gone);
  table_.Delete(gone);
  EXPECT_EQ(Walk(id), std::vector<TVTRRecordID>{gone});

  std::vector<uint8_t> buffer(table_.Record({int64_t{1}, std::string("v")}));
  NavigationRequest request;
  request.IndexID = id;
  request.RecordID = gone;
  request.Buffer = buffer.data();
  request.Direction = fmNext;
  Manager().GetRecord(0, request, table_.GetChangeCount(), nullptr);
  EXPECT_EQ(request.Result, grError);
  EXPECT_EQ(request.RecordID, gone);
}

}  // namespace
