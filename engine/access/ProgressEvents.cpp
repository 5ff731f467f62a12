#include "engine/access/ProgressEvents.h"

#include <utility>

#include "engine/access/EngineRuntime.h"
#include "engine/access/WaitWindow.h"

TVTRProgressEvents::TVTRProgressEvents(TObject* sender, const TDatasetNotifyEvent& before,
                                       const TVTRProgressEvent& progress, const TDatasetNotifyEvent& after,
                                       std::string message, bool silent)
    : sender_(sender), before_(before), progress_(progress), after_(after), message_(std::move(message)),
      silent_(silent) {
  if (!progress_ && !silent_) {
    progress_ = [](TObject*, int32_t percent_done, bool& continue_) {
      WaitWindow().ReportProgress(percent_done, continue_);
    };
  }
}

void TVTRProgressEvents::Before() {
  started_ = true;
  if (before_)
    before_(sender_);
  else if (!silent_)
    WaitWindow().StartProgress(message_);
}

void TVTRProgressEvents::After() {
  if (!started_) return;
  started_ = false;
  if (after_)
    after_(sender_);
  else if (!silent_)
    WaitWindow().StopWait();
}
