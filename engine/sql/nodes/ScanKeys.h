#pragma once
// What comparison and IS [NOT] NULL nodes share to offer index conditions:
// finding the searched field and the key value among the operands, and
// writing key values into a condition's key.
#include "engine/sql/nodes/ExprNodeField.h"

// The operands of a comparison that can give an index condition: a field
// reference of the searched table and a key value, fixed for the scan (a
// constant or an outer reference). When both operands qualify for a role,
// the second takes it.
struct TVTRScanOperands {
  TVTRExprNodeField* field = nullptr;
  TVTRExprNode* key = nullptr;
  bool field_is_right = false;
};
TVTRScanOperands FindScanOperands(TVTRExprNode& left, TVTRExprNode& right);

// A field reference of the searched table (not correlated).
TVTRExprNodeField* InnerField(TVTRExprNode& node);

// Whether the reference's field is the index column at that position, and,
// for the first column, whether the index is usable by the session.
bool FieldIsIndexColumn(const TVTRExprNodeField& field, int32_t column, int32_t session_id,
                        const TVTRIndexDef& index);

// Starts a condition of the index: a fresh key of the field's cursor with
// all fields NULL, no key column yet.
void StartScanCondition(TVTRScanSearchCondition& condition, const TVTRExprNodeField& field,
                        const TVTRIndexDef& index);
// Writes the value into the condition's key at the field's place and counts
// one more key column.
void AddKeyValue(TVTRScanSearchCondition& condition, const TVTRExprNodeField& field, const TVTRVariant& value);

// Whether a key value of that type searches the field's index as the
// comparison compares: both text, both numbers, both dates and times, or
// the same type otherwise.
bool SameTypeFamily(TVTRBaseDataType field_type, TVTRBaseDataType value_type);
