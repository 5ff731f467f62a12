#pragma once
// A field reference, bound to a cursor: it reads its value from a record
// buffer at the table field's offset. Ordinary fields are read in place, so
// the result refers to the buffer's bytes and is valid while the buffer is;
// BLOB fields are read whole through the cursor's table.
#include <string>

#include "engine/sql/nodes/ExprNode.h"

class TVTRExprNodeField : public TVTRExprNode {
 public:
  // Binds to the cursor at once when one is given.
  TVTRExprNodeField(std::string table_name, std::string field_name, TVTRCursor* cursor);

  // NULL when the field's null flag is set. Without a record buffer: 30196.
  TVTRVariant& GetValue() override;
  // Looks the name up among the cursor's table fields, then among its
  // visible fields by output name; an outer reference looks in the outer
  // cursor only. A nil cursor raises 30202, an inner field found nowhere 30115.
  void AssignCursor(TVTRCursor* cursor, TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;
  void AssignRecordBuffer(const uint8_t* buffer, int32_t outer_side) override;
  // Unbound: 30284.
  TVTRAdvancedDataType GetDataType() override;
  // The field's declared size.
  int32_t GetDataSize() override { return data_size_; }
  void MatchSelectList(std::span<const TVTRSelectListItem> items) override;

  const std::string& TableName() const { return table_name_; }
  const std::string& FieldName() const { return field_name_; }
  bool IsBound() const { return field_no_ >= 0; }
  TVTRBaseDataType BaseType() const { return base_type_; }

 private:
  // Binds to the field of that name; false when the cursor has none.
  bool LookUp(TVTRCursor& cursor);
  void Unbind();
  // Reads the BLOB value of the buffer's record into the result.
  void ReadBlob();

  std::string table_name_;
  std::string field_name_;
  TVTRCursor* cursor_ = nullptr;
  const uint8_t* buffer_ = nullptr;
  int32_t field_no_ = -1;  // of the table field
  int32_t offset_ = 0;
  int32_t memory_size_ = 0;
  TVTRAdvancedDataType data_type_ = adtUnknown;
  TVTRBaseDataType base_type_ = bdtUnknown;
  int32_t data_size_ = 0;
  bool outer_ = false;  // resolved in an outer input: a correlated reference
};

// The field reference the node is, or nil.
TVTRExprNodeField* AsField(TVTRExprNode& node);
