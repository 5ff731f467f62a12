#pragma once
// RegisterWindow: the one window every register of both programs is built
// on. It keeps one table of reference data: a read-only list (Table1) shown
// in edit boxes row by row, a button bar that switches between browsing
// ("normal") and entry ("add", "edit"), saves through the window's
// RegisterRows, and moves the focus along the window's Enter order.
//
// A derived window builds its boxes on the entry page (Customer), creates
// its list on its own connection (Database1's alias) and hands everything to
// Define in its constructor. The set-up runs once, at the first activation,
// so switching to another window and back keeps what the user typed.
//
// Saving checks what the user cannot see: a number of a new row that exists
// (also when typed without Enter, or stored by another user meanwhile) is
// refused with the typed input kept; an edit or delete of a row that another
// user removed is reported, not taken for done.
#include <memory>
#include <string>
#include <vector>

#include "app/core/RegisterRows.h"
#include "app/core/RegisterSearchPanel.h"
#include "engine/access/Database.h"
#include "engine/access/Table.h"
#include "platform/db/DB.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Form.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Panel.h"


inline constexpr const char* kStateNormal = "normal";
inline constexpr const char* kStateAdd = "add";
inline constexpr const char* kStateEdit = "edit";

inline constexpr const char* kDuplicateNumber = "รหัสข้อมูลซ้ำ ...";
inline constexpr const char* kRowNotFound = "ไม่พบรายการนี้...";
inline constexpr const char* kConfirmDelete = "ต้องการลบข้อมูลนี้ ?";

// A column of the table and the edit box that shows and takes it.
struct RegisterColumnBox {
  std::string column;
  TEdit* box;
};

// What a register window gives its base.
struct RegisterDefinition {
  std::string caption;
  int top = 0;
  int left = 0;
  // The list: a dataset of the window (on Database1's alias for stored
  // tables), set read-only by the base.
  TDataSet* list = nullptr;
  std::unique_ptr<RegisterRows> rows;
  std::vector<RegisterColumnBox> columns;
  // The column that identifies a row; edits and deletes are keyed by the
  // value it had when they started.
  std::string key_column;
  // The box of the key that the user types for a new row (checked for
  // duplicates), or null where new rows get no typed key.
  TEdit* key_box = nullptr;
  // An edit may change the typed key too (renaming the row); a key that
  // another row holds is refused.
  bool key_editable = false;
  // Where an edit starts.
  TWinControl* name_box = nullptr;
  // Enter moves along it; the last leads back to the first.
  std::vector<TWinControl*> enter_order;
  // Save refuses an empty guard box with the message, focusing guard_focus.
  TEdit* guard_box = nullptr;
  std::string guard_message;
  TWinControl* guard_focus = nullptr;
  // Cancel shows the current row again; a window that leaves the typed
  // texts in view clears it.
  bool cancel_reloads = true;
  // Answers a delete the user declined (empty: no answer).
  std::string delete_declined_message;
};

class RegisterWindow : public TForm {
 public:
  // `alias` names the window's own connection to the program's database file;
  // `style` fsNormal makes a window of its own, shown modally by its openers.
  RegisterWindow(TComponent* owner, const std::string& alias, TFormStyle style = fsMDIChild);
  ~RegisterWindow() override;

  TVTRDatabase* Database1;
  TDataSet* Table1 = nullptr;
  TDataSource* DataSource1;
  TPanel* Panel1;
  TSpeedButton* SpeedButton1;   // add
  TSpeedButton* SpeedButton3;   // edit
  TSpeedButton* SpeedButton4;   // delete
  TSpeedButton* SpeedButton11;  // refresh
  TSpeedButton* SpeedButton6;   // cancel
  TSpeedButton* SpeedButton8;   // save
  TSpeedButton* SpeedButton2;   // quit
  TDBNavigator* DBNavigator1;
  TPageControl* RefSheet;
  TTabSheet* Customer;
  // The search panel and its "?" button, for windows that call AddSearch.
  TBitBtn* BitBtn1 = nullptr;
  TRegisterSearchPanel* Panel3 = nullptr;

  std::string EditState = kStateNormal;
  int SetupPending = 0;
  TBookmark SavedBookmark;
  // The key of the row last shown in the boxes.
  std::string CurrentRowKey;

  void FormCreate(TObject* sender);
  void FormActivate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void SpeedButton1Click(TObject* sender);
  void SpeedButton3Click(TObject* sender);
  void SpeedButton4Click(TObject* sender);
  void SpeedButton11Click(TObject* sender);
  void SpeedButton6Click(TObject* sender);
  void SpeedButton8Click(TObject* sender);
  void SpeedButton2Click(TObject* sender);
  void DataSource1DataChange(TObject* sender, TField* field);
  void BitBtn1Click(TObject* sender);

 protected:
  // A table component of the window on its own connection (the stored list,
  // the rows it writes); `read_only` for the list.
  TVTRTable* WindowTable(const std::string& table_name, bool read_only);
  // Called once by the derived constructor, after its boxes exist.
  void Define(RegisterDefinition definition);
  // The search panel on a page of its own, opened by "?" on the entry page;
  // `miss_message` (empty: none) answers a search that finds nothing.
  void AddSearch(const std::string& key_column, const std::string& name_column, const std::string& miss_message,
                 SearchPanelVariant variant = {});
  // Buttons of the window's own: `entry_only` ones work in "add" and "edit"
  // (a picture button), `normal_only` ones while browsing (print buttons).
  void AddOwnButtons(std::vector<TControl*> entry_only, std::vector<TControl*> normal_only);

  // The values a new row starts with; the boxes are empty before.
  virtual void AddDefaults() {}
  // Fills the look-up lists (combo boxes) at the set-up.
  virtual void FillLookups() {}
  // Copies the current row into the boxes (empty boxes for an empty list).
  virtual void LoadRow();
  // The boxes' texts, column by column, as the save writes them.
  virtual RowValues BoxValues() const;
  // Checks the typed input after the guard box, before any row is written;
  // false (having told the user) keeps the state and the input.
  virtual bool EntryAccepted() { return true; }
  // Stores the boxes as a new row and returns its key (empty when unknown).
  // A refusal raises.
  virtual std::string InsertRow();
  virtual void SetBoxesReadOnly(bool read_only);

  const RegisterDefinition& Definition() const { return definition_; }

  // A box on the entry page at (box_left, top) with its label from `left` up
  // to the box; `max_length` 0 sets no limit.
  TEdit* EntryBox(const std::string& caption, int left, int top, int box_left, int box_width, int max_length = 0);

 private:
  void BuildButtonBar();
  TSpeedButton* BarButton(const char* caption, const char* hint, TNotifyEvent on_click);
  void BindEnterOrder();
  void BoxEnter(TWinControl* box, char32_t& key);
  // The entry set (entering "add" or "edit") or the normal set.
  void ShowButtonSet(bool entry);
  // Back to browsing after a save or cancel.
  void EndEntry();
  // True when saved; false leaves the state and the typed input.
  bool SaveNewRow();
  bool SaveEditedRow();
  // The list anew from the stored rows, standing on its first row, as a
  // read-only query's refresh runs its statement again; the row it stood on
  // may be gone.
  void RefreshList();
  // Moves the list to the row with the key; false when it is not there.
  bool LocateKey(const std::string& key);
  void ShowDuplicate();
  void ReturnFromSearch();

  RegisterDefinition definition_;
  TTabSheet* search_page_ = nullptr;
  std::string edited_key_;
  std::vector<TControl*> entry_only_;
  std::vector<TControl*> normal_only_;
};
