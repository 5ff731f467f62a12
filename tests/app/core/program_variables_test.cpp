#include <gtest/gtest.h>

#include <filesystem>

#include "app/core/myVar.h"
#include "tests/app/core/support/ScopedWorkingFolder.h"
#include "tests/support/ScratchFolder.h"

namespace {

TEST(ProgramVariables, ResetPutsTextsAndNumbersBackToTheirStart) {
  myVar.WorkMode = "5";
  myVar.MemberRegisterMode = 1;
  myVar.VatRate = 7;
  myVar.PrintBillNo = "DONA000001";
  myVar.ReportTotals[6] = 12.5;
  ResetProgramVariables();
  EXPECT_EQ(myVar.WorkMode, "");
  EXPECT_EQ(myVar.MemberRegisterMode, 0);
  EXPECT_EQ(myVar.VatRate, 0);
  EXPECT_EQ(myVar.PrintBillNo, "");
  EXPECT_EQ(myVar.ReportTotals.size(), 7u);
  for (const double total : myVar.ReportTotals) EXPECT_EQ(total, 0);
}

TEST(WorkingFolder, RelativeNamesResolveInTheWorkingFolder) {
  EXPECT_EQ(WorkingFolder(), std::filesystem::current_path());
  EXPECT_EQ(WorkingPath("CSV\\รายการบริจาค.csv"), "CSV/รายการบริจาค.csv");
  ScratchFolder folder;
  {
    ScopedWorkingFolder working(folder.Path());
    EXPECT_EQ(WorkingFolder(), folder.Path());
    EXPECT_EQ(WorkingPath(kDatabaseFileName), folder.File("dat_temple.vtr"));
    EXPECT_EQ(WorkingPath("CSV\\รายการบริจาค.csv"), folder.File("CSV/รายการบริจาค.csv"));
    EXPECT_EQ(WorkingPath("/srv/temple/mylogo.jpg"), "/srv/temple/mylogo.jpg");
  }
  EXPECT_EQ(WorkingFolder(), std::filesystem::current_path());
}

}  // namespace
