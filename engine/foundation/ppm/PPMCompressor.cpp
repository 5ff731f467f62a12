#include "engine/foundation/ppm/PPMCompressor.h"

#include "engine/foundation/ppm/PPMModel.h"
#include "engine/foundation/ppm/PPMRangeCoder.h"
#include "engine/foundation/ppm/PPMSubAllocator.h"

namespace {

constexpr int32_t kHeaderSize = 4;
constexpr uint32_t kVariantG = 'G' - 'A';

constexpr PPMParameters kModeTable[] = {{0, 0},  {2, 2},  {3, 3},   {4, 7},    {5, 16},
                                        {7, 22}, {8, 25}, {10, 40}, {13, 100}, {16, 100}};

void WriteHeader(uint8_t* output, int model_order, int memory_mb) {
  const uint32_t word =
      static_cast<uint32_t>(model_order - 1) | static_cast<uint32_t>(memory_mb - 1) << 4 | kVariantG << 12;
  for (int i = 0; i < kHeaderSize; ++i) output[i] = static_cast<uint8_t>(word >> (8 * i));
}

// False for a header this coder does not write.
bool ReadHeader(const uint8_t* input, int& model_order, int& memory_mb) {
  uint32_t word = 0;
  for (int i = 0; i < kHeaderSize; ++i) word |= static_cast<uint32_t>(input[i]) << (8 * i);
  if (word >> 12 != kVariantG) return false;
  model_order = static_cast<int>(word & 0xF) + 1;
  memory_mb = static_cast<int>(word >> 4 & 0xFF) + 1;
  return true;
}

}  // namespace

PPMParameters PPMParametersForMode(int mode) {
  if (mode < 1 || mode > 9) return {0, 0};
  return kModeTable[mode];
}

int32_t PPMCompressBuffer(const void* input, int32_t input_size, void* output, int32_t output_capacity,
                          int model_order, int memory_mb, PPMCodingReport* report) {
  if (input == nullptr || output == nullptr || input_size <= 0 || output_capacity < kHeaderSize) return 0;
  if (model_order < 1 || model_order > PPMModel::kMaxOrder) return 0;
  if (memory_mb < 1 || memory_mb > static_cast<int>(PPMSubAllocator::kMaxMemoryMb)) return 0;
  PPMSubAllocator memory(static_cast<uint32_t>(memory_mb));
  if (!memory.Valid()) return 0;

  const auto* text = static_cast<const uint8_t*>(input);
  auto* out = static_cast<uint8_t*>(output);
  WriteHeader(out, model_order, memory_mb);
  PPMModel model(memory, model_order, text);
  PPMRangeEncoder coder(out + kHeaderSize, static_cast<size_t>(output_capacity - kHeaderSize));
  for (int32_t position = 0; position < input_size; ++position) {
    if (!model.EncodeSymbol(coder, text[position])) return 0;
    model.Advance(static_cast<uint32_t>(position));
    coder.Normalize();
    if (coder.Failed()) return 0;
  }
  model.EncodeSymbol(coder, -1);
  coder.Flush();
  if (coder.Failed()) return 0;
  if (report != nullptr) report->model_restarts = model.Restarts();
  return kHeaderSize + static_cast<int32_t>(coder.Size());
}

int32_t PPMDecompressBuffer(const void* input, int32_t input_size, void* output, int32_t output_size,
                            PPMCodingReport* report) {
  if (input == nullptr || output == nullptr || input_size < kHeaderSize || output_size < 0) return 0;
  const auto* in = static_cast<const uint8_t*>(input);
  int model_order = 0;
  int memory_mb = 0;
  if (!ReadHeader(in, model_order, memory_mb)) return 0;
  PPMSubAllocator memory(static_cast<uint32_t>(memory_mb));
  if (!memory.Valid()) return 0;

  auto* text = static_cast<uint8_t*>(output);
  PPMModel model(memory, model_order, text);
  PPMRangeDecoder coder(in + kHeaderSize, static_cast<size_t>(input_size - kHeaderSize));
  int32_t decoded = 0;
  for (;;) {
    const int symbol = model.DecodeSymbol(coder);
    if (coder.Failed()) return 0;
    if (symbol < 0) break;
    if (decoded == output_size) {
      if (report != nullptr) report->output_full = true;
      return 0;
    }
    text[decoded] = static_cast<uint8_t>(symbol);
    model.Advance(static_cast<uint32_t>(decoded));
    coder.Normalize();
    ++decoded;
  }
  if (report != nullptr) report->model_restarts = model.Restarts();
  return decoded;
}
