#include "app/temple/rep_room_live.h"

#include <string>

#include "app/core/SqlWindowQuery.h"
#include "app/core/myVar.h"
#include "app/temple/ReportColumns.h"

namespace {

constexpr const char* kFree = "0";
constexpr const char* kInUse = "2";

std::string LiveState(const std::string& filter) {
  return filter == kFree ? kFree : kInUse;
}

ReportLayout RoomLiveLayout(const std::string& live) {
  const bool free = live == kFree;
  ReportLayout layout;
  layout.shape = ReportShape::BrowseAndPrint;
  layout.alias = "d_rep_room_free";
  layout.caption = free ? "รายงานอาคาร - ที่ดิน ที่ว่าง" : "รายงานอาคาร - ที่ดิน ที่ใช้งาน";
  layout.title = free ? "รายงานอาคาร - ที่ดิน ที่ว่าง" : "รายงานทะเบียนอาคาร - ที่ดิน ที่ใช้งาน";
  layout.top = 1;
  layout.left = 1;
  // The user of a room in use: the member whose number is the rent_no of the
  // room's g_rent row. A room has at most one g_rent row (nothing in the
  // programs writes more); a second one would list the room twice.
  layout.statement = {
      " select g_room.* , case when g_room.live = \"0\" then \"ว่าง\" else g_member.mem_name end as m_customer ",
      " from g_room left outer join g_rent on g_rent.room_no = g_room.accessory_no ",
      " left outer join g_member on g_member.mem_no = g_rent.rent_no "};
  layout.print_buttons = {{"พิมพ์", "1"}};
  layout.run_at_setup = true;
  return layout;
}

}  // namespace

Trep_room_live::Trep_room_live(TComponent* owner) : Trep_room_live(owner, SqlQueries()) {}

Trep_room_live::Trep_room_live(TComponent* owner, const WindowQueryFactory& make_query)
    : ReportWindow(owner, RoomLiveLayout(LiveState(myVar.RoomStatusFilter)), make_query),
      live_(LiveState(myVar.RoomStatusFilter)) {
  ShowAllButton->SetCaption("Refresh");
  Edit1->SetVisible(false);
  Edit1->SetEnabled(false);
  int left = 0;
  for (const auto& [title, field] : {std::pair{"รหัส", "accessory_no"}, std::pair{"ชื่ออาคาร - ที่ดิน", "accessory_name"},
                                     std::pair{"หน่วย", "unit"}, std::pair{"โซน", "zone"},
                                     std::pair{"ผู้ใช้งาน", "m_customer"}}) {
    PrintedColumn(*this, title, field, left);
    left += left == 0 ? 100 : 150;
  }
}

void Trep_room_live::AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>&) {
  lines.push_back(" where g_room.live = \"" + live_ + "\" ");
  lines.push_back(" order by g_room.accessory_no ");
}
