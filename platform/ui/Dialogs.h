#pragma once
// Message boxes, input boxes and the open-with-the-system request. Every window
// asks through the current dialog service, so that tests answer instead of a
// person and record what the windows asked.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/rtl/EnumSet.h"

enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint8_t { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore };
using TMsgDlgButtons = EnumSet<TMsgDlgBtn>;

inline constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbOKOnly{mbOK};

// The result of a dialog or a modal form: which button closed it.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;

// The result that a button of a message dialog gives.
TModalResult ModalResultOf(TMsgDlgBtn button);

class TDialogService {
 public:
  virtual ~TDialogService() = default;
  // A plain message with OK, captioned with the application's title.
  virtual void ShowMessage(const std::string& text) = 0;
  // Returns the modal result of the button chosen.
  virtual TModalResult MessageDlg(const std::string& caption, const std::string& text, TMsgDlgType type,
                                  TMsgDlgButtons buttons) = 0;
  // True with the typed text in `value` on OK; false, `value` untouched, on Cancel.
  virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
  // Opens a file or a web address with the program the system chooses. Failures
  // are silent.
  virtual void OpenWithSystem(const std::string& target) = 0;
};

// The service in force: the one installed last, else message boxes on screen.
TDialogService& DialogService();
// Installs a service and returns the one it replaces (null for the default one).
std::unique_ptr<TDialogService> SetDialogService(std::unique_ptr<TDialogService> service);

// The caption that MessageDlg gives a dialog of each type.
std::string MessageDlgCaption(TMsgDlgType type);

void ShowMessage(const std::string& text);
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
// The typed text, or `default_value` when the user cancels.
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& default_value);
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
void OpenWithSystem(const std::string& target);
