#pragma once
// The application object: the one place where exceptions that no handler caught
// are shown, and where long operations let the message loop run.
#include <exception>
#include <functional>
#include <string>

#include "platform/rtl/Component.h"

using TExceptionEvent = std::function<void(TObject* sender, const std::exception& error)>;

class TApplication : public TComponent {
 public:
  TApplication() : TComponent(nullptr) {}

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }

  // Shows the exception being handled; call it inside a catch block. EAbort is
  // never shown. With OnException assigned the exception goes to it, otherwise
  // to ShowException.
  void HandleException(TObject* sender);
  // The default presentation: the message on standard error.
  void ShowException(const std::exception& error);
  // The window toolkit shows a message box here; tests capture.
  TExceptionEvent OnException;

  // Lets pending window messages run; does nothing until the window toolkit
  // installs its message pump.
  void ProcessMessages();
  void SetProcessMessagesHandler(std::function<void()> handler) { process_messages_ = std::move(handler); }

 private:
  std::string title_;
  std::function<void()> process_messages_;
};

// The process's application object.
TApplication& Application();
