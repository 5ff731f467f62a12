#pragma once
// A test hook: when set, every commit of a disk page manager calls it right
// after each page it writes, with the number of pages that commit has
// written so far, so that a test helper process can end itself at that exact
// point. Never set outside tests.
#include <cstdint>

using CommitTestHook = void (*)(int32_t pages_written);

void SetCommitTestHook(CommitTestHook hook);
CommitTestHook GetCommitTestHook();
