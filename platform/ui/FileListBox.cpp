#include "platform/ui/FileListBox.h"

#include <fnmatch.h>
#include <strings.h>

#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>
#include <filesystem>
#include <sstream>

#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

QListWidget* ListOf(const TControl& control) {
  return static_cast<QListWidget*>(control.Native().Widget());
}

bool Matches(const std::string& name, const std::string& masks) {
  std::istringstream parts(masks);
  std::string mask;
  while (std::getline(parts, mask, ';')) {
    // "*.*" matches every file, also one without an extension.
    if (mask == "*.*" || mask == "*") return true;
    if (!mask.empty() && fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> ListFiles(const std::string& directory, const std::string& mask) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(
           std::filesystem::path(std::u8string(directory.begin(), directory.end())), error)) {
    if (!entry.is_regular_file(error)) continue;
    const std::u8string utf8 = entry.path().filename().u8string();
    const std::string name(utf8.begin(), utf8.end());
    if (Matches(name, mask)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int order = strcasecmp(a.c_str(), b.c_str());
    return order != 0 ? order < 0 : a < b;
  });
  return names;
}

TFileListBox::TFileListBox(TComponent* owner) : TWinControl(owner) {
  auto* list = new QListWidget;
  Native().Attach(list);
  Native().Watch(list->viewport());
  Native().SetClickOnMouse(false);
  QObject::connect(list, &QListWidget::currentRowChanged, &Native(), [this](int row) {
    if (row >= 0) Guarded(this, [this] { Click(); });
  });
  SetColor(clWindow);
  SetBounds(0, 0, 145, 97);
}

void TFileListBox::SetDirectory(const std::string& directory) {
  directory_ = directory;
  Update();
}

void TFileListBox::SetMask(const std::string& mask) {
  mask_ = mask;
  Update();
}

void TFileListBox::Update() {
  items_ = ListFiles(directory_, mask_);
  QListWidget* list = ListOf(*this);
  const QSignalBlocker blocker(list);
  list->clear();
  for (const std::string& name : items_) list->addItem(ToQString(name));
}

int TFileListBox::ItemIndex() const {
  return ListOf(*this)->currentRow();
}

void TFileListBox::SetItemIndex(int index) {
  QListWidget* list = ListOf(*this);
  const QSignalBlocker blocker(list);
  list->setCurrentRow(index);
}

std::string TFileListBox::FileName() const {
  const int index = ItemIndex();
  if (index < 0 || index >= static_cast<int>(items_.size())) return {};
  return directory_ + "/" + items_[index];
}

void TFileListBox::ApplyColor(TColor color) {
  QListWidget* list = ListOf(*this);
  QPalette palette = list->palette();
  palette.setColor(QPalette::Base, ToQColor(color));
  list->setPalette(palette);
}
