#include "app/core/TempleSchema.h"

#include <initializer_list>
#include <utility>

#include "engine/access/AdvIndexDefs.h"

namespace {

using Columns = std::vector<ColumnDefinition>;

Columns Join(std::initializer_list<Columns> parts) {
  Columns joined;
  for (const Columns& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

// name0 ... name9 (or from `first` to `last`), all of one type.
Columns Numbered(const std::string& name, TVTRAdvancedDataType type, int32_t size = 0, int first = 0,
                 int last = 9) {
  Columns columns;
  for (int i = first; i <= last; ++i) columns.push_back({name + std::to_string(i), type, size});
  return columns;
}

IndexDefinition Unique(std::string column) {
  return {column, column, kIndexUniqueBit};
}
// Lines are read by their document's number; a plain index serves them.
IndexDefinition ByDocument(std::string column) {
  return {column, column, 0};
}
IndexDefinition Key(std::string name, std::string column) {
  return {std::move(name), std::move(column), kIndexPrimaryBit | kIndexUniqueBit};
}

// ---- Registers.

Columns PersonColumns() {
  return {{"per_no", adtString, 13},      {"per_name", adtString, 50},
          {"per_pict", adtString, 17},    {"per_card", adtString, 13},
          {"per_birth", adtDate},         {"per_grade", adtString, 1},
          {"per_section", adtString, 40}, {"per_posi", adtString, 40},
          {"per_edu", adtString, 40},     {"per_beg", adtDate},
          {"per_end", adtDate},           {"per_add1", adtString, 80},
          {"per_add2", adtString, 80},    {"per_add4", adtString, 80},
          {"per_zip", adtString, 5},      {"per_tel", adtString, 25},
          {"per_fax", adtString, 25},     {"per_email", adtString, 80},
          {"per_percent", adtFloat},      {"per_count", adtFloat},
          {"per_salary", adtFloat},       {"per_nick_name", adtString, 50},
          {"per_edu1", adtString, 40},    {"per_edu2", adtString, 40},
          {"per_license", adtString, 30}};
}

Columns MemberColumns() {
  return {{"mem_no", adtString, 10},    {"mem_name", adtString, 50},  {"mem_attn", adtString, 50},
          {"mem_nation", adtString, 5}, {"mem_broker", adtString, 5}, {"mem_card", adtString, 13},
          {"mem_birth", adtDate},       {"mem_grade", adtString, 10}, {"mem_term", adtString, 20},
          {"mem_beg", adtDate},         {"mem_end", adtDate},         {"mem_add1", adtString, 80},
          {"mem_add2", adtString, 80},  {"mem_add4", adtString, 80},  {"mem_zip", adtString, 5},
          {"mem_tel", adtString, 25},   {"mem_fax", adtString, 25},   {"mem_email", adtString, 80},
          {"mem_pict", adtGraphic},     {"mem_use", adtString, 1},    {"mem_rem", adtMemo}};
}

Columns BookerColumns() {
  return {{"mem_no", adtString, 10},   {"room_no", adtString, 10},   {"mem_name", adtString, 50},
          {"mem_card", adtString, 13}, {"mem_add1", adtString, 80},  {"mem_add2", adtString, 80},
          {"mem_add4", adtString, 80}, {"mem_zip", adtString, 5},    {"mem_tel", adtString, 25},
          {"mem_fax", adtString, 25},  {"mem_email", adtString, 80}, {"mem_rem", adtMemo},
          {"broker_no", adtString, 10}};
}

Columns BookingColumns() {
  return {{"book_id", adtInteger}, {"mem_no", adtString, 10},   {"room_no", adtString, 10},
          {"book_beg", adtDate},   {"book_end", adtDate},       {"fg_book", adtString, 1},
          {"book_date", adtDate},  {"broker_no", adtString, 10}};
}

Columns CustomerColumns() {
  return {{"cust_no", adtString, 20},    {"cust_name", adtString, 100}, {"cust_add1", adtString, 80},
          {"cust_add2", adtString, 80},  {"cust_add4", adtString, 80},  {"cust_zip", adtString, 5},
          {"cust_tel", adtString, 25},   {"cust_fax", adtString, 25},   {"cust_email", adtString, 80},
          {"cust_birth", adtString, 10}, {"cust_id", adtInteger},       {"cust_flag", adtString, 1},
          {"cust_head", adtString, 6},   {"cust_card", adtString, 13},  {"cust_attn", adtString, 50},
          {"cust_add5", adtString, 1},   {"cust_cre", adtString, 6},    {"cust_disc", adtFloat},
          {"cust_group", adtString, 1},  {"cust_brand", adtString, 40}, {"cust_type", adtString, 40},
          {"country", adtString, 50},    {"cust_rem", adtBlob}};
}

// cust_no holds the supplier register's 8-digit numbers.
Columns SupplierColumns() {
  return {{"cust_no", adtString, 10},    {"cust_flag", adtString, 1},  {"cust_head", adtString, 6},
          {"cust_name", adtString, 100}, {"cust_card", adtString, 13}, {"cust_birth", adtString, 10},
          {"cust_attn", adtString, 50},  {"cust_add1", adtString, 80}, {"cust_add2", adtString, 80},
          {"cust_add4", adtString, 80},  {"cust_add5", adtString, 1},  {"cust_zip", adtString, 5},
          {"cust_tel", adtString, 25},   {"cust_fax", adtString, 25},  {"cust_cre", adtString, 6},
          {"cust_disc", adtFloat},       {"cust_group", adtString, 1}};
}

Columns ProductColumns() {
  return {{"pro_no", adtString, 15},    {"pro_name", adtString, 50}, {"pro_type", adtString, 3},
          {"pro_pict", adtString, 16},  {"attrib", adtString, 40},   {"pro_group", adtString, 5},
          {"pro_bprice", adtFloat},     {"pro_sprice", adtFloat},    {"pro_sp2", adtFloat},
          {"pro_sp3", adtFloat},        {"pro_sp4", adtFloat},       {"pro_sp5", adtFloat},
          {"earn", adtFloat},           {"tax_rate", adtFloat},      {"cut_stock", adtString, 1},
          {"warn_term", adtString, 10}, {"pro_total", adtFloat},     {"pro_unit", adtString, 10},
          {"pro_pack", adtString, 15},  {"pro_rorder", adtFloat},    {"fp", adtString, 1},
          {"tax_status", adtString, 1}, {"fg_vat", adtString, 1},    {"pro_memo", adtMemo},
          {"father", adtString, 50},    {"mother", adtString, 50},   {"birth", adtDate},
          {"sex", adtString, 6},        {"color", adtString, 20}};
}

// The catalogue of items (m_donate, g_room, g_land, g_accessory, g_public).
Columns ItemColumns(bool with_row_number, const char* unit_column) {
  Columns columns;
  if (with_row_number) columns.push_back({"accessory_id", adtInteger});
  return Join({columns,
               {{"accessory_no", adtString, 13},
                {"accessory_name", adtString, 40},
                {"accessory_type", adtString, 2},
                {"zone", adtString, 2},
                {"accessory_sn", adtString, 20},
                {"cut_stock", adtString, 1},
                {"in_date", adtDate},
                {"qty", adtFloat},
                {unit_column, adtString, 10},
                {"b_price", adtFloat}},
               Numbered("price_", adtFloat, 0, 1, 5),
               {{"fg_paid", adtString, 1}, {"fg_vat", adtString, 1}, {"live", adtString, 1}}});
}

TableDefinition ItemTable(std::string name, bool with_row_number, const char* unit_column = "unit") {
  return {std::move(name), ItemColumns(with_row_number, unit_column), {Unique("accessory_no")}};
}

// ---- Documents.

// bill_id is numbered by the engine: no INSERT sets it, and the line windows
// change and delete a line by it. sale_no holds a staff number.
Columns LineColumns(int32_t customer_size, int32_t name_size, int32_t detail_size) {
  return {{"bill_id", adtAutoInc},
          {"bill_no", adtString, 11},
          {"bill_date", adtDate},
          {"cust_no", adtString, customer_size},
          {"accessory_no", adtString, 15},
          {"accessory_name", adtString, name_size},
          {"accessory_type", adtString, 1},
          {"accessory_sn", adtString, detail_size},
          {"qty", adtFloat},
          {"unit_name", adtString, 10},
          {"price", adtFloat},
          {"disc_rate", adtFloat},
          {"tax_status", adtString, 1},
          {"tax_rate", adtFloat},
          {"cut_stock", adtString, 1},
          {"warn_term", adtString, 10},
          {"warn_date", adtString, 10},
          {"total", adtFloat},
          {"p_bill", adtString, 11},
          {"fg_clear", adtString, 1},
          {"fg_end", adtString, 1},
          {"stk_post", adtFloat},
          {"proj_no", adtString, 10},
          {"proj_type", adtString, 3},
          {"sale_no", adtString, 13},
          {"staff_no", adtString, 5}};
}

// The goods lines of sales (outstock) and purchases (instock).
Columns GoodsLineColumns(int32_t customer_size) {
  return Join({LineColumns(customer_size, 45, 40), {{"fg_gift", adtString, 1}}});
}

Columns DonationColumns() {
  return {{"bill_id", adtInteger},
          {"bill_no", adtString, 11},
          {"bill_date", adtDate},
          {"cust_no", adtString, 20},
          {"credit_rate", adtString, 20},
          {"beg_date", adtDate},
          {"due_date", adtDate},
          {"end_date", adtDate},
          {"total", adtFloat},
          {"grand_total", adtFloat},
          {"sale_no", adtString, 100},
          {"fg_paid", adtString, 1},
          {"app_for", adtString, 100},
          {"rem", adtMemo},
          {"cust_name", adtString, 100},
          {"cust_add1", adtString, 80},
          {"cust_add2", adtString, 80},
          {"cust_add4", adtString, 80},
          {"cust_zip", adtString, 80},
          {"cust_tel", adtString, 25},
          {"cust_fax", adtString, 25},
          {"cust_email", adtString, 80},
          {"country", adtString, 50},
          {"cust_birth", adtString, 10}};
}

// The headers of goods sales (g_sale_2) and purchases (g_buy_2).
Columns GoodsDocumentColumns() {
  return {{"bill_no", adtString, 11},     {"bill_date", adtDate},   {"cust_no", adtString, 20},
          {"credit_rate", adtString, 20}, {"beg_date", adtDate},    {"due_date", adtDate},
          {"end_date", adtDate},          {"total", adtFloat},      {"discount", adtFloat},
          {"aft_discount", adtFloat},     {"vat", adtFloat},        {"grand_total", adtFloat},
          {"sale_no", adtString, 13},     {"fg_paid", adtString, 1}};
}

Columns OldPurchaseColumns() {
  return {{"bill_no", adtString, 11}, {"bill_date", adtDate}, {"credit_rate", adtString, 20},
          {"due_date", adtDate},      {"total", adtFloat},    {"discount", adtFloat},
          {"aft_discount", adtFloat}, {"vat", adtFloat},      {"grand_total", adtFloat},
          {"fg_paid", adtString, 1}};
}

Columns VoucherColumns() {
  return {{"work_id", adtAutoInc},      {"work_no", adtString, 11},   {"work_parameter", adtString, 1},
          {"work_date", adtDate},       {"work_table", adtString, 5}, {"work_room", adtString, 5},
          {"broker_no", adtString, 10}, {"mem_no", adtString, 10},    {"price", adtFloat},
          {"disc_rate", adtFloat},      {"tax_rate", adtFloat},       {"tax_status", adtString, 1},
          {"total", adtFloat},          {"per_no", adtString, 10},    {"per_percent", adtFloat},
          {"per_price", adtFloat},      {"staff_no", adtString, 10},  {"fg_clear", adtString, 1},
          {"stk_post", adtInteger},     {"tag", adtString, 3}};
}

Columns VoucherLineColumns() {
  return {{"work_id", adtAutoInc},
          {"work_no", adtString, 11},
          {"work_parameter", adtString, 1},
          {"work_date", adtDate},
          {"work_table", adtString, 5},
          {"work_room", adtString, 5},
          {"broker_no", adtString, 10},
          {"check_in", adtDateTime},
          {"check_out", adtDateTime},
          {"pak_type", adtString, 10},
          {"mem_no", adtString, 10},
          {"mem_grade", adtString, 10},
          {"accessory_no", adtString, 13},
          {"accessory_name", adtString, 40},
          {"accessory_detail", adtString, 40},
          {"qty", adtFloat},
          {"unit", adtString, 10},
          {"price", adtFloat},
          {"disc_rate", adtFloat},
          {"tax_rate", adtFloat},
          {"tax_status", adtString, 1},
          {"total", adtFloat},
          {"per_no", adtString, 10},
          {"per_percent", adtFloat},
          {"per_price", adtFloat},
          {"staff_no", adtString, 10},
          {"fg_clear", adtString, 1},
          {"stk_post", adtInteger},
          {"tag", adtString, 3},
          {"check_first", adtFloat},
          {"check_last", adtFloat},
          {"price_level", adtString, 1},
          {"accessory_type", adtString, 1},
          {"check_count", adtFloat}};
}

// ---- Settings: the column family of sys_sys, tresksys and hotel_sys.

Columns AddressColumns() {
  return Join({Numbered("of_add", adtString, 80, 1, 4),
               {{"of_add5", adtString, 1},
                {"of_zip", adtString, 5},
                {"of_taxid", adtString, 13},
                {"of_tel", adtString, 25},
                {"of_fax", adtString, 25},
                {"of_email", adtString, 50},
                {"of_phead", adtString, 1},
                {"of_state", adtString, 1}}});
}

Columns DocumentOptionColumns() {
  return Join({Numbered("line", adtString, 1), Numbered("view", adtString, 1),
               Numbered("head", adtString, 80), Numbered("foot", adtString, 80)});
}

Columns PrintColumns() {
  return {{"of_logo", adtGraphic},      {"prn_preview", adtString, 1}, {"prn_head", adtString, 1},
          {"prn_office", adtString, 1}, {"prn_logo", adtString, 1},    {"prn_form", adtString, 1},
          {"prn_top", adtFloat},        {"prn_left", adtFloat},        {"tax_status", adtString, 1},
          {"tax_rate", adtFloat},       {"app_path", adtString, 30},   {"com_port", adtString, 1},
          {"skin", adtString, 1},       {"skin1", adtString, 1},       {"skin2", adtString, 1}};
}

const ColumnDefinition kOfficeId{"of_id", adtInteger};
const ColumnDefinition kOfficeName{"of_name", adtString, 80};

Columns ProgramSettingsColumns() {
  return Join({{kOfficeId, kOfficeName},
               AddressColumns(),
               Numbered("prefix", adtString, 4),
               {{"prefix_donate", adtString, 4}},
               DocumentOptionColumns(),
               PrintColumns(),
               {{"type_business", adtString, 1}, {"type_business2", adtString, 1}}});
}

Columns OfficeColumns() {
  return Join({{kOfficeName, kOfficeId},
               AddressColumns(),
               Numbered("prefix", adtString, 4),
               DocumentOptionColumns(),
               PrintColumns(),
               {{"prn_type", adtString, 1}}});
}

Columns HotelSettingsColumns() {
  return Join({{kOfficeName},
               AddressColumns(),
               Numbered("prefix", adtString, 4),
               DocumentOptionColumns(),
               PrintColumns(),
               {{"type_business", adtString, 1}}});
}

Columns UserColumns() {
  return Join({{{"usrname", adtString, 16},
                {"passwd", adtString, 16},
                {"name", adtString, 40},
                {"per_no", adtString, 10},
                {"position", adtString, 20}},
               Numbered("ac", adtSmallInt, 0, 1, 30)});
}

Columns CounterColumns() {
  Columns columns;
  for (const char* name : {"que_inv_n", "que_inv_v", "que_ord_n", "que_ord_v", "que_quo_n", "que_quo_v",
                           "que_quo2_n", "que_quo2_v", "que_quota_n", "que_quota_v", "que_mem_n", "que_mem_v",
                           "que", "que_rentid", "que_dot_n", "que_din_n"})
    columns.push_back({name, adtString, 11});
  return columns;
}

std::vector<TableDefinition> BuildSchema() {
  return {
      {"h_person", PersonColumns(), {Unique("per_no")}},
      {"education",
       {{"edu_no", adtString, 5},
        {"edu_name", adtString, 30},
        {"edu_type", adtString, 1},
        {"edu_beg", adtDate},
        {"edu_end", adtDate},
        {"per_no", adtString, 13}},
       {}},
      {"position",
       {{"posi_id", adtInteger},
        {"per_no", adtString, 13},
        {"posi_no", adtString, 5},
        {"posi_name", adtString, 30},
        {"posi_type", adtString, 1},
        {"posi_beg", adtDate},
        {"posi_end", adtDate}},
       {}},
      {"g_member", MemberColumns(), {Unique("mem_no")}},
      {"g_member_land", MemberColumns(), {Unique("mem_no")}},
      {"h_nation", {{"nation_no", adtString, 5}, {"nation_desc", adtString, 50}}, {}},
      {"h_broker", {{"broker_no", adtString, 5}, {"broker_name", adtString, 50}}, {}},
      {"h_booking", BookerColumns(), {}},
      {"h_booking_detail", BookingColumns(), {}},
      {"customer", CustomerColumns(), {Unique("cust_no")}},
      {"supply", SupplierColumns(), {Unique("cust_no")}},
      {"cust_prefix", {{"prefix_id", adtAutoInc}, {"prefix_name", adtString, 20}}, {}},
      {"product", ProductColumns(), {Unique("pro_no")}},
      {"type", {{"type_no", adtString, 5}, {"type_name", adtString, 30}}, {}},
      {"scale", Join({Numbered("scale", adtFloat, 0, 1, 8), {{"attrib", adtString, 20}}}), {}},
      ItemTable("m_donate", true, "accessory_unit"),
      ItemTable("g_room", false),
      ItemTable("g_land", true),
      ItemTable("g_accessory", true),
      ItemTable("g_public", true),
      {"g_rent",
       {{"room_no", adtString, 13},
        {"rent_live", adtString, 1},
        {"rent_no", adtString, 13},
        {"room_price_level", adtString, 1}},
       {}},
      {"g_donate_2", DonationColumns(), {Unique("bill_no")}},
      {"donate", LineColumns(20, 80, 80), {ByDocument("bill_no")}},
      {"g_sale_2", GoodsDocumentColumns(), {Unique("bill_no")}},
      {"outstock", GoodsLineColumns(20), {ByDocument("bill_no")}},
      {"g_buy_2", GoodsDocumentColumns(), {Unique("bill_no")}},
      {"g_buy", OldPurchaseColumns(), {}},
      {"instock", GoodsLineColumns(10), {ByDocument("bill_no")}},
      {"g_temple_2", VoucherColumns(), {Unique("work_no")}},
      {"h_temple", VoucherLineColumns(), {ByDocument("work_no")}},
      {"h_work",
       {{"work_no", adtString, 11},
        {"work_date", adtDate},
        {"total", adtFloat},
        {"stk_post", adtInteger},
        {"accessory_no", adtString, 13},
        {"qty", adtFloat}},
       {}},
      {"h_fill",
       {{"fill_no", adtString, 11},
        {"fill_date", adtDate},
        {"total", adtFloat},
        {"mem_no", adtString, 10},
        {"accessory_name", adtString, 40},
        {"fg_clear", adtString, 1},
        {"accessory_no", adtString, 13},
        {"qty", adtFloat},
        {"stk_post", adtInteger}},
       {}},
      {"g_work_2", {{"work_no", adtString, 11}}, {}},
      {"sys_sys", ProgramSettingsColumns(), {Key("of_name", "of_name")}},
      {"tresksys", OfficeColumns(), {}},
      {"hotel_sys", HotelSettingsColumns(), {}},
      {"password", UserColumns(), {Key("password", "usrname")}},
      {"que", CounterColumns(), {}},
  };
}

}  // namespace

const std::vector<TableDefinition>& TempleSchema() {
  static const std::vector<TableDefinition> schema = BuildSchema();
  return schema;
}
