#pragma once
// TVTRSmallBlobPage: the view of a shared BLOB page, which holds several small
// values one after another. Data area of D bytes:
//
//   offset  size  content
//   0       2     u16 entry count
//   2       ...   entries without gaps: a value header (BlobFormat.h) and its
//                 L stored bytes; entry i starts at 2 + the sum of (22 + L)
//                 of the entries before it
//
// A value goes on a shared page when L + 24 < D. Every stored length is
// checked against the data area before it is followed; a page whose entries
// run past it raises the operation's error.
#include <cstdint>

#include "engine/storage/pager/Page.h"
#include "engine/storage/blob/BlobCache.h"
#include "engine/storage/blob/BlobFormat.h"

inline constexpr int32_t kSmallBlobPageCountSize = 2;

// Whether a value of `stored_size` bytes belongs on a shared page of D bytes.
inline bool FitsSharedPage(int64_t stored_size, int32_t data_size) {
  return stored_size + kBlobValueHeaderSize + kSmallBlobPageCountSize < data_size;
}

class TVTRSmallBlobPage {
 public:
  // The page stays the caller's; it must be held while the view is used.
  explicit TVTRSmallBlobPage(TVTRPage& page) : page_(page) {}

  uint16_t GetCount() const;
  void SetCount(uint16_t count);
  // The position of entry `index` in the data area (its bytes start 22
  // later); 20171 for an index past the entries.
  int32_t GetEntry(int32_t index) const;

  // The lowest free id from the entry count on, wrapping after 65534; 20172
  // when none is left.
  uint16_t NewBlobID() const;
  // Appends the value as a new entry; 20173 when it does not fit.
  TVTRBlobReference AddBlob(const CachedBlobValue& value);
  // Removes the entry, moving the later ones down over it; answers the bytes
  // freed (22 + L). 20171 for an id not on the page.
  int32_t DeleteBlob(const TVTRBlobReference& reference);
  // Fills the value from the entry; false (value untouched) for an id not on the page.
  bool ReadBlob(CachedBlobValue& value, const TVTRBlobReference& reference) const;

 private:
  struct Entry {
    int32_t Position;
    BlobValueHeader Header;
  };
  // The header at a position, checked to end inside the data area.
  bool EntryAt(int32_t position, Entry& entry) const;
  // The entry with the id; false when the entries before it end or run out of the page.
  bool FindEntry(uint16_t id, Entry& entry) const;
  // Where the next entry goes: behind the last one; -1 when they run out of the page.
  int32_t EndOfEntries() const;

  TVTRPage& page_;
};
