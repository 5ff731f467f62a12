#include "platform/ui/Graphics.h"

#include <strings.h>

#include <array>
#include <cmath>

int TFont::Size() const {
  return static_cast<int>(std::lround(height_ * 72.0 / 96.0));
}

void TFont::SetSize(int points) {
  height_ = static_cast<int>(std::lround(points * 96.0 / 72.0));
}

TFontSubstitute SubstituteFont(const std::string& name) {
  // The UPC families are tall and narrow; the factors make the TLWG families take
  // about the same width for the same nominal height.
  struct Entry {
    const char* name;
    const char* family;
    double factor;
  };
  static constexpr std::array<Entry, 6> kTable{{
      {"CordiaUPC", "Umpush", 0.65},
      {"Cordia New", "Umpush", 0.65},
      {"EucrosiaUPC", "Kinnari", 0.67},
      {"AngsanaUPC", "Kinnari", 0.67},
      {"MS Sans Serif", "Loma", 1.0},
      {"Microsoft Sans Serif", "Loma", 1.0},
  }};
  for (const Entry& entry : kTable) {
    if (strcasecmp(entry.name, name.c_str()) == 0) return {entry.family, entry.factor};
  }
  return {name, 1.0};
}
