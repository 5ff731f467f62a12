#pragma once
// A field reference, bound to a cursor or to a column of an operator node.
// Bound to a cursor it reads its value from a record buffer at the table
// field's offset: ordinary fields in place, so the result refers to the
// buffer's bytes and is valid while the buffer is; BLOB fields whole through
// the cursor's table. Bound to a node it reads the column's current value.
#include <string>

#include "engine/sql/nodes/ExprNode.h"

class TVTRExprNodeField : public TVTRExprNode {
 public:
  // Binds to the cursor at once when one is given.
  TVTRExprNodeField(std::string table_name, std::string field_name, TVTRCursor* cursor);

  // NULL when the field's null flag is set. Bound to neither a record
  // buffer nor a node: 30196.
  TVTRVariant& GetValue() override;
  // Binds to the one column of `ao` of that name (making it visible), else
  // of `outer_ao`; a correlated reference to `outer_cursor`. Found nowhere,
  // while not bound to a node before: 30197.
  void AssignAO(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;
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
  // Whether exactly one column of `ao`, else of `outer_ao`, or a field of
  // `outer_cursor` has the name; the latter two make the reference correlated.
  bool CanEvaluateOn(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;
  bool IsOuter() const { return outer_; }
  // The cursor and table field the reference is bound to (nil and -1 when
  // it is not bound to a cursor).
  TVTRCursor* BoundCursor() const { return cursor_; }
  int32_t TableFieldNo() const { return cursor_ ? field_no_ : -1; }

  const std::string& TableName() const { return table_name_; }
  const std::string& FieldName() const { return field_name_; }
  bool IsBound() const { return field_no_ >= 0; }
  TVTRBaseDataType BaseType() const { return base_type_; }

 private:
  // Binds to the field of that name; false when the cursor has none.
  bool LookUp(TVTRCursor& cursor);
  void Unbind();
  bool BindToColumn(TVTRAO* ao);
  // Reads the BLOB value of the buffer's record into the result.
  void ReadBlob();

  std::string table_name_;
  std::string field_name_;
  TVTRCursor* cursor_ = nullptr;
  TVTRAO* ao_ = nullptr;
  const uint8_t* buffer_ = nullptr;
  int32_t field_no_ = -1;  // of the table field, or the node's column
  int32_t offset_ = 0;
  int32_t memory_size_ = 0;
  TVTRAdvancedDataType data_type_ = adtUnknown;
  TVTRBaseDataType base_type_ = bdtUnknown;
  int32_t data_size_ = 0;
  bool outer_ = false;  // resolved in an outer input: a correlated reference
};

// The field reference the node is, or nil.
TVTRExprNodeField* AsField(TVTRExprNode& node);
