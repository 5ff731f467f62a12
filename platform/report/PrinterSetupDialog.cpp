#include "platform/report/PrinterSetupDialog.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>

bool TPrinterSetupDialog::Execute() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  return dialog.exec() == QDialog::Accepted;
}
