#include "platform/ui/CheckBox.h"

#include <QCheckBox>
#include <QSignalBlocker>

#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

QCheckBox* CheckBoxOf(const TControl& control) {
  return static_cast<QCheckBox*>(control.Native().Widget());
}

}  // namespace

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
  auto* box = new QCheckBox;
  Native().Attach(box);
  Native().SetClickOnMouse(false);
  QObject::connect(box, &QCheckBox::clicked, &Native(), [this] { Guarded(this, [this] { Click(); }); });
  SetBounds(0, 0, 97, 17);
}

std::string TCheckBox::Caption() const {
  return FromQString(CheckBoxOf(*this)->text());
}
void TCheckBox::SetCaption(const std::string& caption) {
  CheckBoxOf(*this)->setText(WithLineBreaks(caption));
}

bool TCheckBox::Checked() const {
  return CheckBoxOf(*this)->isChecked();
}

void TCheckBox::SetChecked(bool checked) {
  QCheckBox* box = CheckBoxOf(*this);
  if (box->isChecked() == checked) return;
  {
    const QSignalBlocker blocker(box);
    box->setChecked(checked);
  }
  Click();
}
