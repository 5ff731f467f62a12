#pragma once
// Shared helpers of the storage tests: database files in a scratch folder and
// pages changed and read through a page manager.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/VTRDiskEngine.h"
#include "engine/storage/VTRPage.h"
#include "platform/os/OSFile.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/ScratchFolder.h"

inline std::vector<uint8_t> FileBytes(const std::string& name) {
  OSFile file = OSFile::Open(name, OSFileAccess::kReadOnly);
  std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
  file.ReadAt(bytes.data(), bytes.size(), 0);
  return bytes;
}

inline void WriteFileBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
  OSFile::Create(name).WriteAt(bytes.data(), bytes.size(), 0);
}

struct OpenResult {
  bool multi_user;
  bool needs_repair;
  bool read_only;
};

inline void CreateDatabaseFile(const std::string& name, int32_t page_size = 4096,
                               int32_t pages_per_extent = 8) {
  TVTRDiskPageManager manager;
  manager.CreateDatabase(name, TVTRPassword{}, page_size, pages_per_extent);
}

inline std::unique_ptr<TVTRDiskPageManager> OpenDatabaseFile(const std::string& name, bool multi_user = false,
                                                             OpenResult* result = nullptr,
                                                             bool read_only = false) {
  auto manager = std::make_unique<TVTRDiskPageManager>();
  bool needs_repair = false;
  manager->OpenDatabase(name, TVTRPassword{}, multi_user, false, needs_repair, read_only);
  if (result != nullptr) *result = {multi_user, needs_repair, read_only};
  return manager;
}

// A new page of the session holding `content` in its first data byte, committed.
inline int32_t AddCommittedPage(TVTRPageManager& manager, int32_t session, uint8_t content,
                                uint16_t type = ptTableRecord) {
  HeldPage page(manager.AddPage(session, type));
  page->Data()[0] = content;
  const int32_t page_no = page->PageNo();
  page.Release();
  manager.Commit(session);
  return page_no;
}

inline void ChangePage(TVTRPageManager& manager, int32_t session, int32_t page_no, uint8_t content) {
  HeldPage page(manager.GetPage(session, page_no, kAnyPageType));
  page->Data()[0] = content;
  page->SetDirty(true);
}

inline uint8_t PageContent(TVTRPageManager& manager, int32_t session, int32_t page_no) {
  HeldPage page(manager.GetPage(session, page_no, kAnyPageType));
  return page->Data()[0];
}
