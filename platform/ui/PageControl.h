#pragma once
// Pages of controls, one shown at a time. A sheet whose tab is hidden is still a
// page that code can show; when no tab is visible the tab row disappears.
// OnChange runs when the user picks a tab, not when code sets the page.
#include <string>
#include <vector>

#include "platform/ui/Control.h"

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return page_control_; }
  void SetPageControl(TPageControl* page_control);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool TabVisible() const { return tab_visible_; }
  void SetTabVisible(bool visible);
  int PageIndex() const;

 private:
  friend class TPageControl;
  TPageControl* page_control_ = nullptr;
  std::string caption_;
  bool tab_visible_ = true;
};

class TPageControl : public TWinControl {
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(index); }
  TTabSheet* ActivePage() const { return active_; }
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);

  TNotifyEvent OnChange;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void UpdateTabs();
  void TabChosen(int tab);

  std::vector<TTabSheet*> pages_;
  // The sheets whose tabs show, in tab order.
  std::vector<TTabSheet*> tabs_;
  TTabSheet* active_ = nullptr;
};
