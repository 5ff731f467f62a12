#pragma once
// The files of a folder that match a mask ("*.jpg"; letters match in either
// case; several masks separated by ";"), sorted by name ignoring case. OnClick
// runs when the user selects a file.
#include <string>
#include <vector>

#include "platform/ui/Control.h"

class TFileListBox : public TWinControl {
 public:
  explicit TFileListBox(TComponent* owner);

  const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& directory);
  const std::string& Mask() const { return mask_; }
  void SetMask(const std::string& mask);
  // Reads the folder again.
  void Update();

  const std::vector<std::string>& Items() const { return items_; }
  int ItemIndex() const;
  void SetItemIndex(int index);
  // The folder and the selected file's name joined by "/", or empty.
  std::string FileName() const;

 protected:
  void ApplyColor(TColor color) override;

 private:
  std::string directory_ = ".";
  std::string mask_ = "*.*";
  std::vector<std::string> items_;
};

// The names of the files in `directory` that match `mask`, sorted ignoring case.
std::vector<std::string> ListFiles(const std::string& directory, const std::string& mask);
