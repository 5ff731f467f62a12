#pragma once
// The registers of the four catalogues of items that the usage vouchers
// charge: halls and buildings (g_room), land plots (g_land), ceremony articles
// and services (g_accessory) and public-utility charges (g_public). One
// window, TRef_Item, given the catalogue's table of differences; the four
// named windows only pick their row of it.
//
// A save writes the item's kind (accessory_type) itself, keeps price level 1
// only (levels 2 to 5 become empty), and sets a hall or land plot free (live
// "0", quantity 0). Only ceremony articles keep a typed quantity. The code is
// typed for a new item only, at most five characters. Saves go through the
// register template's rows.
#include <string>

#include "app/core/RegisterWindow.h"

class TVTRQuery;

inline constexpr const char* kSearchMiss = "ไม่พบรายการที่ค้นหา...";
inline constexpr const char* kItemIncomplete = "ข้อมูลไม่ครบ ....";

// What sets one catalogue's register apart.
struct ItemRegisterKind {
  const char* caption;
  const char* table;
  const char* alias;
  // The kind of item every save writes into accessory_type.
  const char* item_type;
  const char* name_label;
  const char* price_label;
  // The list follows accessory_no, else the table's own order.
  bool ordered;
  // A zone box; without one, zone is written empty.
  bool zone_box;
  // A quantity box; without one, qty is written 0.
  bool quantity_box;
  // Every save sets the item free (live "0"); otherwise live is not written.
  bool writes_live;
};

extern const ItemRegisterKind kRoomRegister;
extern const ItemRegisterKind kLandRegister;
extern const ItemRegisterKind kAccessoryRegister;
extern const ItemRegisterKind kPublicRegister;

class TRef_Item : public RegisterWindow {
 public:
  TRef_Item(TComponent* owner, const ItemRegisterKind& kind);

  // The list, on the window's own connection.
  TVTRQuery* Query1;
  TEdit* Edit2;   // accessory_no
  TEdit* Edit3;   // accessory_name
  TEdit* Edit4;   // unit
  TEdit* Edit5;   // zone; null without a zone box
  TEdit* Edit6;   // price_1
  TEdit* Edit1;   // qty; null without a quantity box
  TEdit* Edit11;  // fg_vat, hidden
  // The item registers' variant of the search panel, by the names of its
  // parts here: "?" keeps the last search text and searches by code again,
  // the prompt stays, and a click on the grid gives the search box the focus.
  TBitBtn* SpeedButton5;
  TRegisterSearchPanel* Panel7;
  TLabel* Label10;
  TEdit* Edit14;
  TDBGrid* DBGrid4;
  TButton* Button2;

 protected:
  void AddDefaults() override;
  void LoadRow() override;
  RowValues BoxValues() const override;
  bool EntryAccepted() override;

 private:
  const ItemRegisterKind& kind_;
};

class TRef_Room : public TRef_Item {
 public:
  explicit TRef_Room(TComponent* owner) : TRef_Item(owner, kRoomRegister) {}
};

class TRef_Land : public TRef_Item {
 public:
  explicit TRef_Land(TComponent* owner) : TRef_Item(owner, kLandRegister) {}
};

class TRef_Accessory : public TRef_Item {
 public:
  explicit TRef_Accessory(TComponent* owner) : TRef_Item(owner, kAccessoryRegister) {}
};

class TRef_Public : public TRef_Item {
 public:
  explicit TRef_Public(TComponent* owner) : TRef_Item(owner, kPublicRegister) {}
};
