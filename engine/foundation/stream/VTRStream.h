#pragma once
// The base of the engine's streams: a block size for copies, a modified flag,
// a progress event and block-wise copying between streams. Streams take no
// lock of their own; Lock and Unlock are for callers that share one.
#include <cstdint>
#include <functional>

#include "platform/os/CriticalSection.h"
#include "platform/rtl/Stream.h"

class TVTRStream : public TStream {
 public:
  static constexpr int32_t kDefaultBlockSize = 102400;
  // Receives the stream and a percentage from 0 to 100.
  using TProgressEvent = std::function<void(TVTRStream& sender, double percent)>;

  TVTRStream() = default;
  TVTRStream(const TVTRStream&) = delete;
  TVTRStream& operator=(const TVTRStream&) = delete;

  int32_t BlockSize() const { return block_size_; }
  void SetBlockSize(int32_t block_size) { block_size_ = block_size; }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  const TProgressEvent& OnProgress() const { return on_progress_; }
  void SetOnProgress(TProgressEvent handler) { on_progress_ = std::move(handler); }

  virtual void Lock() { lock_.Enter(); }
  virtual void Unlock() { lock_.Leave(); }

  // Appends this stream's whole content at dest's position; afterwards both
  // positions are as before. Raises 10418 for a block size <= 0, 10146 and
  // 10147 for short transfers (positions then stay where the failure left them).
  void SaveToStream(TStream& dest);
  // CopyBlocksFrom(source, 0, size of source).
  void LoadFromStream(TStream& source);
  // Replaces this stream's content by count bytes of source from offset;
  // afterwards both positions are as before. Raises 10419 for a block size
  // <= 0, 10148 and 10149 for short transfers.
  void CopyBlocksFrom(TStream& source, int64_t offset, int64_t count);
  void NotifyProgress(double percent);

 private:
  TCriticalSection lock_;
  int32_t block_size_ = kDefaultBlockSize;
  TProgressEvent on_progress_;
  bool modified_ = false;
};
