#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/foundation/VTRCompression.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRStreams.h"
#include "tests/support/EngineErrors.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Text with every seventh byte random: compresses, but not to nothing.
Bytes VariedBytes(size_t count, uint32_t seed = 1) {
  std::mt19937 random(seed);
  const std::string_view text = "Donation received for the ordination hall, receipt 2567/";
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i)
    bytes[i] = i % 7 == 3 ? static_cast<uint8_t>(random()) : static_cast<uint8_t>(text[i % text.size()]);
  return bytes;
}

Bytes Slice(const Bytes& bytes, size_t from, size_t count) {
  return Bytes(bytes.begin() + static_cast<ptrdiff_t>(from),
               bytes.begin() + static_cast<ptrdiff_t>(from + count));
}

TVTRBLOBDescriptor Settings(TVTRCompressionMethod algorithm, uint8_t mode, int32_t block_size) {
  TVTRBLOBDescriptor descriptor;
  descriptor.algorithm = algorithm;
  descriptor.mode = mode;
  descriptor.block_size = block_size;
  return descriptor;
}

// A BLOB value over its own underlying memory stream, as an engine keeps it.
struct Blob {
  TVTRMemoryStream stored;
  std::optional<TVTRCompressedBLOBStream> stream;

  explicit Blob(const TVTRBLOBDescriptor& descriptor) { stream.emplace(stored, descriptor, true); }
  // Opens what another Blob stored, as the engine does after reading it back.
  Blob(const Bytes& image, const TVTRBLOBDescriptor& descriptor, bool accept_short_data = false) {
    Put(image);
    stored.SetPosition(0);
    stream.emplace(stored, descriptor, false, accept_short_data);
  }

  void Put(const Bytes& bytes) {
    if (!bytes.empty()) stored.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  }
  Bytes Image() {
    const auto* memory = static_cast<const uint8_t*>(stored.Memory());
    return memory ? Bytes(memory, memory + stored.Size()) : Bytes{};
  }
  void Write(const Bytes& bytes) {
    ASSERT_EQ(stream->Write(bytes.data(), static_cast<int32_t>(bytes.size())),
              static_cast<int32_t>(bytes.size()));
  }
  Bytes ReadAt(int64_t position, int32_t count) {
    stream->SetPosition(position);
    Bytes bytes(static_cast<size_t>(count));
    bytes.resize(static_cast<size_t>(stream->Read(bytes.data(), count)));
    return bytes;
  }
  Bytes ReadAll() { return ReadAt(0, static_cast<int32_t>(stream->Size())); }
};

// The stored headers, decoded here on their own: the format is the contract.
struct StoredBlock {
  int64_t position;
  int32_t compressed_size;
  int32_t uncompressed_size;
  uint32_t crc;
  int64_t next_offset;
};

uint64_t LittleEndian(const Bytes& image, int64_t offset, int width) {
  uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | image.at(static_cast<size_t>(offset + i));
  return value;
}

std::vector<StoredBlock> StoredBlocks(const Bytes& image, int64_t count, int64_t start = 0) {
  std::vector<StoredBlock> blocks;
  for (int64_t position = start; count-- > 0;) {
    StoredBlock block{position, static_cast<int32_t>(LittleEndian(image, position, 4)),
                      static_cast<int32_t>(LittleEndian(image, position + 4, 4)),
                      static_cast<uint32_t>(LittleEndian(image, position + 8, 4)),
                      static_cast<int64_t>(LittleEndian(image, position + 12, 8))};
    blocks.push_back(block);
    position += block.next_offset;
  }
  return blocks;
}

void PutLittleEndian(Bytes& image, int64_t offset, uint64_t value, int width) {
  for (int i = 0; i < width; ++i)
    image.at(static_cast<size_t>(offset + i)) = static_cast<uint8_t>(value >> (8 * i));
}

TEST(TVTRCompressedBLOBStream, StoresOneWriteAsIndependentlyCompressedBlocksBehindTwentyByteHeaders) {
  const Bytes value = VariedBytes(250000);
  Blob blob(Settings(cmZlib, 6, 102400));
  blob.Write(value);

  EXPECT_EQ(blob.stream->Size(), 250000);
  EXPECT_EQ(blob.stream->Position(), 250000);
  EXPECT_EQ(blob.stream->Descriptor().block_count, 3);
  EXPECT_EQ(blob.stream->Descriptor().uncompressed_size, 250000);
  const Bytes image = blob.Image();
  const std::vector<StoredBlock> blocks = StoredBlocks(image, 3);
  const int32_t expected_sizes[] = {102400, 102400, 45200};
  int64_t compressed = 0;
  for (size_t i = 0; i < blocks.size(); ++i) {
    const StoredBlock& block = blocks[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(block.uncompressed_size, expected_sizes[i]);
    EXPECT_EQ(block.next_offset, 20 + block.compressed_size);
    const Bytes original = Slice(value, i * 102400, static_cast<size_t>(block.uncompressed_size));
    EXPECT_EQ(block.crc, CalcCRC32(0, original.data(), block.uncompressed_size));
    // Each block decompresses without its neighbours.
    Bytes restored;
    ASSERT_TRUE(DecompressBuffer(cmZlib, image.data() + block.position + 20,
                                 static_cast<size_t>(block.compressed_size), 102400, restored));
    EXPECT_EQ(restored, original);
    compressed += block.compressed_size;
  }
  EXPECT_EQ(blocks[2].position + blocks[2].next_offset, static_cast<int64_t>(image.size()));
  EXPECT_EQ(blob.stream->GetCompressedSize(), static_cast<int64_t>(image.size()));
  EXPECT_DOUBLE_EQ(blob.stream->CompressionRate(), (1 - compressed / 250000.0) * 100);

  EXPECT_EQ(blob.ReadAll(), value);
  Blob reopened(image, blob.stream->Descriptor());
  EXPECT_EQ(reopened.stream->Size(), 250000);
  EXPECT_EQ(reopened.ReadAll(), value);
}

TEST(TVTRCompressedBLOBStream, ReadsAnyRangeAcrossBlockBoundariesAndNothingAtOrPastTheEnd) {
  const Bytes value = VariedBytes(2500);
  Blob blob(Settings(cmZlib, 1, 1000));
  blob.Write(value);
  struct Range {
    int64_t position;
    int32_t count;
  };
  for (const Range& r : {Range{990, 20}, Range{0, 2500}, Range{1999, 502}, Range{2400, 1000}, Range{5, 1}}) {
    const auto available = static_cast<size_t>(std::min<int64_t>(r.count, 2500 - r.position));
    EXPECT_EQ(blob.ReadAt(r.position, r.count), Slice(value, static_cast<size_t>(r.position), available))
        << r.position << " + " << r.count;
  }
  EXPECT_TRUE(blob.ReadAt(2500, 10).empty());
  EXPECT_TRUE(blob.ReadAt(9000, 10).empty());
  EXPECT_EQ(blob.stream->Seek(-50, TSeekOrigin::soCurrent), 8950);
  EXPECT_EQ(blob.stream->Seek(-10, TSeekOrigin::soBeginning), 0) << "targets below 0 give 0";
  EXPECT_EQ(blob.stream->Seek(7, TSeekOrigin::soEnd), 2507) << "not limited by the size";
}

TEST(TVTRCompressedBLOBStream, ReportsADamagedCRCOnlyWhenAReadTouchesItsBlock) {
  const Bytes value = VariedBytes(250000);
  Blob written(Settings(cmZlib, 6, 102400));
  written.Write(value);
  Bytes image = written.Image();
  const StoredBlock third = StoredBlocks(image, 3)[2];
  PutLittleEndian(image, third.position + 8, third.crc ^ 0x00010000u, 4);

  Blob damaged(image, written.stream->Descriptor());
  EXPECT_EQ(damaged.ReadAt(0, 1000), Slice(value, 0, 1000));
  EXPECT_EQ(EngineErrorMessageOf([&] { damaged.ReadAt(210000, 100); }),
            "Decompress buffer failed. CheckSum = " + std::to_string(third.crc) +
                ", Header.Crc32 = " + std::to_string(third.crc ^ 0x00010000u) + " - Native error: 10089");
}

// A value of three blocks (1000, 1000 and 500 bytes), damaged in one place.
struct DamageCase {
  const char* name;
  std::function<void(Bytes& image, const std::vector<StoredBlock>& blocks, TVTRBLOBDescriptor& descriptor)>
      damage;
  int32_t open_error;          // 0: the value opens
  int64_t damaged_block = -1;  // the block whose reading fails
  int32_t read_error = 0;
};

TEST(TVTRCompressedBLOBStream, RefusesAChainItCannotFollowAndReportsDamagedBlocksWhenRead) {
  using Blocks = std::vector<StoredBlock>;
  const auto next_offset = [](Bytes& image, const StoredBlock& block, int64_t value) {
    PutLittleEndian(image, block.position + 12, static_cast<uint64_t>(value), 8);
  };
  const auto compressed_size = [](Bytes& image, const StoredBlock& block, int32_t value) {
    PutLittleEndian(image, block.position, static_cast<uint32_t>(value), 4);
  };
  const auto uncompressed_size = [](Bytes& image, const StoredBlock& block, int32_t value) {
    PutLittleEndian(image, block.position + 4, static_cast<uint32_t>(value), 4);
  };
  const std::vector<DamageCase> cases = {
      {"more blocks than stored", [](Bytes&, const Blocks&, TVTRBLOBDescriptor& d) { d.block_count = 4; },
       10082},
      {"next offset 0 loops on its header",
       [&](Bytes& i, const Blocks& b, TVTRBLOBDescriptor&) { next_offset(i, b[1], 0); }, 10083},
      {"next offset back to the first header",
       [&](Bytes& i, const Blocks& b, TVTRBLOBDescriptor&) { next_offset(i, b[1], -b[1].position); }, 10083},
      {"next offset into its own compressed bytes",
       [&](Bytes& i, const Blocks& b, TVTRBLOBDescriptor&) { next_offset(i, b[0], b[0].next_offset - 1); },
       10083},
      {"next offset past the end",
       [&](Bytes& i, const Blocks& b, TVTRBLOBDescriptor&) { next_offset(i, b[2], b[2].next_offset + 1); },
       10083},
      {"next offset beyond any stream",
       [&](Bytes& i, const Blocks& b, TVTRBLOBDescriptor&) { next_offset(i, b[0], INT64_MAX); }, 10083},
      {"compressed size past the end",
       [&](Bytes& i, const Blocks& b, TVTRBLOBDescriptor&) { compressed_size(i, b[2], INT32_MAX); }, 10083},
      {"start position before the stream",
       [](Bytes&, const Blocks&, TVTRBLOBDescriptor& d) { d.start_position = -1; }, 10103},
      {"negative compressed size",
       [&](Bytes& i, const Blocks& b, TVTRBLOBDescriptor&) { compressed_size(i, b[1], -1); }, 0, 1, 10087},
      {"damaged compressed bytes",
       [](Bytes& i, const Blocks& b, TVTRBLOBDescriptor&) {
         i[static_cast<size_t>(b[1].position + b[1].next_offset - 1)] ^= 0xFF;
       },
       0, 1, 10087},
      {"inner block shorter than the block size",
       [&](Bytes& i, const Blocks& b, TVTRBLOBDescriptor&) { uncompressed_size(i, b[1], 50); }, 0, 1, 10088},
      {"last block longer than the block size",
       [&](Bytes& i, const Blocks& b, TVTRBLOBDescriptor&) { uncompressed_size(i, b[2], INT32_MAX); }, 0, 2,
       10088},
      {"negative last block",
       [&](Bytes& i, const Blocks& b, TVTRBLOBDescriptor&) { uncompressed_size(i, b[2], -5); }, 0, 2, 10088},
      {"damaged CRC",
       [](Bytes& i, const Blocks& b, TVTRBLOBDescriptor&) {
         PutLittleEndian(i, b[0].position + 8, b[0].crc + 1, 4);
       },
       0, 0, 10089},
  };
  const Bytes value = VariedBytes(2500);
  Blob written(Settings(cmZlib, 6, 1000));
  written.Write(value);
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes image = written.Image();
    TVTRBLOBDescriptor descriptor = written.stream->Descriptor();
    c.damage(image, StoredBlocks(image, 3), descriptor);
    std::optional<Blob> damaged;
    EXPECT_EQ(NativeErrorOf([&] { damaged.emplace(image, descriptor); }), c.open_error);
    if (c.open_error != 0) continue;
    for (int64_t block = 0; block < 3; ++block) {
      const int64_t from = block * 1000;
      const int32_t count = block == 2 ? 500 : 1000;
      if (block == c.damaged_block) {
        EXPECT_EQ(NativeErrorOf([&] { damaged->ReadAt(from, count); }), c.read_error);
      } else {
        EXPECT_EQ(damaged->ReadAt(from, count), Slice(value, static_cast<size_t>(from), count)) << block;
      }
    }
  }
}

TEST(TVTRCompressedBLOBStream, NamesTheBoundsOfARefusedChain) {
  const Bytes value = VariedBytes(2500);
  Blob written(Settings(cmZlib, 6, 1000));
  written.Write(value);
  Bytes image = written.Image();
  const auto size = std::to_string(image.size());
  TVTRBLOBDescriptor descriptor = written.stream->Descriptor();
  descriptor.block_count = 4;
  EXPECT_EQ(EngineErrorMessageOf([&] { Blob opened(image, descriptor); }),
            "Stream size = " + size + " too small. Should be at least = " +
                std::to_string(image.size() + 20) + " - Native error: 10082");

  const StoredBlock second = StoredBlocks(image, 3)[1];
  PutLittleEndian(image, second.position + 12, static_cast<uint64_t>(-second.position), 8);
  EXPECT_EQ(EngineErrorMessageOf([&] { Blob opened(image, written.stream->Descriptor()); }),
            "Cannot set stream position to 0. Position = " + std::to_string(second.position + 20) +
                ", Size = " + size + " - Native error: 10083");

  PutLittleEndian(image, second.position + 12, static_cast<uint64_t>(second.next_offset), 8);
  PutLittleEndian(image, second.position + 4, 50, 4);
  Blob damaged(image, written.stream->Descriptor());
  EXPECT_EQ(EngineErrorMessageOf([&] { damaged.ReadAt(1000, 1); }),
            "Decompress buffer failed. UncompSize = 1000, Header.UncompSize = 50 - Native error: 10088");
}

TEST(TVTRCompressedBLOBStream, AppendingLeavesTheFullBlocksUntouched) {
  const Bytes value = VariedBytes(204802);
  Blob blob(Settings(cmZlib, 6, 102400));
  blob.Write(Slice(value, 0, 204800));
  const Bytes before = blob.Image();
  const std::vector<StoredBlock> full = StoredBlocks(before, 2);
  const auto full_end = static_cast<size_t>(full[1].position + full[1].next_offset);

  blob.Write(Slice(value, 204800, 1));
  EXPECT_EQ(StoredBlocks(blob.Image(), 3)[2].uncompressed_size, 1) << "a third block of 1 byte";
  blob.Write(Slice(value, 204801, 1));
  const Bytes after = blob.Image();
  const StoredBlock third = StoredBlocks(after, 3)[2];
  EXPECT_EQ(third.position, static_cast<int64_t>(full_end));
  EXPECT_EQ(third.uncompressed_size, 2) << "rewritten in its place with 2 bytes";
  EXPECT_EQ(Slice(after, 0, full_end), Slice(before, 0, full_end));
  EXPECT_EQ(blob.stream->Descriptor().block_count, 3);
  EXPECT_EQ(blob.ReadAll(), value);
}

TEST(TVTRCompressedBLOBStream, WritesOnlyAtTheEndAndFillsAGapWithZeros) {
  Blob blob(Settings(cmZlib, 6, 102400));
  blob.Write(VariedBytes(3000));
  const Bytes before = blob.Image();
  blob.stream->SetPosition(1500);
  EXPECT_EQ(blob.stream->Write("x", 1), 0) << "inside the value";
  EXPECT_EQ(blob.Image(), before);
  EXPECT_EQ(blob.stream->Size(), 3000);

  blob.stream->Seek(1000, TSeekOrigin::soEnd);
  EXPECT_EQ(blob.stream->Write("x", 1), 1);
  EXPECT_EQ(blob.stream->Size(), 4001);
  Bytes expected = VariedBytes(3000);
  expected.resize(4000, 0);
  expected.push_back('x');
  EXPECT_EQ(blob.ReadAll(), expected);
}

TEST(TVTRCompressedBLOBStream, AGapOrAGrowthSpanningBlocksIsZeros) {
  Blob blob(Settings(cmBzip, 1, 1000));
  blob.Write(VariedBytes(1500));
  blob.stream->Seek(2600, TSeekOrigin::soEnd);
  blob.Write({7});
  blob.stream->SetSize(6000);
  Bytes expected = VariedBytes(1500);
  expected.resize(4100, 0);
  expected.push_back(7);
  expected.resize(6000, 0);
  EXPECT_EQ(blob.stream->Descriptor().block_count, 6);
  EXPECT_EQ(blob.stream->Position(), 4101) << "growing keeps the position";
  EXPECT_EQ(blob.ReadAll(), expected);
  EXPECT_EQ(Blob(blob.Image(), blob.stream->Descriptor()).ReadAll(), expected);
}

TEST(TVTRCompressedBLOBStream, ShorteningRecompressesTheNewLastBlockAndCutsBehindIt) {
  const Bytes value = VariedBytes(250000);
  Blob blob(Settings(cmZlib, 6, 102400));
  blob.Write(value);
  const Bytes before = blob.Image();
  const StoredBlock first = StoredBlocks(before, 1)[0];

  blob.stream->SetSize(150000);
  EXPECT_EQ(blob.stream->Position(), 150000) << "moved to the new end";
  EXPECT_EQ(blob.stream->Descriptor().block_count, 2);
  EXPECT_EQ(blob.stream->Descriptor().uncompressed_size, 150000);
  const Bytes after = blob.Image();
  const StoredBlock second = StoredBlocks(after, 2)[1];
  EXPECT_EQ(second.uncompressed_size, 47600);
  EXPECT_EQ(second.next_offset, 20 + second.compressed_size);
  EXPECT_EQ(static_cast<int64_t>(after.size()), second.position + second.next_offset) << "cut behind it";
  const auto first_end = static_cast<size_t>(first.next_offset);
  EXPECT_EQ(Slice(after, 0, first_end), Slice(before, 0, first_end));
  EXPECT_EQ(blob.ReadAll(), Slice(value, 0, 150000));
  EXPECT_EQ(Blob(after, blob.stream->Descriptor()).ReadAll(), Slice(value, 0, 150000));
}

TEST(TVTRCompressedBLOBStream, ShorteningToABlockBoundaryDropsBlocksAndLaterWritesReplaceTheirBytes) {
  const Bytes value = VariedBytes(3500);
  Blob blob(Settings(cmZlib, 6, 1000));
  blob.Write(value);
  const int64_t stored_size = blob.stream->GetCompressedSize();
  EXPECT_EQ(blob.ReadAt(2500, 10), Slice(value, 2500, 10)) << "block 2 read before it is dropped";

  blob.stream->SetSize(2000);
  EXPECT_EQ(blob.stream->Descriptor().block_count, 2);
  EXPECT_EQ(blob.stream->GetCompressedSize(), stored_size) << "the dropped bytes stay behind";
  const Bytes replacement = VariedBytes(1200, 9);
  blob.stream->Seek(0, TSeekOrigin::soEnd);
  blob.Write(replacement);
  EXPECT_EQ(blob.ReadAt(2000, 1200), replacement) << "not the dropped block 2";
  Bytes expected = Slice(value, 0, 2000);
  expected.insert(expected.end(), replacement.begin(), replacement.end());
  EXPECT_EQ(blob.ReadAll(), expected);
  EXPECT_EQ(Blob(blob.Image(), blob.stream->Descriptor()).ReadAll(), expected);

  blob.stream->SetSize(0);
  EXPECT_EQ(blob.stream->Size(), 0);
  EXPECT_EQ(blob.stream->Descriptor().block_count, 0);
  EXPECT_EQ(blob.stream->GetCompressedSize(), static_cast<int64_t>(blob.Image().size()));
  blob.stream->SetPosition(0);
  blob.Write(Slice(value, 0, 10));
  EXPECT_EQ(StoredBlocks(blob.Image(), 1)[0].position, 0) << "a new first block at the start";
  EXPECT_EQ(blob.ReadAll(), Slice(value, 0, 10));
}

TEST(TVTRCompressedBLOBStream, ManySmallWritesAndReadsStoreWhatOneWriteStores) {
  const Bytes value = VariedBytes(25000);
  Blob at_once(Settings(cmZlib, 6, 4096));
  at_once.Write(value);

  Blob pieces(Settings(cmZlib, 6, 4096));
  std::mt19937 random(5);
  for (size_t done = 0; done < value.size();) {
    const size_t n = std::min<size_t>(1 + random() % 1500, value.size() - done);
    pieces.stream->Seek(0, TSeekOrigin::soEnd);
    pieces.Write(Slice(value, done, n));
    done += n;
    // A read in between must see the bytes written so far, whatever block it last decompressed.
    const size_t at = random() % done;
    const size_t count = std::min<size_t>(1 + random() % 5000, done - at);
    ASSERT_EQ(pieces.ReadAt(static_cast<int64_t>(at), static_cast<int32_t>(count)), Slice(value, at, count));
  }
  // Rewriting the partial last block may leave shorter versions' bytes behind it.
  const Bytes image = at_once.Image();
  const Bytes pieces_image = pieces.Image();
  ASSERT_GE(pieces_image.size(), image.size());
  EXPECT_EQ(Slice(pieces_image, 0, image.size()), image);
  EXPECT_EQ(pieces.ReadAll(), value);
}

TEST(TVTRCompressedBLOBStream, RoundTripsEveryAlgorithmAndSize) {
  struct Case {
    TVTRCompressionMethod algorithm;
    uint8_t mode;
    int32_t block_size;
    size_t size;
  };
  for (const Case& c : {Case{cmBzip, 9, 102400, 1}, Case{cmBzip, 1, 0, 300000}, Case{cmZlib, 1, 0, 1},
                        Case{cmZlib, 9, 65536, 200000}, Case{cmPPM, 2, 4096, 10000}}) {
    SCOPED_TRACE(testing::Message() << "algorithm " << int{c.algorithm} << " size " << c.size);
    const Bytes value = VariedBytes(c.size, static_cast<uint32_t>(c.size));
    Blob blob(Settings(c.algorithm, c.mode, c.block_size));
    blob.Write(value);
    const TVTRBLOBDescriptor descriptor = blob.stream->Descriptor();
    const int32_t block_size =
        c.block_size ? c.block_size : TVTRCompressedBLOBStream::DefaultBlockSize(c.mode);
    EXPECT_EQ(descriptor.block_size, block_size);
    EXPECT_EQ(descriptor.block_count, static_cast<int64_t>((c.size + block_size - 1) / block_size));
    EXPECT_EQ(blob.ReadAll(), value);
    EXPECT_EQ(Blob(blob.Image(), descriptor).ReadAll(), value);
  }
}

TEST(TVTRCompressedBLOBStream, RandomBytesStoreLargerThanTheyAreAndStillRoundTrip) {
  std::mt19937 random(3);
  Bytes value(5000);
  for (auto& b : value) b = static_cast<uint8_t>(random());
  Blob blob(Settings(cmZlib, 9, 2048));
  blob.Write(value);
  EXPECT_LT(blob.stream->CompressionRate(), 0);
  EXPECT_EQ(Blob(blob.Image(), blob.stream->Descriptor()).ReadAll(), value);
}

TEST(TVTRCompressedBLOBStream, ContinuesAStoredValueAfterReopeningAtItsStartPosition) {
  const Bytes value = VariedBytes(5500);
  TVTRBLOBDescriptor settings = Settings(cmZlib, 6, 2000);
  settings.start_position = 7;
  Blob first(settings);
  first.Write(Slice(value, 0, 3000));
  Bytes image = first.Image();
  const Bytes before_start = {'h', 'e', 'a', 'd', 'e', 'r', ':'};
  std::copy(before_start.begin(), before_start.end(), image.begin());
  EXPECT_EQ(StoredBlocks(image, 2, 7)[1].uncompressed_size, 1000) << "the blocks begin at the start position";

  Blob reopened(image, first.stream->Descriptor());
  reopened.stream->Seek(0, TSeekOrigin::soEnd);
  reopened.Write(Slice(value, 3000, 2500));
  EXPECT_EQ(reopened.stream->Descriptor().block_count, 3);
  EXPECT_EQ(Slice(reopened.Image(), 0, 7), before_start);
  EXPECT_EQ(Blob(reopened.Image(), reopened.stream->Descriptor()).ReadAll(), value);
}

TEST(TVTRCompressedBLOBStream, ABlockThatDoesNotCompressRaisesWithTheSettings) {
  const auto unknown = static_cast<TVTRCompressionMethod>(9);
  Blob blob(Settings(unknown, 6, 1000));
  EXPECT_EQ(
      EngineErrorMessageOf([&] { blob.Write(VariedBytes(10)); }),
      "Compress buffer failed. CompAlg = 9, CompMode = 6, InSize = 10, OutSize = 0 - Native error: 10085");
  EXPECT_EQ(blob.stream->Size(), 0);
  EXPECT_EQ(blob.stream->Descriptor().block_count, 0);
}

TEST(TVTRCompressedBLOBStream, DefaultBlockSizeGrowsWithTheMode) {
  const int32_t expected[] = {102400,  524288,  524288,  524288,  1048576,
                              1048576, 1048576, 1572864, 1572864, 1572864};
  for (uint8_t mode = 0; mode <= 9; ++mode)
    EXPECT_EQ(TVTRCompressedBLOBStream::DefaultBlockSize(mode), expected[mode]);
  Blob blob(Settings(cmZlib, 4, 0));
  EXPECT_EQ(blob.stream->BlockSize(), 1048576);
}

TEST(TVTRCompressedBLOBStream, AcceptsAShortStreamOnlyWhenAskedTo) {
  Blob written(Settings(cmZlib, 6, 1000));
  written.Write(VariedBytes(2500));
  TVTRBLOBDescriptor descriptor = written.stream->Descriptor();
  descriptor.block_count = 5;
  EXPECT_EQ(NativeErrorOf([&] { Blob opened(written.Image(), descriptor); }), 10082);
  Blob shortened(written.Image(), descriptor, true);
  EXPECT_EQ(shortened.stream->Descriptor().block_count, 3);
  EXPECT_EQ(shortened.ReadAll(), VariedBytes(2500));
}

TEST(TVTRCompressedBLOBStream, WithoutCompressionIsAWindowOnTheUnderlyingStream) {
  const Bytes stored = VariedBytes(30);
  TVTRBLOBDescriptor descriptor = Settings(cmNone, 0, 0);
  descriptor.uncompressed_size = 10;
  Blob at_start(stored, descriptor);
  EXPECT_EQ(at_start.ReadAll(), Slice(stored, 0, 10));
  EXPECT_TRUE(at_start.ReadAt(10, 5).empty()) << "the bytes behind the value are not part of it";

  descriptor.start_position = 4;
  Blob inside(stored, descriptor);
  EXPECT_EQ(inside.ReadAll(), Slice(stored, 4, 10));
  inside.stream->SetPosition(2);
  inside.Write({'a', 'b'});
  inside.stream->Seek(3, TSeekOrigin::soEnd);
  inside.Write({'z'});
  Bytes expected = Slice(stored, 4, 10);
  expected[2] = 'a';
  expected[3] = 'b';
  expected.insert(expected.end(), {0, 0, 0, 'z'});
  EXPECT_EQ(inside.ReadAll(), expected) << "overwrites in place; a gap is zeros, not the old bytes";
  EXPECT_EQ(Slice(inside.Image(), 0, 4), Slice(stored, 0, 4));
  inside.stream->SetSize(3);
  EXPECT_EQ(inside.stream->GetCompressedSize(), 7);
  EXPECT_EQ(inside.stream->Descriptor().uncompressed_size, 3);
  EXPECT_DOUBLE_EQ(inside.stream->CompressionRate(), 0);

  descriptor.uncompressed_size = 27;
  EXPECT_EQ(EngineErrorMessageOf([&] { Blob opened(stored, descriptor); }),
            "Stream size = 30 too small. Should be at least = 31 - Native error: 10081");
  EXPECT_EQ(Blob(stored, descriptor, true).ReadAll(), Slice(stored, 4, 26));
}

}  // namespace
