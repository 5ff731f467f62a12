#pragma once
// Constants of the PPMd variant G model.
#include <array>
#include <cstdint>

namespace ppm {

constexpr unsigned kMaxFreq = 124;  // a context is rescaled when a frequency passes it
constexpr unsigned kTotBits = 14;   // scale of the one-symbol contexts' probabilities
constexpr unsigned kBinScale = 1u << kTotBits;
constexpr unsigned kPeriodBits = 7;  // adaptation speed of those probabilities
constexpr unsigned kInterval = 1u << kPeriodBits;

// Initial escape probabilities of one-symbol contexts, by column of the probability table.
constexpr std::array<uint16_t, 16> kInitBinEsc = {0x3CDD, 0x1F3F, 0x59BF, 0x48F3, 0x5FFB, 0x5545,
                                                  0x63D1, 0x5D9D, 0x64A1, 0x5ABC, 0x6632, 0x6051,
                                                  0x68F6, 0x549B, 0x6BCA, 0x3AB0};

// Escape frequency for a one-symbol context that gains a second symbol, by its probability div 1024.
constexpr std::array<uint8_t, 16> kExpEscape = {25, 14, 9, 7, 5, 5, 4, 4, 4, 3, 3, 3, 2, 2, 2, 2};

// Row of the escape estimation table by a context's number of unmasked symbols minus 1.
constexpr std::array<uint8_t, 256> kNs2Indx = [] {
  std::array<uint8_t, 256> table{};
  for (int n = 0; n < 256; ++n) {
    const int row = n < 4 ? n : n < 12 ? n / 2 + 2 : n < 44 ? n / 4 + 5 : (n - 44) / 8 + 16;
    table[n] = static_cast<uint8_t>(row);
  }
  return table;
}();

// Column of the one-symbol probability table by the suffix context's number of symbols minus 1.
constexpr std::array<uint8_t, 256> kNs2BsIndx = [] {
  std::array<uint8_t, 256> table{};
  for (int n = 0; n < 256; ++n) table[n] = static_cast<uint8_t>(n < 6 ? 2 * n : n < 50 ? 12 : 14);
  return table;
}();

}  // namespace ppm
