#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/temp/TemporaryPageManager.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

constexpr int32_t kSession = 0;

class TemporaryPages : public ::testing::Test {
 protected:
  // A committed page filled with the byte; returns its number.
  int32_t AddPage(uint8_t fill) {
    TVTRPage* page = pages_.AddPage(kSession, 0);
    std::memset(page->Data(), fill, static_cast<size_t>(page->DataSize()));
    const int32_t page_no = page->PageNo();
    pages_.ReleasePage(page);
    pages_.Commit(kSession);
    return page_no;
  }
  void FreePage(int32_t page_no) {
    pages_.DeletePage(kSession, page_no);
    pages_.Commit(kSession);
  }
  uint8_t FirstByte(int32_t page_no) {
    HeldPage page(pages_.GetPage(kSession, page_no, kAnyPageType));
    return page->Data()[0];
  }

  ScratchFolder folder_;
  ScopedTemporaryFolder temporary_{folder_.Path()};
  TVTRTemporaryPageManager pages_{false, 3 * 4096};
};

TEST_F(TemporaryPages, PagesBeyondTheLimitLiveInTheSpillFile) {
  EXPECT_EQ(pages_.MemoryPageLimit(), 3);
  std::vector<int32_t> numbers;
  for (uint8_t fill = 1; fill <= 6; ++fill) numbers.push_back(AddPage(fill));
  EXPECT_EQ(numbers, (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(folder_.Files(), std::vector<std::string>{pages_.SpillFileName()});
  pages_.SetCacheCapacity(0);  // every read below goes to the store or the file
  for (int32_t page_no : numbers) EXPECT_EQ(FirstByte(page_no), page_no + 1);
}

TEST_F(TemporaryPages, FreedNumbersAreTakenAgainInMemoryFirst) {
  for (uint8_t fill = 1; fill <= 5; ++fill) AddPage(fill);
  FreePage(4);
  FreePage(1);
  EXPECT_EQ(pages_.GetPageCount(), 3);
  EXPECT_EQ(AddPage(20), 1);
  EXPECT_EQ(AddPage(21), 4);
  EXPECT_EQ(AddPage(22), 5);
  pages_.SetCacheCapacity(0);
  EXPECT_EQ(FirstByte(4), 21);
}

TEST_F(TemporaryPages, PagesThatAreNotAllocatedCannotBeReadOrWritten) {
  AddPage(1);
  FreePage(0);
  TVTRPage page(pages_, 0, kSession);
  page.AllocBuffer();
  EXPECT_ENGINE_ERROR(pages_.ReadPage(page), 10396, "Not released page is allocated");
  EXPECT_ENGINE_ERROR(pages_.WritePage(page), 10397, "Not released page is allocated");
}

}  // namespace
