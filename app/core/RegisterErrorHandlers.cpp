#include "app/core/RegisterErrorHandlers.h"

#include <string>

#include "engine/access/EngineError.h"
#include "engine/access/ErrorMessage.h"
#include "platform/rtl/CodePage874.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr int32_t kRecordChangedOnEdit = -4;
constexpr int32_t kRecordChangedOnDelete = -5;
constexpr int32_t kRecordDeletedOnEdit = -6;
constexpr int32_t kRecordDeletedOnDelete = -7;
constexpr int32_t kConstraintFailed = -8;
constexpr int32_t kRecordLocked = -12;
constexpr int32_t kTableLocked = -13;

constexpr const char* kDeleteTableLocked = "Table locked. ต้องการจะลบ record นี้ อีกหรือไม่ ?";
constexpr const char* kDeleteRecordLocked = "Record locked. ต้องการจะลบ record นี้ อีกหรือไม่ ?";
constexpr const char* kDeleteRecordDeleted =
    "Record ที่ต้องการลบ ได้ถูกลบไปแล้วโดยผู้ใช้คนอื่น .ข้อมูลจะถูกปรับปรุง ให้เป็นปัจจุบัน .";
constexpr const char* kDeleteRecordChanged = "Record ที่จะลบถูกเปลี่ยนแปลง แก้ไข โดยผู้ใช้คนอื่น.  ลองอีกครั้ง .";
constexpr const char* kEditTableLocked = "Table locked. ต้องการลองใหม่อีกครั้งหรือไม่ ?";
constexpr const char* kEditRecordLocked = "Record locked ต้องการลองใหม่อีกครั้งหรือไม่ ?";
constexpr const char* kEditRecordDeleted = "Record ถูกลบ โดยผู้ใช้คนอื่น . ข้อมูลจะถูกปรับปรุง ให้เป็นปัจจุบัน";
constexpr const char* kEditRecordChanged = "Record  modified โดยผู้ใช้คนอื่น . ข้อมูลจะถูกปรับปรุง ให้เป็นปัจจุบัน";
constexpr const char* kPostConstraintAdvice =
    ". Please change the record to make the constraint satisfied and re-post the record.";
constexpr const char* kPostTableLocked = "The table is locked. Do you want to try to post this record again?";

// Yes retries; No leaves the action at abort.
void AskRetry(const char* question, TDataAction& action) {
  if (MessageDlg(question, mtWarning, mbYesNo) == mrYes) action = daRetry;
}

// Tells the user, then shows the dataset's current rows.
void InformAndRefresh(TDataSet* dataset, const char* text) {
  MessageDlg(text, mtWarning, mbOKOnly);
  dataset->Refresh();
}

void ShowOwnMessage(const EDatabaseError& error) { MessageDlg(ExceptionMessageUtf8(error), mtError, mbOKOnly); }

// The engine's code, or 0 for an error that is not the engine's.
int32_t EngineCode(const EDatabaseError& error) {
  const auto* engine_error = dynamic_cast<const EVTREngineError*>(&error);
  return engine_error != nullptr ? engine_error->ErrorCode : 0;
}

}  // namespace

void RegisterDeleteError(TDataSet* dataset, EDatabaseError& error, TDataAction& action) {
  action = daAbort;
  switch (EngineCode(error)) {
    case kTableLocked:
      return AskRetry(kDeleteTableLocked, action);
    case kRecordLocked:
      return AskRetry(kDeleteRecordLocked, action);
    case kRecordDeletedOnDelete:
      return InformAndRefresh(dataset, kDeleteRecordDeleted);
    case kRecordChangedOnDelete:
      return InformAndRefresh(dataset, kDeleteRecordChanged);
    default:
      return ShowOwnMessage(error);
  }
}

void RegisterEditError(TDataSet* dataset, EDatabaseError& error, TDataAction& action) {
  action = daAbort;
  switch (EngineCode(error)) {
    case kTableLocked:
      return AskRetry(kEditTableLocked, action);
    case kRecordLocked:
      return AskRetry(kEditRecordLocked, action);
    case kRecordDeletedOnEdit:
      InformAndRefresh(dataset, kEditRecordDeleted);
      action = daRetry;
      return;
    case kRecordChangedOnEdit:
      InformAndRefresh(dataset, kEditRecordChanged);
      action = daRetry;
      return;
    default:
      return ShowOwnMessage(error);
  }
}

void RegisterPostError(TDataSet*, EDatabaseError& error, TDataAction& action) {
  action = daAbort;
  switch (EngineCode(error)) {
    case kConstraintFailed:
      MessageDlg(Cp874ToUtf8(static_cast<const EVTREngineError&>(error).ErrorText) + kPostConstraintAdvice, mtError,
                 mbOKOnly);
      return;
    case kTableLocked:
      return AskRetry(kPostTableLocked, action);
    default:
      return ShowOwnMessage(error);
  }
}

void BindRegisterErrorHandlers(TDataSet& dataset) {
  dataset.OnDeleteError = RegisterDeleteError;
  dataset.OnEditError = RegisterEditError;
  dataset.OnPostError = RegisterPostError;
}
