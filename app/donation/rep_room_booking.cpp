#include "app/donation/rep_room_booking.h"

#include "app/core/WindowParts.h"
#include "app/donation/CalculatedFields.h"
#include "app/donation/ReportParts.h"
#include "platform/rtl/DateTime.h"

namespace {

constexpr int kAllDates = 0;
constexpr int kOneDay = 1;
constexpr int kByBookingDate = 1;
constexpr int kNameCharacters = 50;
constexpr double kMarginMillimetres = 9.906;
constexpr int kColumnWidth = 120;

ReportLayout BookingLayout() {
  ReportLayout layout;
  layout.shape = ReportShape::Search;
  layout.alias = "d_rep_room_book";
  layout.caption = " รายงานการจองอาคาร - ที่ดิน";
  layout.title = "รายงานการจองอาคาร-ที่ดิน";
  layout.sort_caption = "  จัดเรียงโดย   ";
  layout.sort_items = {"เลขที่ห้อง", "วันที่จอง"};
  layout.statement = {"select * from h_booking_detail "};
  layout.order_lines = {" order by room_no  ", " order by book_date "};
  layout.print_buttons = {{"พิมพ์", "1"}};
  return layout;
}

}  // namespace

Trep_room_booking::Trep_room_booking(TComponent* owner, const WindowQueryFactory& make_query)
    : ReportWindow(owner, BookingLayout(), make_query),
      Query_Temp(*(lookup_ = make_query(*this, Layout().alias))),
      list_room(*(rooms_ = make_query(*this, Layout().alias))),
      DataSource2(new TDataSource(this)),
      room_names_(Query_Temp,
                  {"select accessory_no, accessory_name from g_room where accessory_no =:q_t_no order by accessory_no "},
                  "q_t_no", 1),
      member_names_(Query_Temp, {"select mem_no, mem_name from g_member where mem_no =:q_t_no order by mem_name "},
                    "q_t_no", 1) {
  RunButton->SetCaption("ประมวลผล");
  QuitButton.SetCaption("เลิก");
  constexpr int kCriteriaWidth = 600;
  for (TControl* control : std::vector<TControl*>{RadioGroup1, RunButton, &QuitButton}) {
    control->SetLeft(control->Left() + kCriteriaWidth);
  }
  for (TButton* button : PrintButtons) button->SetLeft(button->Left() + kCriteriaWidth);

  Label1 = &MakeLabel(*this, "Label1", "เลขที่อาคาร - ที่ดินที่ต้องการค้นหา", 8, 8, 200, &Panel1);
  Edit1 = &MakeControl<TEdit>(*this, "Edit1", 8, 28, 160, 25, &Panel1);
  Edit1->OnKeyPress = Bind(this, &Trep_room_booking::Edit1KeyPress);
  Button1 = &MakeControl<TButton>(*this, "Button1", 172, 28, 30, 25, &Panel1);
  Button1->SetCaption("?");
  Button1->OnClick = Bind(this, &Trep_room_booking::Button1Click);
  RadioGroup5 = &MakeControl<TRadioGroup>(*this, "RadioGroup5", 212, 2, 170, 60, &Panel1);
  RadioGroup5->SetCaption("  แสดงห้องพัก  ");
  RadioGroup5->SetItems({"ห้องพักทั้งหมด", "เฉพาะห้องที่กำหนด"});
  RadioGroup5->SetItemIndex(0);
  RadioGroup3 = &MakeControl<TRadioGroup>(*this, "RadioGroup3", 390, 2, 200, 60, &Panel1);
  RadioGroup3->SetCaption("  วันที่ต้องการให้แสดงผล  ");
  RadioGroup3->SetItems({"ทั้งหมด", "เฉพาะวันที่"});
  Label22 = &MakeLabel(*this, "Label22", "ระบุวันที่", 390, 66, 60, &Panel1);
  DateTimePicker3 = &MakeControl<TDateTimePicker>(*this, "DateTimePicker3", 452, 64, 120, 25, &Panel1);

  Panel2 = &MakeControl<TPanel>(*this, "RoomPanel", 40, 40, 420, 300, &ResultPage);
  Panel2->SetVisible(false);
  DataSource2->SetDataSet(&list_room.Rows());
  RoomGrid = &MakeControl<TDBGrid>(*this, "RoomGrid", 4, 4, 412, 250, Panel2);
  RoomGrid->SetReadOnly(true);
  RoomGrid->SetDataSource(DataSource2);
  RoomGrid->OnDblClick = Bind(this, &Trep_room_booking::PickRoom);
  ShowColumns(*RoomGrid, {{"accessory_no", "เลขที่อาคาร-ที่ดิน"}, {"accessory_name", "ชื่ออาคาร-ที่ดิน"}});
  Button2 = &MakeControl<TButton>(*this, "Button2", 4, 262, 80, 25, Panel2);
  Button2->SetCaption("ตกลง");
  Button2->OnClick = Bind(this, &Trep_room_booking::PickRoom);
  Button3 = &MakeControl<TButton>(*this, "Button3", 90, 262, 80, 25, Panel2);
  Button3->SetCaption("ยกเลิก");
  Button3->OnClick = [this](TObject*) { Panel2->SetVisible(false); };

  ShowColumns(*DBGrid1, {{"book_id", "เลขใบจอง"},
                         {"room_no", "เลขอาคาร-ที่ดิน"},
                         {"m_room_name", "ชื่ออาคาร-ที่ดิน"},
                         {"m_mem_name", "ชื่อฆราวาส"},
                         {"book_beg", "วันเริ่ม"},
                         {"book_end", "วันสิ้นสุด"}});

  SetLetterPaper(QuickRep1, kMarginMillimetres);
  TitleLabel.Font().SetSize(16);
  TDataSet& rows = Query1.Rows();
  int left = 0;
  for (const auto& [caption, field] :
       {std::pair{"เลขที่จอง", "room_no"}, std::pair{"ชื่ออาคาร-ที่ดิน", "m_room_name"},
        std::pair{"ตั้งแต่วันที่", "book_beg"}, std::pair{"ถึงวันที่", "book_end"}, std::pair{"ชื่อผู้จอง", "m_mem_name"}}) {
    PrintedCaption(ColumnHeaderBand, std::string("Caption_") + field, caption, left);
    PrintedField(DetailBand, rows, std::string("Line_") + field, field, left);
    left += kColumnWidth;
  }
  TQRBand& footer = AddBand(QuickRep1, rbPageFooter);
  auto& rule = *new TQRShape(&footer);
  rule.SetShape(qrsHorLine);
  rule.SetBounds(0, 0, left, 2);
  auto& printed_on = *new TQRSysData(&footer);
  printed_on.SetData(qrsDate);
  printed_on.SetTop(6);

  OnCreate = Bind(this, &Trep_room_booking::FormCreate);
  OnActivate = Bind(this, &Trep_room_booking::FormActivate);
}

Trep_room_booking::~Trep_room_booking() = default;

void Trep_room_booking::FormCreate(TObject* sender) {
  ReportWindow::FormCreate(sender);
  // The window runs nothing before its first activation.
  RadioGroup1->OnClick = nullptr;
  RadioGroup1->SetItemIndex(kByBookingDate);
}

void Trep_room_booking::FormActivate(TObject* sender) {
  if (!SetupPending()) return;
  ReportWindow::FormActivate(sender);
  Panel2->SetVisible(false);
  DateTimePicker3->SetDate(Date());
  RadioGroup3->SetItemIndex(kAllDates);
  RadioGroup3->SetItemIndex(kOneDay);
  RadioGroup3Click(nullptr);
  Edit1->SetText(kAllRooms);
  Run();
  // Every choice runs from here on.
  RadioGroup1->OnClick = [this](TObject*) { RunWithRoom(); };
  RadioGroup5->OnClick = Bind(this, &Trep_room_booking::RadioGroup5Click);
  RadioGroup3->OnClick = Bind(this, &Trep_room_booking::RadioGroup3Click);
  DateTimePicker3->OnChange = [this](TObject*) { RunWithRoom(); };
  DateTimePicker3->OnCloseUp = [this](TObject*) { RunWithRoom(); };
}

void Trep_room_booking::AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) {
  room_names_.Forget();
  member_names_.Forget();
  lines.push_back(RadioGroup5->ItemIndex() == 0 ? " where not room_no =:q_room_no " : " where room_no =:q_room_no ");
  parameters.push_back({"q_room_no", Variant(Edit1->Text())});
  if (RadioGroup3->ItemIndex() == kOneDay) {
    lines.push_back(" and ((book_beg <=:mBegin) and (book_end >=:mBegin)) ");
    parameters.push_back({"mBegin", Variant::Date(DateTimePicker3->Date())});
  }
}

void Trep_room_booking::RunDone() {
  AddCalculatedFieldsAtFirstRun(*this, [this](TDataSet& rows) {
    room_no_ = rows.FieldByName("room_no");
    mem_no_ = rows.FieldByName("mem_no");
    m_room_name_ = &AddCalculatedField(rows, *this, "m_room_name", kNameCharacters);
    m_mem_name_ = &AddCalculatedField(rows, *this, "m_mem_name", kNameCharacters);
    rows.OnCalcFields = Bind(this, &Trep_room_booking::Query2CalcFields);
  });
}

void Trep_room_booking::Query2CalcFields(TDataSet*) {
  m_room_name_->SetAsString(room_names_.Find(room_no_->AsString()));
  m_mem_name_->SetAsString(member_names_.Find(mem_no_->AsString()));
}

void Trep_room_booking::RunWithRoom() {
  if (!Edit1->Text().empty()) Run();
}

void Trep_room_booking::Edit1KeyPress(TObject*, char32_t&) {
  // The run reads the box as it was before the key.
  RunWithRoom();
}

void Trep_room_booking::RadioGroup5Click(TObject*) {
  Edit1->SetText(RadioGroup5->ItemIndex() == 0 ? kAllRooms : "");
  RunWithRoom();
}

void Trep_room_booking::RadioGroup3Click(TObject* sender) {
  const bool one_day = RadioGroup3->ItemIndex() == kOneDay;
  Label22->SetVisible(one_day);
  DateTimePicker3->SetVisible(one_day);
  if (one_day) DateTimePicker3->SetDate(Date());
  if (sender != nullptr) RunWithRoom();
}

void Trep_room_booking::Button1Click(TObject*) {
  list_room.Open({{"select accessory_no, accessory_name from g_room "}, {}});
  Panel2->SetVisible(true);
}

void Trep_room_booking::PickRoom(TObject*) {
  Panel2->SetVisible(false);
  TDataSet& rooms = list_room.Rows();
  if (rooms.Active() && !rooms.IsEmpty()) Edit1->SetText(rooms.FieldByName("accessory_no")->AsString());
}
