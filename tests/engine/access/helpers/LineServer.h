#pragma once
// The conversation of the helper programs with the test that started them:
// one line of standard output for each line of standard input.
#include <iostream>
#include <string>

#include "engine/foundation/VTRExcept.h"

inline void Say(const std::string& text) {
  std::cout << text << std::endl;
}

// Prepares with `open` (which returns the answering function), says
// "ready", then says the answer to each line; an engine error says "error
// CODE" instead, and ends the program with 1 when `open` failed.
template <typename Open>
int ServeLines(Open&& open) {
  try {
    auto answer = open();
    Say("ready");
    std::string line;
    while (std::getline(std::cin, line)) {
      try {
        Say(answer(line));
      } catch (const EVTRException& e) {
        Say("error " + std::to_string(e.NativeError()));
      }
    }
  } catch (const EVTRException& e) {
    Say("error " + std::to_string(e.NativeError()));
    return 1;
  }
  return 0;
}
