#pragma once
// Whole-buffer compression with one of the engine's algorithms, chosen by the
// number stored in field definitions, BLOB descriptors and internal-file
// headers. Failures come back as false; callers raise their own errors.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

enum TVTRCompressionMethod : uint8_t {
  cmNone = 0,
  cmZlib = 1,  // mode = deflate level
  cmBzip = 2,  // mode = block size in units of 100,000 bytes
  cmPPM = 3,
};

// Names indexed by algorithm number.
inline constexpr std::array<std::string_view, 4> kCompressionAlgorithmNames = {"NONE", "ZLIB", "BZIP", "PPM"};

// The algorithm of a name in any case; cmNone for a name that is none of them.
TVTRCompressionMethod CompressionAlgorithmFromName(std::string_view name);

// True when out holds the compressed image of the in_size bytes (possibly
// larger than the input). False for cmNone, an empty input, an unknown
// algorithm or mode, or any failure of the coder; out is then empty.
bool CompressBuffer(TVTRCompressionMethod algorithm, uint8_t mode, const void* in, size_t in_size,
                    std::vector<uint8_t>& out);

// True when out holds the decompressed image, which is never longer than
// expected_size: a stream that would produce more is refused, so a damaged
// block cannot make the buffer grow without bound. Memory grows with what the
// stream decompresses to, so a damaged expected_size alone reserves nothing.
// The caller compares out.size() with the size it expected. False as for
// CompressBuffer, and for a damaged or truncated stream; out is then empty.
bool DecompressBuffer(TVTRCompressionMethod algorithm, const void* in, size_t in_size, size_t expected_size,
                      std::vector<uint8_t>& out);
