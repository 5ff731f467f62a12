#pragma once
// A test hook: when set, every commit of a disk page manager calls it once,
// right after writing its first page, so that a test helper process can end
// itself at that exact point. Never set outside tests.
using CommitTestHook = void (*)();

void SetCommitTestHook(CommitTestHook hook);
CommitTestHook GetCommitTestHook();
