#pragma once
// TVTRInternalDBDirectAccessFile: an internal file whose bytes are read,
// written and locked straight in the database file, past the page cache, so
// that other processes see them at once. Its pages are created and deleted in
// the system session and are never enciphered. Layout: InternalFileHeader.h
// (the uncompressed size and the algorithm are always 0).
//
// Lock bytes: the first byte of the start page (the first byte of its page
// magic) is the file's own lock (LockFile); content byte p is the lock byte of
// one user (LockByte). Nobody reads the own lock byte, which another process
// may hold: page headers are read from their second byte on.
//
// Every operation but CreateFile and OpenFile raises 20156 while no start page
// is set. Positions above the size raise 20159.
#include <cstdint>

#include "engine/foundation/containers/VTRIntegerArray.h"
#include "engine/storage/system/InternalFileHeader.h"

class TVTRDiskPageManager;

class TVTRInternalDBDirectAccessFile {
 public:
  TVTRInternalDBDirectAccessFile(TVTRDiskPageManager& manager, uint16_t page_type);

  int32_t StartPage() const { return start_page_; }
  bool IsOpen() const { return start_page_ != -1; }
  // The content bytes that may be addressed: the stored size, or a whole
  // page's room when the file has one page.
  int32_t Size() const { return size_; }

  // Adds the pages for size zero bytes in the system session; they reach the
  // file when that session commits. 20157 when the object is open.
  void CreateFile(int32_t size);
  // Deletes the pages of the file at start_page (-1: this one) in the system
  // session; the object is closed afterwards.
  void DeleteFile(int32_t start_page = -1);
  // Reads the size and the page list; 20155 when a linked page has another
  // type. Links that come back to a page end the list, so the file holds no
  // more than its distinct pages.
  void OpenFile(int32_t start_page);
  void CloseFile();

  // The stored size, read from the file.
  int32_t GetSize();
  // Reads stop early where the pages end; writes past the stored size raise 20158.
  void DirectReadBuffer(void* buffer, int32_t count, int32_t position);
  void DirectWriteBuffer(const void* buffer, int32_t count, int32_t position);

  bool LockFile();
  bool UnlockFile();
  bool LockByte(int32_t position);
  bool UnlockByte(int32_t position);
  // Probes: they never take or release a lock.
  bool IsByteLocked(int32_t position);
  bool IsRegionLocked(int32_t position, int32_t count);

 private:
  struct LinkHeader {
    uint16_t PageType;
    int32_t NextPage;
  };
  struct BytePlace {
    int32_t PageIndex;  // in the page list
    int32_t PageNo;
    int32_t PageOffset;
  };

  void CheckOpen(const char* operation) const;
  int32_t DataSize() const;
  int32_t ReadStoredSize(int32_t start_page);
  LinkHeader ReadLinkHeader(int32_t page_no);
  BytePlace PlaceOf(int64_t position) const;
  // Calls move(page number, page offset, bytes done, length) for the pieces of
  // count bytes from position on, following the links in the file; answers
  // the bytes covered before the links ended.
  template <typename Move>
  int32_t Transfer(int32_t count, int32_t position, Move&& move);

  TVTRDiskPageManager& manager_;
  int32_t start_page_ = -1;
  uint16_t page_type_;
  int32_t size_ = 0;
  TVTRIntegerArray page_list_;
};
