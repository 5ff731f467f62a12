#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/os/FileSystem.h"
#include "platform/os/OSError.h"
#include "platform/os/OSFile.h"
#include "platform/os/TemporaryFile.h"
#include "tests/support/ScratchFolder.h"

namespace {

std::string ReadAll(OSFile& file) {
  std::string text(static_cast<size_t>(file.Size()), '\0');
  EXPECT_EQ(file.ReadAt(text.data(), text.size(), 0), text.size());
  return text;
}

TEST(OSFile, WritesAndReadsAtPositionsAndReadsShortOnlyAtTheEnd) {
  ScratchFolder folder;
  OSFile file = OSFile::Create(folder.File("a.bin"));
  file.WriteAt("hello", 5, 0);
  file.WriteAt("XY", 2, 10);  // leaves a gap that reads back as zeros
  EXPECT_EQ(file.Size(), 12);
  EXPECT_EQ(ReadAll(file), std::string("hello\0\0\0\0\0XY", 12));

  char buffer[8] = {};
  EXPECT_EQ(file.ReadAt(buffer, sizeof buffer, 8), 4u);
  EXPECT_EQ(std::string(buffer, 4), std::string("\0\0XY", 4));
  EXPECT_EQ(file.ReadAt(buffer, sizeof buffer, 100), 0u);
}

TEST(OSFile, SetSizeTruncatesAndExtendsWithZeros) {
  ScratchFolder folder;
  OSFile file = OSFile::Create(folder.File("a.bin"));
  file.WriteAt("abcdef", 6, 0);
  file.SetSize(3);
  EXPECT_EQ(ReadAll(file), "abc");
  file.SetSize(6);
  EXPECT_EQ(ReadAll(file), std::string("abc\0\0\0", 6));
  file.WriteAt("Z", 1, 6);
  EXPECT_EQ(ReadAll(file), std::string("abc\0\0\0Z", 7));
}

TEST(OSFile, CreateReplacesAnExistingFileAndOpenSeesTheSameBytes) {
  ScratchFolder folder;
  const std::string name = folder.File("a.bin");
  OSFile::Create(name).WriteAt("old content", 11, 0);
  OSFile::Create(name).WriteAt("new", 3, 0);
  OSFile reader = OSFile::Open(name, OSFileAccess::kReadOnly);
  EXPECT_EQ(ReadAll(reader), "new");
  EXPECT_THROW(reader.WriteAt("x", 1, 0), EOSError);
  reader.Flush();
  reader.Close();
  EXPECT_FALSE(reader.IsOpen());
}

TEST(OSFile, FailuresNameTheFileAndKeepTheErrorNumber) {
  ScratchFolder folder;
  const std::string missing = folder.File("missing.vtr");
  try {
    OSFile::Open(missing, OSFileAccess::kReadWrite);
    FAIL() << "opened a missing file";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), ENOENT);
    EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\": No such file or directory");
  }
  try {
    DeleteFile(missing);
    FAIL() << "deleted a missing file";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), ENOENT);
  }
  EXPECT_THROW(RenameFile(missing, folder.File("b")), EOSError);
}

TEST(OSFile, GrowthBeyondTheFileSizeLimitFailsBeforeAnyByteIsWritten) {
  ScratchFolder folder;
  const std::string name = folder.File("limited.bin");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // In the child, so the limit does not reach the other tests.
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    int code = 1;
    try {
      OSFile file = OSFile::Create(name);
      const std::vector<char> bytes(8192, 'x');
      file.WriteAt(bytes.data(), bytes.size(), 0);
    } catch (const EOSError& e) {
      code = e.ErrorCode() == EFBIG ? 0 : 3;
    }
    ::_exit(code);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the oversized write was not refused with EFBIG";
  OSFile file = OSFile::Open(name, OSFileAccess::kReadOnly);
  EXPECT_EQ(file.Size(), 0) << "part of the refused write reached the file";
}

TEST(OSFile, OpenOrCreateGivesANewFileExactlyItsPermissionsAndOpensAnOldOneAsItIs) {
  ScratchFolder folder;
  const std::string name = folder.File("beside.bin");
  const mode_t mask = ::umask(0077);
  bool created = false;
  OSFile made = OSFile::OpenOrCreate(name, 0664, created);
  ::umask(mask);
  EXPECT_TRUE(created);
  EXPECT_EQ(made.Permissions(), 0664u) << "the umask reached the new file";
  made.WriteAt("kept", 4, 0);

  ASSERT_EQ(::chmod(name.c_str(), 0600), 0);
  OSFile again = OSFile::OpenOrCreate(name, 0664, created);
  EXPECT_FALSE(created);
  EXPECT_EQ(again.Permissions(), 0600u) << "an existing file keeps its permissions";
  EXPECT_EQ(ReadAll(again), "kept");
  EXPECT_EQ(again.Identity(), made.Identity());
  EXPECT_FALSE(again.IsUnlinked());

  EXPECT_TRUE(DeleteFileIfPresent(name));
  EXPECT_TRUE(again.IsUnlinked()) << "the open file lost its name";
  EXPECT_FALSE(DeleteFileIfPresent(name));
  OSFile fresh = OSFile::OpenOrCreate(name, 0640, created);
  EXPECT_TRUE(created);
  EXPECT_FALSE(fresh.Identity() == again.Identity()) << "a new file under the old name";
  try {
    OSFile::OpenOrCreate(folder.File("missing/beside.bin"), 0600, created);
    ADD_FAILURE() << "a file in a missing folder was made";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), ENOENT);
  }
}

TEST(FileSystem, SyncingAFolderNeedsTheFolder) {
  ScratchFolder folder;
  EXPECT_NO_THROW(SyncFolderOf(folder.File("any.vtr")));
  try {
    SyncFolderOf(folder.File("missing/any.vtr"));
    ADD_FAILURE() << "a missing folder was synced";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), ENOENT);
    EXPECT_NE(e.Message().find("missing"), std::string::npos) << e.Message();
  }
}

TEST(FileSystem, RenameReplacesTheTargetAndDeleteRemovesTheFile) {
  ScratchFolder folder;
  const std::string source = folder.File("new.vtr");
  const std::string target = folder.File("db.vtr");
  OSFile::Create(source).WriteAt("new", 3, 0);
  OSFile::Create(target).WriteAt("old", 3, 0);
  RenameFile(source, target);
  EXPECT_FALSE(FileExists(source));
  OSFile file = OSFile::Open(target, OSFileAccess::kReadOnly);
  EXPECT_EQ(ReadAll(file), "new");
  DeleteFile(target);
  EXPECT_FALSE(FileExists(target));
  EXPECT_FALSE(FileExists(folder.Path().string())) << "a folder is not a file";
}

TEST(FileSystem, WholeFileWritesReplaceTheFileAtOnceAndFailuresLeaveNoPartialFile) {
  ScratchFolder folder;
  const std::string target = folder.File("export.csv");
  WriteWholeFile(target, "first");
  WriteWholeFile(target, "second");
  OSFile file = OSFile::Open(target, OSFileAccess::kReadOnly);
  EXPECT_EQ(ReadAll(file), "second");
  EXPECT_EQ(folder.Files(), std::vector<std::string>{target});
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask) << "the file takes the usual permissions";

  const std::string missing_folder = folder.File("CSV/export.csv");
  try {
    WriteWholeFile(missing_folder, "x");
    ADD_FAILURE() << "a file in a missing folder was written";
  } catch (const EOSError& error) {
    EXPECT_EQ(error.ErrorCode(), ENOENT);
    EXPECT_NE(error.Message().find(missing_folder), std::string::npos) << error.Message();
  }
  // The rename fails after the bytes were written beside: they go too.
  const std::string folder_in_the_way = folder.File("in-the-way");
  std::filesystem::create_directory(folder_in_the_way);
  EXPECT_THROW(WriteWholeFile(folder_in_the_way, "x"), EOSError);
  EXPECT_EQ(folder.Files().size(), 2u);
}

class TemporaryFolderTest : public ::testing::Test {
 protected:
  ScratchFolder folder_;
  ScopedTemporaryFolder temporary_folder_{folder_.Path()};
};

TEST_F(TemporaryFolderTest, NamesAreNewEmptyVtrFilesInTheTemporaryFolder) {
  const std::string first = CreateTemporaryFile();
  const std::string second = CreateTemporaryFile();
  EXPECT_NE(first, second);
  for (const std::string& name : {first, second}) {
    EXPECT_EQ(std::filesystem::path(name).parent_path(), folder_.Path());
    EXPECT_EQ(std::filesystem::path(name).filename().string().rfind("VTR", 0), 0u) << name;
    EXPECT_TRUE(FileExists(name));
    EXPECT_EQ(std::filesystem::file_size(name), 0u);
  }
}

TEST_F(TemporaryFolderTest, TemporaryFileIsDeletedOnCloseAndOnDestruction) {
  std::string closed_name;
  {
    TemporaryFile file;
    closed_name = file.FileName();
    file.File().WriteAt("data", 4, 0);
    EXPECT_TRUE(FileExists(closed_name));
    file.Close();
    EXPECT_FALSE(FileExists(closed_name));
  }
  std::string destroyed_name;
  {
    TemporaryFile file;
    destroyed_name = file.FileName();
    EXPECT_TRUE(FileExists(destroyed_name));
  }
  EXPECT_FALSE(FileExists(destroyed_name));
}

}  // namespace
