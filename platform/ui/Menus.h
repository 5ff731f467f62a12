#pragma once
// Main menus and their items. An item with items under it opens a sub-menu; the
// caption "-" makes a separator; "&" marks the accelerator letter. A hidden or
// disabled item cannot be chosen, and a disabled item disables all under it.
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/ui/Picture.h"

class TMenuItemImpl;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  // A picture shown beside the caption, or alone for an item without caption.
  void SetBitmap(const TPicture& picture);
  bool IsLine() const { return caption_ == "-"; }

  // Appends an item under this one (taking it away from where it was).
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(index); }
  TMenuItem* Parent() const { return parent_; }

  // Runs OnClick as choosing the item does.
  virtual void Click();
  TNotifyEvent OnClick;

  TMenuItemImpl& Native() const { return *impl_; }

 private:
  friend class TMainMenu;
  std::unique_ptr<TMenuItemImpl> impl_;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  std::string caption_;
  std::string hint_;
  bool visible_ = true;
  bool enabled_ = true;
};

class TMainMenu : public TComponent {
 public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  // The invisible root whose items are the menu bar's.
  TMenuItem* Items() const { return items_; }

 private:
  TMenuItem* items_;
};
