#pragma once
// TVTRInternalDBTransactedAccessFile: an internal file read and written through
// a session of the page cache, so that its changes commit and roll back with
// the session's other pages; its content may be stored compressed. Layout:
// InternalFileHeader.h.
//
// The object holds no page between calls. Every operation but CreateFile and
// OpenFile raises 30389 while no start page is set.
#include <cstdint>
#include <vector>

#include "engine/storage/pager/PageManager.h"
#include "engine/storage/system/InternalFileHeader.h"

class TVTRInternalDBTransactedAccessFile {
 public:
  TVTRInternalDBTransactedAccessFile(TVTRPageManager& manager, uint16_t page_type);

  int32_t StartPage() const { return start_page_; }
  bool IsOpen() const { return start_page_ != -1; }

  // A new first page holding an empty, uncompressed file; 30383 when the
  // object has a start page already.
  void CreateFile(int32_t session_id);
  // -1 leaves the start page as it is.
  void OpenFile(int32_t start_page);
  void CloseFile() { start_page_ = -1; }
  // Deletes the pages of the file at start_page (-1: this one) in the session;
  // the object is closed afterwards.
  void DeleteFile(int32_t session_id, int32_t start_page = -1);

  InternalFileHeader GetSize(int32_t session_id);
  int32_t GetUncompressedSize(int32_t session_id);
  // Links or cuts pages so that stored_size bytes fit, and records the sizes
  // and the algorithm. Pages cut off are deleted in the session.
  void SetSize(int32_t session_id, int32_t stored_size, uint8_t algorithm, int32_t uncompressed_size);
  // Reads the first count content bytes (decompressed); 30387 when the file
  // is shorter, 30388 when its pages end early or their links come back to a
  // page, 20189 when it does not decompress.
  void ReadFile(int32_t session_id, void* buffer, int32_t count);
  // The whole content, decompressed, with the errors of ReadFile. Its memory
  // grows with the pages read, so a damaged size cannot claim more than the
  // file holds.
  std::vector<uint8_t> ReadContent(int32_t session_id);
  // Replaces the content by size bytes, compressed with algorithm and mode
  // unless algorithm is 0; 20187 when that fails or size is 0, 20158 when
  // damaged links end the pages early.
  void WriteFile(int32_t session_id, const void* buffer, uint8_t compression_mode, uint8_t algorithm,
                 int32_t size);

 private:
  void CheckOpen(const char* operation) const;
  int32_t DataSize() const;
  HeldPage GetFilePage(int32_t session_id, int32_t page_no);
  // Deletes up to max_pages linked pages from page_no on.
  void DeleteChain(int32_t session_id, int32_t page_no, int32_t max_pages);
  // Calls visit(page bytes, content offset, length) for the content bytes
  // [0, count) page by page; answers how many of them the linked pages hold
  // before the links end or come back to a page.
  template <typename Visit>
  int64_t VisitContent(int32_t session_id, int64_t count, bool changes, Visit&& visit);
  // The first `size` stored bytes, grown page by page; 30388 when the pages
  // hold fewer.
  std::vector<uint8_t> ReadStored(int32_t session_id, int64_t size);
  // The content of a compressed file from its stored bytes; 20189 when it
  // does not decompress to the size the header gives.
  static std::vector<uint8_t> Decompressed(const InternalFileHeader& header,
                                           const std::vector<uint8_t>& stored);

  TVTRPageManager& manager_;
  int32_t start_page_ = -1;
  uint16_t page_type_;
};
