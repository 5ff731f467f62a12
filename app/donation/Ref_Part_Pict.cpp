#include "app/donation/Ref_Part_Pict.h"

#include <memory>

#include "app/core/RegisterSearchPanel.h"
#include "app/core/SqlRegisterRows.h"
#include "app/core/WorkingFolder.h"
#include "app/donation/StockOnHand.h"
#include "engine/access/Query.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/TextCase.h"
#include "platform/ui/Picture.h"

namespace {

constexpr const char* kAlias = "d_partpict";
constexpr const char* kNumberColumn = "pro_no";
constexpr const char* kPictureFolder = "picture";
constexpr const char* kPictureMask = "*.jpg";
constexpr const char* kStockCounted = "1";
constexpr const char* kStockNotCounted = "0";
constexpr const char* kTypeNames[] = {"วัตถุมงคล", "สินค้า-บริการ"};
constexpr int kRowHeight = 28;

// An edit may renumber an item: the update finds the row by the number it
// had when the edit began.
RegisterSql GoodsSql() {
  RegisterSql sql;
  sql.table = "product";
  sql.key_column = kNumberColumn;
  sql.insert = {" insert into product ",
                " (pro_no,pro_name,pro_type,pro_pict, ",
                " pro_unit,pro_group, ",
                " attrib,pro_bprice,pro_sprice, ",
                " tax_status,tax_rate,cut_stock,pro_rorder,warn_term,pro_total,pro_memo ) ",
                " values ",
                " (:ppro_no,:ppro_name,:ppro_type,:ppro_pict, ",
                " :ppro_unit,:ppro_group, ",
                " :pattrib,:ppro_bprice,:ppro_sprice, ",
                " :ptax_status,:ptax_rate,:pcut_stock,:ppro_rorder,:pwarn_term,:ppro_total,:ppro_memo ) "};
  sql.update = {{" update product ",
                 " set ",
                 " pro_no=:ppro_no,pro_name=:ppro_name, ",
                 " pro_type=:ppro_type,pro_pict=:ppro_pict, ",
                 " pro_unit=:ppro_unit,pro_group=:ppro_group, ",
                 " attrib=:pattrib,pro_bprice=:ppro_bprice, ",
                 " pro_sprice=:ppro_sprice, ",
                 " tax_status=:ptax_status,tax_rate=:ptax_rate,cut_stock=:pcut_stock, ",
                 " pro_rorder=:ppro_rorder,warn_term=:pwarn_term,pro_total=:ppro_total,pro_memo=:ppro_memo ",
                 " where pro_no =:qpro_no "},
                "qpro_no"};
  sql.remove = {{" delete from product ", " where pro_no =:ppro_no "}, "ppro_no"};
  sql.params = {{"ppro_no", kNumberColumn},
                {"ppro_name", "pro_name"},
                {"ppro_type", "pro_type"},
                {"ppro_pict", "pro_pict"},
                {"ppro_unit", "pro_unit"},
                {"ppro_group", "pro_group"},
                {"pattrib", "attrib"},
                {"ppro_bprice", "pro_bprice", ParamKind::kNumber},
                {"ppro_sprice", "pro_sprice", ParamKind::kNumber},
                {"ptax_status", "tax_status"},
                {"ptax_rate", "tax_rate", ParamKind::kNumber},
                {"pcut_stock", "cut_stock"},
                {"ppro_rorder", "pro_rorder", ParamKind::kNumber},
                {"pwarn_term", "warn_term"},
                {"ppro_total", "pro_total", ParamKind::kNumber},
                {"ppro_memo", "pro_memo"}};
  return sql;
}
constexpr int kBoxLeft = 150;

std::string PicturePath(const std::string& name) {
  return WorkingPath(std::string(kPictureFolder) + "/" + name);
}

}  // namespace

TRef_Part_Pict::TRef_Part_Pict(TComponent* owner)
    : RegisterWindow(owner, kAlias),
      RadioGroup3(new TRadioGroup(Panel1)),
      Edit1(LabelledBox("รหัส", 0, 13)),
      Edit2(LabelledBox("ชื่อ", 1)),
      Edit3(LabelledBox("ประเภท", 2)),
      Edit4(LabelledBox("หน่วยนับ", 3)),
      Edit5(LabelledBox("กลุ่มสินค้า", 4)),
      Edit9(LabelledBox("SN:", 5)),
      Edit10(LabelledBox("ราคาซื้อ", 6)),
      Edit11(LabelledBox("ราคาขาย", 7)),
      Edit13(LabelledBox("ตัด Stock 0=ไม่ 1= ตัด", 8, 1)),
      Edit14(LabelledBox("จำนวนต่ำสุดที่ต้องสั่งซื้อ", 9)),
      Memo1(new TMemo(Customer)),
      Label19(new TLabel(Customer)),
      Label20(new TLabel(Customer)),
      Image1(new TImage(Customer)),
      SpeedButton7(new TSpeedButton(Panel1)),
      table6_(*this, kAlias),
      query_temp_(*this, kAlias) {
  SetClientWidth(760);
  SetClientHeight(480);
  RadioGroup3->SetBounds(8 + 7 * 64 + 130, 0, 220, 34);
  RadioGroup3->SetCaption("  ประภท  ");
  RadioGroup3->SetColumns(2);
  RadioGroup3->SetItems({kTypeNames[0], kTypeNames[1]});
  RadioGroup3->SetItemIndex(0);
  RadioGroup3->OnClick = Bind(this, &TRef_Part_Pict::RadioGroup3Click);
  auto* number_hint = new TLabel(Customer);
  number_hint->SetBounds(kBoxLeft + 230, 11, 120, 16);
  number_hint->SetCaption("( ไม่เกิน 13 หลัก )");
  Edit1->SetWidth(220);
  Edit3->SetColor(clYellow);
  Edit3->SetReadOnly(true);
  Memo1->SetBounds(kBoxLeft, 8 + 10 * kRowHeight, 300, 60);
  auto* stock_label = new TLabel(Customer);
  stock_label->SetBounds(470, 8, 80, 16);
  stock_label->SetCaption("จำนวนที่มี");
  Label19->SetBounds(560, 8, 100, 16);
  auto* picture_label = new TLabel(Customer);
  picture_label->SetBounds(470, 32, 80, 16);
  picture_label->SetCaption("รหัสรูป");
  Label20->SetBounds(560, 32, 180, 16);
  Image1->SetBounds(470, 56, 260, 260);
  Image1->SetStretch(true);
  SpeedButton7->SetBounds(8 + 7 * 64 + 360, 4, 48, 28);
  SpeedButton7->SetCaption("รูป");
  SpeedButton7->SetFlat(true);
  SpeedButton7->OnClick = Bind(this, &TRef_Part_Pict::SpeedButton7Click);

  // The set-up opens the list on sacred objects.
  const QueryStatement sacred_objects = ProductsOf("0");
  for (const std::string& line : sacred_objects.lines) table6_.Query().SQL().Add(line);
  table6_.Query().ParamByName("ppro_type")->SetValue(sacred_objects.parameters.front().value);

  RegisterDefinition definition;
  definition.caption = kGoodsRegisterCaption;
  definition.top = 2;
  definition.left = 2;
  definition.list = &table6_.Rows();
  definition.rows = std::make_unique<SqlRegisterRows>(this, kAlias, GoodsSql());
  definition.columns = {{kNumberColumn, Edit1}, {"pro_name", Edit2}, {"pro_unit", Edit4},    {"pro_group", Edit5},
                        {"attrib", Edit9},      {"pro_bprice", Edit10}, {"pro_sprice", Edit11}, {"cut_stock", Edit13}};
  definition.key_column = kNumberColumn;
  definition.key_box = Edit1;
  definition.key_editable = true;
  definition.name_box = Edit2;
  definition.enter_order = {Edit1, Edit2, Edit4, Edit5, Edit9, Edit10, Edit11, Edit13, Edit14, Memo1};
  definition.guard_box = Edit1;
  definition.guard_message = kGoodsIncomplete;
  definition.guard_focus = Edit1;
  Define(std::move(definition));
  AddOwnButtons({SpeedButton7}, {RadioGroup3});
  AddSearch(kNumberColumn, "pro_name", "");
  BitBtn1->SetBounds(kBoxLeft + 310, 8, 24, 24);
  BuildPicturePage();
}

TEdit* TRef_Part_Pict::LabelledBox(const char* caption, int row, int max_length) {
  return EntryBox(caption, 8, 8 + row * kRowHeight, kBoxLeft, 300, max_length);
}

void TRef_Part_Pict::BuildPicturePage() {
  TabSheet2 = new TTabSheet(this);
  TabSheet2->SetPageControl(RefSheet);
  TabSheet2->SetTabVisible(false);
  FileListBox1 = new TFileListBox(TabSheet2);
  FileListBox1->SetBounds(8, 8, 220, 300);
  FileListBox1->SetMask(kPictureMask);
  FileListBox1->OnClick = Bind(this, &TRef_Part_Pict::FileListBox1Click);
  Image2 = new TImage(TabSheet2);
  Image2->SetBounds(240, 8, 260, 260);
  Image2->SetStretch(true);
  Button2 = new TButton(TabSheet2);
  Button2->SetBounds(240, 280, 120, 28);
  Button2->SetCaption("กลับ/ใช้รูปนี้");
  Button2->OnClick = Bind(this, &TRef_Part_Pict::Button2Click);
  Button4 = new TButton(TabSheet2);
  Button4->SetBounds(370, 280, 120, 28);
  Button4->SetCaption("กลับ/ยกเลิก");
  Button4->OnClick = Bind(this, &TRef_Part_Pict::Button4Click);
}

std::string TRef_Part_Pict::ListedType() const {
  return RadioGroup3->ItemIndex() == 1 ? "1" : "0";
}

QueryStatement TRef_Part_Pict::ProductsOf(const std::string& type) {
  return {{" select * from product ", " where pro_type =:ppro_type ", " order by pro_no "},
          {{"ppro_type", Variant(type)}}};
}

void TRef_Part_Pict::LoadProducts(const std::string& type) {
  table6_.Open(ProductsOf(type));
}

std::string TRef_Part_Pict::TypeNameOf(const std::string& code) {
  query_temp_.Open({{"select type_no, type_name from type where type_no =:q_t_no order by type_no "},
                    {{"q_t_no", Variant(code)}}});
  TDataSet& types = query_temp_.Rows();
  std::string name = types.IsEmpty() ? std::string() : types.FieldByName("type_name")->AsString();
  types.Close();
  return name;
}

void TRef_Part_Pict::ShowProduct() {
  RegisterWindow::LoadRow();
  const bool empty = Table1->IsEmpty();
  const auto text = [this](const char* column) { return Table1->FieldByName(column)->AsString(); };
  Edit3->SetText(empty ? std::string() : TypeNameOf(text("pro_type")));
  Edit14->SetText(empty ? std::string() : text("pro_rorder"));
  Memo1->SetText(empty ? std::string() : text("pro_memo"));
  const std::string cut_stock = empty ? std::string() : text("cut_stock");
  if (cut_stock == kStockCounted) {
    Label19->SetCaption(FloatToStr(
        StockOnHand(kAlias, text(kNumberColumn), Table1->FieldByName("pro_total")->AsFloat())));
  } else {
    Label19->SetCaption(cut_stock == kStockNotCounted ? "0" : "");
  }
  picture_name_ = empty ? std::string() : text("pro_pict");
  ShowPicture(picture_name_);
}

void TRef_Part_Pict::ShowPicture(const std::string& name) {
  Label20->SetCaption(name);
  try {
    Image1->LoadFromFile(PicturePath(name.empty() ? kGoodsPlaceholderPicture : name));
    return;
  } catch (const EInvalidGraphic&) {
    if (!name.empty()) Label20->SetCaption(kGoodsPictureMissing);
  }
  try {
    Image1->LoadFromFile(PicturePath(kGoodsPlaceholderPicture));
  } catch (const EInvalidGraphic&) {
    Image1->Clear();
  }
}

void TRef_Part_Pict::AddDefaults() {
  Memo1->Clear();
  Edit10->SetText("0");
  Edit11->SetText("0");
  Edit13->SetText(kStockCounted);
  Edit3->SetText(kTypeNames[RadioGroup3->ItemIndex() == 1 ? 1 : 0]);
  Label19->SetCaption({});
  picture_name_ = kGoodsPlaceholderPicture;
  ShowPicture(picture_name_);
}

void TRef_Part_Pict::SetBoxesReadOnly(bool read_only) {
  RegisterWindow::SetBoxesReadOnly(read_only);
  Memo1->SetReadOnly(read_only);
}

bool TRef_Part_Pict::EntryAccepted() {
  // The reorder quantity goes into a number column: a text that is none stops
  // the save; an empty one is none to reorder.
  if (!Trim(Edit14->Text()).empty()) StrToFloat(Edit14->Text());
  return true;
}

RowValues TRef_Part_Pict::BoxValues() const {
  RowValues values = RegisterWindow::BoxValues();
  values.insert(values.end(), {{"pro_type", ListedType()},
                               {"pro_pict", picture_name_},
                               {"pro_rorder", Trim(Edit14->Text()).empty() ? "0" : Edit14->Text()},
                               {"pro_memo", Memo1->Text()},
                               {"tax_status", "0"},
                               {"tax_rate", "0"},
                               {"warn_term", "-"},
                               {"pro_total", "0"}});
  return values;
}

void TRef_Part_Pict::RadioGroup3Click(TObject*) {
  LoadProducts(ListedType());
}

void TRef_Part_Pict::SpeedButton7Click(TObject*) {
  Panel1->Hide();
  RefSheet->SetActivePage(TabSheet2);
  FileListBox1->SetDirectory(WorkingPath(kPictureFolder));
  Image2->Clear();
  name_before_page_ = picture_name_;
  Label20->SetCaption({});
}

void TRef_Part_Pict::FileListBox1Click(TObject*) {
  if (FileListBox1->ItemIndex() < 0) return;
  try {
    Image2->LoadFromFile(FileListBox1->FileName());
  } catch (const EInvalidGraphic&) {
    Image2->Clear();
  }
}

void TRef_Part_Pict::Button2Click(TObject*) {
  ReturnFromPicturePage();
  if (FileListBox1->ItemIndex() >= 0) picture_name_ = FileListBox1->Items()[FileListBox1->ItemIndex()];
  ShowPicture(picture_name_);
}

void TRef_Part_Pict::Button4Click(TObject*) {
  ReturnFromPicturePage();
  picture_name_ = name_before_page_;
  ShowPicture(picture_name_);
}

void TRef_Part_Pict::ReturnFromPicturePage() {
  RefSheet->SetActivePage(Customer);
  Panel1->Show();
}
