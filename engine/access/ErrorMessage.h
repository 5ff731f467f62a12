#pragma once
// Error messages on their way to the user. The engine's errors (EVTRException,
// EVTREngineError) carry code page 874 text; everything shown above this layer
// is UTF-8. These routines are where the two meet: the components use them
// wherever they hand a message to EngineUi or to the application object, and
// the programs' exception handler can call ExceptionMessageUtf8.
#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "platform/rtl/Object.h"

// The exception's message in UTF-8: an engine error's converted from code
// page 874 (a byte the code page leaves undefined shows as U+FFFD, since a
// message must be shown whatever it holds), any other as it is.
std::string ExceptionMessageUtf8(const std::exception& error);

// UTF-8 text (a message built from names and other messages) as the text of
// an engine error: in code page 874, or as it is where the code page cannot
// hold it, since the error must be raised whatever the text holds.
std::string EngineMessageText(std::string_view utf8);

// Call inside a catch block: shows the exception being handled through the
// application object (TApplication::HandleException), an engine error with
// its message in UTF-8.
void HandleEngineException(TObject* sender);

// Runs a clean-up step while another failure is on its way out: a failure
// of the step gives way to the one being reported.
void CleaningUp(const std::function<void()>& step);

// Runs a step of a destructor: destructors never throw, so a failure is shown
// through HandleEngineException and destruction goes on.
void ShowingEngineErrors(TObject* sender, const std::function<void()>& step);
