#pragma once
// TVTRPage: one page in memory, handed out by a TVTRPageManager. Its buffer
// is page size bytes: the page header (none in the temporary and memory
// engines), then the data area.
//
// A page lives in exactly one place: the manager's shared list of clean
// pages, one session's dirty list, or (while a user still holds a page that
// a commit made stale) the manager's retired pages.
#include <cstdint>
#include <memory>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRMemory.h"

class TVTRPageManager;
class TVTRSortedPageList;

using PageBuffer = std::unique_ptr<uint8_t, VTRMemoryDeleter>;

class TVTRPage {
 public:
  TVTRPage(TVTRPageManager& manager, int32_t page_no, int32_t session_id);
  ~TVTRPage();
  TVTRPage(const TVTRPage&) = delete;
  TVTRPage& operator=(const TVTRPage&) = delete;

  TVTRPageManager& Manager() const { return manager_; }
  int32_t PageNo() const { return page_no_; }
  void SetPageNo(int32_t page_no) { page_no_ = page_no; }
  int32_t SessionID() const { return session_id_; }
  int32_t UseCount() const { return use_count_; }
  bool Dirty() const { return dirty_; }
  // Only a page its user holds may be marked changed.
  void SetDirty(bool dirty) {
    VTR_ASSERT(!dirty || use_count_ > 0);
    dirty_ = dirty;
  }
  // False only for the pages of direct internal files, which stay plain on disk.
  bool MayEncipher() const { return may_encipher_; }
  void SetMayEncipher(bool may_encipher) { may_encipher_ = may_encipher; }

  bool HasBuffer() const { return buffer_ != nullptr; }
  bool OwnsBuffer() const { return owned_ != nullptr; }
  uint8_t* Buffer() { return buffer_; }
  const uint8_t* Buffer() const { return buffer_; }
  uint8_t* Data();
  const uint8_t* Data() const;
  int32_t PageSize() const;
  int32_t DataSize() const;

  // A zero-filled buffer of its own with a default header.
  void AllocBuffer();
  void FreeBuffer();
  // Works on a buffer that someone else keeps (the memory page manager's store).
  void UseBuffer(uint8_t* stored);
  // Replaces the buffer by one of at least a page (20038 without a buffer,
  // 20039 below a page), keeping the content.
  void ResizeBuffer(int32_t size);
  // The default header: magic, version 0, type 0, next page -1, CRC 0, owner -1.
  void InitHeader();
  // Makes a clean cached page current with the file (multi-user mode).
  void Refresh();

  uint16_t PageType() const;
  void SetPageType(uint16_t type);
  int32_t Version() const;
  void SetVersion(int32_t version);
  int32_t NextPage() const;
  void SetNextPage(int32_t next_page);

 private:
  friend class TVTRPageManager;
  friend class TVTRSortedPageList;

  TVTRPageManager& manager_;
  int32_t page_no_;
  uint8_t* buffer_ = nullptr;
  PageBuffer owned_;
  int32_t buffer_size_ = 0;
  bool dirty_ = false;
  // The session's mark generation when the page joined its changes
  // (SessionPageSet::Generation).
  uint32_t dirty_since_ = 0;
  // The manager's check epoch when the page last matched the file
  // (multi-user reads); 0: never.
  uint32_t checked_epoch_ = 0;
  int32_t use_count_ = 0;
  int32_t session_id_;
  bool may_encipher_ = true;
  // Kept by the list that holds the page: recency order of the shared list.
  TVTRSortedPageList* list_ = nullptr;
  TVTRPage* older_ = nullptr;
  TVTRPage* newer_ = nullptr;
};

// The base of typed page classes (the B-tree page): one page and its accessors.
class TVTRPageController {
 public:
  explicit TVTRPageController(TVTRPage* page = nullptr) : page_(page) {}

  TVTRPage* Page() const { return page_; }
  void SetPage(TVTRPage* page) { page_ = page; }
  int32_t PageNo() const { return page_->PageNo(); }
  void SetPageNo(int32_t page_no) { page_->SetPageNo(page_no); }
  int32_t PageSize() const { return page_->PageSize(); }
  void SetDirty() { page_->SetDirty(true); }
  // The data area of a page its user holds.
  uint8_t* Data() const {
    VTR_ASSERT(page_->UseCount() > 0);
    return page_->Data();
  }
  int32_t DataSize() const { return page_->DataSize(); }
  void ResizeBuffer(int32_t size) { page_->ResizeBuffer(size); }

 private:
  TVTRPage* page_;
};
