#include "engine/foundation/Compression.h"

#include <bzlib.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <limits>
#include <new>

#include "engine/foundation/ppm/PPMCompressor.h"
#include "platform/rtl/TextCase.h"

namespace {

// Both libraries count bytes in unsigned int; engine buffers stay far below.
bool FitsCoder(size_t size) {
  return size <= std::numeric_limits<unsigned int>::max();
}

bool ZlibCompress(int level, const void* in, size_t in_size, std::vector<uint8_t>& out) {
  z_stream stream{};
  if (deflateInit(&stream, level) != Z_OK) return false;
  out.resize(deflateBound(&stream, static_cast<uLong>(in_size)));
  stream.next_in = static_cast<Bytef*>(const_cast<void*>(in));
  stream.avail_in = static_cast<uInt>(in_size);
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  // With room for deflateBound bytes one call with Z_FINISH completes the stream.
  const int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return result == Z_STREAM_END;
}

// Decompressed output takes expected_size at once up to kFirstOutputStep (so
// values of ordinary size decompress in one pass) and beyond that grows with
// what the stream gives, doubling: a size taken from damaged data alone never
// reserves much more than the stream holds.
constexpr size_t kFirstOutputStep = 16 << 20;

size_t NextOutputSize(size_t current, size_t in_size, size_t expected_size) {
  const size_t wanted = current == 0 ? std::max(kFirstOutputStep, 4 * in_size) : 2 * current;
  return std::min(wanted, expected_size);
}

bool ZlibDecompress(const void* in, size_t in_size, size_t expected_size, std::vector<uint8_t>& out) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  stream.next_in = static_cast<Bytef*>(const_cast<void*>(in));
  stream.avail_in = static_cast<uInt>(in_size);
  int result = Z_BUF_ERROR;
  // Z_BUF_ERROR with no room left: the output must grow; with room left:
  // the stream ended early. A stream that needs more than expected_size fails.
  while (result == Z_BUF_ERROR && stream.avail_out == 0 && out.size() < expected_size) {
    out.resize(NextOutputSize(out.size(), in_size, expected_size));
    stream.next_out = out.data() + stream.total_out;
    stream.avail_out = static_cast<uInt>(out.size() - stream.total_out);
    result = inflate(&stream, Z_FINISH);
  }
  out.resize(stream.total_out);
  inflateEnd(&stream);
  return result == Z_STREAM_END;
}

bool BzipCompress(int block_size, const void* in, size_t in_size, std::vector<uint8_t>& out) {
  // bzip2's documented worst case: 1% more than the input plus 600 bytes.
  const size_t bound = in_size + in_size / 100 + 601;
  if (!FitsCoder(bound)) return false;
  out.resize(bound);
  unsigned int out_size = static_cast<unsigned int>(bound);
  const int result = BZ2_bzBuffToBuffCompress(
      reinterpret_cast<char*>(out.data()), &out_size, static_cast<char*>(const_cast<void*>(in)),
      static_cast<unsigned int>(in_size), block_size, /*verbosity=*/0, /*workFactor=*/0);
  out.resize(result == BZ_OK ? out_size : 0);
  return result == BZ_OK;
}

bool BzipDecompress(const void* in, size_t in_size, size_t expected_size, std::vector<uint8_t>& out) {
  bz_stream stream{};
  if (BZ2_bzDecompressInit(&stream, /*verbosity=*/0, /*small=*/0) != BZ_OK) return false;
  stream.next_in = static_cast<char*>(const_cast<void*>(in));
  stream.avail_in = static_cast<unsigned int>(in_size);
  size_t produced = 0;
  int result = BZ_OK;
  // BZ_OK with no room left: the output must grow; with room left the input
  // ran out before the stream's end.
  while (result == BZ_OK && stream.avail_out == 0 && out.size() < expected_size) {
    out.resize(NextOutputSize(out.size(), in_size, expected_size));
    stream.next_out = reinterpret_cast<char*>(out.data() + produced);
    stream.avail_out = static_cast<unsigned int>(out.size() - produced);
    result = BZ2_bzDecompress(&stream);
    produced = out.size() - stream.avail_out;
  }
  out.resize(result == BZ_STREAM_END ? produced : 0);
  BZ2_bzDecompressEnd(&stream);
  return result == BZ_STREAM_END;
}

bool PPMCompress(int mode, const void* in, size_t in_size, std::vector<uint8_t>& out) {
  const PPMParameters parameters = PPMParametersForMode(mode);
  const int64_t capacity = PPMOutputCapacity(static_cast<int64_t>(in_size));
  if (parameters.model_order == 0 || capacity > INT32_MAX) return false;
  out.resize(static_cast<size_t>(capacity));
  const int32_t written =
      PPMCompressBuffer(in, static_cast<int32_t>(in_size), out.data(), static_cast<int32_t>(capacity),
                        parameters.model_order, parameters.memory_mb);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return written > 0;
}

// The model decodes into one buffer, so a buffer that fills up is made
// larger and the data decoded again.
bool PPMDecompress(const void* in, size_t in_size, size_t expected_size, std::vector<uint8_t>& out) {
  if (in_size > INT32_MAX || expected_size > INT32_MAX) return false;
  for (;;) {
    out.resize(NextOutputSize(out.size(), in_size, expected_size));
    PPMCodingReport report;
    const int32_t decoded = PPMDecompressBuffer(in, static_cast<int32_t>(in_size), out.data(),
                                                static_cast<int32_t>(out.size()), &report);
    if (decoded > 0) {
      out.resize(static_cast<size_t>(decoded));
      return true;
    }
    if (!report.output_full || out.size() == expected_size) return false;
  }
}

// Runs one coder into `out`: true only when it succeeded with some output;
// otherwise, a lack of memory included, `out` is left empty.
template <typename Coder>
bool RunCoder(std::vector<uint8_t>& out, Coder&& coder) {
  bool done = false;
  try {
    done = coder();
  } catch (const std::bad_alloc&) {
    done = false;
  }
  if (!done) out.clear();
  return !out.empty();
}

}  // namespace

TVTRCompressionMethod CompressionAlgorithmFromName(std::string_view name) {
  for (size_t i = 0; i < kCompressionAlgorithmNames.size(); ++i) {
    if (SameText(name, kCompressionAlgorithmNames[i])) return static_cast<TVTRCompressionMethod>(i);
  }
  return cmNone;
}

bool CompressBuffer(TVTRCompressionMethod algorithm, uint8_t mode, const void* in, size_t in_size,
                    std::vector<uint8_t>& out) {
  out.clear();
  if (in == nullptr || in_size == 0 || !FitsCoder(in_size)) return false;
  return RunCoder(out, [&] {
    switch (algorithm) {
      case cmZlib:
        return ZlibCompress(mode, in, in_size, out);
      case cmBzip:
        return BzipCompress(mode, in, in_size, out);
      case cmPPM:
        return PPMCompress(mode, in, in_size, out);
      case cmNone:  // callers store such data as it is
      default:
        return false;
    }
  });
}

bool DecompressBuffer(TVTRCompressionMethod algorithm, const void* in, size_t in_size, size_t expected_size,
                      std::vector<uint8_t>& out) {
  out.clear();
  if (in == nullptr || in_size == 0 || expected_size == 0 || !FitsCoder(in_size) ||
      !FitsCoder(expected_size)) {
    return false;
  }
  return RunCoder(out, [&] {
    switch (algorithm) {
      case cmZlib:
        return ZlibDecompress(in, in_size, expected_size, out);
      case cmBzip:
        return BzipDecompress(in, in_size, expected_size, out);
      case cmPPM:
        return PPMDecompress(in, in_size, expected_size, out);
      case cmNone:
      default:
        return false;
    }
  });
}
