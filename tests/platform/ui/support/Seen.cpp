#include "tests/platform/ui/support/Seen.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "platform/ui/DBGrid.h"
#include "platform/ui/Form.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/FormImpl.h"
#include "platform/ui/internal/QtSupport.h"
#include "tests/platform/ui/support/User.h"

namespace seen {

std::string Text(const TControl& control) {
  const QWidget* widget = control.Native().Widget();
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return FromQString(label->text());
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return FromQString(button->text());
  if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return FromQString(edit->displayText());
  if (const auto* combo = qobject_cast<const QComboBox*>(widget)) return FromQString(combo->currentText());
  if (const auto* memo = qobject_cast<const QPlainTextEdit*>(widget)) return FromQString(memo->toPlainText());
  ADD_FAILURE() << "no text shown by " << control.Name();
  return {};
}

namespace {

const QAbstractItemModel& ModelOf(const TDBGrid& grid) {
  return *static_cast<const QAbstractItemView*>(grid.Native().FocusWidget())->model();
}

}  // namespace

int RowCount(const TDBGrid& grid) { return ModelOf(grid).rowCount(); }

std::string Cell(const TDBGrid& grid, int row, int column) {
  const QAbstractItemModel& model = ModelOf(grid);
  return FromQString(model.data(model.index(row, column)).toString());
}

std::string Caption(const TForm& form) { return FromQString(form.FormNative().Window()->windowTitle()); }

int Progress(const TControl& bar) {
  const auto* progress = qobject_cast<const QProgressBar*>(bar.Native().Widget());
  if (progress == nullptr) {
    ADD_FAILURE() << bar.Name() << " is no progress bar";
    return -1;
  }
  return progress->value();
}

bool Visible(const TControl& control) { return control.Native().Widget()->isVisible(); }

bool OnScreen(const TForm& form) { return form.FormNative().Frame()->isVisible(); }

bool StaysOnTop(const TForm& form) {
  return form.FormNative().Window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

bool ShowsWaitCursor(const TForm& form) { return form.FormNative().Window()->cursor().shape() == Qt::WaitCursor; }

bool Minimized(const TForm& form) { return form.FormNative().Frame()->isMinimized(); }

bool Usable(const TForm& form) { return form.FormNative().Frame()->isEnabled(); }

bool HasFocus(const TControl& control) { return QApplication::focusWidget() == control.Native().FocusWidget(); }

TForm* ModalForm() {
  return dynamic_cast<TForm*>(TControlImpl::ControlOf(QApplication::activeModalWidget()));
}

void OnModalForm(std::function<void(TForm&)> steps) {
  QTimer::singleShot(0, [steps = std::move(steps)] {
    TForm* form = ModalForm();
    if (form == nullptr) {
      ADD_FAILURE() << "no modal form shows";
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      return;
    }
    user::ProcessEvents();  // the window has come up and taken the keyboard
    steps(*form);
    if (form->ModalResult() == mrNone) {
      ADD_FAILURE() << "the form \"" << form->Caption() << "\" was left open";
      form->Close();
    }
  });
}

}  // namespace seen
