#include "app/donation/Ref_H_Sys.h"

#include <string>
#include <vector>

#include "app/core/WindowParts.h"

namespace {

const std::vector<std::string> kDocumentLayouts{"แบบที่ 1 ( กระดาษสั้น 8.5 * 5.5 นิ้ว)",
                                                "แบบที่ 2 ( กระดาษยาว 8.8 * 11 นิ้ว)", "แบบที่ 3 ( ลูกค้าสั่งทำ)"};
const std::vector<std::string> kReceiptLayouts{"แบบที่ 1 ( กระดาษสั้น 8.5 * 5.5 นิ้ว)",
                                               "แบบที่ 2 \r( กระดาษยาว 8.5 * 11 นิ้ว)", "แบบที่ 3 ( ลูกค้าสั่งทำ)\r"};

}  // namespace

TRef_H_Sys::TRef_H_Sys(TComponent* owner) : SettingsRowWindow(owner, true) {
  DBRadioGroup1 = SettingGroup("DBRadioGroup1", "การพิมพ์ใบสำคัญ", "PRN_PREVIEW", {"บนกระดาษเปล่า", "บนแบบฟอร์ม"},
                               8, 8, 220, 70);
  DBRadioGroup5 = SettingGroup("DBRadioGroup5", "การพิมพ์โลโก้", "PRN_LOGO", {"ไม่พิมพ์", "พิมพ์"}, 8, 86, 220, 70);
  DBRadioGroup4 =
      SettingGroup("DBRadioGroup4", "  รูปแบบใบสำคัญจำหน่าย  ", "VIEW6", kDocumentLayouts, 240, 8, 300, 90);
  DBRadioGroup6 =
      SettingGroup("DBRadioGroup6", "  รูปแบบใบบริจาค / ใบอนุโมทนา  ", "VIEW7", kReceiptLayouts, 240, 106, 300, 110);
  DBRadioGroup8 = SettingGroup("DBRadioGroup8", "  การเลือก Interface  (Skin) ", "SKIN", {"ปกติ", "โทนสีเหลือง"}, 240,
                               224, 300, 50);
  DBRadioGroup8->SetColumns(2);

  SetOffsetBoxes(SettingBox("DBEdit2", "ระยะพิมพ์กั้นบน ( 0 - 50 )", "PRN_TOP", 5, 8, 170, 160),
                 SettingBox("DBEdit3", "ระยะพิมพ์กั้นซ้าย ( 0 - 30 )", "PRN_LEFT", 5, 8, 200, 160));
  DBEdit4 = SettingBox("DBEdit4", "PORT ลิ้นชักเก็บเงิน (1 หรือ 2)", "COM_PORT", 1, 8, 230, 160);

  auto& prefixes = MakeControl<TPanel>(*this, "GroupBox1", 8, 284, 532, 150, System);
  prefixes.SetCaption("  หมวดนำหน้าใบสำคัญ  ");
  DBEdit9 = PrefixBox(prefixes, "DBEdit9", "การบริจาค", "PREFIX5", 20);
  DBEdit10 = PrefixBox(prefixes, "DBEdit10", "นำเข้าวัตถุมงคล - สินค้า", "PREFIX6", 50);
  DBEdit1 = PrefixBox(prefixes, "DBEdit1", "จำหน่ายวัตถุมงคล - สินค้า", "PREFIX7", 80);
  DBEdit5 = PrefixBox(prefixes, "DBEdit5", "ทะเบียนผู้บริจาค", "PREFIX_DONATE", 110);
}
