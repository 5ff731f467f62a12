#include "app/core/LayoutForm.h"

#include <stdexcept>

#include "platform/ui/Buttons.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/Timer.h"

// Left aside: lcoAnchorAll (the windows keep a fixed size, so anchoring moves
// nothing), lcoSmooth (the toolkit's bar is always smooth) and lwoOwnIcon
// (every window shows the program's icon).

namespace {

TModalResult ToModalResult(TLayoutModalResult result) {
  switch (result) {
    case lmrOk:
      return mrOk;
    case lmrCancel:
      return mrCancel;
    case lmrNone:
      break;
  }
  return mrNone;
}

// Places the control where the layout says; a size of 0 keeps the control's own.
void Place(TControl& control, const TLayoutControl& layout) {
  control.SetBounds(layout.Left, layout.Top, layout.Width != 0 ? layout.Width : control.Width(),
                    layout.Height != 0 ? layout.Height : control.Height());
}

TComponent& MakeLabel(TForm& form, const TLayoutControl& layout) {
  auto* label = new TLabel(&form);
  const TLayoutControlOptions options = layout.Options;
  label->SetAutoSize(!options.Contains(lcoFixedSize) && layout.Height == 0);
  label->SetWordWrap(options.Contains(lcoWordWrap));
  label->SetAlignment(options.Contains(lcoCentred) ? taCenter : taLeftJustify);
  label->SetLayout(options.Contains(lcoCentredVertically) ? tlCenter : tlTop);
  label->SetCaption(std::string(layout.Text));
  return *label;
}

TComponent& MakeEdit(TForm& form, const TLayoutControl& layout) {
  auto* edit = new TEdit(&form);
  edit->SetPasswordChar(static_cast<unsigned char>(layout.PasswordChar));
  edit->SetText(std::string(layout.Text));
  return *edit;
}

TComponent& MakeButton(TForm& form, const TLayoutControl& layout) {
  auto* button = new TButton(&form);
  button->SetCaption(std::string(layout.Text));
  button->SetDefault(layout.Options.Contains(lcoDefaultButton));
  button->SetCancel(layout.Options.Contains(lcoCancelButton));
  button->SetModalResult(ToModalResult(layout.ModalResult));
  return *button;
}

TComponent& MakeProgressBar(TForm& form, const TLayoutControl& layout) {
  auto* bar = new TProgressBar(&form);
  bar->SetMin(layout.Min);
  bar->SetMax(layout.Max);
  bar->SetStep(layout.Step);
  return *bar;
}

TComponent& MakeTimer(TForm& form, const TLayoutControl& layout) {
  auto* timer = new TTimer(&form);
  timer->SetInterval(layout.Interval);
  timer->SetEnabled(!layout.Options.Contains(lcoDisabled));
  return *timer;
}

TComponent& Make(TForm& form, const TLayoutControl& layout) {
  switch (layout.Kind) {
    case lckLabel:
      return MakeLabel(form, layout);
    case lckEdit:
      return MakeEdit(form, layout);
    case lckButton:
      return MakeButton(form, layout);
    case lckProgressBar:
      return MakeProgressBar(form, layout);
    case lckTimer:
      return MakeTimer(form, layout);
  }
  throw std::logic_error("a layout control of no known kind");
}

bool TakesFocus(TLayoutControlKind kind) {
  return kind == lckEdit || kind == lckButton;
}

}  // namespace

TLayoutForm::TLayoutForm(TComponent* owner, const TWindowLayout& layout) : TForm(owner) {
  SetCaption(std::string(layout.Caption));
  if (!layout.FontName.empty()) {
    TFont font = Font();
    font.SetName(std::string(layout.FontName));
    font.SetSize(layout.FontSize);
    SetFont(font);
  }
  SetClientWidth(layout.ClientWidth);
  SetClientHeight(layout.ClientHeight);
  if (layout.Options.Contains(lwoStayOnTop)) SetFormStyle(fsStayOnTop);
  if (layout.Options.Contains(lwoDialogBorder)) SetBorderStyle(bsDialog);
  if (layout.Options.Contains(lwoNoBorderIcons)) SetBorderIcons({});
  if (layout.Options.Contains(lwoHourglassCursor)) SetCursor(crHourGlass);
  // The toolkit centres on the one screen it knows, which is the desktop too.
  SetPosition(poScreenCenter);
  for (const TLayoutControl& control : layout.Controls) AddControl(control);
}

void TLayoutForm::AddControl(const TLayoutControl& layout) {
  TComponent& component = Make(*this, layout);
  component.SetName(std::string(layout.Name));
  if (auto* control = dynamic_cast<TControl*>(&component)) Place(*control, layout);
  if (TakesFocus(layout.Kind) && ActiveControl() == nullptr)
    SetActiveControl(dynamic_cast<TWinControl*>(&component));
}
