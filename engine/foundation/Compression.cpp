#include "engine/foundation/Compression.h"

#include <bzlib.h>
#include <zlib.h>

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

bool ZlibDecompress(const void* in, size_t in_size, std::vector<uint8_t>& out) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  stream.next_in = static_cast<Bytef*>(const_cast<void*>(in));
  stream.avail_in = static_cast<uInt>(in_size);
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  // Z_FINISH in one call: a stream that needs more room than out has fails.
  const int result = inflate(&stream, Z_FINISH);
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

bool BzipDecompress(const void* in, size_t in_size, std::vector<uint8_t>& out) {
  unsigned int out_size = static_cast<unsigned int>(out.size());
  const int result = BZ2_bzBuffToBuffDecompress(reinterpret_cast<char*>(out.data()), &out_size,
                                                static_cast<char*>(const_cast<void*>(in)),
                                                static_cast<unsigned int>(in_size),
                                                /*small=*/0, /*verbosity=*/0);
  out.resize(result == BZ_OK ? out_size : 0);
  return result == BZ_OK;
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

bool PPMDecompress(const void* in, size_t in_size, std::vector<uint8_t>& out) {
  if (in_size > INT32_MAX || out.size() > INT32_MAX) return false;
  const int32_t decoded = PPMDecompressBuffer(in, static_cast<int32_t>(in_size), out.data(),
                                              static_cast<int32_t>(out.size()));
  out.resize(decoded > 0 ? static_cast<size_t>(decoded) : 0);
  return decoded > 0;
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
  bool done = false;
  try {
    switch (algorithm) {
      case cmZlib:
        done = ZlibCompress(mode, in, in_size, out);
        break;
      case cmBzip:
        done = BzipCompress(mode, in, in_size, out);
        break;
      case cmPPM:
        done = PPMCompress(mode, in, in_size, out);
        break;
      case cmNone:  // callers store such data as it is
      default:
        break;
    }
  } catch (const std::bad_alloc&) {
    done = false;
  }
  if (!done || out.empty()) out.clear();
  return !out.empty();
}

bool DecompressBuffer(TVTRCompressionMethod algorithm, const void* in, size_t in_size, size_t expected_size,
                      std::vector<uint8_t>& out) {
  out.clear();
  if (in == nullptr || in_size == 0 || expected_size == 0 || !FitsCoder(in_size) ||
      !FitsCoder(expected_size)) {
    return false;
  }
  bool done = false;
  try {
    switch (algorithm) {
      case cmZlib:
        out.resize(expected_size);
        done = ZlibDecompress(in, in_size, out);
        break;
      case cmBzip:
        out.resize(expected_size);
        done = BzipDecompress(in, in_size, out);
        break;
      case cmPPM:
        out.resize(expected_size);
        done = PPMDecompress(in, in_size, out);
        break;
      case cmNone:
      default:
        break;
    }
  } catch (const std::bad_alloc&) {
    done = false;
  }
  if (!done || out.empty()) out.clear();
  return !out.empty();
}
