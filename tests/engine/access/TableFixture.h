#pragma once
// Table components on a window (an owner component) with its database
// component, as the programs set them, over the file of ComponentTest with
// its table "Donate" (ID, Donor, Amount; unique index ByID, index ByDonor).
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/DB.h"
#include "tests/engine/access/ComponentFixture.h"

class TableTest : public ComponentTest {
 protected:
  // A table of the window on its database's alias.
  std::unique_ptr<TVTRTable> Table(const std::string& name = "Donate", const std::string& index_name = {}) {
    auto table = std::make_unique<TVTRTable>(&form_);
    table->SetDatabaseName("d_main");
    table->SetTableName(name);
    if (!index_name.empty()) table->SetIndexName(index_name);
    return table;
  }

  // Creates the table "Member" (ID, Name) with its primary index ByID on ID
  // through a table component, which makes the index's key constraint.
  void CreateMembers(const std::vector<std::pair<int32_t, std::string>>& members) {
    auto table = Table("Member");
    table->FieldDefs().Add("ID", ftInteger, 0, true);
    table->FieldDefs().Add("Name", ftString, 20);
    table->IndexDefs().Add("ByID", "ID", TIndexOptions{ixPrimary});
    table->CreateTable();
    table->Open();
    for (const auto& [id, name] : members) {
      table->Append();
      table->FieldByName("ID")->SetAsInteger(id);
      table->FieldByName("Name")->SetAsString(name);
      table->Post();
    }
  }

  // Appends donations through an open table.
  static void Add(TVTRTable& table, const std::vector<Donation>& donations) {
    for (const Donation& donation : donations) {
      table.Append();
      table.FieldByName("ID")->SetAsInteger(donation.id);
      table.FieldByName("Donor")->SetAsString(donation.donor);
      table.FieldByName("Amount")->SetAsFloat(donation.amount);
      table.Post();
    }
  }

  // The IDs from the current record to the end.
  static std::vector<int32_t> IdsFromHere(TVTRTable& table) {
    std::vector<int32_t> ids;
    for (; !table.Eof(); table.Next()) ids.push_back(table.FieldByName("ID")->AsInteger());
    return ids;
  }

  std::string file_ = CreateFile("dat_temple.vtr");
  TComponent form_{nullptr};
  std::unique_ptr<TVTRDatabase> database_ = Database("d_main", file_, &form_);
};
