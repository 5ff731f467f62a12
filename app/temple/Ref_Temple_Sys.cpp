#include "app/temple/Ref_Temple_Sys.h"

#include <string>
#include <vector>

#include "app/core/WindowParts.h"

namespace {

const std::vector<std::string> kVoucherLayouts{"แบบที่ 1 ( กระดาษยาว 8.5 * 11 นิ้ว)",
                                               "แบบที่ 2 ( กระดาษสั้น 8.5 * 5.5 นิ้ว)", "แบบที่ 3 ( ลูกค้าสั่งทำ)"};

}  // namespace

TRef_Temple_Sys::TRef_Temple_Sys(TComponent* owner) : SettingsRowWindow(owner, false), RefSheet(PageControl1) {
  DBRadioGroup1 = SettingGroup("DBRadioGroup1", "การพิมพ์ใบสำคัญ", "PRN_PREVIEW", {"บนกระดาษเปล่า", "บนแบบฟอร์ม"},
                               8, 8, 220, 70);
  DBRadioGroup5 = SettingGroup("DBRadioGroup5", "การพิมพ์โลโก้", "PRN_LOGO", {"ไม่พิมพ์", "พิมพ์"}, 8, 86, 220, 70);
  DBRadioGroup3 =
      SettingGroup("DBRadioGroup3", "  รูปแบบใบสำคัญใช้ ศาลา อาคาร   ", "VIEW3", kVoucherLayouts, 240, 8, 300, 90);
  DBRadioGroup4 =
      SettingGroup("DBRadioGroup4", "  รูปแบบใบสำคัญใช้ที่ธรณีสงฆ์  ", "VIEW1", kVoucherLayouts, 240, 106, 300, 90);

  SetOffsetBoxes(SettingBox("DBEdit2", "ระยะพิมพ์กั้นบน ( 0 - 50 )", "PRN_TOP", 4, 8, 170, 160),
                 SettingBox("DBEdit3", "ระยะพิมพ์กั้นซ้าย ( 0 - 30 )", "PRN_LEFT", 4, 8, 200, 160));
  DBEdit4 = SettingBox("DBEdit4", "PORT ลิ้นชักเก็บเงิน (1 หรือ 2)", "COM_PORT", 4, 8, 230, 160);

  auto& prefixes = MakeControl<TPanel>(*this, "GroupBox1", 8, 284, 532, 110, System);
  prefixes.SetCaption("  หมวดนำหน้าใบสำคัญ  ");
  DBEdit8 = PrefixBox(prefixes, "DBEdit8", "ที่ดิน ธรณีสงฆ์", "PREFIX1", 20);
  DBEdit6 = PrefixBox(prefixes, "DBEdit6", "ศาลา - อาคาร", "PREFIX3", 50);

  // Bound, yet not the user's to change here.
  DBRadioGroup6 = SettingGroup("DBRadioGroup6", "  รูปแบบใบสำคัญ รับ-คืนมัดจำ  ", "VIEW2", kVoucherLayouts, 560, 8,
                               150, 90);
  DBRadioGroup7 = SettingGroup("DBRadioGroup7", "  ระบบ  ", "TYPE_BUSINESS", {"โรงแรม - รีสอร์ท", "อพาร์เม้นท์ - บ้านเช่า"},
                               560, 106, 150, 60);
  DBRadioGroup8 = SettingGroup("DBRadioGroup8", "  การเลือก Interface  (Skin)   ", "SKIN", {"ปกติ", "โทนสีเหลือง"}, 560,
                               174, 150, 60);
  DBRadioGroup9 = SettingGroup("DBRadioGroup9", "  ศาสนา  ", "TYPE_BUSINESS2", {"พุทธ", "อื่น ๆ"}, 560, 242, 150, 60);
  DBRadioGroup2 = SettingGroup("DBRadioGroup2", "  ต้องทำสัญญาก่อนใช้งาน", "TYPE_BUSINESS2",
                               {"ไม่ต้อง", "ต้องทำสัญาก่อนจึงจะใช้งานได้"}, 560, 310, 150, 60);
  auto& contracts = MakeControl<TPanel>(*this, "GroupBox2", 560, 378, 150, 40, System);
  DBEdit7 = &MakeControl<TDBEdit>(*this, "DBEdit7", 8, 8, 60, 23, &contracts);
  DBEdit7->SetDataSource(DataSource4);
  DBEdit7->SetDataField("PREFIX9");
  for (TControl* hidden : std::vector<TControl*>{DBRadioGroup6, DBRadioGroup7, DBRadioGroup8, DBRadioGroup9,
                                                 DBRadioGroup2, &contracts})
    hidden->SetVisible(false);
  for (TControl* disabled : std::vector<TControl*>{DBRadioGroup6, DBRadioGroup9, DBRadioGroup2, DBEdit7})
    disabled->SetEnabled(false);
}
