#pragma once
// TVTRMemoryPageStore: a page cache whose pages live in memory only, for the
// temporary indexes of a disk table: they never reach the database file and
// go with the table object. Pages have no header.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/storage/PageManager.h"

class TVTRMemoryPageStore : public TVTRPageManager {
 public:
  explicit TVTRMemoryPageStore(int32_t page_size) : TVTRPageManager(page_size, 0) {}

  void AllocatePage(TVTRPage& page) override;
  void FreePage(int32_t page_no) override;
  bool ReadPage(TVTRPage& page) override;
  void WritePage(TVTRPage& page) override;

 private:
  std::unordered_map<int32_t, std::vector<uint8_t>> stored_;
  std::vector<int32_t> free_;
  int32_t next_page_ = 0;
};
