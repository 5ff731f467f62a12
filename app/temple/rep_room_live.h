#pragma once
// Trep_room_live: the halls and buildings in one live state (RoomStatusFilter
// "0" free, "2" in use; any other value is taken as "2", the state both
// openers ask for) with the name of the member who uses each, found through
// its g_rent row: "ว่าง" for a free one, empty when no member is found.
// Browse and print, without the name box; "Refresh" lists again.
#include "app/core/ReportWindow.h"

class Trep_room_live : public ReportWindow {
 public:
  explicit Trep_room_live(TComponent* owner);
  Trep_room_live(TComponent* owner, const WindowQueryFactory& make_query);

 protected:
  void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) override;

 private:
  std::string live_;
};
