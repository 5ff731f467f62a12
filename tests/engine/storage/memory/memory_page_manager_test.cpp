#include <gtest/gtest.h>

#include <cstring>

#include "engine/foundation/VTRStreams.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/memory/MemoryPageManager.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

constexpr int32_t kSession = 0;

// A committed page of the manager filled with one byte value.
int32_t AddPage(TVTRMemoryPageManager& pages, uint8_t fill) {
  TVTRPage* page = pages.AddPage(kSession, 0);
  std::memset(page->Data(), fill, static_cast<size_t>(page->DataSize()));
  const int32_t page_no = page->PageNo();
  pages.ReleasePage(page);
  pages.Commit(kSession);
  return page_no;
}

uint8_t FirstByte(TVTRMemoryPageManager& pages, int32_t page_no) {
  HeldPage page(pages.GetPage(kSession, page_no, kAnyPageType));
  return page->Data()[0];
}

TEST(MemoryPageManager, ARolledBackChangeNeverReachesTheStore) {
  TVTRMemoryPageManager pages;
  const int32_t kept = AddPage(pages, 1);

  TVTRPage* page = pages.GetPage(kSession, kept, kAnyPageType);
  page->Data()[0] = 9;
  page->SetDirty(true);
  pages.ReleasePage(page);
  TVTRPage* added = pages.AddPage(kSession, 0);
  const int32_t added_no = added->PageNo();
  pages.ReleasePage(added);
  pages.Rollback(kSession);

  EXPECT_EQ(FirstByte(pages, kept), 1);
  EXPECT_EQ(pages.GetPageCount(), 1);
  EXPECT_FALSE(pages.IsAllocated(added_no));
  EXPECT_EQ(AddPage(pages, 2), added_no) << "the rolled-back number is free again";
}

TEST(MemoryPageManager, NumbersAreHandedOutLowestFreeFirst) {
  TVTRMemoryPageManager pages;
  for (uint8_t fill = 0; fill < 3; ++fill) AddPage(pages, fill);
  EXPECT_FALSE(pages.HasFreedPage());
  pages.DeletePage(kSession, 1);
  pages.Commit(kSession);
  EXPECT_TRUE(pages.HasFreedPage());
  EXPECT_EQ(AddPage(pages, 7), 1);
  EXPECT_EQ(AddPage(pages, 8), 3);
  EXPECT_EQ(pages.MaxPage(), 3);
  EXPECT_EQ(pages.PageSlots(), TVTRMemoryPageManager::kGrowthStep);
}

TEST(MemoryPageManager, PagesThatAreNotAllocatedCannotBeReadOrWritten) {
  TVTRMemoryPageManager pages;
  TVTRPage page(pages, 0, kSession);
  page.AllocBuffer();
  EXPECT_ENGINE_ERROR(pages.ReadPage(page), 10392, "Not released page is allocated");
  EXPECT_ENGINE_ERROR(pages.WritePage(page), 10393, "Not released page is allocated");
}

TEST(MemoryPageManager, AStreamLoadedIntoAnotherManagerGivesTheSamePages) {
  TVTRMemoryPageManager source;
  for (uint8_t fill = 1; fill <= 60; ++fill) AddPage(source, fill);
  source.DeletePage(kSession, 4);
  source.Commit(kSession);
  TVTRMemoryStream image;
  source.SaveToStream(image);
  EXPECT_EQ(image.Size(), 20 + 8 + (source.PageSlots() + 7) / 8 + int64_t{source.PageSlots()} * 4096);

  TVTRMemoryPageManager loaded;
  AddPage(loaded, 99);  // replaced by the image
  image.SetPosition(0);
  loaded.LoadFromStream(image);
  EXPECT_EQ(loaded.PageSlots(), source.PageSlots());
  EXPECT_EQ(loaded.MaxPage(), source.MaxPage());
  EXPECT_EQ(loaded.GrowthStep(), source.GrowthStep());
  EXPECT_EQ(loaded.GetPageCount(), 59);
  EXPECT_FALSE(loaded.IsAllocated(4));
  for (int32_t page_no : {0, 5, 59}) EXPECT_EQ(FirstByte(loaded, page_no), page_no + 1);
  EXPECT_EQ(ImageOf([&](TStream& stream) { loaded.SaveToStream(stream); }), StreamBytes(image));
}

TEST(MemoryPageManager, ADamagedImageIsRefusedAndChangesNothing) {
  TVTRMemoryPageManager source;
  AddPage(source, 5);
  const Bytes image = ImageOf([&](TStream& stream) { source.SaveToStream(stream); });
  struct Case {
    const char* damage;
    size_t offset;  // a byte set to 0x7F, or the length the image is cut to
    bool cut;
    int32_t code;
  };
  const Case cases[] = {
      {"page slots beyond the bitmap", 0, false, 10369},
      {"page size", 13, false, 10369},
      {"allocated count", 16, false, 10369},
      {"cut inside the header", 10, true, 10371},
      {"cut inside the pages", image.size() - 1, true, 10375},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.damage);
    Bytes damaged = image;
    if (c.cut)
      damaged.resize(c.offset);
    else
      damaged[c.offset] = 0x7F;
    TVTRMemoryStream stream;
    FillStream(stream, damaged);
    TVTRMemoryPageManager target;
    AddPage(target, 3);
    try {
      target.LoadFromStream(stream);
      ADD_FAILURE() << "loaded";
    } catch (const EVTRException& e) {
      EXPECT_EQ(e.NativeError(), c.code);
    }
    EXPECT_EQ(target.GetPageCount(), 1);
    EXPECT_EQ(FirstByte(target, 0), 3);
  }
}

}  // namespace
