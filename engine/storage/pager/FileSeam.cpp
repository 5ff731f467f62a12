#include "engine/storage/pager/FileSeam.h"

#include <atomic>

namespace {
std::atomic<TVTRFileSeam*> installed_seam{nullptr};
}  // namespace

TVTRFileSeam* CurrentFileSeam() {
  return installed_seam.load(std::memory_order_relaxed);
}

ScopedFileSeam::ScopedFileSeam(TVTRFileSeam& seam) : previous_(installed_seam.exchange(&seam)) {}

ScopedFileSeam::~ScopedFileSeam() {
  installed_seam.store(previous_);
}
