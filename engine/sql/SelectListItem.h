#pragma once
// Field references carried between the statements, the expressions and the
// operator nodes: one select-list item, and an ordered list of them (GROUP BY
// columns, join column pairs, USING and CORRESPONDING lists).
#include <cstdint>
#include <string>
#include <vector>

class TVTRExpression;

struct TVTRSelectListItem {
  std::string TableName;   // qualifier as written, or the table it resolves to; empty when none
  bool AllFields = false;  // "qualifier.*"
  std::string FieldName;   // "*" for AllFields; for a resolved expression item its output column
  bool IsExpression = false;
  TVTRExpression* Expression = nullptr;  // not owned; nil for a field reference
  std::string Alias;
};

class TVTRFields {
 public:
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  const TVTRSelectListItem& Item(int32_t index) const { return items_.at(index); }
  const std::vector<TVTRSelectListItem>& Items() const { return items_; }
  void Add(const TVTRSelectListItem& item) { items_.push_back(item); }

 private:
  std::vector<TVTRSelectListItem> items_;
};
