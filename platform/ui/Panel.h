#pragma once
// A raised panel that holds other controls and may show a caption in its middle.
// Disabling a panel disables every control on it.
#include <string>

#include "platform/ui/Control.h"

enum TPanelBevel : uint8_t { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent* owner);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TPanelBevel BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TPanelBevel bevel);

 private:
  std::string caption_;
  TPanelBevel bevel_outer_ = bvRaised;
};
