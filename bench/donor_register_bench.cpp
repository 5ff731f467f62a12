// The donor register over a temple database of many donors, through the real
// window offscreen: opening it and showing its first rows, jumping to the last
// row, a search by part of a name, and numbering and saving a new donor. Each
// step is timed once, on a file made for the run.
// Build with -DCMAKE_BUILD_TYPE=Release -DVTR_BUILD_BENCH=ON.
//   donor_register_bench [--donors=N] [--folder=DIR]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/core/CreateTempleDatabase.h"
#include "app/core/FileConnection.h"
#include "app/core/InstallEngineUi.h"
#include "app/core/WorkingFolder.h"
#include "app/core/myVar.h"
#include "app/donation/Ref_Cust.h"
#include "engine/access/Table.h"
#include "engine/sql/SQLEngineStartup.h"
#include "platform/db/DB.h"
#include "platform/ui/FormsApplication.h"

namespace {

namespace fs = std::filesystem;

std::string Option(int argc, char** argv, const std::string& name, const std::string& fallback) {
  const std::string prefix = "--" + name + "=";
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.starts_with(prefix)) return argument.substr(prefix.size());
  }
  return fallback;
}

// Donors DONR000001 ... in one committed transaction, named so that one in
// ten thousand holds "สมชาย 5".
void StoreDonors(const fs::path& file, int count) {
  FileConnection connection(file);
  const std::unique_ptr<TVTRTable> customer = connection.Table("customer");
  customer->Open();
  customer->Database()->StartTransaction();
  for (int i = 1; i <= count; ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "DONR%06d", i);
    customer->Append();
    customer->FieldByName("cust_no")->SetAsString(number);
    customer->FieldByName("cust_name")->SetAsString("คุณสมชาย " + std::to_string(i));
    customer->FieldByName("cust_add1")->SetAsString(std::to_string(i) + " ถนนพระราม 4");
    customer->FieldByName("cust_tel")->SetAsString("02" + std::to_string(1000000 + i));
    customer->Post();
  }
  customer->Database()->Commit(true);
  customer->Close();
  connection.Close();
}

double Milliseconds(const std::function<void()>& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  Application().ProcessMessages();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const int donors = std::stoi(Option(argc, argv, "donors", "100000"));
  const fs::path folder =
      fs::path(Option(argc, argv, "folder", fs::temp_directory_path().string())) / "donor_register_bench";
  fs::remove_all(folder);
  fs::create_directories(folder);

  InitializeSQLEngine();
  TFormsApplication application(argc, argv);
  auto engine_ui = InstallEngineUi();
  SetWorkingFolder(folder);
  const fs::path file = CreateTempleDatabase(folder);
  const auto fill_start = std::chrono::steady_clock::now();
  StoreDonors(file, donors);
  std::printf("donors: %d (stored in %.0f ms), file %s, %.1f MB\n", donors,
              std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - fill_start).count(),
              file.c_str(), static_cast<double>(fs::file_size(file)) / 1e6);

  myVar.PickCaller = "0";
  TRef_Cust* window = nullptr;
  std::printf("%-40s %10.1f ms\n", "open, first rows shown", Milliseconds([&] {
                window = FormsApplication().CreateForm<TRef_Cust>(nullptr);
                window->Show();
              }));
  std::printf("%-40s %10.1f ms\n", "jump to the last row", Milliseconds([&] { window->Table1->Last(); }));
  std::printf("%-40s %10.1f ms\n", "search by part of a name", Milliseconds([&] {
                window->BitBtn1Click(nullptr);
                window->TabSheet2->Edit1->SetText("สมชาย 5000");
                char32_t enter = U'\r';
                window->TabSheet2->Edit1KeyPress(nullptr, enter);
              }));
  std::printf("%-40s %10s    (%d rows found)\n", "", "", window->Table1->RecordCount());
  window->TabSheet2->Button1Click(nullptr);
  std::printf("%-40s %10.1f ms\n", "the next number alone", Milliseconds([&] { window->NextCustomerNo(); }));
  std::printf("%-40s %10.1f ms\n", "the list run again alone", Milliseconds([&] {
                window->Table1->Close();
                window->Table1->Open();
              }));
  std::printf("%-40s %10.1f ms\n", "number and save a new donor", Milliseconds([&] {
                window->SpeedButton1Click(nullptr);
                window->Edit3->SetText("คุณใหม่");
                window->SpeedButton8Click(nullptr);
              }));
  std::printf("%-40s %10s    (%s)\n", "", "", window->Edit2->Text().c_str());

  Application().DestroyComponents();
  engine_ui.reset();
  fs::remove_all(folder);
  return 0;
}
