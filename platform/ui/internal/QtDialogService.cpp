#include "platform/ui/internal/QtDialogService.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>
#include <array>
#include <utility>

#include "platform/rtl/Application.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

QMessageBox::Icon IconOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return QMessageBox::Warning;
    case mtError:
      return QMessageBox::Critical;
    case mtInformation:
      return QMessageBox::Information;
    case mtConfirmation:
      return QMessageBox::Question;
    case mtCustom:
      break;
  }
  return QMessageBox::NoIcon;
}

constexpr std::array<std::pair<TMsgDlgBtn, QMessageBox::StandardButton>, 7> kButtons{{
    {mbYes, QMessageBox::Yes},
    {mbNo, QMessageBox::No},
    {mbOK, QMessageBox::Ok},
    {mbCancel, QMessageBox::Cancel},
    {mbAbort, QMessageBox::Abort},
    {mbRetry, QMessageBox::Retry},
    {mbIgnore, QMessageBox::Ignore},
}};

}  // namespace

void QtDialogService::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(Application().Title()), WithLineBreaks(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

TModalResult QtDialogService::MessageDlg(const std::string& caption, const std::string& text,
                                         TMsgDlgType type, TMsgDlgButtons buttons) {
  QMessageBox box(IconOf(type), ToQString(caption), WithLineBreaks(text), QMessageBox::NoButton,
                  QApplication::activeWindow());
  for (const auto& [button, standard] : kButtons) {
    if (buttons.Contains(button)) box.addButton(standard);
  }
  const auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
  for (const auto& [button, standard] : kButtons) {
    if (standard == chosen) return ModalResultOf(button);
  }
  return buttons.Contains(mbCancel) ? mrCancel : mrNone;
}

bool QtDialogService::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  bool accepted = false;
  const QString typed =
      QInputDialog::getText(QApplication::activeWindow(), ToQString(caption), WithLineBreaks(prompt),
                            QLineEdit::Normal, ToQString(value), &accepted);
  if (accepted) value = FromQString(typed);
  return accepted;
}

void QtDialogService::OpenWithSystem(const std::string& target) {
  const QString text = ToQString(target);
  const QUrl url = text.contains(QLatin1String("://"))
                       ? QUrl(text)
                       : QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
  QDesktopServices::openUrl(url);
}
