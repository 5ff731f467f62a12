// The database file of a new installation, read back through a connection of
// its own: every table, column and index, the starting rows, the refusals
// of the unique indexes, and the installation tool run as a program.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/core/FileConnection.h"
#include "app/core/TempleSchema.h"
#include "engine/access/EngineError.h"
#include "engine/access/Query.h"
#include "engine/access/Table.h"
#include "engine/storage/base/ResultCodes.h"
#include "platform/db/Field.h"
#include "platform/rtl/StringList.h"
#include "tests/app/core/support/TempleDatabaseTest.h"

namespace {

std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The code of the EVTREngineError an action raises; 0 when none.
template <typename Action>
int32_t EngineErrorCodeOf(Action&& action) {
  try {
    action();
  } catch (const EVTREngineError& error) {
    return error.ErrorCode;
  }
  return 0;
}

class TempleDatabase : public TempleDatabaseTest {
 protected:
  // An open table of the file on a connection of the test.
  std::unique_ptr<TVTRTable> Open(const std::string& name) {
    if (!connection_) connection_ = std::make_unique<FileConnection>(database_file_);
    std::unique_ptr<TVTRTable> table = connection_->Table(name);
    table->Open();
    return table;
  }

  // Appends one row, values in the text form of each field.
  static void Append(TVTRTable& table, const std::vector<TableColumnValue>& values) {
    table.Append();
    for (const TableColumnValue& value : values) table.FieldByName(value.Column)->SetAsString(value.Value);
    table.Post();
  }

  void TearDown() override {
    connection_.reset();
    TempleDatabaseTest::TearDown();
  }

  std::unique_ptr<FileConnection> connection_;
};

TEST_F(TempleDatabase, TheFileHoldsEveryTableWithItsColumnsAndIndexesAsDefined) {
  TStringList stored;
  {
    TVTRDatabase database(nullptr);
    database.SetDatabaseName("d_names");
    database.SetDatabaseFileName(database_file_.string());
    database.MultiUser = true;
    database.GetTableNames(stored);
  }
  ASSERT_EQ(stored.Count(), static_cast<int>(TempleSchema().size()));

  for (const TableDefinition& definition : TempleSchema()) {
    SCOPED_TRACE(definition.Name);
    std::unique_ptr<TVTRTable> table = Open(definition.Name);
    const TVTRAdvFieldDefs& columns = table->AdvFieldDefs();
    ASSERT_EQ(columns.GetCount(), static_cast<int32_t>(definition.Columns.size()));
    for (int32_t i = 0; i < columns.GetCount(); ++i) {
      const ColumnDefinition& expected = definition.Columns[i];
      EXPECT_EQ(columns.GetItem(i).Name, expected.Name);
      EXPECT_EQ(columns.GetItem(i).DataType, expected.DataType) << expected.Name;
      EXPECT_EQ(columns.GetItem(i).Size, expected.Size) << expected.Name;
    }
    const TIndexDefs& indexes = table->IndexDefs();
    ASSERT_EQ(indexes.Count(), static_cast<int>(definition.Indexes.size()));
    for (const IndexDefinition& expected : definition.Indexes) {
      const int found = indexes.IndexOf(expected.Name);
      ASSERT_GE(found, 0) << expected.Name;
      EXPECT_EQ(indexes[found]->Fields(), expected.Fields);
      EXPECT_EQ(indexes[found]->Options().Contains(ixUnique), (expected.Options & kIndexUniqueBit) != 0)
          << expected.Name;
      EXPECT_EQ(indexes[found]->Options().Contains(ixPrimary), (expected.Options & kIndexPrimaryBit) != 0);
    }
  }
}

// The widths and types that mend the windows' disagreements and the faults of
// the older files, read from the file.
TEST_F(TempleDatabase, TheWidenedAndRetypedColumnsAreStoredSo) {
  struct Case {
    const char* table;
    const char* column;
    TVTRAdvancedDataType type;
    int32_t size;
  };
  for (const Case& c :
       {Case{"customer", "cust_no", adtString, 20},       Case{"h_person", "per_no", adtString, 13},
        Case{"product", "pro_type", adtString, 3},        Case{"que", "que", adtString, 11},
        Case{"g_temple_2", "work_id", adtAutoInc, 0},     Case{"h_temple", "work_id", adtAutoInc, 0},
        Case{"education", "per_no", adtString, 13},       Case{"h_nation", "nation_no", adtString, 5},
        Case{"h_nation", "nation_desc", adtString, 50},   Case{"h_broker", "broker_no", adtString, 5},
        Case{"h_broker", "broker_name", adtString, 50},   Case{"g_rent", "rent_no", adtString, 13},
        Case{"g_rent", "room_price_level", adtString, 1}, Case{"g_buy_2", "aft_discount", adtFloat, 0},
        Case{"h_fill", "accessory_no", adtString, 13},    Case{"h_fill", "qty", adtFloat, 0},
        Case{"h_fill", "stk_post", adtInteger, 0},        Case{"supply", "cust_no", adtString, 10},
        Case{"donate", "bill_id", adtAutoInc, 0},         Case{"outstock", "bill_id", adtAutoInc, 0},
        Case{"instock", "bill_id", adtAutoInc, 0},        Case{"donate", "sale_no", adtString, 13},
        Case{"outstock", "sale_no", adtString, 13},       Case{"instock", "sale_no", adtString, 13},
        Case{"g_sale_2", "sale_no", adtString, 13},       Case{"g_buy_2", "sale_no", adtString, 13},
        Case{"outstock", "fg_gift", adtString, 1},        Case{"instock", "fg_gift", adtString, 1}}) {
    SCOPED_TRACE(std::string(c.table) + "." + c.column);
    std::unique_ptr<TVTRTable> table = Open(c.table);
    const TVTRAdvFieldDef* column = table->AdvFieldDefs().Find(c.column);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->DataType, c.type);
    EXPECT_EQ(column->Size, c.size);
  }
}

TEST_F(TempleDatabase, EveryKeyThatWindowsSaveOrChangeByRefusesASecondRowWithTheEngineConstraintError) {
  struct Case {
    const char* table;
    const char* column;
    const char* key;
  };
  for (const Case& c :
       {Case{"sys_sys", "of_name", "วัดตัวอย่าง"}, Case{"password", "usrname", "admin"},
        Case{"g_donate_2", "bill_no", "DONA1000001"}, Case{"g_sale_2", "bill_no", "SALE1000001"},
        Case{"g_buy_2", "bill_no", "PURC1000001"}, Case{"g_temple_2", "work_no", "HALL1000001"},
        Case{"g_member", "mem_no", "0000000001"}, Case{"g_member_land", "mem_no", "0000000001"},
        Case{"customer", "cust_no", "DONR000001"}, Case{"supply", "cust_no", "00000041"},
        Case{"h_person", "per_no", "ST00000001"}, Case{"product", "pro_no", "P001"},
        Case{"m_donate", "accessory_no", "001"}, Case{"g_room", "accessory_no", "R01"},
        Case{"g_land", "accessory_no", "L01"}, Case{"g_accessory", "accessory_no", "A01"},
        Case{"g_public", "accessory_no", "E01"}}) {
    SCOPED_TRACE(std::string(c.table) + "." + c.column);
    std::unique_ptr<TVTRTable> table = Open(c.table);
    const int before = table->RecordCount();
    if (before == 0) Append(*table, {{c.column, c.key}});
    table->Append();
    table->FieldByName(c.column)->SetAsString(c.key);
    EXPECT_EQ(EngineErrorCodeOf([&] { table->Post(); }), kResultFailure);
    table->Cancel();
    table->Refresh();
    EXPECT_EQ(table->RecordCount(), std::max(before, 1));
  }
}

TEST_F(TempleDatabase, ANewFileStartsWithTheSettingsRowsAndTheAdministrator) {
  std::unique_ptr<TVTRTable> settings = Open("sys_sys");
  ASSERT_EQ(settings->RecordCount(), 1);
  struct Expected {
    const char* column;
    const char* value;
  };
  for (const Expected& e :
       {Expected{"of_id", "1"}, Expected{"of_name", "วัดตัวอย่าง"}, Expected{"prefix1", "LAND"},
        Expected{"prefix3", "HALL"}, Expected{"prefix5", "DONA"}, Expected{"prefix6", "PURC"},
        Expected{"prefix7", "SALE"}, Expected{"prefix_donate", "DONR"}, Expected{"prefix0", ""},
        Expected{"prn_preview", "0"}, Expected{"prn_logo", "0"}, Expected{"prn_top", "0"},
        Expected{"prn_left", "0"}, Expected{"tax_status", "0"}, Expected{"tax_rate", "7"},
        Expected{"com_port", "1"}, Expected{"type_business", "1"}, Expected{"type_business2", "0"},
        Expected{"skin", "0"}})
    EXPECT_EQ(settings->FieldByName(e.column)->AsString(), e.value) << e.column;
  for (int i = 0; i <= 9; ++i) EXPECT_EQ(settings->FieldByName("view" + std::to_string(i))->AsString(), "0");

  std::unique_ptr<TVTRTable> office = Open("tresksys");
  ASSERT_EQ(office->RecordCount(), 1);
  EXPECT_EQ(office->FieldByName("of_id")->AsInteger(), 1);
  EXPECT_EQ(office->FieldByName("of_name")->AsString(), "วัดตัวอย่าง");
  EXPECT_EQ(office->FieldByName("prn_top")->AsFloat(), 0);
  EXPECT_FALSE(office->FieldByName("prn_left")->IsNull());

  std::unique_ptr<TVTRTable> hotel = Open("hotel_sys");
  ASSERT_EQ(hotel->RecordCount(), 1);
  EXPECT_EQ(hotel->FieldByName("tax_rate")->AsFloat(), 7);
  EXPECT_EQ(hotel->FieldByName("tax_status")->AsString(), "0");

  std::unique_ptr<TVTRTable> users = Open("password");
  ASSERT_EQ(users->RecordCount(), 1);
  EXPECT_EQ(users->FieldByName("usrname")->AsString(), "admin");
  EXPECT_EQ(users->FieldByName("passwd")->AsString(), "8052");
  EXPECT_EQ(users->FieldByName("ac1")->AsInteger(), 1);
  EXPECT_TRUE(users->FieldByName("ac2")->IsNull());

  for (const char* empty : {"que", "customer", "g_donate_2", "donate"})
    EXPECT_EQ(Open(empty)->RecordCount(), 0);
}

TEST_F(TempleDatabase, LinesGetTheirOwnIdsAndLongNumbersReadBackWhole) {
  AddSampleRows();
  std::unique_ptr<TVTRTable> lines = Open("donate");
  ASSERT_EQ(lines->RecordCount(), 2);
  std::vector<int32_t> ids;
  for (lines->First(); !lines->Eof(); lines->Next()) {
    EXPECT_FALSE(lines->FieldByName("bill_id")->IsNull());
    ids.push_back(lines->FieldByName("bill_id")->AsInteger());
    EXPECT_EQ(lines->FieldByName("sale_no")->AsString(), kSampleStaffNo);
  }
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_NE(ids[0], ids[1]);

  std::unique_ptr<TVTRTable> suppliers = Open("supply");
  Append(*suppliers, {{"cust_no", "00000041"}, {"cust_name", "ร้านสังฆภัณฑ์"}});
  Append(*suppliers, {{"cust_no", "00000042"}, {"cust_name", "ร้านดอกไม้"}});
  suppliers->First();
  EXPECT_EQ(suppliers->FieldByName("cust_no")->AsString(), "00000041");
  EXPECT_EQ(suppliers->RecordCount(), 2) << "numbers that differ in their last digits are not cut together";
}

TEST_F(TempleDatabase, TableNamesInAnyCaseReachTheSameTable) {
  AddSampleRows();
  std::unique_ptr<TVTRTable> lower = Open("customer");
  std::unique_ptr<TVTRTable> mixed = Open("Customer");
  ASSERT_EQ(mixed->RecordCount(), 2);
  Append(*mixed, {{"cust_no", "DONR000003"}, {"cust_name", "นางสมศรี"}});
  lower->Refresh();
  EXPECT_EQ(lower->RecordCount(), 3);
  lower->Last();
  EXPECT_EQ(lower->FieldByName("cust_name")->AsString(), "นางสมศรี");

  std::unique_ptr<TVTRQuery> query = connection_->Query();
  std::vector<std::vector<std::string>> selected;
  for (const char* text : {"select * from Customer order by cust_no", "select * from customer order by cust_no"}) {
    query->SQL().SetText(text);
    query->Open();
    std::vector<std::string>& numbers = selected.emplace_back();
    for (; !query->Eof(); query->Next()) numbers.push_back(query->FieldByName("cust_no")->AsString());
    query->Close();
  }
  EXPECT_EQ(selected[0], (std::vector<std::string>{kSampleDonorNo, "DONR000002", "DONR000003"}));
  EXPECT_EQ(selected[1], selected[0]);
}

// The tool as the run command calls it: once to make the file, and again over
// it, which changes nothing.
TEST(TempleDatabaseTool, MakesTheFileOnceAndRefusesToTouchAnExistingOne) {
  ScratchFolder folder;
  const auto run = [&](std::string& output) {
    const std::string command = std::string(VTR_CREATE_TOOL) + " '" + folder.Path().string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[512];
    output.clear();
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  const std::string file = folder.File("dat_temple.vtr");
  std::string output;
  ASSERT_EQ(run(output), 0) << output;
  EXPECT_EQ(output, "Created " + file + "\n");
  EXPECT_EQ(folder.Files(), std::vector<std::string>{file}) << "nothing of the build is left beside it";
  const std::string made = FileBytes(file);

  EXPECT_EQ(run(output), 1);
  EXPECT_EQ(output, "The database file '" + file + "' already exists; nothing was changed\n");
  EXPECT_EQ(FileBytes(file), made);
  EXPECT_EQ(folder.Files(), std::vector<std::string>{file});

  std::filesystem::remove(file);
  EXPECT_EQ(run(output), 0) << "a folder without the file gets one again: " << output;
}

}  // namespace
