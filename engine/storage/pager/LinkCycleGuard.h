#pragma once
// LinkCycleGuard: a walk along page links stored in the file (B-tree sibling
// links, internal-file chains) ends at a link to no page, but in a damaged
// file the links may run in a circle. The guard watches the pages of one walk
// and tells when it has come back to a page it passed (Brent's cycle
// detection): one comparison per step and no memory, and a circle is seen
// before the walk has gone round it three times. A walk over intact links
// never revisits a page, so the guard never stops one.
#include <cstdint>

class LinkCycleGuard {
 public:
  explicit LinkCycleGuard(int32_t first_page_no) : saved_(first_page_no) {}

  // Takes the next page of the walk; true when the walk runs in a circle.
  bool Returns(int32_t page_no) {
    if (page_no == saved_) return true;
    if (++steps_ == span_) {
      saved_ = page_no;
      span_ *= 2;
      steps_ = 0;
    }
    return false;
  }

 private:
  int32_t saved_;
  int64_t span_ = 1;
  int64_t steps_ = 0;
};
