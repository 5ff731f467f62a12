#include "engine/foundation/ppm/PPMModel.h"

#include <cassert>
#include <cstring>

#include "engine/foundation/ppm/PPMModelConstants.h"

using namespace ppm;

PPMModel::PPMModel(PPMSubAllocator& memory, int max_order, const uint8_t* text)
    : memory_(memory), max_order_(max_order), text_(text) {
  assert(memory.Valid() && max_order >= 1 && max_order <= kMaxOrder);
  StartModel();
}

// The initial model: the order-0 context holds every symbol once; above it, one context per order up to
// max_order - 1 holds symbol 0, as the successor of symbol 0 below it; the context of max_order above them
// holds nothing yet. Coding starts in the context of order max_order - 1.
void PPMModel::StartModel() {
  memory_.Reset();
  // A fresh heap of 1 MiB holds the initial model many times over.
  uint8_t* order0 = Ptr(memory_.AllocContext());
  const Ref stats = memory_.AllocUnits(256 / 2);
  SetNumStats(order0, 256);
  SetSummFreq(order0, 257);
  SetStats(order0, stats);
  SetSuffix(order0, 0);
  for (unsigned symbol = 0; symbol < 256; ++symbol) SetState(Ptr(stats) + symbol * kStateSize, symbol, 1, 0);

  uint8_t* below = order0;
  uint8_t* zero_state = Ptr(stats);
  for (int order = 1; order <= max_order_; ++order) {
    uint8_t* context = Ptr(memory_.AllocContext());
    SetSuffix(context, RefOf(below));
    SetSuccessor(zero_state, RefOf(context));
    if (order < max_order_) {
      SetNumStats(context, 1);
      zero_state = OneState(context);
      SetState(zero_state, 0, 1, 0);
    } else {
      SetNumStats(context, 0);
      SetState(OneState(context), 0, 0, 0);
    }
    below = context;
  }
  min_context_ = max_context_ = Ptr(Suffix(below));
  order_fall_ = 1;
  found_state_ = nullptr;
  num_masked_ = 0;
  prev_success_ = 0;
  init_esc_ = kExpEscape[0];  // every escape from a one-symbol context sets it before it is read
  esc_count_ = 1;
  char_mask_.fill(0);

  for (unsigned row = 0; row < bin_summ_.size(); ++row)
    for (unsigned column = 0; column < bin_summ_[row].size(); ++column)
      bin_summ_[row][column] = static_cast<uint16_t>(kBinScale - kInitBinEsc[column] / (row + 2));
  for (unsigned row = 0; row < see_.size(); ++row)
    for (PPMSeeContext& see : see_[row]) see = {static_cast<uint16_t>(32 * row + 80), 3, 3};
  spare_see_ = {0, kPeriodBits, 0};
}

void PPMModel::Restart() {
  ++restarts_;
  StartModel();
}

uint8_t* PPMModel::FindState(uint8_t* context, unsigned symbol) const {
  const unsigned n = NumStats(context);
  if (n == 0) return nullptr;
  if (n == 1) return Symbol(OneState(context)) == symbol ? OneState(context) : nullptr;
  uint8_t* state = StatsOf(context);
  for (unsigned i = 0; i < n; ++i, state += kStateSize)
    if (Symbol(state) == symbol) return state;
  return nullptr;
}

void PPMModel::Advance(uint32_t position) {
  position_ = position;
  const Ref successor = Successor(found_state_);
  if (order_fall_ == 0 && IsContext(successor)) {
    min_context_ = max_context_ = Ptr(successor);
    return;
  }
  UpdateModel();
}

// Adds the coded symbol to every context escaped from, builds the context that follows it when that does
// not exist yet, and moves there. Every context keeps the symbols of the contexts whose suffix it is, so
// the searches below succeed; should they not, the model restarts, on both sides alike, rather than
// reading past a record.
void PPMModel::UpdateModel() {
  const unsigned fs_symbol = Symbol(found_state_);
  const unsigned fs_freq = Freq(found_state_);
  Ref fs_successor = Successor(found_state_);

  uint8_t* suffix_state = nullptr;
  if (fs_freq < kMaxFreq / 4 && Suffix(min_context_) != 0) {
    uint8_t* suffix = Ptr(Suffix(min_context_));
    suffix_state = FindState(suffix, fs_symbol);
    if (suffix_state == nullptr) return Restart();
    if (NumStats(suffix) != 1) {
      if (suffix_state != StatsOf(suffix) && Freq(suffix_state) >= Freq(suffix_state - kStateSize)) {
        SwapStates(suffix_state, suffix_state - kStateSize);
        suffix_state -= kStateSize;
      }
      if (Freq(suffix_state) < kMaxFreq - 9) {
        Freq(suffix_state) += 2;
        SetSummFreq(suffix, SummFreq(suffix) + 2);
      }
    } else {
      Freq(suffix_state) += Freq(suffix_state) < 32;
    }
  }

  if (order_fall_ == 0) {
    const Ref next = CreateSuccessors(true, suffix_state);
    if (next == 0) return Restart();
    SetSuccessor(found_state_, next);
    min_context_ = max_context_ = Ptr(next);
    return;
  }

  Ref successor = kTextTag | (position_ + 1);
  if (fs_successor != 0) {
    if (IsTextPosition(fs_successor)) {
      fs_successor = CreateSuccessors(false, suffix_state);
      if (fs_successor == 0) return Restart();
    }
    if (--order_fall_ == 0) successor = fs_successor;
  } else {
    SetSuccessor(found_state_, successor);
    fs_successor = RefOf(min_context_);
  }

  const unsigned ns = NumStats(min_context_);
  // Contexts above a one-symbol context cannot have been escaped from, except the empty top context.
  const unsigned s0 = ns > 1 ? SummFreq(min_context_) - ns - (fs_freq - 1) : 0;
  for (uint8_t* context = max_context_; context != min_context_; context = Ptr(Suffix(context))) {
    const unsigned ns1 = NumStats(context);
    if (ns1 == 0) {
      SetState(OneState(context), fs_symbol, 1, successor);
      SetNumStats(context, 1);
      continue;
    }
    if (ns1 != 1) {
      if ((ns1 & 1) == 0) {
        const Ref grown = memory_.ExpandUnits(Stats(context), ns1 / 2);
        if (grown == 0) return Restart();
        SetStats(context, grown);
      }
      const unsigned summ = SummFreq(context);
      SetSummFreq(context, summ + (2 * ns1 < ns) + 2 * ((4 * ns1 <= ns) & (summ <= 8 * ns1)));
    } else {
      const Ref block = memory_.AllocUnits(1);
      if (block == 0) return Restart();
      uint8_t* state = Ptr(block);
      std::memcpy(state, OneState(context), kStateSize);
      SetStats(context, block);
      Freq(state) = Freq(state) < kMaxFreq / 4 - 1 ? Freq(state) * 2 : kMaxFreq - 4;
      SetSummFreq(context, Freq(state) + init_esc_ + (ns > 3));
    }
    unsigned cf = 2 * fs_freq * (SummFreq(context) + 6);
    const unsigned sf = s0 + SummFreq(context);
    if (cf < 6 * sf) {
      cf = 1 + (cf > sf) + (cf >= 4 * sf);
      SetSummFreq(context, SummFreq(context) + 3);
    } else {
      cf = 4 + (cf >= 9 * sf) + (cf >= 12 * sf) + (cf >= 15 * sf);
      SetSummFreq(context, SummFreq(context) + cf);
    }
    SetState(StatsOf(context) + ns1 * kStateSize, fs_symbol, cf, successor);
    SetNumStats(context, ns1 + 1);
  }
  min_context_ = max_context_ = Ptr(fs_successor);
}

// Builds the missing contexts that follow the found symbol: walks down the suffix contexts while their
// state for the symbol still points to the same text position, then creates one context per state on the
// way back up, each seeded with the symbol the text shows next there. suffix_state, when not null, is the
// symbol's state in the suffix of min_context_. With skip the found state itself gets no new context (it
// already has the model order). Returns the topmost context, or 0 when memory runs out.
Ref PPMModel::CreateSuccessors(bool skip, uint8_t* suffix_state) {
  const Ref up_branch = Successor(found_state_);
  const unsigned symbol = Symbol(found_state_);
  std::array<uint8_t*, kMaxOrder + 1> chain;
  size_t length = 0;
  if (!skip) chain[length++] = found_state_;

  uint8_t* context = min_context_;
  uint8_t* state = suffix_state;
  while (Suffix(context) != 0) {
    context = Ptr(Suffix(context));
    if (state == nullptr) state = FindState(context, symbol);
    if (state == nullptr) return 0;
    const Ref successor = Successor(state);
    if (successor != up_branch) {
      if (!IsContext(successor)) return 0;
      context = Ptr(successor);
      break;
    }
    if (length == chain.size()) return 0;
    chain[length++] = state;
    state = nullptr;
  }
  if (length == 0) return RefOf(context);

  if (!IsTextPosition(up_branch) || TextPosition(up_branch) > position_) return 0;
  const uint32_t up_position = TextPosition(up_branch);
  const unsigned up_symbol = text_[up_position];
  const Ref up_successor = kTextTag | (up_position + 1);
  unsigned up_freq;
  if (NumStats(context) != 1) {
    uint8_t* parent_state = FindState(context, up_symbol);
    if (parent_state == nullptr) return 0;
    const unsigned cf = Freq(parent_state) - 1;
    const unsigned s0 = SummFreq(context) - NumStats(context) - cf;
    up_freq = 1 + (2 * cf <= s0 ? (5 * cf > s0) : (2 * cf + 3 * s0 - 1) / (2 * s0));
  } else {
    if (Symbol(OneState(context)) != up_symbol) return 0;
    up_freq = Freq(OneState(context));
  }

  do {
    const Ref child = memory_.AllocContext();
    if (child == 0) return 0;
    uint8_t* created = Ptr(child);
    SetNumStats(created, 1);
    SetState(OneState(created), up_symbol, up_freq, up_successor);
    SetSuffix(created, RefOf(context));
    SetSuccessor(chain[--length], child);
    context = created;
  } while (length != 0);
  return RefOf(context);
}

// Halves the frequencies of min_context_ after one passed kMaxFreq, keeping the states sorted by
// frequency. At the model order (order_fall_ 0) symbols seen once drop out; the context may then be left
// with one symbol. found_state_ moves to the first state.
void PPMModel::Rescale() {
  uint8_t* context = min_context_;
  const unsigned old_ns = NumStats(context);
  uint8_t* stats = StatsOf(context);
  for (uint8_t* state = found_state_; state != stats; state -= kStateSize)
    SwapStates(state, state - kStateSize);

  Freq(stats) += 4;
  int esc_freq = static_cast<int>(SummFreq(context) + 4) - Freq(stats);
  const unsigned adder = order_fall_ != 0;
  Freq(stats) = (Freq(stats) + adder) >> 1;
  unsigned summ = Freq(stats);
  for (unsigned i = 1; i < old_ns; ++i) {
    uint8_t* state = stats + i * kStateSize;
    esc_freq -= Freq(state);
    Freq(state) = (Freq(state) + adder) >> 1;
    summ += Freq(state);
    if (Freq(state) > Freq(state - kStateSize)) {
      uint8_t moving[kStateSize];
      std::memcpy(moving, state, kStateSize);
      uint8_t* slot = state;
      do {
        std::memcpy(slot, slot - kStateSize, kStateSize);
        slot -= kStateSize;
      } while (slot != stats && moving[1] > Freq(slot - kStateSize));
      std::memcpy(slot, moving, kStateSize);
    }
  }

  unsigned ns = old_ns;
  // The first state keeps at least (4 + 1) div 2, so the zeros end before it.
  while (Freq(stats + (ns - 1) * kStateSize) == 0) --ns;
  if (ns != old_ns) {
    esc_freq += static_cast<int>(old_ns - ns);
    SetNumStats(context, ns);
    if (ns == 1) {
      uint8_t single[kStateSize];
      std::memcpy(single, stats, kStateSize);
      do {
        single[1] = static_cast<uint8_t>(single[1] - (single[1] >> 1));
        esc_freq >>= 1;
      } while (esc_freq > 1);
      memory_.FreeUnits(Stats(context), (old_ns + 1) / 2);
      found_state_ = OneState(context);
      std::memcpy(found_state_, single, kStateSize);
      return;
    }
  }
  esc_freq -= esc_freq >> 1;
  SetSummFreq(context, summ + esc_freq);
  const unsigned old_units = (old_ns + 1) / 2;
  const unsigned new_units = (ns + 1) / 2;
  if (old_units != new_units) SetStats(context, memory_.ShrinkUnits(Stats(context), old_units, new_units));
  found_state_ = StatsOf(context);
}
