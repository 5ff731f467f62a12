#pragma once
// Tadd_edit_land: the land usage voucher window, the usage voucher window on
// the plots of g_land with the land users of g_member_land, numbered under
// PREFIX1 + "2" and printed in the layout of VIEW1.
#include "app/temple/add_edit.h"

class Tadd_edit_land : public Tadd_edit {
 public:
  explicit Tadd_edit_land(TComponent* owner);
  Tadd_edit_land(TComponent* owner, const WindowQueryFactory& make_query);
};
