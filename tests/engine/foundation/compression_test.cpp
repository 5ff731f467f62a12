#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/foundation/VTRCompression.h"

namespace {

std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed) {
  std::mt19937 engine(seed);
  std::vector<uint8_t> bytes(count);
  for (auto& b : bytes) b = static_cast<uint8_t>(engine());
  return bytes;
}

std::vector<uint8_t> TextBytes(size_t count) {
  const std::string line = "Donation 1,250.00 to the temple fund; receipt printed. ";
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(line[i % line.size()]);
  return bytes;
}

// The definition, one bit at a time.
uint32_t ReferenceCRC(uint32_t crc, const uint8_t* p, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    crc ^= p[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return crc;
}

TEST(CalcCRC32, GivesTheEngineValuesWithoutInversion) {
  struct Case {
    const char* text;
    uint32_t crc;
  };
  for (const Case& c : {Case{"abc", 0xCA6598D0u}, Case{"123456789", 0x2DFD2D88u}, Case{"a", 0x3AB551CEu}}) {
    EXPECT_EQ(CalcCRC32(0, c.text, static_cast<int64_t>(std::strlen(c.text))), c.crc) << c.text;
  }
}

TEST(CalcCRC32, ReturnsTheGivenValueForNoBytes) {
  EXPECT_EQ(CalcCRC32(0x12345678u, "abc", 0), 0x12345678u);
  EXPECT_EQ(CalcCRC32(0x12345678u, "abc", -5), 0x12345678u);
  EXPECT_EQ(CalcCRC32(0x12345678u, nullptr, 10), 0x12345678u);
}

TEST(CalcCRC32, AgreesWithTheBitwiseDefinitionAtEveryAlignmentAndLength) {
  const std::vector<uint8_t> data = RandomBytes(4200, 7);
  for (size_t offset = 0; offset < 8; ++offset) {
    for (size_t length : {size_t{1}, size_t{7}, size_t{8}, size_t{9}, size_t{63}, size_t{4056}}) {
      EXPECT_EQ(CalcCRC32(0x5A5A5A5Au, data.data() + offset, static_cast<int64_t>(length)),
                ReferenceCRC(0x5A5A5A5Au, data.data() + offset, length))
          << "offset " << offset << " length " << length;
    }
  }
  // Continuing from a partial result equals one pass over the whole.
  const uint32_t first = CalcCRC32(0, data.data(), 1001);
  EXPECT_EQ(CalcCRC32(first, data.data() + 1001, 3000), CalcCRC32(0, data.data(), 4001));
}

TEST(CompressionAlgorithmFromName, MatchesTheFourNamesInAnyCase) {
  struct Case {
    const char* name;
    TVTRCompressionMethod method;
  };
  for (const Case& c :
       {Case{"ZLIB", cmZlib}, Case{"zLib", cmZlib}, Case{"bzip", cmBzip}, Case{"Ppm", cmPPM},
        Case{"NONE", cmNone}, Case{"", cmNone}, Case{"ZLIB2", cmNone}, Case{"gzip", cmNone}}) {
    EXPECT_EQ(CompressionAlgorithmFromName(c.name), c.method) << c.name;
  }
  EXPECT_EQ(kCompressionAlgorithmNames[cmBzip], "BZIP");
}

struct Coder {
  TVTRCompressionMethod algorithm;
  uint8_t mode;
};

class CompressionRoundTrip : public testing::TestWithParam<Coder> {};

TEST_P(CompressionRoundTrip, RestoresTextAndIncompressibleData) {
  const Coder coder = GetParam();
  for (const std::vector<uint8_t>& input : {TextBytes(102400), RandomBytes(5000, 3), RandomBytes(1, 4)}) {
    std::vector<uint8_t> packed;
    ASSERT_TRUE(CompressBuffer(coder.algorithm, coder.mode, input.data(), input.size(), packed));
    if (input.size() == 102400) {
      EXPECT_LT(packed.size(), input.size() / 10);
    }
    std::vector<uint8_t> unpacked;
    ASSERT_TRUE(DecompressBuffer(coder.algorithm, packed.data(), packed.size(), input.size(), unpacked));
    EXPECT_EQ(unpacked, input);
    // A larger expectation still yields the true size, for the caller to compare.
    ASSERT_TRUE(
        DecompressBuffer(coder.algorithm, packed.data(), packed.size(), input.size() + 100, unpacked));
    EXPECT_EQ(unpacked, input);
  }
}

TEST_P(CompressionRoundTrip, RefusesAStreamLongerThanExpectedOrDamaged) {
  const Coder coder = GetParam();
  const std::vector<uint8_t> input = TextBytes(20000);
  std::vector<uint8_t> packed;
  ASSERT_TRUE(CompressBuffer(coder.algorithm, coder.mode, input.data(), input.size(), packed));
  std::vector<uint8_t> unpacked;
  EXPECT_FALSE(DecompressBuffer(coder.algorithm, packed.data(), packed.size(), input.size() - 1, unpacked));
  EXPECT_TRUE(unpacked.empty());
  EXPECT_FALSE(DecompressBuffer(coder.algorithm, packed.data(), packed.size() / 2, input.size(), unpacked));
  std::vector<uint8_t> damaged = packed;
  for (size_t i = 2; i < damaged.size(); i += 7) damaged[i] ^= 0x5A;
  EXPECT_FALSE(DecompressBuffer(coder.algorithm, damaged.data(), damaged.size(), input.size(), unpacked));
  EXPECT_TRUE(unpacked.empty());
}

INSTANTIATE_TEST_SUITE_P(Coders, CompressionRoundTrip,
                         testing::Values(Coder{cmZlib, 1}, Coder{cmZlib, 9}, Coder{cmBzip, 1},
                                         Coder{cmBzip, 9}, Coder{cmPPM, 1}, Coder{cmPPM, 5}),
                         [](const testing::TestParamInfo<Coder>& info) {
                           return std::string(kCompressionAlgorithmNames[info.param.algorithm]) +
                                  std::to_string(info.param.mode);
                         });

// A size read from damaged data may claim gigabytes for a few bytes of
// stream: memory follows what the stream holds, past a first step that
// ordinary values fit in.
TEST(DecompressBuffer, TakesMemoryForWhatTheStreamHoldsNotForTheSizeItIsTold) {
  struct Case {
    TVTRCompressionMethod algorithm;
    size_t size;
  };
  for (const Case c : {Case{cmZlib, 1000}, Case{cmBzip, 1000}, Case{cmPPM, 1000},
                       Case{cmZlib, (16 << 20) + 1}, Case{cmPPM, (16 << 20) + 1}}) {
    SCOPED_TRACE(testing::Message() << kCompressionAlgorithmNames[c.algorithm] << " " << c.size);
    const std::vector<uint8_t> input = TextBytes(c.size);
    std::vector<uint8_t> packed, unpacked;
    ASSERT_TRUE(CompressBuffer(c.algorithm, 1, input.data(), input.size(), packed));
    ASSERT_TRUE(DecompressBuffer(c.algorithm, packed.data(), packed.size(), size_t{1} << 30, unpacked));
    EXPECT_EQ(unpacked, input);
    EXPECT_LE(unpacked.capacity(), 2 * std::max(c.size, size_t{16} << 20));
  }
}

TEST(CompressBuffer, IncompressibleZlibDataSucceedsLargerThanTheInput) {
  const std::vector<uint8_t> input = RandomBytes(4096, 11);
  std::vector<uint8_t> packed;
  ASSERT_TRUE(CompressBuffer(cmZlib, 6, input.data(), input.size(), packed));
  EXPECT_GT(packed.size(), input.size());
}

TEST(CompressBuffer, FailsWithoutWorkOrWithAnUnusableSetting) {
  const std::vector<uint8_t> input = TextBytes(1000);
  struct Case {
    TVTRCompressionMethod algorithm;
    uint8_t mode;
    size_t size;
  };
  for (const Case& c : {Case{cmNone, 1, 1000}, Case{cmZlib, 1, 0}, Case{cmBzip, 1, 0}, Case{cmPPM, 1, 0},
                        Case{cmBzip, 0, 1000}, Case{cmZlib, 10, 1000}, Case{cmPPM, 0, 1000},
                        Case{static_cast<TVTRCompressionMethod>(4), 1, 1000}}) {
    std::vector<uint8_t> out{1, 2, 3};
    EXPECT_FALSE(CompressBuffer(c.algorithm, c.mode, input.data(), c.size, out))
        << int(c.algorithm) << "/" << int(c.mode) << "/" << c.size;
    EXPECT_TRUE(out.empty());
  }
  std::vector<uint8_t> out;
  EXPECT_FALSE(DecompressBuffer(cmNone, input.data(), input.size(), input.size(), out));
  EXPECT_FALSE(DecompressBuffer(cmZlib, input.data(), 0, input.size(), out));
}

}  // namespace
