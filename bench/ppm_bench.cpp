// Compression ratio and speed of the PPM coder at modes 1, 5 and 9 against zlib at level 6, on the first
// megabyte (or a given size) of a file: ppm_bench FILE [BYTES]
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "engine/foundation/ppm/PPMCompressor.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kRepeats = 3;

// The best of kRepeats runs, in seconds.
double Time(const std::function<void()>& run) {
  double best = 1e9;
  for (int i = 0; i < kRepeats; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

void Report(const char* name, size_t input, size_t output, double compress_s, double decompress_s,
            bool intact) {
  const double mb = static_cast<double>(input) / (1 << 20);
  std::printf("%-25s %9zu %7.2f%% %10.1f %12.1f   %s\n", name, output, 100.0 * output / input,
              mb / compress_s, mb / decompress_s, intact ? "ok" : "MISMATCH");
}

void BenchPPM(const Bytes& input, int mode) {
  const PPMParameters p = PPMParametersForMode(mode);
  const auto size = static_cast<int32_t>(input.size());
  Bytes packed(static_cast<size_t>(PPMOutputCapacity(size)));
  Bytes unpacked(input.size());
  int32_t packed_size = 0;
  int32_t unpacked_size = 0;
  const double c = Time([&] {
    packed_size = PPMCompressBuffer(input.data(), size, packed.data(), static_cast<int32_t>(packed.size()),
                                    p.model_order, p.memory_mb);
  });
  const double d =
      Time([&] { unpacked_size = PPMDecompressBuffer(packed.data(), packed_size, unpacked.data(), size); });
  const std::string name = "PPM mode " + std::to_string(mode) + " (o" + std::to_string(p.model_order) + ", " +
                           std::to_string(p.memory_mb) + " MB)";
  Report(name.c_str(), input.size(), static_cast<size_t>(packed_size), c, d,
         unpacked_size == size && unpacked == input);
}

void BenchZlib(const Bytes& input) {
  Bytes packed(compressBound(input.size()));
  Bytes unpacked(input.size());
  uLongf packed_size = 0;
  uLongf unpacked_size = 0;
  const double c = Time([&] {
    packed_size = packed.size();
    compress2(packed.data(), &packed_size, input.data(), input.size(), 6);
  });
  const double d = Time([&] {
    unpacked_size = unpacked.size();
    uncompress(unpacked.data(), &unpacked_size, packed.data(), packed_size);
  });
  Report("zlib level 6", input.size(), packed_size, c, d, unpacked_size == input.size() && unpacked == input);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE [BYTES]\n", argv[0]);
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  Bytes input((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  input.resize(std::min<size_t>(input.size(), argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1 << 20));
  if (input.empty()) {
    std::fprintf(stderr, "%s: no data\n", argv[1]);
    return 1;
  }
  std::printf("%s: %zu bytes, best of %d runs\n", argv[1], input.size(), kRepeats);
  std::printf("%-25s %9s %8s %10s %12s\n", "coder", "bytes", "ratio", "comp MB/s", "decomp MB/s");
  for (int mode : {1, 5, 9}) BenchPPM(input, mode);
  BenchZlib(input);
}
