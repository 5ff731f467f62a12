#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRStreams.h"
#include "engine/foundation/VTRTypes.h"

namespace {

// The reference: a plain vector of flags, scanned one by one.
using Model = std::vector<bool>;

int32_t ModelCount(const Model& model) {
  return static_cast<int32_t>(std::count(model.begin(), model.end(), true));
}

void ExpectSame(const TVTRBitsArray& bits, const Model& model) {
  ASSERT_EQ(bits.Size(), static_cast<int32_t>(model.size()));
  EXPECT_EQ(bits.SetBitsCount(), ModelCount(model));
  EXPECT_EQ(bits.CountSetBits(), ModelCount(model));
  for (size_t i = 0; i < model.size(); ++i) ASSERT_EQ(bits.GetBit(static_cast<int32_t>(i)), model[i]) << i;
}

Model RandomModel(std::mt19937& random, int32_t size, double density) {
  std::bernoulli_distribution set(density);
  Model model(static_cast<size_t>(size));
  for (size_t i = 0; i < model.size(); ++i) model[i] = set(random);
  return model;
}

void Fill(TVTRBitsArray& bits, const Model& model) {
  bits.SetSize(static_cast<int32_t>(model.size()));
  for (size_t i = 0; i < model.size(); ++i) bits.SetBit(static_cast<int32_t>(i), model[i]);
}

std::string Hex(const void* data, int64_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (int64_t i = 0; i < size; ++i) {
    const auto byte = static_cast<const uint8_t*>(data)[i];
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

// The image as "size count byte byte ...", in hex.
std::string ImageOf(const TVTRBitsArray& bits) {
  TVTRMemoryStream stream;
  bits.SaveToStream(stream);
  const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
  std::string text = Hex(bytes, 4) + " " + Hex(bytes + 4, 4);
  for (int64_t i = 8; i < stream.Size(); ++i) text += " " + Hex(bytes + i, 1);
  return text;
}

// Writes the bytes of a hex text (spaces ignored) and rewinds the stream.
void PutHex(TStream& stream, std::string hex) {
  std::erase(hex, ' ');
  for (size_t i = 0; i < hex.size(); i += 2) {
    const auto byte = static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16));
    stream.WriteBuffer(&byte, 1);
  }
  stream.SetPosition(0);
}

#define EXPECT_ENGINE_CODE(statement, code)          \
  try {                                              \
    statement;                                       \
    ADD_FAILURE() << #statement " raised nothing";   \
  } catch (const EVTRException& e) {                 \
    EXPECT_EQ(e.NativeError(), code) << e.Message(); \
  }

TEST(BitsArray, NineBitsWithBitEightStreamAsSizeCountAndTwoBytes) {
  TVTRBitsArray bits;
  bits.SetSize(9);
  bits.SetBit(8, true);
  EXPECT_EQ(ImageOf(bits), "09000000 01000000 00 01");

  TVTRBitsArray empty;
  EXPECT_EQ(ImageOf(empty), "00000000 00000000");
}

TEST(BitsArray, StreamImagesRoundTrip) {
  std::mt19937 random(11);
  for (int32_t size : {0, 1, 7, 8, 63, 64, 65, 1000}) {
    const Model model = RandomModel(random, size, 0.4);
    TVTRBitsArray saved;
    Fill(saved, model);
    TVTRMemoryStream stream;
    saved.SaveToStream(stream);
    EXPECT_EQ(stream.Size(), 8 + (size + 7) / 8);
    stream.SetPosition(0);
    TVTRBitsArray loaded;
    loaded.SetSize(3);
    loaded.SetAllBits();
    loaded.LoadFromStream(stream);
    ExpectSame(loaded, model);
  }
}

TEST(BitsArray, CountStaysRightThroughEveryChange) {
  std::mt19937 random(5);
  TVTRBitsArray bits;
  Model model;
  for (int step = 0; step < 3000; ++step) {
    const int action = std::uniform_int_distribution<int>(0, 19)(random);
    if (action == 0) {
      const int32_t size = std::uniform_int_distribution<int32_t>(0, 300)(random);
      bits.SetSize(size);
      model.resize(static_cast<size_t>(size), false);
    } else if (action == 1) {
      bits.SetAllBits();
      model.assign(model.size(), true);
    } else if (!model.empty()) {
      const auto n =
          std::uniform_int_distribution<int32_t>(0, static_cast<int32_t>(model.size()) - 1)(random);
      const bool value = action % 2 == 0;
      bits.SetBit(n, value);
      model[static_cast<size_t>(n)] = value;
    }
    ASSERT_EQ(bits.SetBitsCount(), ModelCount(model)) << "step " << step;
    if (step % 50 == 0) ExpectSame(bits, model);
  }
}

TEST(BitsArray, GrowingAfterSetAllBitsAddsOnlyClearBits) {
  TVTRBitsArray bits;
  bits.SetSize(9);
  bits.SetAllBits();
  bits.SetSize(70);
  Model model(70, false);
  std::fill_n(model.begin(), 9, true);
  ExpectSame(bits, model);
}

TEST(BitsArray, LookupsAgreeWithANaiveScan) {
  std::mt19937 random(3);
  for (const int32_t size : {1, 9, 64, 130, 1000}) {
    for (const double density : {0.0, 0.05, 0.5, 0.97, 1.0}) {
      const Model model = RandomModel(random, size, density);
      TVTRBitsArray bits;
      Fill(bits, model);
      SCOPED_TRACE(testing::Message() << "size " << size << " density " << density);

      std::vector<int32_t> set_positions;
      for (int32_t i = 0; i < size; ++i)
        if (model[static_cast<size_t>(i)]) set_positions.push_back(i);
      for (size_t n = 0; n < set_positions.size(); ++n) {
        ASSERT_EQ(bits.SetBitPosition(static_cast<int32_t>(n)), set_positions[n]);
        ASSERT_EQ(bits.SetBitOrdinal(set_positions[n]), static_cast<int32_t>(n));
      }
      for (int32_t p = 0, before = 0; p < size; ++p) {
        before += model[static_cast<size_t>(p)];
        ASSERT_EQ(bits.SetBitOrdinal(p), before - 1) << p;
      }

      for (const bool value : {true, false}) {
        const auto first = std::find(model.begin(), model.end(), value);
        int32_t position = -7;
        ASSERT_EQ(bits.FindFirst(value, position), first != model.end());
        if (first != model.end()) {
          EXPECT_EQ(position, first - model.begin());
        }
      }

      const auto next = [&](int32_t from, bool forward) {
        if (forward) {
          for (int32_t p = std::max(from + 1, 0); p < size; ++p)
            if (model[static_cast<size_t>(p)]) return p;
        } else {
          for (int32_t p = std::min(from - 1, size - 1); p >= 0; --p)
            if (model[static_cast<size_t>(p)]) return p;
        }
        return -1;
      };
      for (int32_t from = -2; from <= size + 1; ++from) {
        for (const bool forward : {true, false}) {
          int32_t position = -7;
          const int32_t expected = next(from, forward);
          ASSERT_EQ(bits.FindNext(false, forward, position, from), expected >= 0) << from << forward;
          if (expected >= 0) {
            ASSERT_EQ(position, expected) << from << forward;
          }
        }
      }
      const int32_t first = set_positions.empty() ? -1 : set_positions.front();
      const int32_t last = set_positions.empty() ? -1 : set_positions.back();
      for (const auto& [forward, expected] : {std::pair{true, first}, std::pair{false, last}}) {
        int32_t position = -7;
        ASSERT_EQ(bits.FindNext(true, forward, position, 12345), expected >= 0);
        if (expected >= 0) {
          EXPECT_EQ(position, expected);
        }
      }
    }
  }
}

TEST(BitsArray, PositionAndOrdinalOfASmallMap) {
  TVTRBitsArray bits;
  bits.SetSize(10);
  bits.SetBit(3, true);
  bits.SetBit(7, true);
  EXPECT_EQ(bits.SetBitPosition(0), 3);
  EXPECT_EQ(bits.SetBitPosition(1), 7);
  EXPECT_EQ(bits.SetBitOrdinal(7), 1);
  bits.SetSize(5);
  EXPECT_EQ(bits.SetBitsCount(), 1);
}

TEST(BitsArray, OutOfRangeRequestsRaiseTheirCodes) {
  TVTRBitsArray bits;
  bits.SetSize(9);
  bits.SetBit(2, true);
  EXPECT_ENGINE_CODE(bits.GetBit(9), 10394);
  EXPECT_ENGINE_CODE(bits.GetBit(-1), 10394);
  EXPECT_ENGINE_CODE(bits.SetBit(9, true), 10395);
  EXPECT_ENGINE_CODE(bits.SetBitPosition(1), 10428);
  EXPECT_ENGINE_CODE(bits.SetBitOrdinal(9), 10429);
  EXPECT_THROW(bits.SetSize(-1), std::invalid_argument);
  try {
    bits.GetBit(12);
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.Message(), "Invalid bit no = 12, number of bits = 9 - Native error: 10394");
  }
}

// A stream that takes at most `room` bytes.
class ShortStream : public TVTRMemoryStream {
 public:
  explicit ShortStream(int32_t room) : room_(room) {}
  int32_t Write(const void* buffer, int32_t count) override {
    const int32_t n = std::clamp<int32_t>(room_ - static_cast<int32_t>(Position()), 0, count);
    return TVTRMemoryStream::Write(buffer, n);
  }

 private:
  int32_t room_;
};

TEST(BitsArray, ShortWritesRaiseTheCodeOfTheField) {
  TVTRBitsArray bits;
  bits.SetSize(20);
  for (const auto& [room, code] : {std::pair{0, 10398}, {6, 10427}, {9, 10400}}) {
    ShortStream stream(room);
    EXPECT_ENGINE_CODE(bits.SaveToStream(stream), code);
  }
}

TEST(BitsArray, DamagedImagesRaiseTheirCodesAndChangeNothing) {
  struct Case {
    const char* what;
    std::string hex;
    int32_t code;
  };
  const Case cases[] = {
      {"short size", "09 00", 10401},
      {"no set count", "09000000", 10426},
      {"short set count", "09000000 01", 10426},
      {"negative size", "ffffffff 00000000", 10401},
      {"negative set count", "09000000 ffffffff", 10426},
      {"more set bits than bits", "09000000 0a000000 ff ff", 10426},
      {"set count unlike the bits", "09000000 02000000 00 01", 10426},
      {"short bits", "09000000 01000000 00", 10402},
      {"huge size, no bits", "ffffff7f 00000000", 10402},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TVTRBitsArray bits;
    bits.SetSize(4);
    bits.SetBit(1, true);
    TVTRMemoryStream stream;
    PutHex(stream, c.hex);
    EXPECT_ENGINE_CODE(bits.LoadFromStream(stream), c.code);
    ExpectSame(bits, Model{false, true, false, false});
  }
}

TEST(BitsArray, PaddingBitsOfALoadedImageAreIgnored) {
  TVTRMemoryStream stream;
  PutHex(stream, "09000000 09000000 ff ff");
  TVTRBitsArray bits;
  bits.LoadFromStream(stream);
  bits.SetSize(16);
  Model model(16, false);
  std::fill_n(model.begin(), 9, true);
  ExpectSame(bits, model);
}

TEST(BufferBits, OneBitChangesAtATime) {
  uint8_t buffer[3] = {0x00, 0xFF, 0x00};
  SetBufferBit(true, 0, buffer);
  SetBufferBit(false, 11, buffer);
  SetBufferBit(true, 23, buffer);
  SetBufferBit(true, 0, buffer);
  EXPECT_EQ(Hex(buffer, 3), "01f780");
  for (const auto& [n, expected] : {std::pair{0, true}, {1, false}, {8, true}, {11, false}, {23, true}})
    EXPECT_EQ(GetBufferBit(n, buffer), expected) << n;
}

}  // namespace
