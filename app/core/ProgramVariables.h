#pragma once
// The values that the windows of a program hand to one another: a menu sets a
// mode before it opens a window, an entry window leaves the print settings and
// the document number for the printout it opens, a register leaves the chosen
// row for the window that opened it.
//
// One object per process, `myVar`, used on the user-interface thread only.
// Texts start empty and numbers at 0; nothing is saved. Hand-over order: a
// variable is set before the window that reads it is created. A window reads
// a mode once, at its first activation, and keeps it; a later change does not
// reach a window already open.
//
// Both programs share the one set; a variable that only one program uses stays
// at its start value in the other.
#include <array>
#include <cstdint>
#include <string>

// The donation program uses the first six running totals, the temple program all seven.
inline constexpr int kReportTotalsCount = 7;

struct ProgramVariables {
  // ---- Modes that a menu sets before it opens a window.
  std::string WorkMode;            // goods window: "5" donation, "3" purchase, "1" sale
  int32_t MemberRegisterMode = 0;  // 1: the member or donor register sets itself up
  std::string PickCaller;          // donor register opened by "0" the menu, "1" donations, "2" goods
  std::string SupplyPickCaller;    // supplier register opened by "1" the menu, "2" goods
  std::string BuySaleReportKind;   // "0" purchases, "1" sales
  std::string BusinessType;        // sys_sys.TYPE_BUSINESS; temple vouchers: "1" halls, "2" land
  int32_t UseLandReportMode = 0;
  int32_t UseAllReportMode = 0;
  std::string RoomStatusFilter;
  std::string SaleReportType;  // "0" halls and land, "1" utilities, "2" ceremony articles
  std::string SkinName;

  // ---- Login, register and voucher values.
  std::string CurrentStaffNo;
  std::string ContractRequired;  // sys_sys.TYPE_BUSINESS2
  std::string DocTitleChoice;    // sys_sys.VIEW1
  double VatRate = 0;
  std::string CurrentPartyNo;
  std::string PickedMemberNo;
  std::string PickedMemberName;

  // ---- Print hand-over, set by an entry window just before it creates a printout.
  std::string PrintBillNo;
  std::string PrintRequestKind;  // "0" receipt, "1" certificate
  std::string PrintDocKind;
  std::string PrintDocTitle;
  std::string PrintLogo;     // sys_sys.PRN_LOGO
  std::string PrintPreview;  // sys_sys.PRN_PREVIEW: "0" plain paper, "1" pre-printed form
  std::string TaxStatus;
  std::string PrintView1;
  std::string PrintView3;
  std::string PrintView6;
  std::string PrintView7;
  double PrintTop = 0;
  double PrintLeft = 0;

  // ---- Running totals of a report: element 0 the sum of the rows' totals, the
  // others discount, amount after discount, VAT and net as each report defines them.
  std::array<double, kReportTotalsCount> ReportTotals{};

  // ---- Set by windows, read by none.
  double TaxRate = 0;
  std::string ComPort;
  std::string PrintView2;
  std::string PrintView4;
  std::string PrintView5;
  std::string PrintBusinessType;
  std::string WorkplaceUserName;
  std::string CurrentMemberNo;
  std::string MemberRowNo;

  // ---- Read by windows, set by none: they stay empty.
  std::string SaleDocMode;
  std::string AppPath;
};

extern ProgramVariables myVar;

// Puts every variable back to its start value (for tests).
void ResetProgramVariables();
