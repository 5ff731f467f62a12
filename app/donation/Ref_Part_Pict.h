#pragma once
// TRef_Part_Pict: the catalogue of goods the temple buys and sells (product),
// listed by type (sacred objects or goods and services), each with its
// picture from the folder "picture" and, when its stock is counted, its
// stock on hand. The user types an item's number; a number that another
// item holds is refused when adding and when an edit renames the item.
#include <string>

#include "app/core/RegisterWindow.h"
#include "app/core/SqlWindowQuery.h"
#include "platform/ui/FileListBox.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Memo.h"
#include "platform/ui/RadioGroup.h"

inline constexpr const char* kGoodsRegisterCaption = "ทะเบียนวัตถุมงคล  - สินค้า อื่น ๆ ";
inline constexpr const char* kGoodsPictureMissing = "ไม่พบรูป ...";
inline constexpr const char* kGoodsPlaceholderPicture = "temp.jpg";
inline constexpr const char* kGoodsIncomplete = "ข้อมูลไม่ครบ ....";

class TRef_Part_Pict : public RegisterWindow {
 public:
  explicit TRef_Part_Pict(TComponent* owner);

  TRadioGroup* RadioGroup3;  // the type listed: "0" sacred objects, "1" goods and services
  TEdit* Edit1;   // pro_no
  TEdit* Edit2;   // pro_name
  TEdit* Edit3;   // the type's name, read-only
  TEdit* Edit4;   // pro_unit
  TEdit* Edit5;   // pro_group
  TEdit* Edit9;   // attrib
  TEdit* Edit10;  // pro_bprice
  TEdit* Edit11;  // pro_sprice
  TEdit* Edit13;  // cut_stock: "1" counted, "0" not
  TEdit* Edit14;  // pro_rorder, always writable
  TMemo* Memo1;   // pro_memo
  TLabel* Label19;  // stock on hand
  TLabel* Label20;  // pro_pict, or kGoodsPictureMissing
  TImage* Image1;
  TSpeedButton* SpeedButton7;  // the picture page
  // The picture page.
  TTabSheet* TabSheet2;
  TFileListBox* FileListBox1;
  TImage* Image2;
  TButton* Button2;  // back with the chosen picture
  TButton* Button4;  // back without a change

  // Lists the items of the type ("0" or "1").
  void LoadProducts(const std::string& type);
  // The name of the type code; empty when none.
  std::string TypeNameOf(const std::string& code);
  void ShowProduct();

  void RadioGroup3Click(TObject* sender);
  void SpeedButton7Click(TObject* sender);
  void FileListBox1Click(TObject* sender);
  void Button2Click(TObject* sender);
  void Button4Click(TObject* sender);

 protected:
  void AddDefaults() override;
  void LoadRow() override { ShowProduct(); }
  RowValues BoxValues() const override;
  bool EntryAccepted() override;
  void SetBoxesReadOnly(bool read_only) override;

 private:
  TEdit* LabelledBox(const char* caption, int row, int max_length = 0);
  void BuildPicturePage();
  // Shows the named picture; an empty name or a file that cannot be shown
  // shows the placeholder (nothing when that is missing too).
  void ShowPicture(const std::string& name);
  void ReturnFromPicturePage();
  std::string ListedType() const;
  static QueryStatement ProductsOf(const std::string& type);

  SqlWindowQuery table6_;
  SqlWindowQuery query_temp_;
  // The name the save stores as pro_pict.
  std::string picture_name_;
  // The name in force when the picture page opened, for its cancel.
  std::string name_before_page_;
};
