#include "engine/sql/nodes/ExprNodeBlob.h"

#include "engine/foundation/cipher/StringFormatHex.h"
#include "engine/sql/nodes/TextValues.h"

TVTRExprNodeBlob::TVTRExprNodeBlob(TVTRExprNodePtr text) : TVTRExprNode(eoMimeToBin) {
  AppendOperand(std::move(text));
}

TVTRVariant& TVTRExprNodeBlob::GetValue() {
  const TVTRVariant& text = Operand(0).GetValue();
  SetTextValue(result_, TStringFormat_MIME64().DecodeText(text.GetAsString()));
  return result_;
}
