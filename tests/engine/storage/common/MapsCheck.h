#pragma once
// Test support: reads a closed or idle database file byte by byte and checks
// that its header and its first free-space map pages agree: the file is
// marked consistent, holds exactly PageCount pages, LastUsedPage is the
// highest data page the PFS page marks used, and no extent the EAM page
// calls full has a free page. Files of one PFS page (the tests' sizes).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/storage/pager/ByteOrder.h"

inline void ExpectHeaderAgreesWithMaps(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_GE(bytes.size(), 380u);
  const int64_t page_size = LoadI16(&bytes[26]);
  const int64_t per_extent = LoadU16(&bytes[28]);
  const int32_t page_count = LoadI32(&bytes[30]);
  const int32_t last_used = LoadI32(&bytes[34]);
  EXPECT_EQ(bytes[42], 2) << "the file is marked for repair";
  ASSERT_EQ(static_cast<int64_t>(bytes.size()), 380 + page_count * page_size) << "PageCount " << page_count;
  const int64_t data_size = page_size - 40;
  ASSERT_LT(page_count, 8 * data_size) << "a file of more than one PFS page";
  const uint8_t* pfs = &bytes[380 + 40];
  const uint8_t* eam = &bytes[380 + page_size + 40];
  const auto used = [pfs](int64_t page_no) { return (pfs[page_no / 8] >> (page_no % 8) & 1) != 0; };
  int32_t highest = -1;
  for (int32_t page_no = 2; page_no < page_count; ++page_no)
    if (used(page_no)) highest = page_no;
  EXPECT_EQ(last_used, highest) << "LastUsedPage disagrees with the PFS page";
  for (int64_t extent = 0; extent * per_extent < page_count; ++extent) {
    if ((eam[extent / 4] >> (2 * (extent % 4)) & 3) != 3) continue;
    for (int64_t page_no = extent * per_extent; page_no < (extent + 1) * per_extent; ++page_no)
      EXPECT_TRUE(page_no < page_count && used(page_no)) << "extent " << extent << " is called full";
  }
}
