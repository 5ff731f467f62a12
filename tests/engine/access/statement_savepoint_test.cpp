// The statement savepoint of a session inside its transaction: going back
// to the mark undoes the rows written since (pages, record counters, and
// the change log of a MEMORY table) and keeps what the transaction did
// before it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/storage/base/Session.h"
#include "tests/engine/access/TableFixture.h"

namespace {

class StatementSavepoint : public TableTest {
 protected:
  // One (ID, Amount) pair per row in the table's order.
  static std::vector<std::pair<int, int>> Rows(TVTRTable& table) {
    std::vector<std::pair<int, int>> rows;
    for (table.First(); !table.Eof(); table.Next())
      rows.emplace_back(table.FieldByName("ID")->AsInteger(), table.FieldByName("Amount")->AsInteger());
    return rows;
  }

  // Within one transaction of the table's session: a row, the mark, a
  // second row and a change of the first, back to the mark, commit.
  static void WriteAroundTheMark(TVTRTable& table) {
    TVTRBaseSession& session = *table.Handle()->Session;
    Add(table, {{1, "A", 10}});
    session.MarkStatement();
    Add(table, {{2, "B", 20}});
    table.First();
    table.Edit();
    table.FieldByName("Amount")->SetAsInteger(99);
    table.Post();
    session.RollbackToStatementMark();
    table.Refresh();
  }
};

TEST_F(StatementSavepoint, ADiskTableGoesBackToTheMarkAndCommitsWhatCameBefore) {
  database_->SetKeepConnection(true);
  database_->Open();
  auto donate = Table();
  donate->Open();
  database_->StartTransaction();
  WriteAroundTheMark(*donate);
  EXPECT_EQ(donate->RecordCount(), 1);
  EXPECT_EQ(Rows(*donate), (std::vector<std::pair<int, int>>{{1, 10}}));
  database_->Commit(true);
  donate->Close();
  donate->Open();
  EXPECT_EQ(Rows(*donate), (std::vector<std::pair<int, int>>{{1, 10}}));
}

TEST_F(StatementSavepoint, AMemoryTableGoesBackToTheMarkThroughItsChangeLog) {
  auto scratch = Table("Scratch");
  scratch->SetInMemory(true);
  scratch->FieldDefs().Add("ID", ftInteger);
  scratch->FieldDefs().Add("Donor", ftString, 20);
  scratch->FieldDefs().Add("Amount", ftInteger);
  scratch->IndexDefs().Add("ByID", "ID", TIndexOptions{ixUnique});
  scratch->CreateTable();
  scratch->Open();
  TVTRBaseSession& session = *scratch->Handle()->Session;
  session.StartTransaction();
  WriteAroundTheMark(*scratch);
  EXPECT_EQ(Rows(*scratch), (std::vector<std::pair<int, int>>{{1, 10}}));
  session.Commit(false);
  // The unique index went back too: the number of the undone row is free.
  Add(*scratch, {{2, "C", 30}});
  EXPECT_EQ(Rows(*scratch), (std::vector<std::pair<int, int>>{{1, 10}, {2, 30}}));
}

}  // namespace
