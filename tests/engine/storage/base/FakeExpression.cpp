#include "tests/engine/storage/base/FakeExpression.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRTypes.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr uint8_t kEqual = 1, kNotEqual = 2, kGreater = 3, kLess = 4, kGreaterOrEqual = 5, kLessOrEqual = 6;

uint8_t OperatorOf(const std::string& word) {
  static const std::pair<const char*, uint8_t> kWords[] = {{"=", kEqual},           {"<>", kNotEqual},
                                                           {">", kGreater},         {"<", kLess},
                                                           {">=", kGreaterOrEqual}, {"<=", kLessOrEqual}};
  for (const auto& [text, op] : kWords)
    if (word == text) return op;
  throw std::invalid_argument("unknown operator " + word);
}

// Index order of a comparison "field op constant" on a column of the direction.
TVTRScanComparison ComparisonOf(uint8_t op, bool descending) {
  switch (op) {
    case kEqual:
      return scEqual;
    case kGreater:
      return descending ? scBefore : scAfter;
    case kLess:
      return descending ? scAfter : scBefore;
    case kGreaterOrEqual:
      return descending ? scNotAfter : scNotBefore;
    default:
      return descending ? scNotBefore : scNotAfter;
  }
}

}  // namespace

FakeExpression::Node* FakeExpression::NewNode(Node::Kind kind, std::string field) {
  nodes_.push_back(std::make_unique<Node>());
  nodes_.back()->kind = kind;
  nodes_.back()->field = std::move(field);
  return nodes_.back().get();
}

FakeExpression::Node* FakeExpression::NewComparison(std::string field, uint8_t op, const TVTRVariant& constant,
                                                    bool case_insensitive, bool partial) {
  Node* node = NewNode(Node::Kind::Comparison, std::move(field));
  node->op = op;
  node->constant = constant;
  node->case_insensitive = case_insensitive;
  node->partial = partial;
  return node;
}

void FakeExpression::SetConjuncts(const std::vector<Node*>& conjuncts) {
  if (conjuncts.size() == 1) {
    root_ = conjuncts.front();
  } else {
    root_ = NewNode(Node::Kind::And, "");
    root_->operands = conjuncts;
  }
}

void FakeExpression::ParseFilter(TVTRCursor& cursor, std::string_view text, bool partial_compare,
                                 bool case_insensitive) {
  cursor_ = &cursor;
  if (Trim(text).empty()) throw EVTRException(30119, "Blank SQL command");
  std::vector<Node*> conjuncts;
  for (size_t start = 0;;) {
    const size_t end = text.find(" AND ", start);
    conjuncts.push_back(ParseConjunct(text.substr(start, end - start), partial_compare, case_insensitive));
    if (end == std::string_view::npos) break;
    start = end + 5;
  }
  SetConjuncts(conjuncts);
}

FakeExpression::Node* FakeExpression::ParseConjunct(std::string_view text, bool partial_compare,
                                                    bool case_insensitive) {
  std::istringstream words{std::string(text)};
  std::vector<std::string> w;
  for (std::string word; words >> word;) w.push_back(word);
  if (w.size() == 3 && w[1] == "IS" && w[2] == "NULL") return NewNode(Node::Kind::IsNull, w[0]);
  if (w.size() == 4 && w[1] == "IS" && w[2] == "NOT" && w[3] == "NULL")
    return NewNode(Node::Kind::IsNotNull, w[0]);
  if (w.size() < 3) throw std::invalid_argument("not a conjunct: " + std::string(text));
  // The constant is the rest of the text: a quoted text may hold blanks.
  const std::string rest = Trim(text.substr(text.find(w[1]) + w[1].size()));
  TVTRVariant constant;
  bool partial = false;
  if (rest.size() >= 2 && rest.front() == '\'' && rest.back() == '\'') {
    std::string value = rest.substr(1, rest.size() - 2);
    partial = partial_compare && !value.empty() && value.back() == '*';
    if (partial) value.pop_back();
    constant.SetAsString(value);
  } else if (rest.find('.') != std::string::npos) {
    constant.SetAsDouble(std::stod(rest));
  } else {
    constant.SetAsLargeInt(std::stoll(rest));
  }
  return NewComparison(w[0], OperatorOf(w[1]), constant, case_insensitive, partial);
}

void FakeExpression::BuildLocateCondition(TVTRCursor& cursor, std::string_view key_fields,
                                          const Variant& key_values, bool case_insensitive, bool partial_key) {
  cursor_ = &cursor;
  std::vector<std::string> names;
  for (size_t start = 0;;) {
    const size_t end = key_fields.find(';', start);
    names.emplace_back(Trim(key_fields.substr(start, end - start)));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  const std::vector<Variant> values = key_values.IsArray() ? key_values.Elements() : std::vector{key_values};
  if (names.size() != values.size())
    throw EVTRException::CreateFmt(30112, "Count of FieldNames (%d) not equal counts of KeyValues (%d)",
                                   static_cast<int32_t>(names.size()), static_cast<int32_t>(values.size()));
  std::vector<Node*> conjuncts;
  for (size_t i = 0; i < names.size(); ++i) {
    TVTRVariant constant;
    constant.SetAsVariant(values[i]);
    conjuncts.push_back(NewComparison(names[i], kEqual, constant, case_insensitive, partial_key));
  }
  SetConjuncts(conjuncts);
}

void FakeExpression::BuildFieldComparison(TVTRCursor* cursor, std::string_view field_name,
                                          const TVTRVariant& value, uint8_t comparison_operator) {
  cursor_ = cursor;
  root_ = NewComparison(std::string(field_name), comparison_operator, value, false, false);
}

bool FakeExpression::GetBooleanValue() {
  if (!root_) throw EVTRException(30110, "Value is Null");
  return Evaluate(*root_);
}

bool FakeExpression::Evaluate(const Node& node) const {
  if (node.kind == Node::Kind::And)
    return std::ranges::all_of(node.operands, [this](const Node* operand) { return Evaluate(*operand); });
  const TVTRFieldDefs& fields = cursor_->TableFieldDefs;
  const int32_t field_no = fields.IndexOf(node.field);
  const bool is_null = GetBufferBit(field_no, record_);
  if (node.kind == Node::Kind::IsNull) return is_null;
  if (node.kind == Node::Kind::IsNotNull) return !is_null;
  if (is_null || node.constant.IsNull()) return false;
  const TVTRFieldDef& field = fields.GetFieldDef(field_no);
  TVTRVariant value;
  value.SetAsTyped(record_ + field.MemoryOffset, field.BaseType);
  TVTRCompareResult order =
      value.Compare(node.constant, {.case_insensitive = node.case_insensitive, .partial_key = node.partial});
  // A partial text matches the fields that begin with it, not the shorter ones.
  if (node.partial && order == crEqual && value.GetStringLength() < node.constant.GetStringLength())
    order = crLess;
  switch (node.op) {
    case kEqual:
      return order == crEqual;
    case kNotEqual:
      return order != crEqual;
    case kGreater:
      return order == crGreater;
    case kLess:
      return order == crLess;
    case kGreaterOrEqual:
      return order != crLess;
    default:
      return order != crGreater;
  }
}

bool FakeExpression::IsEmpty() const {
  return !root_ || (root_->kind == Node::Kind::And && root_->operands.empty());
}

std::vector<FakeExpression::Node*> FakeExpression::Conjuncts() const {
  if (!root_) return {};
  if (root_->kind == Node::Kind::And) return root_->operands;
  return {root_};
}

bool FakeExpression::CanUse(const Node& node, int32_t column, TVTRScanComparison kind, int32_t session_id,
                            const TVTRIndexDef& index) const {
  if (node.kind == Node::Kind::And || column >= index.GetColumnCount()) return false;
  if (!SameText(node.field, index.GetColumn(column).FieldName)) return false;
  if (column == 0 && index.Temporary && index.OwnerSessionID != session_id) return false;
  switch (node.kind) {
    case Node::Kind::Comparison:
      return node.constant.IsNumeric() && node.op != kNotEqual && (column == 0 || (kind == scEqual && node.op == kEqual));
    case Node::Kind::IsNull:
      return column == 0 || kind == scEqual;
    default:
      return column == 0;
  }
}

void FakeExpression::WriteKey(TVTRScanSearchCondition& condition, const Node& node) const {
  const int32_t field_no = cursor_->TableFieldDefs.IndexOf(node.field);
  uint8_t* key = condition.KeyBuffer();
  if (node.kind != Node::Kind::Comparison) {
    SetBufferBit(true, field_no, key);
    return;
  }
  const TVTRFieldDef& field = cursor_->TableFieldDefs.GetFieldDef(field_no);
  TVTRVariant value = node.constant;
  value.CastTo(field.BaseType);
  value.CopyToBuffer(key + field.MemoryOffset, field.MemoryDataSize);
  SetBufferBit(false, field_no, key);
}

void FakeExpression::CollectScanConditions(const TVTRIndexDefs& index_defs,
                                           TVTRScanSearchConditionArray& conditions, int32_t session_id) {
  for (Node* node : Conjuncts()) {
    for (int32_t i = 0; i < index_defs.GetCount(); ++i) {
      const TVTRIndexDef& index = index_defs.GetIndexDef(i);
      if (!CanUse(*node, 0, scNone, session_id, index)) continue;
      if (!cursor_) throw EVTRException(20054, "Pointer is nil");
      TVTRScanSearchCondition condition;
      condition.SetOwnedKey(VTRBufferPtr(cursor_->AllocRecordBuffer()), cursor_->RecordBufferSize);
      condition.Comparison = node->kind == Node::Kind::Comparison
                                 ? ComparisonOf(node->op, index.GetColumn(0).Descending)
                             : node->kind == Node::Kind::IsNull ? scEqual
                             : index.GetColumn(0).Descending    ? scBefore
                                                                : scAfter;
      condition.IndexID = index.ObjectID;
      condition.FromExpression = true;
      WriteKey(condition, *node);
      condition.KeyFieldCount = 1;
      condition.AddCovered(this, HandleOf(node));
      conditions.AddCondition(condition);
    }
  }
}

bool FakeExpression::CanUseIndex(TVTRScanSearchCondition& condition, const TVTRIndexDef& index_def) {
  if (condition.KeyFieldCount >= index_def.GetColumnCount()) return false;
  for (Node* node : Conjuncts()) {
    if (!CanUse(*node, condition.KeyFieldCount, condition.Comparison, -1, index_def)) continue;
    WriteKey(condition, *node);
    ++condition.KeyFieldCount;
    condition.AddCovered(this, HandleOf(node));
    return true;
  }
  return false;
}

void FakeExpression::RemoveScanConditionNode(const TVTRScanSearchConditionArray& conditions, int32_t first,
                                             int32_t second) {
  for (const int32_t position : {first, second}) {
    if (position < 0) continue;
    const TVTRScanSearchCondition& condition = conditions.GetItem(position);
    for (size_t k = 0; k < condition.CoveredNodes.size(); ++k) {
      if (condition.CoveredExpressions[k] != this) continue;
      Node* node = NodeOf(condition.CoveredNodes[k]);
      if (node == root_) {
        root_ = nullptr;
        continue;
      }
      const auto found = root_ ? std::ranges::find(root_->operands, node) : std::vector<Node*>::iterator{};
      if (!root_ || found == root_->operands.end()) throw EVTRException(20059, "Invalid index No (IndexOf)");
      root_->operands.erase(found);
    }
  }
}

void FakeExpression::AppendConjunct(TVTRExprNode* handle) {
  Node* node = NodeOf(handle);
  if (!root_)
    root_ = node;
  else
    root_->operands.push_back(node);
}
