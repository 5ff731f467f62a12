#include "platform/ui/Label.h"

#include <QLabel>

#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

QLabel* LabelOf(const TControl& control) {
  return static_cast<QLabel*>(control.Native().Widget());
}

// The text a caption shows: an accelerator "&" disappears, "&&" shows one "&".
QString Shown(const std::string& caption) {
  const QString text = WithLineBreaks(caption);
  QString shown;
  shown.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
    shown.append(text[i]);
  }
  return shown;
}

}  // namespace

TLabel::TLabel(TComponent* owner) : TControl(owner) {
  auto* label = new QLabel;
  label->setTextFormat(Qt::PlainText);
  Native().Attach(label);
  ApplyAlignment();
  AdjustSize();
}

void TLabel::SetCaption(const std::string& caption) {
  caption_ = caption;
  LabelOf(*this)->setText(Shown(caption));
  AdjustSize();
}

void TLabel::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  ApplyAlignment();
}

void TLabel::SetLayout(TTextLayout layout) {
  layout_ = layout;
  ApplyAlignment();
}

void TLabel::SetAutoSize(bool auto_size) {
  auto_size_ = auto_size;
  AdjustSize();
}

void TLabel::SetWordWrap(bool word_wrap) {
  word_wrap_ = word_wrap;
  LabelOf(*this)->setWordWrap(word_wrap);
  AdjustSize();
}

void TLabel::ApplyFont(const TFont& font) {
  TControl::ApplyFont(font);
  AdjustSize();
}

void TLabel::ApplyAlignment() {
  Qt::Alignment alignment = alignment_ == taCenter         ? Qt::AlignHCenter
                            : alignment_ == taRightJustify ? Qt::AlignRight
                                                           : Qt::AlignLeft;
  alignment |= layout_ == tlCenter ? Qt::AlignVCenter : layout_ == tlBottom ? Qt::AlignBottom : Qt::AlignTop;
  LabelOf(*this)->setAlignment(alignment);
}

void TLabel::AdjustSize() {
  if (!auto_size_) return;
  QLabel* label = LabelOf(*this);
  if (word_wrap_) {
    label->resize(label->width(), label->heightForWidth(label->width()));
  } else {
    label->resize(label->sizeHint());
  }
}
