#include "engine/foundation/VTRMemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "engine/foundation/VTRExcept.h"
#include "tests/support/EngineErrors.h"

namespace {

TEST(MemoryManager, ChoosesTheMethodByBlockSize) {
  struct Case {
    int32_t request;
    uint8_t method;
  };
  const Case cases[] = {{700, 0}, {713, 0}, {714, 2}, {10000, 2}, {64487, 2}, {64488, 0},
                        {100000, 0}, {1048563, 0}, {1048564, 2}, {2000000, 2}};
  TVTRMemoryManager& mm = EngineMemoryManager();
  for (const Case& c : cases) {
    EXPECT_EQ(c.method, TVTRMemoryManager::MethodForBlockSize(int64_t{c.request} + 13)) << c.request;
    void* p = mm.GetMem(c.request);
    EXPECT_EQ(c.method, static_cast<unsigned char*>(p)[-5]) << c.request;
    EXPECT_EQ(c.request, mm.GetMemSize(p));
    EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(p) % 16);
    mm.FreeAndNillMem(p);
    EXPECT_EQ(nullptr, p);
  }
}

TEST(MemoryManager, RefusesSizesThatCannotBeAllocated) {
  TVTRMemoryManager mm;
  EXPECT_EQ(30286, NativeErrorOf([&] { mm.GetMem(0); }));
  EXPECT_EQ(30286, NativeErrorOf([&] { mm.GetMem(-5); }));
  EXPECT_EQ(30286, NativeErrorOf([&] { mm.AllocMem(-2147483647); }));
  EXPECT_EQ(30015, NativeErrorOf([&] { mm.GetMem(2147483647); }));
  EXPECT_EQ(0, mm.BytesInUse());
  EXPECT_EQ(0, mm.GetMemSize(nullptr));
  mm.SetMemoryLimit(100);
  EXPECT_EQ(30004, NativeErrorOf([&] { mm.GetMem(101); }));
}

TEST(MemoryManager, DetectsAnOverrunWhenTheBlockIsFreed) {
  TVTRMemoryManager mm;
  void* p = mm.GetMem(10);
  EXPECT_EQ(10, mm.BytesInUse());
  static_cast<char*>(p)[10] = 'x';
  try {
    mm.FreeAndNillMem(p);
    FAIL() << "overrun not detected";
  } catch (const EVTRException& e) {
    EXPECT_EQ(30137, e.NativeError());
    EXPECT_EQ("Memory overrun detected - Native error: 30137", e.Message());
  }
  EXPECT_EQ(nullptr, p);
  EXPECT_EQ(0, mm.BytesInUse());
}

TEST(MemoryManager, RefusesForeignPointers) {
  TVTRMemoryManager mm;
  alignas(16) unsigned char foreign[64] = {};
  void* p = foreign + 16;
  EXPECT_EQ(30001, NativeErrorOf([&] { mm.FreeAndNillMem(p); }));
  EXPECT_EQ(30005, NativeErrorOf([&] { mm.GetMemSize(p); }));
  try {
    mm.ReallocMem(p, 8, false);
    FAIL();
  } catch (const EVTRException& e) {
    EXPECT_EQ(30014, e.NativeError());
    EXPECT_NE(std::string::npos, e.Message().find("Invalid pointer - Native error: 30002"));
  }
  EXPECT_EQ(p, foreign + 16);
  void* q = mm.GetMem(4);
  mm.FreeAndNillMem(q);
  EXPECT_EQ(0, mm.BytesInUse());
}

TEST(MemoryManager, ReallocKeepsContentsAndZeroesGrowth) {
  TVTRMemoryManager mm;
  void* p = mm.GetMem(10);
  std::memcpy(p, "0123456789", 10);
  mm.ReallocMem(p, 4, false);
  EXPECT_EQ(4, mm.GetMemSize(p));
  EXPECT_EQ(0, std::memcmp(p, "0123", 4));
  mm.ReallocMemZeroed(p, 10);
  EXPECT_EQ(0, std::memcmp(p, "0123\0\0\0\0\0\0", 10));
  EXPECT_EQ(10, mm.BytesInUse());
  mm.FreeAndNillMem(p);
  EXPECT_EQ(0, mm.BytesInUse());
}

TEST(MemoryManager, ReallocOfAnOverrunBlockReleasesBoth) {
  TVTRMemoryManager mm;
  void* p = mm.GetMem(4);
  static_cast<char*>(p)[4] = 1;
  EXPECT_EQ(30014, NativeErrorOf([&] { mm.ReallocMem(p, 8, false); }));
  EXPECT_EQ(nullptr, p);
  EXPECT_EQ(0, mm.BytesInUse());
}

TEST(MemoryManager, MoveBytesHandlesOverlap) {
  char text[] = "abcdefgh";
  MoveBytes(text, text + 1, 7);
  EXPECT_STREQ("aabcdefg", text);
  char back[] = "abcdefgh";
  MoveBytes(back + 2, back, 6);
  EXPECT_STREQ("cdefghgh", back);
}

TEST(MemoryManager, ReportsFreeMemoryWithinThe32BitRange) {
  TVTRMemoryManager mm;
  EXPECT_GT(mm.GetFreeMemorySize(), 0);
  mm.SetMemoryLimit(5000);
  EXPECT_EQ(5000, mm.GetFreeMemorySize());
}

}  // namespace
