#pragma once
// A line or block of text on a form. "&" marks an accelerator letter as on
// buttons ("&&" is an ampersand). With AutoSize on (the default) the label takes
// the size of its text; with WordWrap on it keeps its width and grows in height.
#include <string>

#include "platform/ui/Control.h"

class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* owner);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout layout);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool auto_size);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool word_wrap);

 protected:
  void ApplyFont(const TFont& font) override;

 private:
  void ApplyAlignment();
  void AdjustSize();

  std::string caption_;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool auto_size_ = true;
  bool word_wrap_ = false;
};
