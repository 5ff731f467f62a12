#pragma once
// The fixture of the engine-prompt window tests: the program's installation
// (engine runtime, prompts in windows, exception handler) per test, and what
// the tests read off the real widgets.
#include <functional>
#include <memory>
#include <string>

#include "app/core/InstallEngineUi.h"
#include "app/core/LayoutForm.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/platform/ui/support/User.h"

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

// Runs `steps` on the engine's modal form as soon as it shows.
inline void OnModalForm(std::function<void(TLayoutForm&)> steps) {
  seen::OnModalForm([steps = std::move(steps)](TForm& modal) {
    auto* form = dynamic_cast<TLayoutForm*>(&modal);
    if (form == nullptr) {
      ADD_FAILURE() << "the modal form \"" << modal.Caption() << "\" is not one of the engine's";
      return;
    }
    steps(*form);
  });
}
