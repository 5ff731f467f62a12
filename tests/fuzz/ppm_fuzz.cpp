// libFuzzer target of the PPM coder. Each input is decompressed as it stands (damaged data must fail
// cleanly, never overrun), then compressed and decompressed again (any data must round-trip).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/foundation/ppm/PPMCompressor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > (1u << 20)) return 0;
  const auto input_size = static_cast<int32_t>(size);

  // The expected size comes from the data so that short and long outputs are both tried.
  std::vector<uint8_t> decoded(data[0] * 64 + 1);
  const int32_t decoded_size =
      PPMDecompressBuffer(data, input_size, decoded.data(), static_cast<int32_t>(decoded.size()));
  if (decoded_size < 0 || decoded_size > static_cast<int32_t>(decoded.size())) std::abort();

  const PPMParameters parameters = PPMParametersForMode(1 + data[0] % 4);
  std::vector<uint8_t> compressed(static_cast<size_t>(PPMOutputCapacity(input_size)));
  const int32_t compressed_size =
      PPMCompressBuffer(data, input_size, compressed.data(), static_cast<int32_t>(compressed.size()),
                        parameters.model_order, parameters.memory_mb);
  if (compressed_size == 0) return 0;  // incompressible beyond the capacity: a clean refusal
  std::vector<uint8_t> restored(size);
  if (PPMDecompressBuffer(compressed.data(), compressed_size, restored.data(), input_size) != input_size ||
      std::memcmp(restored.data(), data, size) != 0)
    std::abort();
  return 0;
}
