// The printer set-up dialog opens the toolkit's printer dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintDialog>
#include <QTimer>

#include "platform/report/PrinterSetupDialog.h"
#include "tests/platform/report/ReportTestSupport.h"

namespace {

using PrinterSetupTest = UiTest;

TEST_F(PrinterSetupTest, ExecuteShowsThePrinterDialogAndTellsHowItClosed) {
  TComponent host(nullptr);
  auto* setup = new TPrinterSetupDialog(&host);
  for (const bool confirm : {false, true}) {
    bool shown = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr) << "no printer dialog";
      shown = dialog->isVisible();
      confirm ? dialog->accept() : dialog->reject();
    });
    EXPECT_EQ(setup->Execute(), confirm);
    EXPECT_TRUE(shown);
  }
}

}  // namespace
