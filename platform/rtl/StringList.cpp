#include "platform/rtl/StringList.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/rtl/FileErrors.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TextCase.h"

namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

}  // namespace

const std::string& TStringList::Get(int index) const {
  CheckIndex(index);
  return items_[index].text;
}

void TStringList::Put(int index, std::string text) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(index);
  items_[index].text = std::move(text);
}

void* TStringList::Objects(int index) const {
  CheckIndex(index);
  return items_[index].object;
}

void TStringList::PutObject(int index, void* object) {
  CheckIndex(index);
  items_[index].object = object;
}

int TStringList::AddObject(std::string text, void* object) {
  int index = Count();
  if (sorted_ && Find(text, index)) {
    if (duplicates_ == TDuplicates::dupIgnore) return index;
    if (duplicates_ == TDuplicates::dupError) throw EStringListError("String list does not allow duplicates");
  }
  items_.insert(items_.begin() + index, Item{std::move(text), object});
  return index;
}

void TStringList::AddStrings(const TStringList& other) {
  for (const Item& item : other.items_) AddObject(item.text, item.object);
}

void TStringList::InsertObject(int index, std::string text, void* object) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  if (index < 0 || index > Count()) throw EStringListError(Format("List index out of bounds (%d)", index));
  items_.insert(items_.begin() + index, Item{std::move(text), object});
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
}

int TStringList::IndexOf(std::string_view text) const {
  if (sorted_) {
    int index;
    return Find(text, index) ? index : -1;
  }
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(items_[i].text, text) == 0) return i;
  return -1;
}

int TStringList::IndexOfObject(const void* object) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].object == object) return i;
  return -1;
}

bool TStringList::Find(std::string_view text, int& index) const {
  bool found = false;
  int low = 0;
  int high = Count() - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int c = CompareStrings(items_[middle].text, text);
    if (c < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != TDuplicates::dupAccept) low = middle;
      }
    }
  }
  index = low;
  return found;
}

void TStringList::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
}

void TStringList::SetSorted(bool sorted) {
  if (sorted && !sorted_) Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool case_sensitive) {
  case_sensitive_ = case_sensitive;
  if (sorted_) Sort();
}

std::string TStringList::Names(int index) const {
  const std::string& text = Get(index);
  const size_t separator = text.find(NameValueSeparator);
  return separator == std::string::npos ? std::string() : text.substr(0, separator);
}

std::string TStringList::ValueFromIndex(int index) const {
  const std::string& text = Get(index);
  const size_t separator = text.find(NameValueSeparator);
  return separator == std::string::npos ? std::string() : text.substr(separator + 1);
}

int TStringList::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string& text = items_[i].text;
    const size_t separator = text.find(NameValueSeparator);
    if (separator != std::string::npos &&
        CompareStrings(std::string_view(text).substr(0, separator), name) == 0)
      return i;
  }
  return -1;
}

std::string TStringList::Values(std::string_view name) const {
  const int index = IndexOfName(name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStringList::SetValue(std::string_view name, std::string_view value) {
  int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  std::string entry = std::string(name) + NameValueSeparator + std::string(value);
  if (index < 0) {
    Add(std::move(entry));
  } else if (sorted_) {
    Delete(index);
    Add(std::move(entry));
  } else {
    items_[index].text = std::move(entry);
  }
}

std::string TStringList::Text() const {
  std::string text;
  for (const Item& item : items_) {
    text += item.text;
    text += LineBreak;
  }
  return text;
}

void TStringList::SetText(std::string_view text) {
  Clear();
  size_t i = 0;
  while (i < text.size()) {
    const size_t end = text.find_first_of("\r\n", i);
    if (end == std::string_view::npos) {
      Add(std::string(text.substr(i)));
      break;
    }
    Add(std::string(text.substr(i, end - i)));
    i = end;
    if (text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
  }
}

std::string TStringList::DelimitedText() const {
  return JoinDelimited(Delimiter, QuoteChar, StrictDelimiter);
}

void TStringList::SetDelimitedText(std::string_view text) {
  ParseDelimited(text, Delimiter, QuoteChar, StrictDelimiter);
}

std::string TStringList::CommaText() const {
  return JoinDelimited(',', '"', false);
}

void TStringList::SetCommaText(std::string_view text) {
  ParseDelimited(text, ',', '"', false);
}

std::string TStringList::JoinDelimited(char delimiter, char quote, bool strict) const {
  if (Count() == 1 && items_[0].text.empty()) return std::string(2, quote);
  std::string out;
  for (const Item& item : items_) {
    const std::string& s = item.text;
    const bool needs_quotes = std::any_of(
        s.begin(), s.end(), [&](char c) { return c == delimiter || c == quote || (!strict && IsBlank(c)); });
    if (&item != &items_.front()) out.push_back(delimiter);
    if (!needs_quotes) {
      out += s;
      continue;
    }
    out.push_back(quote);
    for (char c : s) {
      if (c == quote) out.push_back(quote);
      out.push_back(c);
    }
    out.push_back(quote);
  }
  return out;
}

void TStringList::ParseDelimited(std::string_view text, char delimiter, char quote, bool strict) {
  Clear();
  const size_t n = text.size();
  size_t i = 0;
  auto skip_blanks = [&] {
    if (!strict)
      while (i < n && IsBlank(text[i])) ++i;
  };
  skip_blanks();
  while (i < n) {
    std::string item;
    if (text[i] == quote) {
      // A quoted string ends at a single quote; a doubled one stands for itself.
      for (++i; i < n; ++i) {
        if (text[i] != quote) {
          item.push_back(text[i]);
        } else if (i + 1 < n && text[i + 1] == quote) {
          item.push_back(quote);
          ++i;
        } else {
          ++i;
          break;
        }
      }
    } else {
      const size_t start = i;
      while (i < n && text[i] != delimiter && (strict || !IsBlank(text[i]))) ++i;
      item.assign(text.substr(start, i - start));
    }
    Add(std::move(item));
    skip_blanks();
    if (i < n && text[i] == delimiter) {
      if (i + 1 == n) Add(std::string());
      ++i;
      skip_blanks();
    }
  }
}

void TStringList::LoadFromFile(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw EFOpenError(Format("Cannot open file \"%s\". %s", path, std::strerror(errno)));
  std::string bytes;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, n);
  if (std::ferror(file.get())) throw EReadError(Format("Cannot read file \"%s\"", path));
  SetText(bytes);
}

void TStringList::SaveToFile(const std::string& path) const {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) throw EFCreateError(Format("Cannot create file \"%s\". %s", path, std::strerror(errno)));
  const std::string text = Text();
  const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  if (!written || std::fclose(file.release()) != 0)
    throw EWriteError(Format("Cannot write file \"%s\"", path));
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
  return case_sensitive_ ? CompareStr(a, b) : CompareText(a, b);
}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw EStringListError(Format("List index out of bounds (%d)", index));
}
