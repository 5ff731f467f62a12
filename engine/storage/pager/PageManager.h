#pragma once
// TVTRPageManager: the page cache every storage part reads and changes pages
// through. One shared list of clean pages serves all sessions; each session
// keeps the pages it changed, the page numbers it allocated and the numbers it
// deleted until it commits or rolls back, so its changes stay invisible to
// other sessions until then.
//
// The class is abstract: derived managers number pages and do their I/O.
// Callers serialise all calls (the database object's critical section).
// Every GetPage and AddPage is paired with one ReleasePage (HeldPage does it).
//
// Memory stays flat in a long transaction: a manager that may write early
// (a database file) writes the oldest pages a session allocated itself, which
// no committed structure names yet, to their place in the file once the
// session holds more than a bound of changed pages, and keeps them only as
// clean cached pages. The pages of committed structures that the session
// changed stay in its list until its commit.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/storage/pager/Page.h"
#include "engine/storage/pager/SortedPageList.h"

// Session IDs: a connection slot (0 and above), the engine's own work, or none.
inline constexpr int32_t kSystemSessionID = -2;
inline constexpr int32_t kInvalidSessionID = -1;

inline constexpr int32_t kMaxCacheCapacity = 1000;

// A savepoint inside a session's changes: the pages that were changed at
// the mark keep their content of then (copied when the session first takes
// one again), the pages changed, allocated or deleted since are told apart
// by the generation they joined in and by the lengths of the lists.
struct SessionPageMark {
  uint32_t Generation = 0;
  size_t AddedCount = 0;
  size_t DeletedCount = 0;
  std::unordered_map<int32_t, std::vector<uint8_t>> BeforeImages;
  // By page number: allocated since the mark. Only these may be written
  // early under it, so that a rollback to the mark finds every page the
  // session had changed before it in its list or on disk as it stood.
  std::vector<bool> NewPages;
};

struct SessionPageSet {
  explicit SessionPageSet(int32_t session_id) : SessionID(session_id) {}
  bool Empty() const { return DirtyPages.Empty() && AddedPages.empty() && DeletedPages.empty(); }

  int32_t SessionID;
  TVTRSortedPageList DirtyPages;
  std::vector<int32_t> AddedPages;
  std::vector<int32_t> DeletedPages;
  int32_t PagesInUse = 0;  // pages this session holds between GetPage/AddPage and ReleasePage
  uint32_t Generation = 0;  // raised by every mark; pages joining DirtyPages take it
  std::optional<SessionPageMark> Mark;
  // By page number: allocated by the session since its commit or rollback.
  std::vector<bool> NewPages;
  // The count of changed pages past which pages are written early.
  int32_t EarlyWriteAt = 0;
};

class TVTRPageManager {
 public:
  TVTRPageManager(int32_t page_size, int32_t page_header_size);
  virtual ~TVTRPageManager();
  TVTRPageManager(const TVTRPageManager&) = delete;
  TVTRPageManager& operator=(const TVTRPageManager&) = delete;

  virtual int32_t GetPageCount() { return page_count_; }
  // Gives the page a number and a fresh buffer.
  virtual void AllocatePage(TVTRPage& page) = 0;
  virtual void FreePage(int32_t page_no) = 0;
  // Fills the page from storage; false when it could not be read.
  virtual bool ReadPage(TVTRPage& page) = 0;
  virtual void WritePage(TVTRPage& page) = 0;
  // The page is given back when the session commits.
  virtual void DeletePage(int32_t session_id, int32_t page_no);
  // The page for reading or changing; expected_type kAnyPageType accepts any
  // type. Raises 20186 for session -1, 20153 when a page read from storage
  // has another type, 20090 while another session uses the page.
  virtual TVTRPage* GetPage(int32_t session_id, int32_t page_no, uint16_t expected_type);
  // Writes the session's changed pages, then gives back its deleted ones.
  virtual void Commit(int32_t session_id);
  // Makes a clean cached page current (multi-user disk files); true when it
  // read the content again. Nothing by default.
  virtual bool RefreshPage(TVTRPage& page) { return false; }
  // Whether a page the session allocated may be written before its commit
  // and read back from storage; not by default.
  virtual bool MayWriteEarly() const { return false; }

  // A read whose table the session holds read-locked, so that no other
  // process commits to that table until it ends. Each begin reads the
  // file's change counter once; inside the read, a cached page compared with
  // the file since the counter last changed is served without reading its
  // version again. Nested; every begin is paired with one end
  // (CheckedReadScope does it).
  void BeginCheckedRead();
  void EndCheckedRead() noexcept;

  // A new page of the session, already dirty. A page number the session
  // holds already (a damaged map called it free) raises 30425.
  TVTRPage* AddPage(int32_t session_id, uint16_t page_type);
  // Ends one use; a page released dirty joins its session's changes.
  void ReleasePage(TVTRPage* page);
  // Drops the session's changes and gives back the pages it allocated.
  void Rollback(int32_t session_id);
  // A savepoint of the session's changes, replacing any earlier one; a
  // commit or rollback ends it.
  void MarkSession(int32_t session_id);
  // Puts the session's changes back as they stood at its mark and ends the
  // mark (nothing without one); pages allocated since are given back.
  // Raises 20088 while the session holds a page.
  void RollbackToMark(int32_t session_id);
  // Ends the mark, keeping every change.
  void ReleaseMark(int32_t session_id);

  int32_t PageSize() const { return page_size_; }
  int32_t PageHeaderSize() const { return page_header_size_; }
  int32_t PageDataSize() const { return page_size_ - page_header_size_; }
  bool MultiUser() const { return multi_user_; }
  int32_t CacheCapacity() const { return cache_capacity_; }
  void SetCacheCapacity(int32_t capacity) { cache_capacity_ = capacity; }
  // The changed pages a session keeps before new ones are written early
  // (4 MiB of pages, at least 64); the oldest half of its new pages go then.
  int32_t EarlyWriteBound() const { return early_write_bound_; }
  void SetEarlyWriteBound(int32_t pages) { early_write_bound_ = std::max(pages, 2); }
  const TVTRSortedPageList& SharedPageList() const { return shared_pages_; }
  // Whether the session has changed, added or deleted pages since its last commit or rollback.
  bool HasSessionChanges(int32_t session_id) const;
  // Whether any session holds changes that are neither committed nor rolled back.
  bool HasUncommittedPages() const;
  // Raises 20097 when HasUncommittedPages; the owner calls it before freeing the manager.
  void CheckAllCommitted() const;

  // Page buffers are recycled, so reading a page into the cache allocates nothing.
  PageBuffer AcquirePageBuffer();
  void RecyclePageBuffer(PageBuffer buffer, int32_t size) noexcept;

 protected:
  void SetPageGeometry(int32_t page_size, int32_t page_header_size);
  void SetMultiUser(bool multi_user) { multi_user_ = multi_user; }
  void SetPageCountField(int32_t page_count) { page_count_ = page_count; }
  // Takes a page out of the shared list: freed when nobody uses it, else
  // retired until its user releases it, so that it is never served again.
  void RetireSharedPage(int32_t page_no);
  // The session's changed, allocated and deleted pages, or nullptr when it
  // has none; for a derived manager that prepares a commit.
  const SessionPageSet* PendingChanges(int32_t session_id) const;
  // After a commit that failed and was undone in storage, the pages it gave
  // back are the session's to give back again.
  void RestoreDeletedPages(int32_t session_id, std::vector<int32_t> deleted);
  // The file's change counter while the file says no commit is being written;
  // nothing when that cannot be known (outside multi-user mode, a commit in
  // progress, a file marked for repair, a failed read).
  virtual std::optional<int32_t> ReadCommittedCounter() { return std::nullopt; }
  // This process committed, raising the counter from `before` to `after`
  // under the header lock: the cached pages it had checked stay current.
  void NoteOwnCommit(int32_t before, int32_t after);
  // Pages in storage were put back behind the cache: every cached page is
  // compared with the file again before it is served.
  void ForgetCheckedPages();

 private:
  SessionPageSet& SessionSet(int32_t session_id);
  SessionPageSet* FindSessionSet(int32_t session_id);
  TVTRPage* LoadSharedPage(int32_t session_id, int32_t page_no, uint16_t expected_type);
  void CheckLoadedType(const TVTRPage& page, uint16_t expected_type) const;
  void RefreshShared(TVTRPage& page, uint16_t expected_type);
  void TakeInUse(TVTRPage& page, SessionPageSet& set);
  // A changed page joins the session's changes.
  void AddDirtyPage(SessionPageSet& set, std::unique_ptr<TVTRPage> page);
  // Under a mark, the first use of a page changed before it keeps its content.
  static void KeepBeforeImage(SessionPageMark& mark, const TVTRPage& page);
  void EvictToCapacity();
  // Past the session's bound, writes its oldest unused pages allocated
  // since its commit (since its mark, under one) and keeps them clean.
  void WriteEarlyPastBound(SessionPageSet& set);
  // Gives back the page the session allocated last.
  void GiveBackLastAdded(SessionPageSet& set);
  void CheckReleased(const SessionPageSet& set) const;

  int32_t page_size_;
  int32_t page_header_size_;
  int32_t page_count_ = 0;
  bool multi_user_ = false;
  int32_t cache_capacity_;
  int32_t early_write_bound_;
  std::vector<PageBuffer> spare_buffers_;  // declared before the page holders, so it outlives them
  TVTRSortedPageList shared_pages_;
  std::unordered_map<int32_t, SessionPageSet> sessions_;
  std::unordered_map<const TVTRPage*, std::unique_ptr<TVTRPage>> retired_pages_;
  // Multi-user reads: a page whose CheckedEpoch equals check_epoch_ matched
  // the file while the counter stood at known_counter_; any other counter
  // seen starts a new epoch.
  std::optional<int32_t> known_counter_;
  uint32_t check_epoch_ = 1;
  int32_t checked_reads_ = 0;     // depth of BeginCheckedRead
  bool counter_trusted_ = false;  // the latest begin read a committed counter
};

// Holds one checked read of a page manager for a scope.
class CheckedReadScope {
 public:
  explicit CheckedReadScope(TVTRPageManager& manager) : manager_(manager) { manager_.BeginCheckedRead(); }
  ~CheckedReadScope() { manager_.EndCheckedRead(); }
  CheckedReadScope(const CheckedReadScope&) = delete;
  CheckedReadScope& operator=(const CheckedReadScope&) = delete;

 private:
  TVTRPageManager& manager_;
};

// Holds one use of a page and releases it when it goes out of scope.
class HeldPage {
 public:
  HeldPage() = default;
  explicit HeldPage(TVTRPage* page) : page_(page) {}
  HeldPage(HeldPage&& other) noexcept : page_(other.page_) { other.page_ = nullptr; }
  HeldPage& operator=(HeldPage&& other) noexcept;
  // Releases without reporting errors; Release reports them.
  ~HeldPage();

  TVTRPage* operator->() const { return page_; }
  TVTRPage& operator*() const { return *page_; }
  TVTRPage* get() const { return page_; }
  void Release();

 private:
  TVTRPage* page_ = nullptr;
};
