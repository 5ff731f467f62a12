#pragma once
// A multi-line edit box. Tab moves the focus; Enter starts a new line unless
// OnKeyPress swallows it or answers it by moving the focus.
#include <string>
#include <vector>

#include "platform/ui/Control.h"

class TMemo;

// The lines of a memo (its Lines).
class TMemoLines {
 public:
  TMemoLines(const TMemoLines&) = delete;
  TMemoLines& operator=(const TMemoLines&) = delete;

  int Count() const { return static_cast<int>(ToVector().size()); }
  // Raises EStringListError "List index out of bounds (%d)" outside 0..Count-1.
  std::string operator[](int index) const;
  std::vector<std::string> ToVector() const;
  void Add(const std::string& line);
  void Clear();
  // The lines of a text file: UTF-8 (a leading byte order mark is skipped), or
  // code page 874 when the file is not valid UTF-8. Raises the string list's
  // file errors (EFOpenError naming the file) when it cannot be read.
  void LoadFromFile(const std::string& file_name);

 private:
  friend class TMemo;
  explicit TMemoLines(TMemo& memo) : memo_(memo) {}

  TMemo& memo_;
};

class TMemo : public TWinControl {
 public:
  explicit TMemo(TComponent* owner);

  TMemoLines& Lines() { return lines_; }
  const TMemoLines& Lines() const { return lines_; }
  // The lines joined with CR LF.
  std::string Text() const;
  // CR LF, CR and LF all end a line.
  void SetText(const std::string& text);
  void Clear() { SetText({}); }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only);

  TNotifyEvent OnChange;

 protected:
  void ApplyColor(TColor color) override;

 private:
  TMemoLines lines_{*this};
  bool read_only_ = false;
};
