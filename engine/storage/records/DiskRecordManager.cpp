#include "engine/storage/records/DiskRecordManager.h"

#include <exception>
#include <vector>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRMemory.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/FreeSpaceManager.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/btree/PathMoves.h"
#include "engine/storage/records/SmallRecordPage.h"

namespace {

[[noreturn]] void RaiseInvalidCounters() {
  throw EVTRException(20164, "Invalid table header data");
}

}  // namespace

TVTRDiskRecordManager::TVTRDiskRecordManager(TVTRDiskPageManager& page_manager,
                                             TVTRBaseFieldManager& field_manager, int32_t table_id)
    : RecordPageIndex(page_manager),
      PageManager(page_manager),
      FieldManager(field_manager),
      TableID(table_id) {}

void TVTRDiskRecordManager::InitStorage(int32_t record_buffer_size, int32_t disk_record_size) {
  RecordSize = record_buffer_size;
  DiskRecordSize = disk_record_size;
  work_record_.reset(static_cast<uint8_t*>(EngineMemoryManager().GetMem(disk_record_size)));
  // N = trunc((D - 1) / (R + 1/8)), in exact integers.
  const int64_t data_size = PageManager.PageDataSize();
  RecordsPerPage = disk_record_size > 0
                       ? static_cast<int32_t>((data_size - 1) * 8 / (int64_t{disk_record_size} * 8 + 1))
                       : 0;
  if (RecordsPerPage == 0)
    throw EVTRException(20174,
                        "Cannot create table. Record is too large to fit in current database page. Please "
                        "increase page size of database file or decrease record size");
  VTR_ASSERT(RecordsPerPage <= 0xFFFF);  // slots are u16; pages hold far fewer
  RecordPageIndex.Capacity = RecordsPerPage;
  RecordCount = 0;
  ChangeCount = 0;
}

void TVTRDiskRecordManager::CreateStorage() {
  RecordPageIndex.CreateTree(kSystemSessionID);
}

void TVTRDiskRecordManager::DropStorage(int32_t session_id) {
  EmptyTable(session_id);
  RecordPageIndex.DropTree(session_id);
}

void TVTRDiskRecordManager::LoadMetadata(TStream& stream) {
  uint8_t image[kRecordManagerMetadataSize];
  stream.ReadBuffer(image, kRecordManagerMetadataSize);
  RecordPageIndex.SetRoot(LoadI32(image));
}

void TVTRDiskRecordManager::SaveMetadata(TStream& stream) const {
  uint8_t image[kRecordManagerMetadataSize];
  StoreI32(image, RecordPageIndex.Root());
  stream.WriteBuffer(image, kRecordManagerMetadataSize);
}

void TVTRDiskRecordManager::LoadCounters(std::span<const uint8_t> buffer, int32_t& offset) {
  if (offset < 0 || int64_t{offset} + kRecordCountersSize > static_cast<int64_t>(buffer.size()))
    RaiseInvalidCounters();
  const uint8_t* p = buffer.data() + offset;
  ChangeCount = LoadI32(p);
  RecordCount = LoadI32(p + 4);
  offset += kRecordCountersSize;
}

void TVTRDiskRecordManager::SaveCounters(std::span<uint8_t> buffer, int32_t& offset) const {
  if (offset < 0 || int64_t{offset} + kRecordCountersSize > static_cast<int64_t>(buffer.size()))
    RaiseInvalidCounters();
  uint8_t* p = buffer.data() + offset;
  StoreI32(p, ChangeCount);
  StoreI32(p + 4, static_cast<int32_t>(RecordCount));
  offset += kRecordCountersSize;
}

bool TVTRDiskRecordManager::IsRecordPageValid(const TVTRPage& page) const {
  if (PageManager.FreeSpaceManager().RepairMode() ||
      PageManager.GetDatabaseHeader().Version < kOldFormatVersion)
    return true;
  return IsOwnLiveRecordPage(page.Version(), page.PageType(), PageOwnerOf(page.Buffer()));
}

bool TVTRDiskRecordManager::IsOwnLiveRecordPage(int32_t version, uint16_t page_type, int32_t owner) const {
  return version <= kMaxLiveRecordPageVersion && page_type == ptTableRecord && owner == TableID;
}

TVTRSmallRecordPage TVTRDiskRecordManager::View(TVTRPage& page) const {
  return TVTRSmallRecordPage(page, RecordsPerPage, DiskRecordSize);
}

HeldPage TVTRDiskRecordManager::GetCheckedPage(int32_t session_id, int32_t page_no) {
  if (page_no < 0) return {};
  HeldPage page(PageManager.GetPage(session_id, page_no, kAnyPageType));
  if (!IsRecordPageValid(*page)) return {};
  return page;
}

void TVTRDiskRecordManager::EmptyTable(int32_t session_id) {
  std::vector<int32_t> pages;
  TVTRKeyPath path;
  if (RecordPageIndex.First(session_id, path)) {
    TVTRPathWalk walk(path);
    pages.push_back(RecordPageIndex.GetKey(session_id, path));
    while (RecordPageIndex.Next(session_id, path)) {
      walk.Moved(path);
      pages.push_back(RecordPageIndex.GetKey(session_id, path));
    }
  }
  for (int32_t page_no : pages) PageManager.DeletePage(session_id, page_no);
  RecordPageIndex.EmptyTree(session_id);
  RecordCount = 0;
  ChangeCount = 0;
}

bool TVTRDiskRecordManager::InsertRecord(int32_t session_id, const uint8_t* record, TVTRRecordID& id) {
  try {
    int32_t page_no;
    HeldPage page;
    if (RecordPageIndex.FindPageWithRoom(session_id, page_no)) {
      page = GetCheckedPage(session_id, page_no);
      if (page.get() == nullptr) return false;
    } else {
      page = HeldPage(PageManager.AddPage(session_id, ptTableRecord));
      SetPageOwnerOf(page->Buffer(), TableID);
    }
    FieldManager.MemoryToDiskRecord(record, work_record_.get());
    const TVTRRecordID added = View(*page).AddRecord(work_record_.get());
    page.Release();
    RecordPageIndex.AddRecord(session_id, added.PageNo);
    id = added;
  } catch (const EVTRException& e) {
    // A page the record-page map offers but whose slots are all taken
    // refuses the record; a disk that fails or is full, or a damaged page,
    // is reported as itself rather than as a refused record.
    if (e.NativeError() != 20141) throw;
    return false;
  }
  ++RecordCount;
  ++ChangeCount;
  return true;
}

bool TVTRDiskRecordManager::UpdateRecord(int32_t session_id, const uint8_t* record, const TVTRRecordID& id) {
  HeldPage page = GetCheckedPage(session_id, id.PageNo);
  if (page.get() == nullptr) return false;
  FieldManager.MemoryToDiskRecord(record, work_record_.get());
  if (!View(*page).UpdateRecord(work_record_.get(), id)) return false;
  page.Release();
  ++ChangeCount;
  return true;
}

bool TVTRDiskRecordManager::DeleteRecord(int32_t session_id, const TVTRRecordID& id) {
  HeldPage page = GetCheckedPage(session_id, id.PageNo);
  if (page.get() == nullptr) return false;
  TVTRSmallRecordPage view = View(*page);
  if (!view.DeleteRecord(id)) return false;
  const bool emptied = view.GetRecordCount() == 0;
  page.Release();
  if (emptied) PageManager.DeletePage(session_id, id.PageNo);
  RecordPageIndex.RemoveRecord(session_id, id.PageNo);
  --RecordCount;
  ++ChangeCount;
  return true;
}

void TVTRDiskRecordManager::GetRecord(int32_t session_id, NavigationRequest& request) {
  request.Result = grError;
  if (RecordCount == 0) {
    request.Result = grEOF;
    return;
  }
  if (request.Bof || request.Eof) {
    const bool from_start = request.Bof;
    if (request.Direction == (from_start ? fmNext : fmPrior))
      ReadFromEnd(session_id, request, from_start);
    else if (request.Direction != fmCurrent)
      request.Result = from_start ? grBOF : grEOF;
    return;
  }
  ReadFromRecord(session_id, request);
}

void TVTRDiskRecordManager::ReadFromEnd(int32_t session_id, NavigationRequest& request, bool from_start) {
  int32_t page_no;
  if (!(from_start ? FirstStoredPage(session_id, page_no) : LastStoredPage(session_id, page_no))) {
    request.Result = from_start ? grEOF : grBOF;
    return;
  }
  HeldPage page = GetCheckedPage(session_id, page_no);
  if (page.get() == nullptr) return;
  const TVTRSmallRecordPage view = View(*page);
  TakeRecord(view, from_start ? view.First() : view.Last(), request, from_start ? 20145 : 20147);
}

void TVTRDiskRecordManager::ReadFromRecord(int32_t session_id, NavigationRequest& request) {
  const TVTRRecordID start = request.RecordID;
  HeldPage page = GetCheckedPage(session_id, start.PageNo);
  if (page.get() == nullptr) return;
  const TVTRSmallRecordPage view = View(*page);
  if (request.Direction == fmCurrent) {
    if (view.IsUsed(start.SlotNo)) TakeRecord(view, start, request, 20145);
    return;
  }
  const bool forward = request.Direction == fmNext;
  request.Result = forward ? grEOF : grBOF;
  TVTRRecordID id = start;
  if (forward ? view.Next(id) : view.Prior(id)) {
    TakeRecord(view, id, request, forward ? 20145 : 20147);
    return;
  }
  page.Release();
  int32_t page_no;
  if (!(forward ? NextStoredPage(session_id, start.PageNo, page_no)
                : PriorStoredPage(session_id, start.PageNo, page_no)))
    return;
  HeldPage other(PageManager.GetPage(session_id, page_no, ptTableRecord));
  const TVTRSmallRecordPage other_view = View(*other);
  TakeRecord(other_view, forward ? other_view.First() : other_view.Last(), request, forward ? 20146 : 20148);
}

void TVTRDiskRecordManager::TakeRecord(const TVTRSmallRecordPage& page, const TVTRRecordID& id,
                                       NavigationRequest& request, int32_t free_code) {
  if (request.Buffer != nullptr) {
    if (!page.ReadRecord(id, work_record_.get())) throw EVTRException(free_code, "Record not found");
    FieldManager.DiskToMemoryRecord(work_record_.get(), request.Buffer);
  }
  request.RecordID = id;
  request.Result = grOK;
  request.Bof = false;
  request.Eof = false;
}

int TVTRDiskRecordManager::CompareRecordIDs(const TVTRRecordID& a, const TVTRRecordID& b) {
  if (a.PageNo != b.PageNo) return a.PageNo < b.PageNo ? -1 : 1;
  if (a.SlotNo != b.SlotNo) return a.SlotNo < b.SlotNo ? -1 : 1;
  return 0;
}

TVTRRecordID TVTRDiskRecordManager::GetRecordIDByRecNo(int32_t session_id, int64_t rec_no) {
  int32_t page_no;
  int32_t ordinal;
  RecordPageIndex.LocateRecordNo(session_id, page_no, ordinal, rec_no - 1);
  HeldPage page(PageManager.GetPage(session_id, page_no, ptTableRecord));
  return View(*page).GetRecordIDByIndex(ordinal);
}

int64_t TVTRDiskRecordManager::GetRecNo(int32_t session_id, const TVTRRecordID& id) {
  int32_t before;
  {
    HeldPage page(PageManager.GetPage(session_id, id.PageNo, ptTableRecord));
    before = View(*page).CountBefore(id);
  }
  int64_t number;
  RecordPageIndex.GetRecordNo(session_id, id.PageNo, number, before);
  return number + 1;
}

int32_t TVTRDiskRecordManager::GetLastPageNo(int32_t session_id) {
  int32_t page_no;
  return RecordPageIndex.LastPage(session_id, page_no) ? page_no : -1;
}
