#pragma once
// Secondary escape estimation: one adaptive estimate of the escape frequency, shared by a class of masked
// contexts (the coder escapes to a context after the symbols of a longer one were ruled out).
#include <cstdint>

#include "engine/foundation/ppm/PPMModelConstants.h"

struct PPMSeeContext {
  uint16_t summ = 0;
  uint8_t shift = ppm::kPeriodBits;
  uint8_t count = 0;

  // The estimate for one coding step; the running sum decays by what it hands out.
  unsigned Mean() {
    const unsigned mean = summ >> shift;
    summ = static_cast<uint16_t>(summ - mean);
    return mean + (mean == 0);
  }
  // After a symbol was found: the estimate adapts more slowly as evidence accumulates.
  void Update() {
    if (shift < ppm::kPeriodBits && --count == 0) {
      summ = static_cast<uint16_t>(summ * 2);
      count = static_cast<uint8_t>(3 << shift++);
    }
  }
  // After an escape: the whole coding range counts towards the escape.
  void AddEscape(unsigned scale) { summ = static_cast<uint16_t>(summ + scale); }
};
