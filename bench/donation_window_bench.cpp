// The donation window on a large file, offscreen, through the real window:
// opening it, numbering and saving a new donation of five lines (each save in
// its transaction), and finding a donation by its number.
//
//   donation_window_bench [--donations=N] [--folder=DIR]
//
// The file holds N donations (default 100,000) of three lines each and N / 10
// donors. Messages the window shows are printed, never waited on.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/core/CreateTempleDatabase.h"
#include "app/core/InstallEngineUi.h"
#include "app/core/WindowParts.h"
#include "app/core/WorkingFolder.h"
#include "app/core/ZeroPadding.h"
#include "app/donation/cdonate.h"
#include "engine/access/Database.h"
#include "engine/access/Table.h"
#include "engine/sql/SQLEngineStartup.h"
#include "platform/db/Field.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FormsApplication.h"

namespace {

constexpr int kLinesPerDonation = 3;
constexpr int kLinesOfNewDonation = 5;
constexpr const char* kPrefix = "DONA";

// Prints every message and answers every question with its first button.
class PrintedDialogs : public TDialogService {
 public:
  void ShowMessage(const std::string& text) override { std::printf("  message: %s\n", text.c_str()); }
  TModalResult MessageDlg(const std::string&, const std::string& text, TMsgDlgType, TMsgDlgButtons) override {
    std::printf("  question: %s\n", text.c_str());
    return mrYes;
  }
  bool InputQuery(const std::string&, const std::string&, std::string&) override { return true; }
  void OpenWithSystem(const std::string&) override {}
};

double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

constexpr const char* kFillAlias = "d_bench_fill";
constexpr int kRowsPerCommit = 5000;

void Fill(int donations) {
  TComponent owner(nullptr);
  TVTRDatabase& database = MakeWindowDatabase(owner, "Database1", kFillAlias);
  const auto table = [&owner](const char* name) {
    auto* table = new TVTRTable(&owner);
    table->SetDatabaseName(kFillAlias);
    table->SetTableName(name);
    table->Open();
    return table;
  };
  TVTRTable& donors = *table("customer");
  TVTRTable& purposes = *table("m_donate");
  TVTRTable& headers = *table("g_donate_2");
  TVTRTable& lines = *table("donate");
  const auto set = [](TVTRTable& table, const char* column, const std::string& value) {
    table.FieldByName(column)->SetAsString(value);
  };
  int rows = 0;
  database.StartTransaction();
  // Commits every few thousand rows, so that no transaction grows without bound.
  const auto posted = [&] {
    if (++rows % kRowsPerCommit != 0) return;
    database.Commit(true);
    database.StartTransaction();
  };
  purposes.Append();
  set(purposes, "accessory_no", "001");
  set(purposes, "accessory_name", "บำรุงวัด");
  set(purposes, "accessory_type", "1");
  set(purposes, "cut_stock", "0");
  purposes.Post();
  for (int i = 1; i <= donations / 10; ++i) {
    donors.Append();
    set(donors, "cust_no", "DONR" + PadLeftZeros(std::to_string(i), 6));
    set(donors, "cust_name", "ผู้บริจาค " + std::to_string(i));
    donors.Post();
    posted();
  }
  for (int i = 1; i <= donations; ++i) {
    const std::string number = std::string(kPrefix) + "1" + PadLeftZeros(std::to_string(i), 6);
    headers.Append();
    set(headers, "bill_no", number);
    set(headers, "bill_date", "05/03/2024");
    set(headers, "cust_name", "ผู้บริจาค " + std::to_string(i % 1000));
    set(headers, "total", "300");
    headers.Post();
    posted();
    for (int line = 1; line <= kLinesPerDonation; ++line) {
      lines.Append();
      set(lines, "bill_no", number);
      set(lines, "bill_date", "05/03/2024");
      set(lines, "accessory_no", "001");
      set(lines, "accessory_name", "บำรุงวัด");
      set(lines, "qty", "1");
      set(lines, "price", "100");
      set(lines, "total", "100");
      lines.Post();
      posted();
    }
  }
  database.Commit(true);
  database.Close();
}

std::string Option(int argc, char** argv, std::string_view name, std::string fallback) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=')
      return std::string(arg.substr(name.size() + 1));
  }
  return fallback;
}

// The main window that the donation window is a child of.
class MdiFrame : public TForm {
 public:
  explicit MdiFrame(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIForm); }
};

}  // namespace

int main(int argc, char** argv) {
  const int donations = std::stoi(Option(argc, argv, "--donations", "100000"));
  const char* tmp = std::getenv("TMPDIR");
  const std::filesystem::path base = Option(argc, argv, "--folder", tmp != nullptr ? tmp : "/tmp");
  const std::filesystem::path folder = base / "donation_window_bench";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);

  InitializeSQLEngine();
  TFormsApplication application(argc, argv);
  auto engine_ui = InstallEngineUi();
  SetDialogService(std::make_unique<PrintedDialogs>());
  SetWorkingFolder(folder);
  const std::filesystem::path file = CreateTempleDatabase(folder);
  std::printf("donations %d (lines %d), donors %d, file %s\n", donations, donations * kLinesPerDonation,
              donations / 10, file.c_str());
  std::printf("fill: %.0f ms\n", Milliseconds([&] { Fill(donations); }));

  FormsApplication().CreateForm<MdiFrame>()->Show();
  Tdonate* window = nullptr;
  std::printf("open the window: %.1f ms\n", Milliseconds([&] {
                window = FormsApplication().CreateForm<Tdonate>();
                window->Show();
                FormsApplication().ProcessMessages();
              }));

  std::printf("number and save a donation of %d lines: %.1f ms\n", kLinesOfNewDonation, Milliseconds([&] {
                window->Button16.Click();
                window->Button12.Click();
                for (int line = 0; line < kLinesOfNewDonation; ++line) {
                  window->Button5.Click();
                  window->Edit9.SetText("001");
                  window->Edit10.SetText("บำรุงวัด");
                  window->MaskEdit12.SetText("1");
                  window->MaskEdit13.SetText("100");
                  window->MaskEdit14.SetText("0");
                  window->Button9.Click();
                }
              }));
  std::printf("  saved as %s, total %s\n", window->CurrentNumber().c_str(), window->Label26.Caption().c_str());

  const std::string wanted = std::string(kPrefix) + "1" + PadLeftZeros(std::to_string(donations / 2), 6);
  std::printf("find %s by its number: %.1f ms\n", wanted.c_str(), Milliseconds([&] {
                window->Button2.Click();
                window->Edit6.SetText(wanted);
                char32_t enter = U'\r';
                window->Edit6.OnKeyPress(&window->Edit6, enter);
                window->Button1.Click();
              }));
  std::printf("  shown: %s\n", window->Edit16.Text().c_str());

  Application().DestroyComponents();
  engine_ui.reset();
  std::filesystem::remove_all(folder);
  return 0;
}
