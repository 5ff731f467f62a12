#pragma once
// Fixtures of the report tests: reports hosted by a plain component, an
// in-memory staff query and readers of printed amounts and PDF files. The
// window layer's test environment gives them the Qt application.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/report/QuickRpt.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/support/ArrayDataSet.h"

// An item of class T on a band, named and placed (pixels at 96 per inch).
template <typename T>
T* AddItem(TQRBand* band, const std::string& name, int left, int top, int width = 120, int height = 20) {
  auto* item = new T(band);
  item->SetName(name);
  item->SetBounds(left, top, width, height);
  return item;
}

inline TQRLabel* AddLabel(TQRBand* band, const std::string& name, const std::string& caption, int left,
                          int top) {
  auto* label = AddItem<TQRLabel>(band, name, left, top);
  label->SetCaption(caption);
  return label;
}

inline TQRBand* AddBand(TQuickRep* report, const std::string& name, TQRBandType type, int height) {
  auto* band = new TQRBand(report, type);
  band->SetName(name);
  band->SetHeight(height);
  return band;
}

struct StaffRow {
  std::string no;
  std::string name;
  double salary;
  std::string group;
};

// An open query of staff rows: per_no, per_name, per_salary (float), per_group.
inline TArrayDataSet* StaffQuery(TComponent* owner, const std::vector<StaffRow>& rows,
                                 const std::string& name = "Query1") {
  auto* query = new TArrayDataSet(owner, {{"per_no", ftString, 10},
                                          {"per_name", ftString, 40},
                                          {"per_salary", ftFloat},
                                          {"per_group", ftString, 10}});
  query->SetName(name);
  query->Open();
  for (const StaffRow& row : rows) {
    query->Append();
    query->FieldByName("per_no")->SetAsString(row.no);
    query->FieldByName("per_name")->SetAsString(row.name);
    query->FieldByName("per_salary")->SetAsFloat(row.salary);
    query->FieldByName("per_group")->SetAsString(row.group);
    query->Post();
  }
  query->First();
  return query;
}

// "1,250.50" as 1250.5.
inline double Amount(std::string text) {
  std::erase(text, ',');
  return std::stod(text);
}

// The standard output of a shell command.
inline std::string CommandOutput(const std::string& command) {
  std::string output;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return output;
  char buffer[4096];
  while (size_t read = fread(buffer, 1, sizeof buffer, pipe.get())) output.append(buffer, read);
  return output;
}

// Every item of that name on every page, in printed order.
inline std::vector<const TQRPrintedItem*> AllItems(const TQRPrintedReport& report, const std::string& name) {
  std::vector<const TQRPrintedItem*> found;
  for (const TQRPrintedPage& page : report.pages) {
    for (const TQRPrintedItem* item : page.FindAll(name)) found.push_back(item);
  }
  return found;
}
// The items point into the report: it must outlive them.
std::vector<const TQRPrintedItem*> AllItems(const TQRPrintedReport&& report,
                                            const std::string& name) = delete;

// A half-page donation receipt (215.9 x 139.7 mm) over three donation lines:
// the page header with the title and captions, a detail band per line and the
// page footer with the total and the blessing; first-page header and last-page
// footer, printed even when empty. Its BeforePrint sets the margins as the
// receipts do from the temple's print offsets.
class DonationReceipt {
 public:
  DonationReceipt() {
    lines =
        StaffQuery(&host, {{"1", "บำรุงวัด", 100, ""}, {"2", "ผ้าป่า", 250.5, ""}, {"3", "ค่าน้ำค่าไฟ", 49.5, ""}});
    lines->SetName("Query2");
    report = new TQuickRep(&host);
    report->SetName("PrnDonate4s");
    report->SetDataSet(lines);
    report->Page().SetWidth(215.9);
    report->Page().SetLength(139.7);
    report->SetOptions({FirstPageHeader, LastPageFooter});
    report->SetPrintIfEmpty(true);
    report->Font().SetName("CordiaUPC");
    report->Font().SetSize(14);
    report->BeforePrint = [this](TQuickRep* sender, bool&) {
      sender->Page().SetTopMargin(print_top);
      sender->Page().SetLeftMargin(print_left);
      sender->Page().SetBottomMargin(22 - print_top);
    };

    header = AddBand(report, "PageHeaderBand1", rbPageHeader, 120);
    title = AddLabel(header, "QRLabel1", "ใบรับบริจาค", 300, 4);
    title->Font().SetSize(20);
    AddLabel(header, "QRLabel2", "เลขที่", 560, 40);
    AddLabel(header, "QRLabel14", "นายสมชาย ใจบุญ", 120, 70);
    AddItem<TQRShape>(header, "QRShape1", 0, 100, 780, 4)->SetShape(qrsHorLine);

    detail = AddBand(report, "QRBand2", rbDetail, 24);
    AddItem<TQRSysData>(detail, "QRSysData1", 0, 2)->SetData(qrsDetailNo);
    auto* name = AddItem<TQRDBText>(detail, "QRDBText1", 40, 2);
    name->SetDataSet(lines);
    name->SetDataField("per_name");
    auto* total = AddItem<TQRDBText>(detail, "QRDBText7", 600, 2, 150);
    total->SetDataSet(lines);
    total->SetDataField("per_salary");
    total->SetMask("###,###,##0.00");
    total->SetAlignment(taRightJustify);

    footer = AddBand(report, "PageFooterBand1", rbPageFooter, 80);
    AddLabel(footer, "QRLabel19", "รวมทั้งสิ้น", 400, 4);
    auto* sum = AddItem<TQRExpr>(footer, "QRLabel53", 600, 4, 150);
    sum->SetExpression("SUM(Query2.per_salary)");
    sum->SetMask("##,###,##0.00");
    sum->SetAlignment(taRightJustify);
    AddLabel(footer, "QRLabel15", "ขออนุโมทนา", 40, 40);
  }

  TComponent host{nullptr};
  TArrayDataSet* lines = nullptr;
  TQuickRep* report = nullptr;
  TQRBand* header = nullptr;
  TQRBand* detail = nullptr;
  TQRBand* footer = nullptr;
  TQRLabel* title = nullptr;
  double print_top = 10;
  double print_left = 5;
};
