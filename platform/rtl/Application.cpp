#include "platform/rtl/Application.h"

#include <iostream>

#include "platform/rtl/Exception.h"

void TApplication::HandleException(TObject* sender) {
  const std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const EAbort&) {
  } catch (const std::exception& error) {
    OnException ? OnException(sender, error) : ShowException(error);
  } catch (...) {
    const Exception unknown("Unknown exception");
    OnException ? OnException(sender, unknown) : ShowException(unknown);
  }
}

void TApplication::ShowException(const std::exception& error) {
  std::cerr << error.what() << std::endl;
}

void TApplication::ProcessMessages() {
  if (process_messages_) process_messages_();
}

TApplication& Application() {
  static TApplication application;
  return application;
}
