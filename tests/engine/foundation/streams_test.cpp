#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRMemory.h"
#include "engine/foundation/VTRStreams.h"
#include "platform/os/FileSystem.h"
#include "platform/os/OSError.h"
#include "tests/support/ScratchFolder.h"

namespace {

using namespace std::string_literals;

void Put(TStream& stream, const std::string& bytes) {
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

// The whole content; the position is left as it was.
std::string Content(TStream& stream) {
  const int64_t position = stream.Position();
  std::string bytes(static_cast<size_t>(stream.Size()), '\0');
  stream.SetPosition(0);
  stream.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(position);
  return bytes;
}

// The message and code an engine error must carry.
#define EXPECT_ENGINE_ERROR(statement, code, message) \
  try {                                               \
    statement;                                        \
    ADD_FAILURE() << #statement " raised nothing";    \
  } catch (const EVTRException& e) {                  \
    EXPECT_EQ(e.NativeError(), code);                 \
    EXPECT_EQ(e.Message(), std::string(message));     \
  }

// A stream that takes at most `capacity` bytes and, with short_reads, hands
// out one byte less than asked: the failures the copies must report.
class FaultyStream : public TVTRStream {
 public:
  explicit FaultyStream(int64_t capacity, bool short_reads = false)
      : capacity_(capacity), short_reads_(short_reads) {}
  int32_t Read(void* buffer, int32_t count) override {
    if (short_reads_ && count > 1) --count;
    return inner_.Read(buffer, count);
  }
  int32_t Write(const void* buffer, int32_t count) override {
    const auto room = static_cast<int32_t>(std::clamp<int64_t>(capacity_ - inner_.Position(), 0, count));
    return inner_.Write(buffer, room);
  }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override { return inner_.Seek(offset, origin); }
  void SetSize(int64_t size) override { inner_.SetSize(size); }

 private:
  TVTRMemoryStream inner_;
  int64_t capacity_;
  bool short_reads_;
};

TEST(VTRMemoryStream, ReadsStopAtTheEndAndWritesPastItLeaveNoStaleBytes) {
  TVTRMemoryStream stream;
  EXPECT_EQ(stream.Memory(), nullptr);
  Put(stream, "abcdefgh");
  char buffer[4];
  EXPECT_EQ(stream.Read(buffer, 4), 0) << "at the end";
  stream.SetSize(2);
  EXPECT_EQ(stream.Position(), 2) << "moved to the new end";
  EXPECT_EQ(stream.Seek(3, TSeekOrigin::soCurrent), 5);
  Put(stream, "xy");
  EXPECT_EQ(Content(stream), "ab\0\0\0xy"s) << "the gap is zeroed, the old bytes do not come back";
  stream.SetSize(9);
  EXPECT_EQ(Content(stream), "ab\0\0\0xy\0\0"s) << "growth is zeroed";
  EXPECT_EQ(stream.Position(), 7);
  stream.SetPosition(1);
  EXPECT_EQ(stream.Read(buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "b\0\0\0"s);
  EXPECT_EQ(stream.Seek(-2, TSeekOrigin::soEnd), 7);
  stream.SetSize(0);
  EXPECT_EQ(stream.Memory(), nullptr);
  EXPECT_EQ(stream.Position(), 0);
}

TEST(VTRMemoryStream, KeepsItsBytesInTheEngineMemoryManager) {
  TVTRMemoryManager& manager = EngineMemoryManager();
  const int64_t before = manager.BytesInUse();
  {
    void* block = manager.GetMem(5);
    std::memcpy(block, "12345", 5);
    TVTRMemoryStream stream(block);
    EXPECT_EQ(stream.Size(), 5);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(Content(stream), "12345");
    stream.SetPosition(5);
    Put(stream, std::string(100000, 'z'));
    EXPECT_GE(manager.BytesInUse(), before + 100005);
  }
  EXPECT_EQ(manager.BytesInUse(), before);
}

TEST(VTRMemoryStream, HandsItsBytesOverWithoutACopyAndIsLeftEmpty) {
  TVTRMemoryManager& manager = EngineMemoryManager();
  const int64_t before = manager.BytesInUse();
  TVTRMemoryStream stream;
  Put(stream, "abc");
  const void* memory = stream.Memory();
  std::unique_ptr<uint8_t, VTRMemoryDeleter> taken(static_cast<uint8_t*>(stream.TakeMemory()));
  EXPECT_EQ(taken.get(), memory);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(taken.get()), 3), "abc");
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_EQ(stream.Memory(), nullptr);
  Put(stream, "x");
  stream.SetSize(0);
  EXPECT_EQ(stream.TakeMemory(), nullptr) << "an empty stream hands over nothing";
  taken.reset();
  EXPECT_EQ(manager.BytesInUse(), before);
}

TEST(VTRMemoryStream, PositionsOutsideThe32BitRangeAreRefused) {
  TVTRMemoryStream stream;
  Put(stream, "abc");
  EXPECT_EQ(stream.Seek(-1, TSeekOrigin::soBeginning), -1);
  EXPECT_EQ(stream.Seek(int64_t{INT32_MAX} + 1, TSeekOrigin::soBeginning), -1);
  EXPECT_EQ(stream.Seek(INT64_MAX, TSeekOrigin::soEnd), -1);
  EXPECT_EQ(stream.Position(), 3);
  EXPECT_ENGINE_ERROR(
      SeekStreamChecked(stream, 10777, 5'000'000'000), 10777,
      "Cannot set stream position to 5000000000. Position = 3, Size = 3 - Native error: 10777");
  stream.SetPosition(INT32_MAX - 1);
  EXPECT_EQ(stream.Write("xy", 2), 0) << "a write that cannot fit writes nothing";
  EXPECT_EQ(stream.Size(), 3);
}

TEST(VTRStream, SaveToStreamAppendsAtTheDestinationAndRestoresBothPositions) {
  TVTRMemoryStream source;
  Put(source, "hello world");
  source.SetPosition(3);
  TVTRMemoryStream dest;
  Put(dest, "XY");
  dest.SetPosition(1);
  source.SetBlockSize(4);
  std::vector<double> progress;
  source.SetOnProgress([&](TVTRStream&, double percent) { progress.push_back(percent); });
  source.SaveToStream(dest);
  EXPECT_EQ(Content(dest), "Xhello world");
  EXPECT_EQ(dest.Position(), 1);
  EXPECT_EQ(source.Position(), 3);
  ASSERT_GE(progress.size(), 3u);
  EXPECT_EQ(progress.front(), 0);
  EXPECT_EQ(progress.back(), 100);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));

  TVTRMemoryStream empty;
  progress.clear();
  empty.SetOnProgress([&](TVTRStream&, double percent) { progress.push_back(percent); });
  empty.SaveToStream(dest);
  EXPECT_EQ(Content(dest), "Xhello world");
  EXPECT_EQ(progress, (std::vector<double>{0, 100}));
}

TEST(VTRStream, CopyBlocksFromReplacesTheContentByTheRange) {
  TVTRMemoryStream source;
  Put(source, "0123456789");
  source.SetPosition(4);
  TVTRMemoryStream target;
  Put(target, "old content");
  target.SetPosition(5);
  target.SetBlockSize(2);
  target.CopyBlocksFrom(source, 2, 5);
  EXPECT_EQ(Content(target), "23456");
  EXPECT_EQ(target.Position(), 5);
  EXPECT_EQ(source.Position(), 4);
  target.CopyBlocksFrom(source, 3, 0);
  EXPECT_EQ(target.Size(), 0);
  target.LoadFromStream(source);
  EXPECT_EQ(Content(target), "0123456789");
}

TEST(VTRStream, FailedCopiesRaiseTheirCodesWithThePositions) {
  TVTRMemoryStream source;
  Put(source, "0123456789");
  TVTRMemoryStream target;
  target.SetBlockSize(5);
  EXPECT_ENGINE_ERROR(
      target.CopyBlocksFrom(source, 8, 5), 10148,
      "Cannot read from stream. Position = 8, Stream size = 10, Block size = 5, Bytes Read = 2"
      " - Native error: 10148");
  FaultyStream small_target(3);
  EXPECT_ENGINE_ERROR(
      small_target.CopyBlocksFrom(source, 0, 10), 10149,
      "Cannot write to stream. Position = 0, Stream size = 3, Block size = 10, Bytes Write = 3"
      " - Native error: 10149");
  FaultyStream small_dest(4);
  EXPECT_ENGINE_ERROR(
      source.SaveToStream(small_dest), 10147,
      "Cannot write to stream. Position = 0, Stream size = 4, Block size = 10, Bytes Write = 4"
      " - Native error: 10147");
  FaultyStream short_reader(100, true);
  Put(short_reader, "abcdef");
  EXPECT_ENGINE_ERROR(short_reader.SaveToStream(target), 10146,
                      "Cannot read from stream. Position = 0, Stream size = 6, Block size = 6, Bytes Read = 5"
                      " - Native error: 10146");
  for (int32_t block_size : {0, -1}) {
    source.SetBlockSize(block_size);
    EXPECT_ENGINE_ERROR(source.SaveToStream(target), 10418,
                        "Stream block size = 0 is not allowed - Native error: 10418");
    EXPECT_ENGINE_ERROR(source.CopyBlocksFrom(target, 0, 1), 10419,
                        "Stream block size = 0 is not allowed - Native error: 10419");
  }
}

TEST(CheckedTransfers, ShortTransfersRaiseTheCallersCodeWith64BitPositions) {
  ScratchFolder folder;
  TVTRFileStream file(folder.File("big.tmp"), TVTRFileStream::fmCreate, false);
  char buffer[8] = "abcdefg";
  WriteStreamChecked(buffer, 8, file, 1);
  SeekStreamChecked(file, 2, 5'000'000'000);
  EXPECT_EQ(file.Position(), 5'000'000'000);
  EXPECT_ENGINE_ERROR(ReadStreamChecked(buffer, 8, file, 20123), 20123,
                      "Cannot read from stream. Position = 5000000000, Stream size = 8, Block size = 8, "
                      "Bytes Read = 0 - Native error: 20123");
  EXPECT_ENGINE_ERROR(
      SeekStreamChecked(file, 301, -1), 301,
      "Cannot set stream position to -1. Position = 5000000000, Size = 8 - Native error:   301");
  FaultyStream small(6);
  EXPECT_ENGINE_ERROR(WriteStreamChecked(buffer, 8, small, 10001), 10001,
                      "Cannot write to stream. Position = 0, Stream size = 6, Block size = 8, Bytes Write = 6"
                      " - Native error: 10001");
  file.SetPosition(0);
  ReadStreamChecked(buffer, 8, file, 3);
  EXPECT_STREQ(buffer, "abcdefg");
}

TEST(VTRFileStream, CreatesOrOpensAFileAndDeletesOnlyATemporaryOne) {
  ScratchFolder folder;
  const std::string kept = folder.File("kept.dat");
  {
    TVTRFileStream stream(kept, TVTRFileStream::fmCreate, false);
    Put(stream, "0123456789");
    stream.SetPosition(8);
    stream.SetSize(4);
    EXPECT_EQ(stream.Position(), 4) << "moved to the new end";
    stream.SetSize(6);
    EXPECT_EQ(stream.Position(), 4);
    EXPECT_EQ(Content(stream), "0123\0\0"s);
    EXPECT_EQ(stream.Seek(2, TSeekOrigin::soEnd), 8);
  }
  {
    TVTRFileStream reader(kept, 0x20, false);  // read access, deny write
    EXPECT_EQ(Content(reader), "0123\0\0"s);
    EXPECT_EQ(reader.Write("x", 1), 0);
    TVTRFileStream replaced(kept, TVTRFileStream::fmCreate, false);
    EXPECT_EQ(replaced.Size(), 0);
  }
  EXPECT_TRUE(FileExists(kept));

  const std::string temporary = folder.File("VTRtemp");
  {
    TVTRFileStream stream(temporary, TVTRFileStream::fmCreate, true);
    Put(stream, "scratch");
    EXPECT_TRUE(FileExists(temporary));
  }
  EXPECT_FALSE(FileExists(temporary));
}

TEST(VTRFileStream, FailuresToCreateOrOpenNameTheFile) {
  ScratchFolder folder;
  const std::string missing_folder = folder.File("no/such.dat");
  EXPECT_ENGINE_ERROR(TVTRFileStream(missing_folder, TVTRFileStream::fmCreate, true), 10104,
                      "Cannot create file. FileName = " + missing_folder + " - Native error: 10104");
  const std::string missing = folder.File("missing.dat");
  EXPECT_ENGINE_ERROR(TVTRFileStream(missing, 2, false), 10105,
                      "Cannot open file. FileName = " + missing + ", Mode = 2 - Native error: 10105");
}

class VTRTemporaryStreamTest : public ::testing::Test {
 protected:
  ScratchFolder folder_;
  ScopedTemporaryFolder temporary_folder_{folder_.Path()};
};

TEST_F(VTRTemporaryStreamTest, SpillsToAVtrFileOnlyPastOneMegabyteAndKeepsThePosition) {
  std::string expected;
  for (int i = 0; i < TVTRTemporaryStream::kSpillThreshold; ++i) expected.push_back(static_cast<char>(i * 7));
  std::string temporary_name;
  {
    TVTRTemporaryStream stream(false);
    for (size_t offset = 0; offset < expected.size(); offset += 100000)
      Put(stream, expected.substr(offset, 100000));
    EXPECT_EQ(stream.Size(), 1048576);
    EXPECT_TRUE(stream.InMemory());
    EXPECT_TRUE(folder_.Files().empty()) << "exactly 1,048,576 bytes stay in memory";

    stream.SetPosition(100);
    Put(stream, "!");
    expected[100] = '!';
    EXPECT_FALSE(stream.InMemory());
    EXPECT_EQ(stream.Position(), 101);
    temporary_name = stream.TemporaryFileName();
    EXPECT_EQ(folder_.Files(), std::vector<std::string>{temporary_name});
    EXPECT_EQ(std::filesystem::path(temporary_name).filename().string().rfind("VTR", 0), 0u)
        << temporary_name;
    EXPECT_EQ(Content(stream), expected);

    stream.SetSize(10);
    EXPECT_FALSE(stream.InMemory()) << "shrinking never moves back";
    EXPECT_EQ(stream.Position(), 10);
  }
  EXPECT_FALSE(FileExists(temporary_name));
  EXPECT_TRUE(folder_.Files().empty());
}

TEST_F(VTRTemporaryStreamTest, KeepInMemoryNeverMakesAFile) {
  TVTRTemporaryStream stream(true);
  Put(stream, std::string(2 * TVTRTemporaryStream::kSpillThreshold, 'k'));
  EXPECT_TRUE(stream.InMemory());
  EXPECT_TRUE(stream.TemporaryFileName().empty());
  EXPECT_TRUE(folder_.Files().empty());
  EXPECT_EQ(stream.Size(), 2 * TVTRTemporaryStream::kSpillThreshold);
}

}  // namespace
