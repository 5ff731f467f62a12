// Random and damaged stored values never crash the BLOB stream nor make it
// touch memory out of bounds (the sanitizers watch): it keeps its promises or
// raises an engine error. tests/fuzz/blob_stream_fuzz.cpp explores further.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string_view>
#include <vector>

#include "tests/support/BlobStreamExercise.h"

namespace {

using Bytes = std::vector<uint8_t>;

// An exercise input holding a valid value, and where its headers lie in it.
struct ValidInput {
  Bytes input;
  std::vector<size_t> headers;
};

ValidInput StoreValue(TVTRCompressionMethod algorithm, uint8_t mode, int32_t block_size, size_t size,
                      uint8_t start, uint8_t flags) {
  const std::string_view text = "Merit offering for the temple roof: 1,250.00 baht. ";
  Bytes value(size);
  for (size_t i = 0; i < size; ++i) value[i] = static_cast<uint8_t>(text[i % text.size()] + (i / 997) % 3);
  TVTRBLOBDescriptor descriptor;
  descriptor.algorithm = algorithm;
  descriptor.mode = mode;
  descriptor.block_size = block_size;
  descriptor.start_position = start;
  TVTRMemoryStream stored;
  TVTRCompressedBLOBStream blob(stored, descriptor, true);
  blob.WriteBuffer(value.data(), static_cast<int32_t>(size));
  const auto* memory = static_cast<const uint8_t*>(stored.Memory());
  ValidInput valid{BlobExerciseInput(blob.Descriptor(), flags, Bytes(memory, memory + stored.Size())), {}};
  if (algorithm == cmNone) return valid;
  size_t header = kBlobExercisePrefixSize + start;
  for (int64_t i = 0; i < blob.Descriptor().block_count; ++i) {
    valid.headers.push_back(header);
    size_t compressed = 0;
    for (size_t b = 4; b-- > 0;) compressed = compressed << 8 | valid.input[header + b];
    header += 20 + compressed;
  }
  return valid;
}

void PutLittleEndian(Bytes& bytes, size_t offset, uint64_t value, size_t width) {
  for (size_t i = 0; i < width && offset + i < bytes.size(); ++i)
    bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

Bytes Damaged(const ValidInput& valid, std::mt19937& random) {
  Bytes bytes = valid.input;
  const auto pick = [&](size_t bound) { return bound == 0 ? 0 : static_cast<size_t>(random() % bound); };
  switch (random() % 5) {
    case 0:  // a few flipped bytes anywhere, the settings included
      for (size_t n = 1 + pick(4); n > 0; --n)
        bytes[pick(bytes.size())] ^= static_cast<uint8_t>(1 + pick(255));
      break;
    case 1: {  // a header field set to a value at a limit
      if (valid.headers.empty()) break;
      const size_t header = valid.headers[pick(valid.headers.size())];
      const int64_t values[] = {0, -1, -20, 19, 20, 21, INT32_MAX, INT32_MIN, INT64_MAX, INT64_MIN, 4096};
      const size_t field = pick(4);
      PutLittleEndian(bytes, header + field * 4, static_cast<uint64_t>(values[pick(std::size(values))]),
                      field == 3 ? 8 : 4);
      break;
    }
    case 2:  // cut short
      bytes.resize(pick(bytes.size()));
      break;
    case 3: {  // a stretch copied over another place
      const size_t from = pick(bytes.size()), to = pick(bytes.size());
      const size_t count = std::min({pick(200), bytes.size() - from, bytes.size() - to});
      std::memmove(&bytes[to], &bytes[from], count);
      break;
    }
    default:  // nothing but noise
      bytes.resize(pick(3000));
      for (auto& b : bytes) b = static_cast<uint8_t>(random());
      break;
  }
  return bytes;
}

TEST(TVTRCompressedBLOBStream, SurvivesRandomAndDamagedStoredValues) {
  const std::vector<ValidInput> valid = {
      StoreValue(cmZlib, 1, 512, 3000, 0, 0),  StoreValue(cmZlib, 9, 4096, 9000, 0, 1 << 2),
      StoreValue(cmBzip, 1, 1000, 2500, 0, 2), StoreValue(cmZlib, 6, 100, 1050, 5, 3 << 2),
      StoreValue(cmNone, 0, 0, 300, 0, 0),     StoreValue(cmNone, 0, 64, 700, 3, 2 | 5 << 2),
  };
  for (const ValidInput& v : valid) EXPECT_EQ(ExerciseStoredBlob(v.input.data(), v.input.size()), "");

  std::mt19937 random(20240);
  for (int i = 0; i < 3000; ++i) {
    const Bytes input = Damaged(valid[random() % valid.size()], random);
    ASSERT_EQ(ExerciseStoredBlob(input.data(), input.size()), "") << "input " << i;
  }
}

}  // namespace
