#pragma once
// The events of the engine's long copies (batch copy, table import, copy and
// restructure, database compaction and repair): before, progress and after,
// and TVTRProgressEvents, which raises them with the wait window standing in
// for each one that is left unassigned.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/rtl/Object.h"

// The engine's notification type for the before and after events, a type of
// its own beside the dataset layer's TDataSetNotifyEvent.
using TDatasetNotifyEvent = std::function<void(TObject* sender)>;
// Sender, PercentDone, var Continue: set Continue to false to stop.
using TVTRProgressEvent = std::function<void(TObject* sender, int32_t percent_done, bool& continue_)>;

// One long operation's three events. Unless `silent`, the wait window stands
// in for each unassigned one: before puts its bar at 0 and starts a wait with
// `message`, progress moves the bar, lets pending messages run and answers
// Continue false once the user pressed Abort, after stops the wait. Silent
// and unassigned, an event does nothing.
class TVTRProgressEvents {
 public:
  TVTRProgressEvents(TObject* sender, const TDatasetNotifyEvent& before, const TVTRProgressEvent& progress,
                     const TDatasetNotifyEvent& after, std::string message, bool silent);

  void Before();
  // What to hand to a copy as its progress handler; empty when nothing listens.
  const TVTRProgressEvent& Progress() const { return progress_; }
  // Only after Before.
  void After();

 private:
  TObject* sender_;
  const TDatasetNotifyEvent& before_;
  TVTRProgressEvent progress_;
  const TDatasetNotifyEvent& after_;
  std::string message_;
  bool silent_;
  bool started_ = false;
};
