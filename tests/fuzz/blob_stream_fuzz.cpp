// libFuzzer target of the compressed BLOB stream. An input is a stored value
// with its settings (tests/support/BlobStreamExercise.h), which the stream
// opens and uses. When the top bit of the first byte is set, the input
// describes a value instead: the stream stores the first bytes after the
// settings (as many as the size field says), and the rest, taken three bytes
// at a time (u16 offset, xor mask), damages the stored image. So the fuzzer
// reaches well-formed chains and blocks without having to find them.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/BlobStreamExercise.h"

namespace {

std::vector<uint8_t> StoreAndDamage(const uint8_t* data, size_t size) {
  TVTRBLOBDescriptor settings = BlobExerciseDescriptor(data);
  // The prefix holds 16 bits of block size: keep the mode's default out.
  if (settings.block_size == 0) settings.block_size = 4096;
  const size_t value_size =
      std::min({static_cast<size_t>(settings.uncompressed_size), size - kBlobExercisePrefixSize,
                64 * static_cast<size_t>(settings.block_size)});
  TVTRMemoryStream stored;
  try {
    TVTRCompressedBLOBStream blob(stored, settings, true);
    if (value_size > 0) blob.WriteBuffer(data + kBlobExercisePrefixSize, static_cast<int32_t>(value_size));
    const auto* memory = static_cast<const uint8_t*>(stored.Memory());
    std::vector<uint8_t> image(memory, memory + (memory ? stored.Size() : 0));
    for (size_t i = kBlobExercisePrefixSize + value_size; i + 3 <= size && !image.empty(); i += 3)
      image[(data[i] | data[i + 1] << 8) % image.size()] ^= data[i + 2];
    return BlobExerciseInput(blob.Descriptor(), static_cast<uint8_t>(data[6] & ~1), image);
  } catch (const EVTRException&) {
    return {};  // settings that cannot store a value
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kBlobExercisePrefixSize || size > (1u << 20)) return 0;
  // The PPM coder has a target of its own (ppm_fuzz); here its many paths
  // would draw the search away from the stream.
  if (BlobExerciseDescriptor(data).algorithm == cmPPM) return 0;
  const std::vector<uint8_t> input =
      data[0] & 0x80 ? StoreAndDamage(data, size) : std::vector<uint8_t>(data, data + size);
  const std::string fault = ExerciseStoredBlob(input.data(), input.size());
  if (!fault.empty()) {
    std::fprintf(stderr, "%s\n", fault.c_str());
    std::abort();
  }
  return 0;
}
