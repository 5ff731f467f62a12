#pragma once
// TRef_Person: the register of the temple's monks, novices and staff
// (h_person), with a picture per person from the folder "person_pict". User
// accounts, staff look-ups and the education and position rows refer to a
// person by per_no, so the number is typed for a new person only and stays
// read-only in an edit. Dates are typed and shown as day/month/Buddhist-era
// year; a text that is no date stops the save before anything is written.
#include <string>

#include "app/core/RegisterWindow.h"
#include "engine/access/Query.h"
#include "engine/access/Table.h"
#include "platform/db/DataSource.h"
#include "platform/ui/FileListBox.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/RadioGroup.h"

inline constexpr const char* kPersonNoNumber = "ไม่มีข้อมูลรหัส ... ";
inline constexpr const char* kPictureMissing = "ไม่พบรูป ...";
// The placeholder shown for a person whose picture cannot be shown.
inline constexpr const char* kPlaceholderPicture = "temp.jpg";

class TRef_Person : public RegisterWindow {
 public:
  explicit TRef_Person(TComponent* owner);

  TEdit* Edit2;   // per_no
  TEdit* Edit3;   // per_name
  TEdit* Edit16;  // per_nick_name
  TEdit* Edit20;  // per_card
  TEdit* Edit19;  // per_birth, day/month/Buddhist-era year
  TEdit* Edit4;   // per_add1
  TEdit* Edit5;   // per_add2
  TEdit* Edit6;   // per_add4
  TEdit* Edit7;   // per_zip
  TEdit* Edit8;   // per_tel
  TEdit* Edit9;   // per_fax
  TEdit* Edit21;  // per_license
  TEdit* Edit17;  // per_posi
  TEdit* Edit15;  // per_salary
  TImage* Image1;
  // The picture's file name, or kPictureMissing when it cannot be shown.
  TLabel* Label30;
  TSpeedButton* SpeedButton5;  // the picture picker

  // The picture picker page.
  TTabSheet* find_pict;
  TFileListBox* FileListBox1;
  TImage* Image2;
  TButton* Button16;  // back without a change
  TButton* Button17;  // back with the chosen picture

  // The shown person's education (of the kind RadioGroup2 chooses) and
  // positions, kept on a page the user does not see.
  TTabSheet* edu_page;
  TRadioGroup* RadioGroup2;
  TVTRQuery* q_edu;
  TVTRQuery* q_posi;
  TDataSource* DataSource2;
  TDataSource* DataSource3;

  void SpeedButton5Click(TObject* sender);
  void FileListBox1Click(TObject* sender);
  void Button16Click(TObject* sender);
  void Button17Click(TObject* sender);

 protected:
  void AddDefaults() override;
  void LoadRow() override;
  RowValues BoxValues() const override;
  bool EntryAccepted() override;

 private:
  TEdit* LabelledBox(const char* caption, int row, int column, int max_length = 0);
  void BuildPicturePage();
  void BuildEducationPage();
  void QueryEducationAndPositions(const std::string& person_no);
  // Shows the picture of the name (none for an empty name); a file that
  // cannot be shown leaves kPictureMissing and the placeholder.
  void ShowPicture(const std::string& name);
  void ReturnFromPicker();

  // The name the save stores as per_pict; Label30 may show kPictureMissing instead.
  std::string picture_name_;
  // The name before the picker opened, for its cancel.
  std::string name_before_picker_;
};
