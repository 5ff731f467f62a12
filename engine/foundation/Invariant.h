#pragma once
// VTR_ASSERT(condition): an invariant of the engine's own bookkeeping whose
// breach would corrupt data: a page used without being pinned, B-tree keys
// out of order or a key path deeper than it can record, a record slot past
// its page or store, a lock counted below zero. Checked in debug builds and
// in the fuzz build (VTR_CHECK_INVARIANTS), where a breach prints the
// condition and its place and aborts; compiled out of release builds, where
// the condition is not evaluated.
//
// What damaged input or another process can cause is an engine error with a
// native code, never an assertion.
#ifdef VTR_CHECK_INVARIANTS
[[noreturn]] void VTRInvariantBroken(const char* condition, const char* file, int line) noexcept;
#define VTR_ASSERT(condition) \
  ((condition) ? static_cast<void>(0) : VTRInvariantBroken(#condition, __FILE__, __LINE__))
#else
#define VTR_ASSERT(condition) static_cast<void>(sizeof(!(condition)))
#endif
