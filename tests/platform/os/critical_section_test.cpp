#include "platform/os/CriticalSection.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(CriticalSection, IsReentrantForItsOwnerAndExcludesOthers) {
  TCriticalSection section;
  section.Enter();
  EXPECT_TRUE(section.TryEnter());
  bool other_got_it = true;
  std::thread other([&] { other_got_it = section.TryEnter(); });
  other.join();
  EXPECT_FALSE(other_got_it);
  section.Leave();
  section.Leave();
  std::thread later([&] {
    other_got_it = section.TryEnter();
    if (other_got_it) section.Leave();
  });
  later.join();
  EXPECT_TRUE(other_got_it);
}

}  // namespace
