#include "tests/platform/ui/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

void ScriptedDialogs::Answer(TModalResult result) {
  answers_.push_back({false, result, {}});
}
void ScriptedDialogs::AnswerInput(const std::string& text) {
  answers_.push_back({true, mrOk, text});
}
void ScriptedDialogs::CancelInput() {
  answers_.push_back({true, mrCancel, {}});
}

void ScriptedDialogs::Clear() {
  answers_.clear();
  transcript_.clear();
  opened_.clear();
}

bool ScriptedDialogs::Take(bool input, const std::string& text, Queued& answer) {
  if (answers_.empty()) {
    ADD_FAILURE() << "No answer queued for the dialog \"" << text << "\"";
    return false;
  }
  answer = answers_.front();
  answers_.pop_front();
  if (answer.input != input) {
    ADD_FAILURE() << "The answer queued for the dialog \"" << text << "\" is for "
                  << (answer.input ? "an input box" : "a message box");
    return false;
  }
  return true;
}

void ScriptedDialogs::ShowMessage(const std::string& text) {
  DialogRecord record{DialogRecord::Kind::Message, {}, text, mtCustom, mbOKOnly, mrOk, {}};
  Queued answer;
  if (Take(false, text, answer) && answer.result != mrOk) {
    ADD_FAILURE() << "The message \"" << text << "\" has only OK";
  }
  transcript_.push_back(record);
}

TModalResult ScriptedDialogs::MessageDlg(const std::string& caption, const std::string& text,
                                         TMsgDlgType type, TMsgDlgButtons buttons) {
  DialogRecord record{DialogRecord::Kind::MessageDlg, caption, text, type, buttons, mrNone, {}};
  Queued answer;
  if (Take(false, text, answer)) {
    bool offered = false;
    for (TMsgDlgBtn button : {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore}) {
      offered = offered || (buttons.Contains(button) && ModalResultOf(button) == answer.result);
    }
    if (offered) {
      record.result = answer.result;
    } else {
      ADD_FAILURE() << "The dialog \"" << text << "\" has no button for the answer " << answer.result;
    }
  }
  transcript_.push_back(record);
  return record.result;
}

bool ScriptedDialogs::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  DialogRecord record{DialogRecord::Kind::Input, caption, prompt, mtCustom, mbOKCancel, mrCancel, value};
  Queued answer;
  if (Take(true, prompt, answer) && answer.result == mrOk) {
    value = answer.text;
    record.result = mrOk;
    record.input = answer.text;
  }
  transcript_.push_back(record);
  return record.result == mrOk;
}

void ScriptedDialogs::OpenWithSystem(const std::string& target) {
  opened_.push_back(target);
}
