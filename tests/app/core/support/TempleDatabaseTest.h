#pragma once
// The fixture of window tests that work on the database: the program's
// installation (engine runtime, prompts in windows), the SQL engine started,
// the program-wide variables reset, and a new "dat_temple.vtr" made by the
// installation tool in a scratch folder that is the working folder, so the
// windows' connections find it. AddSampleRows() adds a few registers' rows and
// a donation with its lines.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/core/CreateTempleDatabase.h"
#include "app/core/TableRows.h"
#include "app/core/myVar.h"
#include "engine/sql/SQLEngineStartup.h"
#include "tests/app/core/support/EngineUiTest.h"
#include "tests/app/core/support/ScopedWorkingFolder.h"
#include "tests/support/ScratchFolder.h"

// The sample rows, written into the file of a test by AddSampleRows(). Dates are
// Gregorian; the donation's date is 5 March 2024 (5/3/2567).
inline constexpr const char* kSampleStaffNo = "ST00000001";  // a staff number of 10 characters
inline constexpr const char* kSampleDonorNo = "DONR000001";
inline constexpr const char* kSampleDonorName = "นายสมชาย ใจดี";
inline constexpr const char* kSampleMemberNo = "0000000001";
inline constexpr const char* kSampleDonationNo = "DONA1000001";
inline constexpr double kSampleDonationTotal = 1500;  // two lines: 1000 and 500

inline std::vector<TableRow> SampleRows() {
  return {
      {"h_person", {{"per_no", kSampleStaffNo}, {"per_name", "พระมหาสมปอง"}, {"per_posi", "เจ้าอาวาส"}}},
      {"h_person", {{"per_no", "ST00000002"}, {"per_name", "นางสาวมาลี ศรีสุข"}, {"per_posi", "เจ้าหน้าที่"}}},
      {"g_member", {{"mem_no", kSampleMemberNo}, {"mem_name", "นายประเสริฐ มั่นคง"}, {"mem_use", "1"}}},
      {"g_member", {{"mem_no", "0000000002"}, {"mem_name", "บริษัท ทองดี จำกัด"}, {"mem_use", "1"}}},
      {"customer",
       {{"cust_no", kSampleDonorNo}, {"cust_name", kSampleDonorName}, {"cust_add1", "12 ถนนพระราม 4"}}},
      {"customer", {{"cust_no", "DONR000002"}, {"cust_name", "O'Neil Smith"}, {"country", "ไอร์แลนด์"}}},
      {"m_donate", {{"accessory_id", "1"}, {"accessory_no", "001"}, {"accessory_name", "บำรุงวัด"}}},
      {"m_donate", {{"accessory_id", "2"}, {"accessory_no", "002"}, {"accessory_name", "ค่าน้ำค่าไฟ"}}},
      {"g_donate_2",
       {{"bill_no", kSampleDonationNo},
        {"bill_date", "05/03/2024"},
        {"cust_no", kSampleDonorNo},
        {"cust_name", kSampleDonorName},
        {"total", "1500"},
        {"grand_total", "1500"},
        {"sale_no", kSampleStaffNo},
        {"fg_paid", "Y"}}},
      {"donate",
       {{"bill_no", kSampleDonationNo},
        {"bill_date", "05/03/2024"},
        {"cust_no", kSampleDonorNo},
        {"accessory_no", "001"},
        {"accessory_name", "บำรุงวัด"},
        {"qty", "1"},
        {"price", "1000"},
        {"total", "1000"},
        {"sale_no", kSampleStaffNo}}},
      {"donate",
       {{"bill_no", kSampleDonationNo},
        {"bill_date", "05/03/2024"},
        {"cust_no", kSampleDonorNo},
        {"accessory_no", "002"},
        {"accessory_name", "ค่าน้ำค่าไฟ"},
        {"qty", "2"},
        {"price", "250"},
        {"total", "500"},
        {"sale_no", kSampleStaffNo}}},
  };
}

class TempleDatabaseTest : public EngineUiTest {
 protected:
  void SetUp() override {
    EngineUiTest::SetUp();
    InitializeSQLEngine();
    ResetProgramVariables();
    working_.emplace(folder_.Path());
    database_file_ = CreateTempleDatabase(folder_.Path());
  }
  void TearDown() override {
    working_.reset();
    EngineUiTest::TearDown();
  }

  void AddSampleRows() {
    const std::vector<TableRow> rows = SampleRows();
    AppendRows(database_file_, rows);
  }

  ScratchFolder folder_;
  std::optional<ScopedWorkingFolder> working_;
  std::filesystem::path database_file_;
};
