#pragma once
// The context model of PPMd variant G: contexts up to the model order, new contexts that inherit their
// first symbol's frequency from the context below, a probability table for contexts with one symbol,
// secondary escape estimation for contexts reached after an escape, and a restart from the initial state
// when the sub-allocator runs dry. Encoder and decoder drive identical models: every decision depends only
// on the symbols coded so far, never on the coded bytes.
#include <array>
#include <cstdint>

#include "engine/foundation/ppm/PPMRecords.h"
#include "engine/foundation/ppm/PPMSeeContext.h"
#include "engine/foundation/ppm/PPMSubAllocator.h"

class PPMRangeDecoder;
class PPMRangeEncoder;

class PPMModel {
 public:
  static constexpr int kMaxOrder = 16;

  // max_order is 1 to kMaxOrder. text holds the symbols being coded (the input when compressing, the
  // output when decompressing): the model reads earlier symbols back from it. memory must be valid.
  PPMModel(PPMSubAllocator& memory, int max_order, const uint8_t* text);

  // Codes one symbol, or with -1 the end of the data, which escapes past the order-0 context. Returns
  // false when the end was coded.
  bool EncodeSymbol(PPMRangeEncoder& coder, int symbol);
  // The next symbol, or -1 at the end of the data.
  int DecodeSymbol(PPMRangeDecoder& coder);
  // Learns the symbol just coded, which text[position] now holds, and moves to the next context.
  void Advance(uint32_t position);

  // How often the model ran out of memory and started afresh.
  int32_t Restarts() const { return restarts_; }

 private:
  using Ref = ppm::Ref;

  uint8_t* Ptr(Ref ref) const { return memory_.Ptr(ref); }
  Ref RefOf(const uint8_t* p) const { return memory_.RefOf(p); }
  uint8_t* StatsOf(const uint8_t* context) const { return Ptr(ppm::Stats(context)); }
  uint8_t* FindState(uint8_t* context, unsigned symbol) const;

  // Model building (PPMModel.cpp).
  void StartModel();
  void Restart();
  void UpdateModel();
  Ref CreateSuccessors(bool skip, uint8_t* suffix_state);
  void Rescale();

  // Coding steps shared by encoder and decoder (PPMModelCoding.cpp).
  void SkipEmptyContext();
  bool EscapeToSuffix();
  uint16_t& BinaryProbability(uint8_t* state);
  void BinaryFound(uint8_t* state, uint16_t& probability);
  void BinaryEscape(uint8_t* state, uint16_t& probability);
  void FirstStateFound(uint8_t* state, unsigned scale);
  void LaterStateFound(uint8_t* state);
  void EscapeFromFirstContext();
  PPMSeeContext& EscapeEstimate(unsigned& escape_freq);
  // The states of min_context_ not ruled out yet, and the sum of their frequencies.
  unsigned CollectUnmasked(std::array<uint8_t*, 256>& states, unsigned& total) const;
  void MaskedStateFound(PPMSeeContext& see, uint8_t* state);
  void EscapeFromMaskedContext(PPMSeeContext& see, unsigned scale, const std::array<uint8_t*, 256>& states,
                               unsigned count);
  void EncodeInFirstContext(PPMRangeEncoder& coder, int symbol);
  void EncodeInMaskedContext(PPMRangeEncoder& coder, int symbol);
  void DecodeInFirstContext(PPMRangeDecoder& coder);
  void DecodeInMaskedContext(PPMRangeDecoder& coder);

  PPMSubAllocator& memory_;
  const int max_order_;
  const uint8_t* text_;
  uint32_t position_ = 0;  // of the symbol being learnt

  uint8_t* min_context_ = nullptr;  // where coding of the current symbol stands
  uint8_t* max_context_ = nullptr;  // where it started
  uint8_t* found_state_ = nullptr;  // the coded symbol's state, null after an escape
  int order_fall_ = 0;              // model order minus the order of max_context_
  unsigned num_masked_ = 0;         // symbols ruled out by the contexts escaped from
  unsigned prev_success_ = 0;       // the last symbol was the likely one of its context
  unsigned init_esc_ = 0;           // escape frequency for a one-symbol context that gets a second
  uint8_t esc_count_ = 1;           // char_mask_ marks symbols equal to it as ruled out
  std::array<uint8_t, 256> char_mask_{};
  std::array<std::array<uint16_t, 16>, 128> bin_summ_{};
  std::array<std::array<PPMSeeContext, 8>, 43> see_{};
  PPMSeeContext spare_see_;
  int32_t restarts_ = 0;
};
