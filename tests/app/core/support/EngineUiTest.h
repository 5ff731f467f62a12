#pragma once
// The fixture of the engine-prompt window tests: the program's installation
// (engine runtime, prompts in windows, exception handler) per test, and what
// the tests read off the real widgets.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "app/core/InstallEngineUi.h"
#include "app/core/LayoutForm.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/FormImpl.h"
#include "platform/ui/internal/QtSupport.h"
#include "tests/platform/ui/support/UiTest.h"

class EngineUiTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    installed_ = InstallEngineUi();
  }
  void TearDown() override {
    installed_.reset();
    UiTest::TearDown();
  }

  TFormsEngineUi& Ui() { return installed_->Ui(); }

  std::unique_ptr<TInstalledEngineUi> installed_;
};

// What the user sees of a control.
inline std::string ShownText(const TControl& control) {
  const QWidget* widget = control.Native().Widget();
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return FromQString(label->text());
  if (const auto* button = qobject_cast<const QPushButton*>(widget)) return FromQString(button->text());
  if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return FromQString(edit->displayText());
  ADD_FAILURE() << "no text shown by " << control.Name();
  return {};
}

inline int ShownProgress(const TControl& bar) {
  return qobject_cast<const QProgressBar*>(bar.Native().Widget())->value();
}

inline bool OnScreen(const TForm& form) {
  return form.FormNative().Frame()->isVisible();
}

// The user can work in the form's window.
inline bool UsableByUser(const TForm& form) {
  return form.FormNative().Frame()->isEnabled();
}

inline bool HasFocus(const TControl& control) {
  return QApplication::focusWidget() == control.Native().FocusWidget();
}

// Runs `steps` on the modal form as soon as it shows. A form the steps leave
// open is closed, so that a failing test fails instead of waiting for a user.
inline void OnModalForm(std::function<void(TLayoutForm&)> steps) {
  QTimer::singleShot(0, [steps = std::move(steps)] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* form = dynamic_cast<TLayoutForm*>(TControlImpl::ControlOf(modal));
    if (form == nullptr) {
      ADD_FAILURE() << "no modal form of the engine shows";
      if (modal != nullptr) modal->close();
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
