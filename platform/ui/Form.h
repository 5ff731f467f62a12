#pragma once
// A window: a top-level form, the MDI frame of a program or one of its MDI
// children. A form is shown by Show or ShowModal and ends through Close, whose
// OnClose handler decides whether it is hidden, freed or kept open.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/Dialogs.h"

class TFormImpl;
class TMainMenu;

enum TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition : uint8_t { poDesigned, poDefault, poScreenCenter, poMainFormCenter };
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIcon : uint8_t { biSystemMenu, biMinimize, biMaximize };
using TBorderIcons = EnumSet<TBorderIcon>;
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& can_close)>;

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  TFormStyle FormStyle() const { return form_style_; }
  // Set before the form is first shown. An MDI child needs the main form to be an
  // MDI frame: EInvalidOperation "Cannot create form. No MDI forms are currently
  // active" otherwise.
  void SetFormStyle(TFormStyle style);

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);
  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return border_icons_; }
  void SetBorderIcons(TBorderIcons icons);
  void SetClientWidth(int width);
  void SetClientHeight(int height);
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetBounds(int left, int top, int width, int height) override;

  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);

  // The control that has the focus in this form (or will get it when the form is shown).
  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* control);

  void SetVisible(bool visible) override;
  void Show();
  void Hide();
  void BringToFront();
  // Shows the form as an application-modal window and returns, once the form has
  // closed (OnClose has run), the modal result it closed with. Raises
  // EInvalidOperation "Cannot make a visible window modal" for a shown form.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return modal_result_; }
  // Inside ShowModal a result other than mrNone closes the form.
  void SetModalResult(TModalResult result);
  // Asks OnCloseQuery, then runs OnClose and does what its action says.
  void Close();
  // Frees the form once control is back in the event loop; the form is hidden at once.
  void Release();
  // True once Release (or a close with caFree) has doomed the form.
  bool Released() const { return released_; }
  // True while the form is being hidden by code or a close, and once it is doomed:
  // the handlers of its controls do not run then.
  bool Closing() const { return released_ || hiding_; }

  // The MDI frame's active child, or null.
  TForm* ActiveMDIChild() const;
  int MDIChildCount() const;
  TForm* MDIChildren(int index) const;

  // Runs OnCreate unless it ran already. The application's CreateForm calls it;
  // Show and ShowModal make sure it ran.
  void Create();
  // The form's number, unique in the process; the application finds a live
  // form by it (TFormsApplication::FormBySerial).
  uint64_t Serial() const { return serial_; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnActivate;
  TNotifyEvent OnShow;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;
  TNotifyEvent OnDestroy;

  TFormImpl& FormNative() const { return *form_impl_; }

 protected:
  // The form's font and colour are its client area's: the menu bar above it
  // keeps the desktop's.
  void ApplyFont(const TFont& font) override;
  void ApplyColor(TColor color) override;
  void AlignRemainder(const TRect& rect) override;

 private:
  friend class TFormImpl;
  friend class TFormsApplication;
  void Activate();
  // Runs the close handlers; returns the action that they chose.
  TCloseAction RunCloseHandlers();
  void ShowWindow();
  void HideWindow();
  void PlaceOnFirstShow();
  TForm* MdiFrame() const;

  std::unique_ptr<TFormImpl> form_impl_;
  TFormStyle form_style_ = fsNormal;
  TPosition position_ = poDesigned;
  TWindowState window_state_ = wsNormal;
  TFormBorderStyle border_style_ = bsSizeable;
  TBorderIcons border_icons_{biSystemMenu, biMinimize, biMaximize};
  TMainMenu* menu_ = nullptr;
  TWinControl* pending_active_control_ = nullptr;
  TModalResult modal_result_ = mrNone;
  bool created_ = false;
  bool shown_once_ = false;
  bool modal_ = false;
  bool released_ = false;
  bool hiding_ = false;
  // The frame's record of the child that activation last fired for.
  uint64_t last_active_child_ = 0;
  uint64_t serial_ = 0;
};
