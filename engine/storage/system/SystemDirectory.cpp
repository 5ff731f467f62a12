#include "engine/storage/system/SystemDirectory.h"

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/system/RecordFile.h"

namespace {

constexpr int kKindAt = 0;
constexpr int kStartPageAt = 1;

}  // namespace

void EncodeSystemDirectoryEntry(const SystemDirectoryEntry& entry,
                                std::span<uint8_t, kSystemDirectoryEntrySize> out) {
  out[kKindAt] = entry.Kind;
  StoreI32(out.data() + kStartPageAt, entry.StartPage);
}

SystemDirectoryEntry DecodeSystemDirectoryEntry(std::span<const uint8_t, kSystemDirectoryEntrySize> in) {
  return SystemDirectoryEntry{in[kKindAt], LoadI32(in.data() + kStartPageAt)};
}

TVTRSystemDirectory::TVTRSystemDirectory(TVTRDiskPageManager& manager)
    : file_(manager, ptFileSystemDirectory) {}

void TVTRSystemDirectory::CreateDirectory() {
  file_.CreateFile(kSystemSessionID);
  if (file_.StartPage() != kSystemDirectoryPage) {
    throw EVTRException::CreateFmt(
        30392, "Error Creating SystemDirectory. SystemDirectoryPageNo=%d. Real PageNo=%d.", file_.StartPage(),
        kSystemDirectoryPage);
  }
}

void TVTRSystemDirectory::Load() {
  file_.OpenFile(kSystemDirectoryPage);
  entries_ = ReadRecords<kSystemDirectoryEntrySize, SystemDirectoryEntry>(file_, DecodeSystemDirectoryEntry);
}

void TVTRSystemDirectory::Save() {
  WriteRecords<kSystemDirectoryEntrySize>(file_, entries_, EncodeSystemDirectoryEntry);
}

void TVTRSystemDirectory::AddEntry(uint8_t kind, int32_t start_page) {
  entries_.push_back(SystemDirectoryEntry{kind, start_page});
}

int32_t TVTRSystemDirectory::FindEntry(uint8_t kind) const {
  for (const SystemDirectoryEntry& entry : entries_) {
    if (entry.Kind == kind) return entry.StartPage;
  }
  return -1;
}
