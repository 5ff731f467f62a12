#pragma once
// Trep_room_booking: the bookings of the temple's buildings and land, of all
// or of one building (picked from the list), over all dates or those that
// cover one day, with the building's and the booker's names, and their print.
// A day's bookings are those that begin on or before it and end on or after
// it; "ทั้งหมด" sets no date condition at all.
#include <memory>

#include "app/core/ReportWindow.h"
#include "app/core/SqlWindowQuery.h"
#include "app/donation/NameLookup.h"

inline constexpr const char* kAllRooms = "ทั้งหมด";

class Trep_room_booking : public ReportWindow {
  // First, as the references below are made from them.
  std::unique_ptr<WindowQuery> lookup_;
  std::unique_ptr<WindowQuery> rooms_;

 public:
  explicit Trep_room_booking(TComponent* owner, const WindowQueryFactory& make_query = SqlQueries());
  ~Trep_room_booking() override;

  WindowQuery& Query_Temp;  // the name look-ups
  WindowQuery& list_room;   // the room pick
  TDataSource* DataSource2;
  TLabel* Label1;
  TButton* Button1;          // "?": the room pick
  TRadioGroup* RadioGroup5;  // all rooms or the one in Edit1
  TRadioGroup* RadioGroup3;  // all dates or one day
  TLabel* Label22;
  TDateTimePicker* DateTimePicker3;
  TPanel* Panel2;  // the room pick, named "RoomPanel" (the totals panel has the name)
  TDBGrid* RoomGrid;
  TButton* Button2;  // "ตกลง"
  TButton* Button3;  // "ยกเลิก"

 protected:
  void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) override;
  void RunDone() override;

 private:
  void FormCreate(TObject* sender);
  void FormActivate(TObject* sender);
  void Edit1KeyPress(TObject* sender, char32_t& key);
  void RadioGroup5Click(TObject* sender);
  void RadioGroup3Click(TObject* sender);
  void Button1Click(TObject* sender);
  void PickRoom(TObject* sender);
  void Query2CalcFields(TDataSet* rows);
  // The run, unless the room box is empty.
  void RunWithRoom();

  NameLookup room_names_;
  NameLookup member_names_;
  TField* room_no_ = nullptr;
  TField* mem_no_ = nullptr;
  TField* m_room_name_ = nullptr;
  TField* m_mem_name_ = nullptr;
};
