#pragma once
// Test support: feeds arbitrary bytes to the compressed BLOB stream as a
// stored value and uses it as a cursor would. Shared by the deterministic
// damage test and the libFuzzer target.
//
// Input: a 10-byte prefix of settings, then the underlying stream's bytes.
//   0     algorithm (mod 4)        1     mode (mod 10)
//   2..3  block size (u16)         4..5  block count (u16)
//   6     bit 0 new value, bit 1 accept short data, bits 2..7 seed of the operations
//   7     start position           8..9  uncompressed size (u16)
#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/foundation/VTRCompression.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRStreams.h"

inline constexpr size_t kBlobExercisePrefixSize = 10;

inline std::vector<uint8_t> BlobExerciseInput(const TVTRBLOBDescriptor& descriptor, uint8_t flags,
                                              const std::vector<uint8_t>& stored) {
  std::vector<uint8_t> input = {static_cast<uint8_t>(descriptor.algorithm),
                                descriptor.mode,
                                static_cast<uint8_t>(descriptor.block_size),
                                static_cast<uint8_t>(descriptor.block_size >> 8),
                                static_cast<uint8_t>(descriptor.block_count),
                                static_cast<uint8_t>(descriptor.block_count >> 8),
                                flags,
                                static_cast<uint8_t>(descriptor.start_position),
                                static_cast<uint8_t>(descriptor.uncompressed_size),
                                static_cast<uint8_t>(descriptor.uncompressed_size >> 8)};
  input.insert(input.end(), stored.begin(), stored.end());
  return input;
}

namespace blob_exercise {

struct Random {
  uint32_t state;
  uint32_t Next(uint32_t bound) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % bound;
  }
};

// The bytes a read returns; a count outside 0..count breaks the stream's
// contract and escapes as a logic error.
inline std::vector<uint8_t> ReadRange(TVTRCompressedBLOBStream& blob, int64_t position, int32_t count) {
  blob.SetPosition(position);
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  const int32_t read = blob.Read(bytes.data(), count);
  if (read < 0 || read > count) throw std::logic_error("Read returned " + std::to_string(read));
  bytes.resize(static_cast<size_t>(read));
  return bytes;
}

// Bytes a read must return from `position`: all that remain, up to count.
inline size_t Expected(int64_t size, int64_t position, int32_t count) {
  return position >= size ? 0 : static_cast<size_t>(std::min<int64_t>(count, size - position));
}

// The promises the stream keeps whatever the stored bytes are; engine errors
// are the accepted answer to damage. Returns the first broken promise.
inline std::string Exercise(TVTRCompressedBLOBStream& blob, TStream& stored, bool compressing,
                            Random& random) {
  const int64_t size = blob.Size();
  if (size < 0) return "negative size";
  // Compressed reads return every byte asked for up to the end or raise;
  // a window on a short stream may return fewer.
  const auto read_fits = [&](const std::vector<uint8_t>& bytes, int64_t position, int32_t count) {
    const size_t expected = Expected(size, position, count);
    return compressing ? bytes.size() == expected : bytes.size() <= expected;
  };
  try {
    for (int64_t position = 0; position < std::min<int64_t>(size, 1 << 22);) {
      const auto count = static_cast<int32_t>(1 + random.Next(5000));
      const std::vector<uint8_t> bytes = ReadRange(blob, position, count);
      if (!read_fits(bytes, position, count)) return "read of the whole value gave a wrong count";
      if (bytes.empty()) break;
      position += static_cast<int64_t>(bytes.size());
    }
  } catch (const EVTRException&) {
  }
  for (int i = 0; i < 4; ++i) {
    const int64_t position = random.Next(static_cast<uint32_t>(std::min<int64_t>(size, 1 << 20)) + 100);
    const auto count = static_cast<int32_t>(1 + random.Next(3000));
    try {
      if (!read_fits(ReadRange(blob, position, count), position, count)) return "read gave a wrong count";
    } catch (const EVTRException&) {
    }
  }

  // Appending: what was written reads back.
  // A few blocks at most: every block costs a coder set-up.
  const auto reach = static_cast<uint32_t>(std::min<int64_t>(2000, 4 * int64_t{blob.BlockSize()}));
  std::vector<uint8_t> appended(1 + random.Next(reach));
  for (auto& b : appended) b = static_cast<uint8_t>(random.Next(256));
  try {
    blob.Seek(0, TSeekOrigin::soEnd);
    if (blob.Write(appended.data(), static_cast<int32_t>(appended.size())) !=
        static_cast<int32_t>(appended.size()))
      return "append wrote fewer bytes";
    if (blob.Size() != size + static_cast<int64_t>(appended.size())) return "append gave a wrong size";
    if (ReadRange(blob, size, static_cast<int32_t>(appended.size())) != appended)
      return "appended bytes read back wrong";
  } catch (const EVTRException&) {
    return {};  // a damaged last block cannot be continued
  }

  // Shortening and growing with zeros.
  const int64_t shorter = random.Next(static_cast<uint32_t>(std::min<int64_t>(blob.Size(), 1 << 30)) + 1);
  try {
    blob.SetSize(shorter);
    if (blob.Size() != shorter || blob.Position() > shorter) return "shortening gave a wrong size";
    const int64_t longer = shorter + 1 + random.Next(reach);
    blob.SetSize(longer);
    if (blob.Size() != longer) return "growing gave a wrong size";
    const auto grown = static_cast<int32_t>(longer - shorter);
    if (ReadRange(blob, shorter, grown) != std::vector<uint8_t>(static_cast<size_t>(grown), 0))
      return "grown bytes are not zeros";
  } catch (const EVTRException&) {
    return {};  // a damaged block where the value is cut
  }

  // What the stream wrote, it opens again, and the fresh bytes read back.
  const TVTRBLOBDescriptor descriptor = blob.Descriptor();
  const auto grown = static_cast<int32_t>(blob.Size() - shorter);
  try {
    stored.SetPosition(0);
    TVTRCompressedBLOBStream reopened(stored, descriptor, false);
    if (reopened.Size() != blob.Size()) return "reopened with a different size";
    if (ReadRange(reopened, shorter, grown) != std::vector<uint8_t>(static_cast<size_t>(grown), 0))
      return "reopened with different bytes";
  } catch (const EVTRException& e) {
    return "cannot reopen what was written: " + e.Message();
  }
  return {};
}

}  // namespace blob_exercise

// The settings in an input's prefix.
inline TVTRBLOBDescriptor BlobExerciseDescriptor(const uint8_t* prefix) {
  TVTRBLOBDescriptor descriptor;
  descriptor.algorithm = static_cast<TVTRCompressionMethod>(prefix[0] % 4);
  descriptor.mode = static_cast<uint8_t>(prefix[1] % 10);
  descriptor.block_size = prefix[2] | prefix[3] << 8;
  descriptor.block_count = prefix[4] | prefix[5] << 8;
  descriptor.start_position = prefix[7];
  descriptor.uncompressed_size = prefix[8] | prefix[9] << 8;
  return descriptor;
}

// Opens the input as a stored value and exercises it; returns the first broken
// promise, empty when there is none. Anything but an engine error escapes.
inline std::string ExerciseStoredBlob(const uint8_t* data, size_t size) {
  if (size < kBlobExercisePrefixSize) return {};
  const TVTRBLOBDescriptor descriptor = BlobExerciseDescriptor(data);
  const bool new_value = data[6] & 1;
  const bool accept_short_data = data[6] & 2;
  blob_exercise::Random random{static_cast<uint32_t>(data[6] >> 2)};
  TVTRMemoryStream stored;
  if (size > kBlobExercisePrefixSize)
    stored.WriteBuffer(data + kBlobExercisePrefixSize, static_cast<int32_t>(size - kBlobExercisePrefixSize));
  stored.SetPosition(0);
  try {
    TVTRCompressedBLOBStream blob(stored, descriptor, new_value, accept_short_data);
    return blob_exercise::Exercise(blob, stored, descriptor.algorithm != cmNone, random);
  } catch (const EVTRException&) {
    return {};  // refused when opened
  }
}
