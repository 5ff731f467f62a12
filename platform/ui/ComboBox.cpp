#include "platform/ui/ComboBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

class ComboWidget : public QComboBox {
 public:
  explicit ComboWidget(TComboBox& combo) : combo_(combo) {}

  void hidePopup() override {
    const bool was_open = view() != nullptr && view()->isVisible();
    QComboBox::hidePopup();
    if (!was_open) return;
    Guarded(&combo_, [this] {
      if (combo_.OnCloseUp) combo_.OnCloseUp(&combo_);
    });
  }

 private:
  TComboBox& combo_;
};

QComboBox* ComboOf(const TControl& control) {
  return static_cast<QComboBox*>(control.Native().Widget());
}

}  // namespace

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  auto* combo = new ComboWidget(*this);
  combo->setInsertPolicy(QComboBox::NoInsert);
  Native().Attach(combo);
  Native().SetClickOnMouse(false);
  QObject::connect(combo, &QComboBox::activated, &Native(), [this] {
    Guarded(this, [this] {
      Click();
      if (OnChange) OnChange(this);
    });
  });
  SetStyle(csDropDown);
  SetColor(clWindow);
  SetBounds(0, 0, 145, 21);
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  style_ = style;
  QComboBox* combo = ComboOf(*this);
  combo->setEditable(style == csDropDown);
  if (QLineEdit* edit = combo->lineEdit()) {
    QObject::connect(edit, &QLineEdit::textEdited, &Native(), [this] {
      Guarded(this, [this] {
        if (OnChange) OnChange(this);
      });
    });
  }
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  QComboBox* combo = ComboOf(*this);
  const QSignalBlocker blocker(combo);
  const QString text = combo->currentText();
  combo->clear();
  for (const std::string& item : items) combo->addItem(ToQString(item));
  combo->setCurrentIndex(-1);
  if (combo->isEditable()) combo->setEditText(text);
}

void TComboBox::AddItem(const std::string& item) {
  items_.push_back(item);
  QComboBox* combo = ComboOf(*this);
  const QSignalBlocker blocker(combo);
  const int index = combo->currentIndex();
  const QString text = combo->currentText();
  combo->addItem(ToQString(item));
  combo->setCurrentIndex(index);
  if (combo->isEditable()) combo->setEditText(text);
}

int TComboBox::ItemIndex() const {
  const QComboBox* combo = ComboOf(*this);
  const int index = combo->currentIndex();
  // Typing in the box leaves no item chosen unless the text is that item's.
  if (index >= 0 && combo->isEditable() && combo->currentText() != combo->itemText(index)) return -1;
  return index;
}

void TComboBox::SetItemIndex(int index) {
  QComboBox* combo = ComboOf(*this);
  const QSignalBlocker blocker(combo);
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
  if (combo->isEditable() && combo->currentIndex() < 0) combo->setEditText(QString());
}

std::string TComboBox::Text() const {
  return FromQString(ComboOf(*this)->currentText());
}

void TComboBox::SetText(const std::string& text) {
  QComboBox* combo = ComboOf(*this);
  const QSignalBlocker blocker(combo);
  const int index = combo->findText(ToQString(text));
  if (combo->isEditable()) {
    combo->setCurrentIndex(index);
    combo->setEditText(ToQString(text));
  } else if (index >= 0) {
    combo->setCurrentIndex(index);
  }
}

void TComboBox::ApplyColor(TColor color) {
  QComboBox* combo = ComboOf(*this);
  QPalette palette = combo->palette();
  palette.setColor(QPalette::Base, ToQColor(color));
  combo->setPalette(palette);
}
