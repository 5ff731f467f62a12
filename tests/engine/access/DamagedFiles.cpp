#include "tests/engine/access/DamagedFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/storage/disk/DiskDatabaseData.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/records/DiskRecordManager.h"
#include "tests/engine/access/DatasetCursor.h"
#include "tests/engine/access/DonateTable.h"

namespace {

void Overwrite(const std::string& file_name, int64_t offset, size_t count) {
  const std::string garbage(count, '\xA5');
  std::fstream file(file_name, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(offset);
  file.write(garbage.data(), static_cast<std::streamsize>(count));
  ASSERT_TRUE(file.good()) << file_name;
}

}  // namespace

void DamageFirstRecordPage(const std::string& file_name, const std::string& table) {
  int64_t offset = 0;
  int32_t page_size = 0;
  {
    auto session = DonateSession(file_name);
    session->SetConnected(true);
    DatasetCursor cursor(*session, table);
    auto& records = dynamic_cast<TVTRDiskRecordManager&>(*cursor.Cursor().TableData->RecordManager);
    int32_t page_no = -1;
    ASSERT_TRUE(records.RecordPageIndex.FirstPage(session->SessionID, page_no));
    TVTRDiskPageManager& pages = *dynamic_cast<TVTRDiskDatabaseData&>(*session->DatabaseData).DiskPageManager();
    offset = pages.GetPageOffset(page_no);
    page_size = session->PageSize;
  }
  Overwrite(file_name, offset, page_size);
}

void DamageTableList(const std::string& file_name) {
  std::vector<int64_t> offsets;
  int32_t page_size = 0;
  {
    auto session = DonateSession(file_name);
    session->SetConnected(true);
    page_size = session->PageSize;
    TVTRDiskPageManager& pages = *dynamic_cast<TVTRDiskDatabaseData&>(*session->DatabaseData).DiskPageManager();
    std::ifstream file(file_name, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    for (int32_t page_no = 0; pages.GetPageOffset(page_no) + kPageHeaderSize <= static_cast<int64_t>(bytes.size());
         ++page_no) {
      const auto* page = reinterpret_cast<const uint8_t*>(bytes.data() + pages.GetPageOffset(page_no));
      if (PageTypeOf(page) == ptTableList) offsets.push_back(pages.GetPageOffset(page_no));
    }
  }
  ASSERT_FALSE(offsets.empty());
  for (const int64_t offset : offsets) Overwrite(file_name, offset + kPageHeaderSize, page_size - kPageHeaderSize);
}
