#pragma once
// TRef_Member: the register of lay people, who are the users named on the
// usage vouchers. The program numbers new members itself (the highest number
// + 1, seven digits), so the number box is read-only; when another user
// stores the same number first, the save takes the next one. The member
// shown last is left in myVar (PickedMemberNo, PickedMemberName) for the
// windows that opened the register to pick one.
//
// One class serves every register of this shape: the settings name the
// table, the connection and the caption, and whether its rows carry a
// nation and a tour agent (chosen by name from h_nation and h_broker).
#include <string>
#include <utility>
#include <vector>

#include "app/core/MemberEnvelope.h"
#include "app/core/RegisterWindow.h"
#include "engine/access/Table.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Memo.h"

struct MemberRegisterSettings {
  const char* alias;
  const char* table;
  const char* caption;
  bool nation_and_agent;
  int left;
  // Set up only for an opener that asked for the register (MemberRegisterMode
  // 1); otherwise at every activation.
  bool set_up_on_request;
};

inline constexpr MemberRegisterSettings kMemberRegister{"d_s_member", "g_member", "  ทะเบียนฆราวาส", true, 150, true};

inline constexpr const char* kMemberIncomplete = "ข้อมูลไม่ครบ ....";
inline constexpr const char* kMemberDeleteDeclined = "ไม่ทำรายการลบข้อมูล ...";
inline constexpr const char* kNewMemberNumber = "TEMP0000";

class TRef_Member : public RegisterWindow {
 public:
  explicit TRef_Member(TComponent* owner, const MemberRegisterSettings& settings = kMemberRegister);

  TEdit* Edit2;   // mem_no, given by the program
  TEdit* Edit3;   // mem_name
  TEdit* Edit4;   // mem_card
  TEdit* Edit5;   // mem_add1
  TEdit* Edit6;   // mem_add2
  TEdit* Edit7;   // mem_add4
  TEdit* Edit8;   // mem_zip
  TEdit* Edit9;   // mem_tel
  TEdit* Edit10;  // mem_fax
  TMemo* Memo1;   // mem_rem
  // Hidden and disabled: a new member takes the nation and agent shown last.
  TComboBox* ComboBox2 = nullptr;  // nation by h_nation.nation_desc
  TComboBox* ComboBox1 = nullptr;  // agent by h_broker.broker_name
  // Reads the code tables and the highest number.
  TVTRTable* query_temp;
  TSpeedButton* SpeedButton9;  // the envelope of the member shown
  TMemberEnvelope* Envelope;

  void FormActivate(TObject* sender);
  void SpeedButton9Click(TObject* sender);

 protected:
  void AddDefaults() override;
  void FillLookups() override;
  void LoadRow() override;
  RowValues BoxValues() const override;
  std::string InsertRow() override;
  void SetBoxesReadOnly(bool read_only) override;

 private:
  TEdit* LabelledBox(const char* caption, int row, int max_length = 0);
  // The highest stored number + 1 as seven digits; "0000000" for an empty table.
  std::string NextMemberNumber();
  // The (number, name) rows of a code table, highest number first.
  std::vector<std::pair<std::string, std::string>> CodeRows(const char* table, const char* number_column,
                                                            const char* name_column);

  MemberRegisterSettings settings_;
  // Nations and agents as (number, name), as FillLookups read them.
  std::vector<std::pair<std::string, std::string>> nations_;
  std::vector<std::pair<std::string, std::string>> agents_;
};
