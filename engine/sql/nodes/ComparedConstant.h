#pragma once
// A comparison of a field with a constant would convert the constant to
// their common type at every evaluation; converting it once when the tree is
// prepared gives the same results and lets evaluation compare the record's
// bytes in place.
#include "engine/sql/nodes/ExprNode.h"

// When `field` is a bound field reference and `constant` a constant: a wide
// text constant compared with an ANSI text field becomes ANSI text, and a
// constant whose common type with the field is the field's own type takes
// that type. A conversion that fails is left for the evaluation to report.
void PrepareComparedConstant(TVTRExprNode& field, TVTRExprNode& constant);
