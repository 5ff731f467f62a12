#include "platform/report/internal/Expression.h"

#include "platform/db/DataSet.h"
#include "platform/report/Report.h"
#include "platform/report/ReportErrors.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TextCase.h"

namespace {

bool IsName(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    if (!letter && !(c >= '0' && c <= '9')) return false;
  }
  return !(text[0] >= '0' && text[0] <= '9');
}

}  // namespace

TQRFieldExpression ParseFieldExpression(std::string_view text, const std::string& item_name) {
  auto fail = [&]() -> TQRFieldExpression {
    throw EQuickReportError(Format("%s: cannot evaluate the expression '%s'", item_name, std::string(text)));
  };
  TQRFieldExpression expression;
  std::string rest = Trim(text);
  if (rest.size() > 4 && SameText(rest.substr(0, 3), "SUM") && rest.back() == ')') {
    const std::string opened = Trim(rest.substr(3));
    if (opened.front() != '(') return fail();
    expression.sum = true;
    rest = Trim(opened.substr(1, opened.size() - 2));
  }
  const size_t dot = rest.find('.');
  if (dot != std::string::npos) {
    expression.dataset = Trim(rest.substr(0, dot));
    rest = Trim(rest.substr(dot + 1));
    if (!IsName(expression.dataset)) return fail();
  }
  if (!IsName(rest)) return fail();
  expression.field = rest;
  return expression;
}

TField* ResolveField(const TQuickRep& report, const TQRFieldExpression& expression,
                     const std::string& item_name) {
  TDataSet* dataset = report.DataSet();
  if (!expression.dataset.empty() && (dataset == nullptr || !SameText(dataset->Name(), expression.dataset))) {
    TComponent* owner = report.Owner();
    dataset = dynamic_cast<TDataSet*>(owner != nullptr ? owner->FindComponent(expression.dataset) : nullptr);
    if (dataset == nullptr) {
      throw EQuickReportError(Format("%s: the dataset '%s' is not known", item_name, expression.dataset));
    }
  }
  if (dataset == nullptr) throw EQuickReportError(Format("%s: the report has no dataset", item_name));
  if (!dataset->Active()) return nullptr;
  return dataset->FieldByName(expression.field);
}
