#pragma once
// The base of every control: a component with a parent control, a place in
// pixels at 96 per inch, visibility, enabling, a hint, a font and a colour. A
// control whose owner is a windowed control starts as that owner's child.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/ui/Graphics.h"

class TControlImpl;
class TForm;
class TWinControl;

enum TShiftStateFlag : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle };
using TShiftState = EnumSet<TShiftStateFlag>;

using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
// The typed character as a code point; Enter is 13. A handler that sets it to 0
// swallows the key; one that sets another character types that one instead.
using TKeyPressEvent = std::function<void(TObject* sender, char32_t& key)>;

// Makes a handler from a member function, for the windows' event bindings:
//   Button1->OnClick = Bind(this, &TForm1::Button1Click);
template <typename C, typename... Args>
std::function<void(Args...)> Bind(C* object, void (C::*handler)(Args...)) {
  return [object, handler](Args... args) { (object->*handler)(std::forward<Args>(args)...); };
}

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  // The form the control sits on, or null.
  TForm* ParentForm() const;

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(int left);
  void SetTop(int top);
  void SetWidth(int width);
  void SetHeight(int height);
  virtual void SetBounds(int left, int top, int width, int height);
  virtual int ClientWidth() const;
  virtual int ClientHeight() const;

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // True when the control and all its parents are visible.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  const std::string& Hint() const { return hint_; }
  virtual void SetHint(const std::string& hint);
  // The font set on this control, else its parent's.
  TFont Font() const;
  virtual void SetFont(const TFont& font);
  TColor Color() const;
  // A control without a colour of its own shows its parent's.
  virtual void SetColor(TColor color);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);

  // Runs OnClick as a click of the user would.
  virtual void Click();

  TNotifyEvent OnClick;
  TMouseMoveEvent OnMouseMove;

  // The widget behind the control; only the window layer and its helpers use it.
  TControlImpl& Native() const { return *impl_; }

 protected:
  // Applies the colour to the widget; the base sets the background.
  virtual void ApplyColor(TColor color);
  virtual void ApplyFont(const TFont& font);

 private:
  friend class TControlImpl;
  friend class TWinControl;
  void MouseMoved(TShiftState shift, int x, int y);

  std::unique_ptr<TControlImpl> impl_;
  TWinControl* parent_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  bool has_font_ = false;
  bool has_color_ = false;
  std::string hint_;
  TFont font_;
  TColor color_ = clBtnFace;
  TAlign align_ = alNone;
  TCursor cursor_ = crDefault;
};

// A control that can hold the focus and contain other controls.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(index); }

  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" when
  // the control cannot take the focus.
  virtual void SetFocus();
  bool Focused() const;
  bool CanFocus() const;
  // Position among the parent's windowed controls in the Tab order.
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool tab_stop);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyPressEvent OnKeyPress;

  // Places the aligned children; the rectangle left over is returned.
  TRect Realign();

 protected:
  // Offers a typed character to OnKeyPress; returns the key the control applies.
  virtual char32_t KeyPress(char32_t key);
  virtual void DoEnter();
  virtual void DoExit();
  // Where a form places what fills its client area after the aligned controls.
  virtual void AlignRemainder(const TRect& rect) {}

 private:
  friend class TControl;
  friend class TControlImpl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // Applies the Tab order of this container's windowed controls, depth first.
  void ApplyTabOrder();

  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tab_list_;
  bool tab_stop_ = true;
};

class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};
