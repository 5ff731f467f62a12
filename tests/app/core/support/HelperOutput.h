#pragma once
// The lines a helper program (a second copy of a program) printed, read to
// its end, without their line breaks.
#include <cstdio>
#include <string>
#include <vector>

inline std::vector<std::string> OutputOf(FILE* copy) {
  std::vector<std::string> lines;
  char line[512] = {};
  while (std::fgets(line, sizeof line, copy) != nullptr) {
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    lines.push_back(text);
  }
  return lines;
}
