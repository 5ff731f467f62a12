#pragma once
// The class library's string list: an indexed list of byte strings, each with
// an optional object pointer that the list does not own. A sorted list keeps
// its order on Add and refuses Insert and Put; comparisons fold ASCII case
// unless CaseSensitive is set.
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Exception.h"

class EStringListError : public Exception {
 public:
  using Exception::Exception;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& operator[](int index) const { return Get(index); }
  const std::string& Get(int index) const;
  // Replaces a string; refused on a sorted list.
  void Put(int index, std::string text);
  void* Objects(int index) const;
  void PutObject(int index, void* object);

  // Appends, or on a sorted list inserts in order; returns the index. A sorted
  // list with dupIgnore returns the index of an equal string without adding,
  // with dupError it raises.
  int Add(std::string text) { return AddObject(std::move(text), nullptr); }
  int AddObject(std::string text, void* object);
  void AddStrings(const TStringList& other);
  void Insert(int index, std::string text) { InsertObject(index, std::move(text), nullptr); }
  void InsertObject(int index, std::string text, void* object);
  void Delete(int index);
  void Clear() { items_.clear(); }

  int IndexOf(std::string_view text) const;
  int IndexOfObject(const void* object) const;
  // Binary search; meaningful on a sorted list. Returns whether an equal string
  // exists and sets index to it (to the first of equals with dupAccept), or to
  // where it would be inserted.
  bool Find(std::string_view text, int& index) const;
  void Sort();

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  bool CaseSensitive() const { return case_sensitive_; }
  void SetCaseSensitive(bool case_sensitive);

  // "name=value" entries. Names compare like the strings.
  std::string Names(int index) const;
  std::string ValueFromIndex(int index) const;
  int IndexOfName(std::string_view name) const;
  std::string Values(std::string_view name) const;
  // Sets the value of the first entry of that name (adding one when there is
  // none); an empty value deletes the entry.
  void SetValue(std::string_view name, std::string_view value);
  char NameValueSeparator = '=';

  // Every string followed by LineBreak. Setting splits at CR, LF and CRLF; a
  // final line break adds no empty string.
  std::string Text() const;
  void SetText(std::string_view text);
  std::string LineBreak = "\r\n";

  // The strings joined by Delimiter, each quoted with QuoteChar (quotes inside
  // doubled) when it holds the delimiter, the quote or, unless StrictDelimiter,
  // a blank or control character. Parsing undoes this; without StrictDelimiter
  // blanks also separate strings.
  std::string DelimitedText() const;
  void SetDelimitedText(std::string_view text);
  char Delimiter = ',';
  char QuoteChar = '"';
  bool StrictDelimiter = false;
  // DelimitedText with ",", '"' and blanks as separators.
  std::string CommaText() const;
  void SetCommaText(std::string_view text);

  // The file's bytes as Text, unconverted.
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

 private:
  struct Item {
    std::string text;
    void* object;
  };
  int CompareStrings(std::string_view a, std::string_view b) const;
  void CheckIndex(int index) const;
  std::string JoinDelimited(char delimiter, char quote, bool strict) const;
  void ParseDelimited(std::string_view text, char delimiter, char quote, bool strict);

  std::vector<Item> items_;
  bool sorted_ = false;
  bool case_sensitive_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
};
