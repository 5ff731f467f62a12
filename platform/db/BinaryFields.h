#pragma once
// Fixed and variable-length byte fields. Their text is the raw bytes, their
// value a byte array. Native forms: Size bytes; a 16-bit length, then Size bytes.
#include <vector>

#include "platform/db/Field.h"

class TBytesField : public TField {
 public:
  explicit TBytesField(TComponent* owner) : TBytesField(owner, ftBytes) {}

  int DataSize() const override { return DataType() == ftVarBytes ? Size() + 2 : Size(); }
  std::vector<uint8_t> AsBytes() const;
  // A fixed field pads with zeros; both cut what does not fit.
  void SetAsBytes(const std::vector<uint8_t>& bytes);
  std::string AsString() const override;
  void SetAsString(const std::string& value) override;
  Variant Value() const override;
  // A byte array or a byte string.
  void SetValue(const Variant& value) override;

 protected:
  TBytesField(TComponent* owner, TFieldType type);
  void CheckTypeSize(int size) const override;
};

class TVarBytesField : public TBytesField {
 public:
  explicit TVarBytesField(TComponent* owner) : TBytesField(owner, ftVarBytes) {}
};
