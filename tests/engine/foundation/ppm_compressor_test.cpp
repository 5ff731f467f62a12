#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/foundation/ppm/PPMCompressor.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Words drawn from a vocabulary, frequent ones far more often, separated by spaces, punctuation and line
// ends. The letters are ASCII and then Thai code page 874 letters; more letters and words make the text
// more varied and the model larger.
Bytes MakeText(size_t size, uint32_t seed, int vocabulary_size, int alphabet_size) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> alphabet;
  for (int c = 'a'; c <= 'z'; ++c) alphabet.push_back(static_cast<uint8_t>(c));
  for (int c = 0xA1; c <= 0xFB; ++c) alphabet.push_back(static_cast<uint8_t>(c));
  for (int c = 'A'; c <= 'Z'; ++c) alphabet.push_back(static_cast<uint8_t>(c));
  alphabet.resize(static_cast<size_t>(alphabet_size));
  std::vector<Bytes> vocabulary(static_cast<size_t>(vocabulary_size));
  for (Bytes& word : vocabulary) {
    word.resize(2 + rng() % 8);
    for (uint8_t& letter : word) letter = alphabet[rng() % alphabet.size()];
  }
  Bytes text;
  while (text.size() < size) {
    const uint32_t index = (rng() % vocabulary_size) * (rng() % vocabulary_size) / vocabulary_size;
    text.insert(text.end(), vocabulary[index].begin(), vocabulary[index].end());
    switch (rng() % 16) {
      case 0:
        text.push_back('\n');
        break;
      case 1:
        text.insert(text.end(), {'.', ' '});
        break;
      case 2:
        text.insert(text.end(), {' ', static_cast<uint8_t>('0' + rng() % 10), ' '});
        break;
      default:
        text.push_back(' ');
    }
  }
  text.resize(size);
  return text;
}

Bytes RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes bytes(size);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng());
  return bytes;
}

// The compressed bytes, empty when compression failed.
Bytes CompressWith(const Bytes& input, PPMParameters parameters, PPMCodingReport* report = nullptr) {
  Bytes output(static_cast<size_t>(PPMOutputCapacity(static_cast<int64_t>(input.size()))));
  const int32_t size = PPMCompressBuffer(input.data(), static_cast<int32_t>(input.size()), output.data(),
                                         static_cast<int32_t>(output.size()), parameters.model_order,
                                         parameters.memory_mb, report);
  output.resize(static_cast<size_t>(size));
  return output;
}

Bytes Compress(const Bytes& input, int mode, PPMCodingReport* report = nullptr) {
  return CompressWith(input, PPMParametersForMode(mode), report);
}

struct Decoded {
  int32_t result;
  Bytes bytes;  // exactly the expected size, so that a write past it is an overrun
};

Decoded Decompress(const Bytes& compressed, size_t expected_size, PPMCodingReport* report = nullptr) {
  Decoded decoded{0, Bytes(expected_size)};
  decoded.result = PPMDecompressBuffer(compressed.data(), static_cast<int32_t>(compressed.size()),
                                       decoded.bytes.data(), static_cast<int32_t>(expected_size), report);
  return decoded;
}

bool RoundTrips(const Bytes& original, const Bytes& compressed) {
  const Decoded decoded = Decompress(compressed, original.size());
  return decoded.result == static_cast<int32_t>(original.size()) && decoded.bytes == original;
}

TEST(PPMCompressor, HeaderCarriesOrderMemoryAndVariantOfTheMode) {
  const Bytes expected_headers[] = {
      {0x11, 0x60, 0x00, 0x00}, {0x22, 0x60, 0x00, 0x00}, {0x63, 0x60, 0x00, 0x00},
      {0xF4, 0x60, 0x00, 0x00}, {0x56, 0x61, 0x00, 0x00}, {0x87, 0x61, 0x00, 0x00},
      {0x79, 0x62, 0x00, 0x00}, {0x3C, 0x66, 0x00, 0x00}, {0x3F, 0x66, 0x00, 0x00}};
  for (int mode = 1; mode <= 9; ++mode) {
    const Bytes compressed = Compress({'x'}, mode);
    ASSERT_GE(compressed.size(), 4u) << mode;
    EXPECT_EQ(expected_headers[mode - 1], Bytes(compressed.begin(), compressed.begin() + 4)) << mode;
  }
}

TEST(PPMCompressor, RefusesEmptyInputAndUnusableParameters) {
  uint8_t input[1] = {'a'};
  uint8_t output[64] = {};
  EXPECT_EQ(0, PPMCompressBuffer(input, 0, output, sizeof output, 2, 2));
  const PPMParameters mode0 = PPMParametersForMode(0);
  EXPECT_EQ(0, PPMCompressBuffer(input, 1, output, sizeof output, mode0.model_order, mode0.memory_mb));
  struct Case {
    int order;
    int memory_mb;
  };
  for (const Case& c : {Case{0, 2}, Case{17, 2}, Case{2, 0}, Case{2, 257}})
    EXPECT_EQ(0, PPMCompressBuffer(input, 1, output, sizeof output, c.order, c.memory_mb)) << c.order;
  // The extremes a header can carry are usable.
  EXPECT_GT(PPMCompressBuffer(input, 1, output, sizeof output, 1, 1), 0);
  EXPECT_GT(PPMCompressBuffer(input, 1, output, sizeof output, 16, 256), 0);
}

class PPMModeTest : public ::testing::TestWithParam<int> {};

TEST_P(PPMModeTest, SingleBytesRoundTrip) {
  for (uint8_t b : {0x00, 0x41, 0xFF}) {
    const Bytes compressed = Compress({b}, GetParam());
    ASSERT_FALSE(compressed.empty()) << int{b};
    EXPECT_TRUE(RoundTrips({b}, compressed)) << int{b};
  }
}

TEST_P(PPMModeTest, TextRoundTripsAndCompresses) {
  const Bytes text = MakeText(300000, 11, 3000, 60);
  const Bytes compressed = Compress(text, GetParam());
  ASSERT_FALSE(compressed.empty());
  EXPECT_TRUE(RoundTrips(text, compressed));
  EXPECT_LT(compressed.size(), text.size() * 45 / 100);
}

// Random bytes grow by about 3%, within the 5% the caller's buffer allows.
TEST_P(PPMModeTest, RandomBytesRoundTrip) {
  const Bytes random = RandomBytes(100000, 5);
  const Bytes compressed = Compress(random, GetParam());
  ASSERT_FALSE(compressed.empty());
  EXPECT_TRUE(RoundTrips(random, compressed));
}

INSTANTIATE_TEST_SUITE_P(EveryMode, PPMModeTest, ::testing::Range(1, 10));

TEST(PPMCompressor, ModelRestartsWhenMemoryFillsAndBothSidesStayInStep) {
  const Bytes text = MakeText(4 << 20, 3, 40000, 120);
  PPMCodingReport compressing;
  const Bytes compressed = Compress(text, 1, &compressing);
  ASSERT_FALSE(compressed.empty());
  EXPECT_GT(compressing.model_restarts, 0);
  PPMCodingReport decompressing;
  const Decoded decoded = Decompress(compressed, text.size(), &decompressing);
  EXPECT_EQ(static_cast<int32_t>(text.size()), decoded.result);
  EXPECT_TRUE(decoded.bytes == text);
  EXPECT_EQ(compressing.model_restarts, decompressing.model_restarts);
}

TEST(PPMCompressor, RefusesHeadersItDoesNotWrite) {
  const Bytes text = MakeText(2000, 1, 200, 40);
  const Bytes compressed = Compress(text, 3);
  for (uint8_t variant = 0; variant < 16; ++variant) {
    if (variant == 6) continue;
    Bytes damaged = compressed;
    damaged[1] = static_cast<uint8_t>((damaged[1] & 0x0F) | variant << 4);
    EXPECT_EQ(0, Decompress(damaged, text.size()).result) << int{variant};
  }
  for (size_t byte : {2, 3}) {
    Bytes damaged = compressed;
    damaged[byte] = 0x01;
    EXPECT_EQ(0, Decompress(damaged, text.size()).result) << byte;
  }
  EXPECT_EQ(0, Decompress(Bytes(compressed.begin(), compressed.begin() + 3), text.size()).result);
}

TEST(PPMCompressor, AnotherModelOrderDoesNotReproduceTheData) {
  const Bytes text = MakeText(2000, 1, 200, 40);
  const Bytes compressed = Compress(text, 3);
  for (uint8_t order_nibble = 0; order_nibble < 16; ++order_nibble) {
    if (order_nibble == (compressed[0] & 0x0F)) continue;
    Bytes damaged = compressed;
    damaged[0] = static_cast<uint8_t>((damaged[0] & 0xF0) | order_nibble);
    EXPECT_FALSE(RoundTrips(text, damaged)) << int{order_nibble};
  }
}

TEST(PPMCompressor, TruncatedDataFails) {
  const Bytes text = MakeText(20000, 2, 500, 50);
  const Bytes compressed = Compress(text, 5);
  ASSERT_TRUE(RoundTrips(text, compressed));
  for (size_t cut : {size_t{1}, size_t{2}, size_t{4}, compressed.size() / 2, compressed.size() - 4}) {
    const Bytes truncated(compressed.begin(), compressed.end() - static_cast<std::ptrdiff_t>(cut));
    EXPECT_EQ(0, Decompress(truncated, text.size()).result) << cut;
  }
}

TEST(PPMCompressor, ResultsThatDoNotFitTheirBufferFail) {
  const Bytes random = RandomBytes(20000, 9);
  Bytes small(random.size() / 2);
  EXPECT_EQ(0, PPMCompressBuffer(random.data(), static_cast<int32_t>(random.size()), small.data(),
                                 static_cast<int32_t>(small.size()), 4, 7));

  const Bytes text = MakeText(20000, 4, 500, 50);
  const Bytes compressed = Compress(text, 2);
  for (size_t expected : {size_t{0}, size_t{1}, text.size() - 1})
    EXPECT_EQ(0, Decompress(compressed, expected).result) << expected;
  // A caller that expects more gets the true size back and can tell.
  const Decoded larger = Decompress(compressed, text.size() + 100);
  EXPECT_EQ(static_cast<int32_t>(text.size()), larger.result);
}

// Damaged streams of every kind must fail or decode to something within the buffer, and a decode must
// depend on nothing but its input.
TEST(PPMCompressor, MutatedStreamsStayWithinTheirBuffers) {
  std::mt19937 rng(2024);
  std::vector<std::pair<Bytes, Bytes>> samples;  // original, compressed
  // The smallest heap keeps the many calls quick; the orders cover short and long context chains.
  for (int order : {2, 5, 10, 16}) {
    const auto seed = static_cast<uint32_t>(order);
    for (const Bytes& original : {MakeText(1500, seed, 200, 50), RandomBytes(300, seed)})
      samples.emplace_back(original, CompressWith(original, {order, 1}));
  }
  int intact = 0;
  for (int round = 0; round < 2500; ++round) {
    const auto& [original, compressed] = samples[rng() % samples.size()];
    Bytes damaged = compressed;
    switch (rng() % 4) {
      case 0:  // flipped bits
        for (uint32_t k = 1 + rng() % 4; k > 0; --k)
          damaged[4 + rng() % (damaged.size() - 4)] ^= 1 << rng() % 8;
        break;
      case 1:  // overwritten run
        for (size_t at = 4 + rng() % (damaged.size() - 4), n = 1 + rng() % 16; n > 0 && at < damaged.size();
             --n)
          damaged[at++] = static_cast<uint8_t>(rng());
        break;
      case 2: {  // bytes cut out
        const size_t from = 4 + rng() % (damaged.size() - 4);
        const size_t to = from + 1 + rng() % (damaged.size() - from);
        damaged.erase(damaged.begin() + static_cast<std::ptrdiff_t>(from),
                      damaged.begin() + static_cast<std::ptrdiff_t>(to));
        break;
      }
      default:  // garbage appended and a byte changed
        damaged.push_back(static_cast<uint8_t>(rng()));
        damaged[4 + rng() % (damaged.size() - 4)] = static_cast<uint8_t>(rng());
        break;
    }
    const size_t expected = rng() % 2 ? original.size() : rng() % (2 * original.size());
    const Decoded decoded = Decompress(damaged, expected);
    ASSERT_GE(decoded.result, 0);
    ASSERT_LE(decoded.result, static_cast<int32_t>(expected));
    if (decoded.result == static_cast<int32_t>(original.size()) && decoded.bytes == original) ++intact;
    if (round % 16 == 0) {
      const Decoded again = Decompress(damaged, expected);
      ASSERT_EQ(decoded.result, again.result);
      ASSERT_TRUE(decoded.bytes == again.bytes);
    }
  }
  // Damage may hit only the coder's last bytes and leave the data intact, but rarely.
  EXPECT_LT(intact, 250);
}

TEST(PPMCompressor, ConcurrentCallsKeepTheirOwnModels) {
  std::vector<Bytes> texts;
  std::vector<Bytes> expected;
  for (int i = 0; i < 4; ++i) {
    texts.push_back(MakeText(30000, static_cast<uint32_t>(100 + i), 800, 40 + 10 * i));
    expected.push_back(Compress(texts.back(), 1 + i % 3));
  }
  std::vector<int> failures(texts.size(), 0);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < texts.size(); ++i) {
    threads.emplace_back([&, i] {
      for (int repeat = 0; repeat < 5; ++repeat) {
        const Bytes compressed = Compress(texts[i], 1 + static_cast<int>(i) % 3);
        if (compressed != expected[i] || !RoundTrips(texts[i], compressed)) ++failures[i];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(std::vector<int>(texts.size(), 0), failures);
}

}  // namespace
