#pragma once
// TVTRSystemDirectory: where a database's catalogue files start. A transacted
// internal file of page type 4, always at page 2, uncompressed, read and
// written in the system session; its content is an array of entries:
//
//   offset  size  content
//   0       1     u8  kind: 1 = table list, 2 = connection slots
//   1       4     i32 start page of that internal file
#include <cstdint>
#include <span>
#include <vector>

#include "engine/storage/system/TransactedFile.h"

class TVTRDiskPageManager;

enum TVTRSystemDirectoryKind : uint8_t {
  sdkTableList = 1,
  sdkActiveSessions = 2,
};

inline constexpr int32_t kSystemDirectoryPage = 2;
inline constexpr int32_t kSystemDirectoryEntrySize = 5;

struct SystemDirectoryEntry {
  uint8_t Kind = 0;
  int32_t StartPage = -1;
};

void EncodeSystemDirectoryEntry(const SystemDirectoryEntry& entry,
                                std::span<uint8_t, kSystemDirectoryEntrySize> out);
SystemDirectoryEntry DecodeSystemDirectoryEntry(std::span<const uint8_t, kSystemDirectoryEntrySize> in);

class TVTRSystemDirectory {
 public:
  explicit TVTRSystemDirectory(TVTRDiskPageManager& manager);

  // Creates the file in the system session of a new database, where it must
  // get page 2 (30392 otherwise).
  void CreateDirectory();
  void Load();
  void Save();
  void AddEntry(uint8_t kind, int32_t start_page);
  // The start page of the first entry of that kind; -1 when there is none.
  int32_t FindEntry(uint8_t kind) const;

 private:
  TVTRInternalDBTransactedAccessFile file_;
  std::vector<SystemDirectoryEntry> entries_;
};
