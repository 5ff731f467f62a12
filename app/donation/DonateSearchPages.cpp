// The two pages of the donation window beside the header: the staff picker
// and the search for a donation by its number.
#include <string>
#include <vector>

#include "app/core/WindowParts.h"
#include "app/donation/ReportParts.h"
#include "app/donation/cdonate.h"
#include "platform/db/DB.h"

namespace {

constexpr int kByNumber = 0;

// Moves `rows` to the first row whose `field` starts with `text`.
bool LocatePrefix(TDataSet& rows, const char* field, const std::string& text) {
  return rows.Active() && rows.Locate(field, Variant(text), {loPartialKey});
}

}  // namespace

void Tdonate::BuildStaffPage() {
  RadioGroup3.SetItems({"รหัส", "ชื่อ"});
  RadioGroup3.SetColumns(2);
  RadioGroup3.SetItemIndex(kByNumber);
  RadioGroup3.OnClick = Bind(this, &Tdonate::RadioGroup3Click);
  Edit11.OnKeyPress = Bind(this, &Tdonate::Edit11KeyPress);
  DBGrid5.SetDataSource(&DataSource5);
  DBGrid5.SetReadOnly(true);
  ShowColumns(DBGrid5, {{"per_no", "รหัส"}, {"per_name", "ชื่อ"}});
  DBGrid5.OnCellClick = Bind(this, &Tdonate::DBGrid5CellClick);
  Button22.OnClick = Bind(this, &Tdonate::Button22Click);
}

void Tdonate::BuildSearchPage() {
  Edit6.OnKeyPress = Bind(this, &Tdonate::Edit6KeyPress);
  DBGrid1.SetDataSource(&DataSource9);
  DBGrid1.SetReadOnly(true);
  ShowColumns(DBGrid1, {{"bill_no", "เลขบริจาค"}, {"bill_date", "วันที่บริจาค"}, {"cust_name", "ชื่อผู้บริจาค"}});
  DBGrid1.OnCellClick = [this](TColumn*) { DBGrid1Pick(); };
  DBGrid1.OnDblClick = [this](TObject*) { DBGrid1Pick(); };
  DBGrid1.OnKeyPress = [this](TObject*, char32_t& key) {
    if (key != U'\r') return;
    key = 0;
    DBGrid1Pick();
  };
  Button1.OnClick = Bind(this, &Tdonate::Button1Click);
}

void Tdonate::OpenStaffList(std::string_view order) {
  Query_Person.Open({{" select per_no, per_name from h_person ", std::string(order)}, {}});
}

void Tdonate::Button15Click(TObject*) {
  PageControl1.SetActivePage(&TabSheet3);
  Edit11.Clear();
  Edit11.SetFocus();
}

void Tdonate::RadioGroup3Click(TObject*) {
  const bool by_number = RadioGroup3.ItemIndex() == kByNumber;
  Label21.SetCaption(by_number ? "ค้นหาโดยรหัส" : "ค้นหาโดยชื่อ");
  OpenStaffList(by_number ? " order by per_no " : " order by per_name ");
  Edit11.SetFocus();
}

void Tdonate::Edit11KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  LocatePrefix(Query_Person.Rows(), RadioGroup3.ItemIndex() == kByNumber ? "per_no" : "per_name", Edit11.Text());
  Button22.SetFocus();
}

void Tdonate::DBGrid5CellClick(TColumn*) {
  TDataSet& staff = Query_Person.Rows();
  if (!staff.Active() || staff.IsEmpty()) return;
  Edit11.SetText(staff.FieldByName(RadioGroup3.ItemIndex() == kByNumber ? "per_no" : "per_name")->AsString());
}

void Tdonate::Button22Click(TObject*) {
  PageControl1.SetActivePage(&TabSheet1);
  TDataSet& staff = Query_Person.Rows();
  if (!staff.Active() || staff.IsEmpty()) return;
  staff_no_ = staff.FieldByName("per_no")->AsString();
  Edit18.SetText(staff.FieldByName("per_name")->AsString());
}

void Tdonate::Button2Click(TObject*) {
  Button2.Hide();
  DBNavigator1.Hide();
  PageControl1.SetActivePage(&find_member);
  Edit6.Clear();
  Edit6.SetFocus();
}

void Tdonate::Edit6KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  if (LocatePrefix(q_f_master.Rows(), "bill_no", Edit6.Text())) Button1.SetFocus();
}

void Tdonate::DBGrid1Pick() {
  TDataSet& donations = q_f_master.Rows();
  if (donations.Active() && !donations.IsEmpty()) Edit6.SetText(donations.FieldByName("bill_no")->AsString());
  Button1.SetFocus();
}

void Tdonate::Button1Click(TObject*) {
  Button2.Show();
  DBNavigator1.Show();
  PageControl1.SetActivePage(&TabSheet1);
}
