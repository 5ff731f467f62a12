#include "app/core/MdiFrame.h"

#include <algorithm>
#include <cassert>

#include "app/core/WorkingFolder.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr int kToolBarHeight = 32;
constexpr int kSpeedButtonWidth = 32;

const char* SpeedButtonHint(int number) {
  switch (number) {
    case 1:
      return "จองห้องพัก";
    case 2:
      return "เข้าพัก";
    case 3:
      return "อาคารว่าง";
    case 4:
      return "อาคารใช้งาน";
    case 5:
      return "ลูกค้า";
    case 6:
      return "อาคารจอง";
    case 10:
      return "สัญญา";
    default:
      return "";
  }
}

// True when the items between the line and the next line (or the end of the
// menu) in `step` direction are all hidden: the line would separate nothing.
bool GroupHidden(const TMenuItem& parent, int line, int step) {
  for (int i = line + step; i >= 0 && i < parent.Count() && !parent.Items(i)->IsLine(); i += step)
    if (parent.Items(i)->Visible()) return false;
  return true;
}

}  // namespace

TMdiFrame::TMdiFrame(TComponent* owner, FrameDefinition definition)
    : TForm(owner),
      MainMenu1(new TMainMenu(this)),
      Serv(nullptr),
      Panel1(new TPanel(this)),
      definition_(std::move(definition)) {
  SetFormStyle(fsMDIForm);
  SetMenu(MainMenu1);
  Serv = Item(nullptr, "Serv", "", Bind(this, &TMdiFrame::ServClick));
  Panel1->SetAlign(alTop);
  Panel1->SetHeight(kToolBarHeight);
  for (int number = 1; number <= kSpeedButtons; ++number) {
    auto* button = new TSpeedButton(Panel1);
    button->SetBounds((number - 1) * kSpeedButtonWidth, 0, kSpeedButtonWidth, kToolBarHeight);
    button->SetHint(SpeedButtonHint(number));
    speed_buttons_[number - 1] = button;
  }
  Panel1->Hide();
  OnClose = Bind(this, &TMdiFrame::FormClose);
}

TMenuItem* TMdiFrame::Item(TMenuItem* parent, const char* name, const char* caption, TNotifyEvent on_click) {
  auto* item = new TMenuItem(this);
  if (*name != '\0') item->SetName(name);
  item->SetCaption(caption);
  item->OnClick = std::move(on_click);
  (parent != nullptr ? parent : MainMenu1->Items())->Add(item);
  return item;
}

TMenuItem* TMdiFrame::Line(TMenuItem* parent) {
  return Item(parent, "", "-");
}

TMenuItem* TMdiFrame::WindowItem(TMenuItem* parent, const char* name, const char* caption,
                                 TNotifyEvent on_click) {
  TMenuItem* item = Item(parent, name, caption, std::move(on_click));
  window_items_.push_back(item);
  if (!definition_.factories.contains(name)) item->SetEnabled(false);
  return item;
}

void TMdiFrame::HideItems(const std::vector<TMenuItem*>& items) {
  for (TMenuItem* item : items) {
    item->SetVisible(false);
    item->SetEnabled(false);
    hidden_items_.push_back(item);
  }
  for (TMenuItem* item : items) {
    const TMenuItem& parent = *item->Parent();
    for (int i = 0; i < parent.Count(); ++i) {
      TMenuItem* line = parent.Items(i);
      if (line->IsLine() && (GroupHidden(parent, i, -1) || GroupHidden(parent, i, +1)))
        line->SetVisible(false);
    }
  }
}

TMenuItem* TMdiFrame::FindItem(std::string_view name) const {
  auto* item = dynamic_cast<TMenuItem*>(FindComponent(name));
  assert(item != nullptr && "a state table names an item of this frame");
  return item;
}

void TMdiFrame::ApplyMenuStates(const MenuStates& states) {
  assert(states.items.size() == states.states.size());
  for (size_t i = 0; i < states.items.size(); ++i) {
    const char state = states.states[i];
    if (state != '-') FindItem(states.items[i])->SetEnabled(state == '1');
  }
  for (TMenuItem* item : window_items_)
    if (!definition_.factories.contains(item->Name())) item->SetEnabled(false);
  for (TMenuItem* item : hidden_items_) item->SetEnabled(false);
}

void TMdiFrame::EnableSpeedButtons(int count, const std::vector<int>& enabled) {
  for (int number = 1; number <= count; ++number)
    SpeedButton(number)->SetEnabled(std::ranges::find(enabled, number) != enabled.end());
}

void TMdiFrame::ShowLoggedOut() {
  Panel1->Hide();
  ApplyMenuStates(definition_.logged_out);
  EnableSpeedButtons(kSpeedButtons, {});
}

void TMdiFrame::ShowLevel(int level, const LevelMenuTable& table) {
  Panel1->Hide();
  ApplyMenuStates(table.ForLevel(level));
  // A login sets buttons 1 to 9 only, and never enables 7 to 9.
  if (level >= 1 && level <= 4) {
    EnableSpeedButtons(9, {1, 2, 3, 4, 5, 6});
  } else if (level == 5) {
    EnableSpeedButtons(9, {1, 2, 6});
  } else {
    EnableSpeedButtons(9, {});
  }
}

void TMdiFrame::OpenWindow(const TMenuItem& item) {
  const auto factory = definition_.factories.find(item.Name());
  if (factory == definition_.factories.end()) return;
  TForm* window = factory->second.create(*this);
  if (factory->second.modal && !window->Released()) window->ShowModal();
}

void TMdiFrame::ServClick(TObject*) {
  ShowMessage(kServiceMessage);
}

void TMdiFrame::OpenHelpFile() {
  OpenWithSystem(WorkingPath(definition_.help_file));
}

void TMdiFrame::OpenWebSite() {
  OpenWithSystem(kMakerWebSite);
}

void TMdiFrame::FormClose(TObject*, TCloseAction&) {
  ShowMessage(kBackupReminder);
  FormsApplication().Terminate();
}
