#pragma once
// A dialog service for tests: every dialog takes the next queued answer and is
// written to the transcript. A dialog that finds no answer queued, or an answer
// of the wrong kind, fails the running test with the dialog's text.
#include <deque>
#include <string>
#include <vector>

#include "platform/ui/Dialogs.h"

struct DialogRecord {
  enum class Kind { Message, MessageDlg, Input };
  Kind kind;
  std::string caption;
  std::string text;
  TMsgDlgType type = mtCustom;
  TMsgDlgButtons buttons;
  // The button chosen, or mrOk / mrCancel for an input box.
  TModalResult result = mrNone;
  // The text an input box returned.
  std::string input;
};

class ScriptedDialogs : public TDialogService {
 public:
  // The next message box (ShowMessage or MessageDlg) is closed with this button.
  void Answer(TModalResult result);
  // The next input box is answered with OK and this text, or cancelled.
  void AnswerInput(const std::string& text);
  void CancelInput();

  const std::vector<DialogRecord>& Transcript() const { return transcript_; }
  const std::vector<std::string>& Opened() const { return opened_; }
  size_t PendingAnswers() const { return answers_.size(); }
  void Clear();

  void ShowMessage(const std::string& text) override;
  TModalResult MessageDlg(const std::string& caption, const std::string& text, TMsgDlgType type,
                          TMsgDlgButtons buttons) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  void OpenWithSystem(const std::string& target) override;

 private:
  struct Queued {
    bool input = false;
    TModalResult result = mrNone;
    std::string text;
  };
  // The next answer of the wanted kind, or none (the test has then failed).
  bool Take(bool input, const std::string& text, Queued& answer);

  std::deque<Queued> answers_;
  std::vector<DialogRecord> transcript_;
  std::vector<std::string> opened_;
};
