// Coding of one symbol: first in the current context, then, after each escape, in the next suffix context
// that has symbols not yet ruled out. The encoder and the decoder share every model update; they differ
// only in how the coded interval is chosen (by the symbol, or by the code value).
//
// Intervals of a context, in the order of its states:
//   one symbol:  [0, p) the symbol, [p, 2^14) escape; p from the one-symbol probability table
//   first:       each state's frequency in turn, then the escape up to the context's frequency total
//   masked:      each unmasked state's frequency in turn, then the estimated escape frequency
#include "engine/foundation/ppm/PPMModel.h"
#include "engine/foundation/ppm/PPMModelConstants.h"
#include "engine/foundation/ppm/PPMRangeCoder.h"

using namespace ppm;

// Only the top context of a fresh model is empty; coding starts below it, at no cost.
void PPMModel::SkipEmptyContext() {
  if (NumStats(min_context_) == 0) {
    ++order_fall_;
    min_context_ = Ptr(Suffix(min_context_));
  }
}

// Moves to the next suffix context with symbols not yet ruled out; false past the order-0 context.
bool PPMModel::EscapeToSuffix() {
  do {
    ++order_fall_;
    const Ref suffix = Suffix(min_context_);
    if (suffix == 0) return false;
    min_context_ = Ptr(suffix);
  } while (NumStats(min_context_) <= num_masked_);
  return true;
}

uint16_t& PPMModel::BinaryProbability(uint8_t* state) {
  const unsigned suffix_symbols = NumStats(Ptr(Suffix(min_context_)));
  return bin_summ_[Freq(state) - 1][prev_success_ + kNs2BsIndx[suffix_symbols - 1]];
}

void PPMModel::BinaryFound(uint8_t* state, uint16_t& probability) {
  found_state_ = state;
  Freq(state) += Freq(state) < 128;
  probability =
      static_cast<uint16_t>(probability + kInterval - ((probability + kInterval / 4) >> kPeriodBits));
  prev_success_ = 1;
}

void PPMModel::BinaryEscape(uint8_t* state, uint16_t& probability) {
  probability = static_cast<uint16_t>(probability - ((probability + kInterval / 4) >> kPeriodBits));
  init_esc_ = kExpEscape[probability >> 10];
  num_masked_ = 1;
  char_mask_[Symbol(state)] = esc_count_;
  prev_success_ = 0;
  found_state_ = nullptr;
}

// The first state of the first context, coded with interval [0, its frequency).
void PPMModel::FirstStateFound(uint8_t* state, unsigned scale) {
  prev_success_ = 2 * Freq(state) > scale;
  found_state_ = state;
  Freq(state) += 4;
  SetSummFreq(min_context_, SummFreq(min_context_) + 4);
  if (Freq(state) > kMaxFreq) Rescale();
}

// A later state of the first context; it moves ahead of its predecessor once more frequent.
void PPMModel::LaterStateFound(uint8_t* state) {
  prev_success_ = 0;
  Freq(state) += 4;
  SetSummFreq(min_context_, SummFreq(min_context_) + 4);
  if (Freq(state) > Freq(state - kStateSize)) {
    SwapStates(state, state - kStateSize);
    state -= kStateSize;
    found_state_ = state;
    if (Freq(state) > kMaxFreq) Rescale();
    return;
  }
  found_state_ = state;
}

void PPMModel::EscapeFromFirstContext() {
  prev_success_ = 0;
  num_masked_ = NumStats(min_context_);
  uint8_t* state = StatsOf(min_context_);
  for (unsigned i = 0; i < num_masked_; ++i, state += kStateSize) char_mask_[Symbol(state)] = esc_count_;
  found_state_ = nullptr;
}

// The escape frequency of min_context_ after an escape, from the estimation context of its class: the
// number of unmasked symbols, whether it has fewer symbols than its suffix by more than that, whether its
// total is small for its size, and whether more symbols were ruled out than remain.
PPMSeeContext& PPMModel::EscapeEstimate(unsigned& escape_freq) {
  const int symbols = static_cast<int>(NumStats(min_context_));
  if (symbols == 256) {
    escape_freq = 1;
    return spare_see_;
  }
  const int unmasked = symbols - static_cast<int>(num_masked_);
  const int suffix_symbols = static_cast<int>(NumStats(Ptr(Suffix(min_context_))));
  const int column = (unmasked < suffix_symbols - symbols) +
                     2 * (static_cast<int>(SummFreq(min_context_)) < 11 * symbols) +
                     4 * (static_cast<int>(num_masked_) > unmasked);
  PPMSeeContext& see = see_[kNs2Indx[unmasked - 1]][column];
  escape_freq = see.Mean();
  return see;
}

unsigned PPMModel::CollectUnmasked(std::array<uint8_t*, 256>& states, unsigned& total) const {
  unsigned count = 0;
  total = 0;
  uint8_t* state = StatsOf(min_context_);
  for (unsigned i = NumStats(min_context_); i > 0; --i, state += kStateSize) {
    if (char_mask_[Symbol(state)] == esc_count_) continue;
    states[count++] = state;
    total += Freq(state);
  }
  return count;
}

void PPMModel::MaskedStateFound(PPMSeeContext& see, uint8_t* state) {
  see.Update();
  found_state_ = state;
  Freq(state) += 4;
  SetSummFreq(min_context_, SummFreq(min_context_) + 4);
  if (Freq(state) > kMaxFreq) Rescale();
  if (++esc_count_ == 0) {
    char_mask_.fill(0);
    esc_count_ = 1;
  }
}

void PPMModel::EscapeFromMaskedContext(PPMSeeContext& see, unsigned scale,
                                       const std::array<uint8_t*, 256>& states, unsigned count) {
  see.AddEscape(scale);
  for (unsigned i = 0; i < count; ++i) char_mask_[Symbol(states[i])] = esc_count_;
  num_masked_ = NumStats(min_context_);
  found_state_ = nullptr;
}

bool PPMModel::EncodeSymbol(PPMRangeEncoder& coder, int symbol) {
  SkipEmptyContext();
  if (NumStats(min_context_) == 1) {
    uint8_t* state = OneState(min_context_);
    uint16_t& probability = BinaryProbability(state);
    if (Symbol(state) == symbol) {
      coder.EncodeShift(0, probability, kTotBits);
      BinaryFound(state, probability);
    } else {
      coder.EncodeShift(probability, kBinScale, kTotBits);
      BinaryEscape(state, probability);
    }
  } else {
    EncodeInFirstContext(coder, symbol);
  }
  while (found_state_ == nullptr) {
    coder.Normalize();
    if (!EscapeToSuffix()) return false;
    EncodeInMaskedContext(coder, symbol);
  }
  return true;
}

int PPMModel::DecodeSymbol(PPMRangeDecoder& coder) {
  SkipEmptyContext();
  if (NumStats(min_context_) == 1) {
    uint8_t* state = OneState(min_context_);
    uint16_t& probability = BinaryProbability(state);
    if (coder.GetShiftCount(kTotBits) < probability) {
      coder.Decode(0, probability);
      BinaryFound(state, probability);
    } else {
      coder.Decode(probability, kBinScale);
      BinaryEscape(state, probability);
    }
  } else {
    DecodeInFirstContext(coder);
  }
  while (found_state_ == nullptr) {
    coder.Normalize();
    if (!EscapeToSuffix()) return -1;
    DecodeInMaskedContext(coder);
  }
  return Symbol(found_state_);
}

void PPMModel::EncodeInFirstContext(PPMRangeEncoder& coder, int symbol) {
  const unsigned scale = SummFreq(min_context_);
  uint8_t* state = StatsOf(min_context_);
  if (Symbol(state) == symbol) {
    coder.Encode(0, Freq(state), scale);
    FirstStateFound(state, scale);
    return;
  }
  unsigned low = Freq(state);
  for (unsigned i = NumStats(min_context_) - 1; i > 0; --i) {
    state += kStateSize;
    if (Symbol(state) == symbol) {
      coder.Encode(low, low + Freq(state), scale);
      LaterStateFound(state);
      return;
    }
    low += Freq(state);
  }
  coder.Encode(low, scale, scale);
  EscapeFromFirstContext();
}

void PPMModel::DecodeInFirstContext(PPMRangeDecoder& coder) {
  const unsigned scale = SummFreq(min_context_);
  const uint32_t count = coder.GetCount(scale);
  uint8_t* state = StatsOf(min_context_);
  unsigned high = Freq(state);
  if (count < high) {
    coder.Decode(0, high);
    FirstStateFound(state, scale);
    return;
  }
  for (unsigned i = NumStats(min_context_) - 1; i > 0; --i) {
    state += kStateSize;
    high += Freq(state);
    if (count < high) {
      coder.Decode(high - Freq(state), high);
      LaterStateFound(state);
      return;
    }
  }
  coder.Decode(high, scale);
  EscapeFromFirstContext();
}

void PPMModel::EncodeInMaskedContext(PPMRangeEncoder& coder, int symbol) {
  unsigned escape_freq;
  PPMSeeContext& see = EscapeEstimate(escape_freq);
  std::array<uint8_t*, 256> states;
  unsigned total;
  const unsigned count = CollectUnmasked(states, total);
  const unsigned scale = total + escape_freq;
  unsigned low = 0;
  for (unsigned i = 0; i < count; ++i) {
    if (Symbol(states[i]) == symbol) {
      coder.Encode(low, low + Freq(states[i]), scale);
      MaskedStateFound(see, states[i]);
      return;
    }
    low += Freq(states[i]);
  }
  coder.Encode(total, scale, scale);
  EscapeFromMaskedContext(see, scale, states, count);
}

void PPMModel::DecodeInMaskedContext(PPMRangeDecoder& coder) {
  unsigned escape_freq;
  PPMSeeContext& see = EscapeEstimate(escape_freq);
  std::array<uint8_t*, 256> states;
  unsigned total;
  const unsigned count = CollectUnmasked(states, total);
  const unsigned scale = total + escape_freq;
  const uint32_t target = coder.GetCount(scale);
  if (target < total) {
    unsigned i = 0;
    unsigned high = Freq(states[0]);
    while (high <= target) high += Freq(states[++i]);
    coder.Decode(high - Freq(states[i]), high);
    MaskedStateFound(see, states[i]);
  } else {
    coder.Decode(total, scale);
    EscapeFromMaskedContext(see, scale, states, count);
  }
}
