#pragma once
// Test support: a file seam (engine/storage/pager/FileSeam.h) that keeps
// every write, size change and flush of a database file and its journal in
// order, and the files rebuilt from it as a kill (every event before it) or
// a power loss (every event up to the last flush before it) leaves them.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/storage/pager/FileSeam.h"
#include "engine/storage/pager/JournalFormat.h"

struct DiskEvent {
  enum Kind { kWrite, kSetSize, kFlush };
  bool journal = false;  // else the database file
  Kind kind = kWrite;
  int64_t position = 0;  // a write's position, a size change's size
  std::vector<uint8_t> bytes;
};

class DiskCacheSeam : public TVTRFileSeam {
 public:
  explicit DiskCacheSeam(const std::string& database)
      : database_(database), journal_(JournalFileName(database)) {}

  int BeforeWrite(const std::string& file, int64_t position, const uint8_t* data, int64_t count) override {
    Record(file, {false, DiskEvent::kWrite, position, std::vector<uint8_t>(data, data + count)});
    return 0;
  }
  int BeforeSetSize(const std::string& file, int64_t size) override {
    Record(file, {false, DiskEvent::kSetSize, size, {}});
    return 0;
  }
  int BeforeFlush(const std::string& file) override {
    Record(file, {false, DiskEvent::kFlush, 0, {}});
    return 0;
  }

  std::vector<DiskEvent> events;

 private:
  void Record(const std::string& file, DiskEvent event) {
    if (file != database_ && file != journal_) return;
    event.journal = file == journal_;
    events.push_back(std::move(event));
  }

  std::string database_;
  std::string journal_;
};

// One file as the disk holds it after `count` events: `start` and every
// event of that file among them. nullopt for a journal none of them wrote.
inline std::optional<std::vector<uint8_t>> Replayed(std::vector<uint8_t> start, const std::vector<DiskEvent>& events,
                                                    size_t count, bool journal) {
  const bool touched = std::any_of(events.begin(), events.begin() + static_cast<ptrdiff_t>(count),
                                   [journal](const DiskEvent& event) { return event.journal == journal; });
  if (journal && !touched) return std::nullopt;
  for (size_t i = 0; i < count; ++i) {
    const DiskEvent& event = events[i];
    if (event.journal != journal) continue;
    if (event.kind == DiskEvent::kSetSize) start.resize(static_cast<size_t>(event.position));
    if (event.kind != DiskEvent::kWrite) continue;
    const size_t end_of_write = static_cast<size_t>(event.position) + event.bytes.size();
    if (start.size() < end_of_write) start.resize(end_of_write);
    std::copy(event.bytes.begin(), event.bytes.end(), start.begin() + event.position);
  }
  return start;
}

// One file as the disk holds it after the power went before event `end`:
// `start` and every event of that file up to its last flush before `end`.
// nullopt for a journal that never reached the disk.
inline std::optional<std::vector<uint8_t>> OnDisk(std::vector<uint8_t> start, const std::vector<DiskEvent>& events,
                                                  size_t end, bool journal) {
  size_t forced = 0;
  for (size_t i = 0; i < end; ++i)
    if (events[i].journal == journal && events[i].kind == DiskEvent::kFlush) forced = i + 1;
  if (journal && forced == 0) return std::nullopt;
  return Replayed(std::move(start), events, forced, journal);
}
