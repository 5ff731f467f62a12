#pragma once
// The answers of a register window to a failed dataset-level delete, edit or
// post: the engine's lock and other-user codes ask or inform the user in the
// programs' fixed texts and choose retry or abort; any other error is shown
// with its own message. Statements run by ExecSQL never reach them.
#include "platform/db/DB.h"

void RegisterDeleteError(TDataSet* dataset, EDatabaseError& error, TDataAction& action);
void RegisterEditError(TDataSet* dataset, EDatabaseError& error, TDataAction& action);
void RegisterPostError(TDataSet* dataset, EDatabaseError& error, TDataAction& action);

// Binds the three handlers to the dataset's error events.
void BindRegisterErrorHandlers(TDataSet& dataset);
