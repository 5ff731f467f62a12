// Sells QTY of ITEM on the first sale document from a copy of the donation
// program, then prints the message the save showed (an empty line when the
// line was stored). When the save was refused it tries once more and prints
// that message too. Between the stock check and the line's transaction it
// waits until PARTIES copies have reached that point (each leaves a file in
// MEETING), so that copies started together sell at the same moment.
// Usage: goods_sale_helper FOLDER ITEM QTY MEETING PARTIES
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/core/myVar.h"
#include "app/donation/MAIN_2.h"
#include "app/donation/edit_fill.h"
#include "platform/os/RetryPolicy.h"
#include "platform/ui/FormsApplication.h"
#include "tests/app/core/support/HelperProgram.h"
#include "tests/app/donation/helpers/HelperSupport.h"

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s FOLDER ITEM QTY MEETING PARTIES\n", argv[0]);
    return 2;
  }
  HelperProgram program(argc, argv, argv[1]);
  auto* messages = new LastMessage;
  SetDialogService(std::unique_ptr<TDialogService>(messages));
  ScopedRetryCaps short_waits({20, 10});
  StartDonationProgram()->Show();
  myVar.WorkMode = "1";
  auto* window = FormsApplication().CreateForm<Tedit_fill>();
  window->Show();
  program.application.ProcessMessages();
  const std::filesystem::path meeting = argv[4];
  const size_t parties = std::stoul(argv[5]);
  window->AfterStockCheck = [&] { MeetOthers(meeting, parties); };
  for (int attempt = 0; attempt < 2; ++attempt) {
    messages->text.clear();
    window->Button5Click(nullptr);
    window->Edit9.SetText(argv[2]);
    window->Edit10.SetText(argv[2]);
    window->MaskEdit12.SetText(argv[3]);
    window->MaskEdit13.SetText("100");
    window->MaskEdit14.SetText("0");
    window->Button9Click(nullptr);
    std::printf("%s\n", messages->text.c_str());
    if (messages->text.empty()) break;
    window->AfterStockCheck = nullptr;
  }
  return 0;
}
