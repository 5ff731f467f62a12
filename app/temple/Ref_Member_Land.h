#pragma once
// TRef_Member_Land: the register of the people who use temple land, the
// users named on the land usage vouchers. It is the member register on
// g_member_land: numbered in its own series, without nation and agent, and
// set up at every activation whatever the opener asked for. The land user
// shown last is left in myVar (PickedMemberNo, PickedMemberName) for the land
// voucher window.
#include "app/core/Ref_Member.h"

inline constexpr MemberRegisterSettings kLandUserRegister{
    "d_s_member_l", "g_member_land", "  ทะเบียนผู้ใช้งานที่ดิน (ที่ธรณีสงฆ์)", false, 100, false};

class TRef_Member_Land : public TRef_Member {
 public:
  explicit TRef_Member_Land(TComponent* owner) : TRef_Member(owner, kLandUserRegister) {}
};
