#include "engine/storage/system/TransactedFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRCompression.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/LinkCycleGuard.h"

namespace {

EVTRException ShortFile(int64_t wanted, int64_t found) {
  return EVTRException::CreateFmt(30388, "Cannot Read %d bytes from internal file. FileSize=%d. ReadSize=%d",
                                  wanted, found, wanted);
}

EVTRException NotDecompressed() {
  return EVTRException(20189, "Table file decompression error. Probably table is corrupted");
}

}  // namespace

TVTRInternalDBTransactedAccessFile::TVTRInternalDBTransactedAccessFile(TVTRPageManager& manager,
                                                                       uint16_t page_type)
    : manager_(manager), page_type_(page_type) {}

void TVTRInternalDBTransactedAccessFile::CheckOpen(const char* operation) const {
  if (!IsOpen())
    throw EVTRException::CreateFmt(30389, "Cannot perform this operation (%s) on closed internal file",
                                   operation);
}

int32_t TVTRInternalDBTransactedAccessFile::DataSize() const {
  return InternalFileDataSize(manager_.PageDataSize());
}

HeldPage TVTRInternalDBTransactedAccessFile::GetFilePage(int32_t session_id, int32_t page_no) {
  return HeldPage(manager_.GetPage(session_id, page_no, page_type_));
}

void TVTRInternalDBTransactedAccessFile::CreateFile(int32_t session_id) {
  if (IsOpen())
    throw EVTRException::CreateFmt(30383, "Cannot create Internal file. File already exists. StartPageNo=%d",
                                   start_page_);
  HeldPage first(manager_.AddPage(session_id, page_type_));
  SetHeaderOfPage(*first, InternalFileHeader{});
  start_page_ = first->PageNo();
}

void TVTRInternalDBTransactedAccessFile::OpenFile(int32_t start_page) {
  if (start_page != -1) start_page_ = start_page;
}

void TVTRInternalDBTransactedAccessFile::DeleteFile(int32_t session_id, int32_t start_page) {
  const int32_t first_page = start_page == -1 ? start_page_ : start_page;
  if (first_page == -1) CheckOpen("DeleteFile");
  int32_t pages;
  {
    HeldPage first = GetFilePage(session_id, first_page);
    pages = InternalFilePageCount(HeaderOfPage(*first).StoredSize, DataSize());
  }
  DeleteChain(session_id, first_page, pages);
  start_page_ = -1;
}

void TVTRInternalDBTransactedAccessFile::DeleteChain(int32_t session_id, int32_t page_no, int32_t max_pages) {
  // Bounded by the page count the header gives, so a damaged link cannot loop.
  for (int32_t i = 0; i < max_pages && page_no != -1; ++i) {
    int32_t next;
    {
      HeldPage page = GetFilePage(session_id, page_no);
      next = page->NextPage();
    }
    manager_.DeletePage(session_id, page_no);
    page_no = next;
  }
}

InternalFileHeader TVTRInternalDBTransactedAccessFile::GetSize(int32_t session_id) {
  CheckOpen("GetSize");
  HeldPage first = GetFilePage(session_id, start_page_);
  return HeaderOfPage(*first);
}

int32_t TVTRInternalDBTransactedAccessFile::GetUncompressedSize(int32_t session_id) {
  return GetSize(session_id).UncompressedSize;
}

void TVTRInternalDBTransactedAccessFile::SetSize(int32_t session_id, int32_t stored_size, uint8_t algorithm,
                                                 int32_t uncompressed_size) {
  CheckOpen("SetSize");
  const int32_t data_size = DataSize();
  HeldPage first = GetFilePage(session_id, start_page_);
  const int32_t have = InternalFilePageCount(HeaderOfPage(*first).StoredSize, data_size);
  const int32_t want = InternalFilePageCount(stored_size, data_size);
  // Only the pages the old size covers are trusted to be linked.
  TVTRPage* last = first.get();
  HeldPage walker;
  int32_t index = 0;
  while (index < want - 1 && index < have - 1 && last->NextPage() != -1) {
    walker = GetFilePage(session_id, last->NextPage());
    last = walker.get();
    ++index;
  }
  if (index == want - 1) {
    const int32_t cut = last->NextPage();
    if (cut != -1) {
      last->SetNextPage(-1);
      last->SetDirty(true);
      DeleteChain(session_id, cut, have - want);
    }
  } else {
    for (; index < want - 1; ++index) {
      HeldPage added(manager_.AddPage(session_id, page_type_));
      last->SetNextPage(added->PageNo());
      last->SetDirty(true);
      walker = std::move(added);
      last = walker.get();
    }
  }
  SetHeaderOfPage(*first, InternalFileHeader{stored_size, uncompressed_size, algorithm});
}

template <typename Visit>
int64_t TVTRInternalDBTransactedAccessFile::VisitContent(int32_t session_id, int64_t count, bool changes,
                                                         Visit&& visit) {
  const int32_t data_size = DataSize();
  HeldPage page = GetFilePage(session_id, start_page_);
  LinkCycleGuard walk(start_page_);
  int32_t offset = kInternalFileHeaderSize;
  int64_t done = 0;
  while (done < count) {
    const int32_t length = static_cast<int32_t>(std::min<int64_t>(data_size - offset, count - done));
    visit(page->Data() + offset, done, length);
    if (changes) page->SetDirty(true);
    done += length;
    const int32_t next = page->NextPage();
    if (done == count || next == -1 || walk.Returns(next)) break;
    page = GetFilePage(session_id, next);
    offset = 0;
  }
  return done;
}

void TVTRInternalDBTransactedAccessFile::ReadFile(int32_t session_id, void* buffer, int32_t count) {
  CheckOpen("ReadFile");
  const InternalFileHeader header = GetSize(session_id);
  if (count < 0 || header.UncompressedSize < count) {
    throw EVTRException::CreateFmt(30387, "Cannot Read internal file. FileSize=%d. ReadSize=%d",
                                   header.UncompressedSize, count);
  }
  auto* out = static_cast<uint8_t*>(buffer);
  if (header.Algorithm == cmNone) {
    const int64_t found =
        VisitContent(session_id, count, false, [out](uint8_t* bytes, int64_t at, int32_t n) {
          std::memcpy(out + at, bytes, static_cast<size_t>(n));
        });
    if (found < count) throw ShortFile(count, found);
    return;
  }
  if (header.StoredSize <= 0) throw NotDecompressed();
  const std::vector<uint8_t> plain = Decompressed(header, ReadStored(session_id, header.StoredSize));
  std::memcpy(out, plain.data(), static_cast<size_t>(count));
}

std::vector<uint8_t> TVTRInternalDBTransactedAccessFile::ReadContent(int32_t session_id) {
  CheckOpen("ReadFile");
  const InternalFileHeader header = GetSize(session_id);
  if (header.UncompressedSize < 0) {
    throw EVTRException::CreateFmt(30387, "Cannot Read internal file. FileSize=%d. ReadSize=%d",
                                   header.UncompressedSize, header.UncompressedSize);
  }
  if (header.Algorithm == cmNone) return ReadStored(session_id, header.UncompressedSize);
  if (header.StoredSize <= 0) throw NotDecompressed();
  return Decompressed(header, ReadStored(session_id, header.StoredSize));
}

std::vector<uint8_t> TVTRInternalDBTransactedAccessFile::ReadStored(int32_t session_id, int64_t size) {
  std::vector<uint8_t> stored;
  VisitContent(session_id, size, false, [&stored](uint8_t* bytes, int64_t, int32_t n) {
    stored.insert(stored.end(), bytes, bytes + n);
  });
  if (stored.size() < static_cast<size_t>(size)) throw ShortFile(size, static_cast<int64_t>(stored.size()));
  return stored;
}

std::vector<uint8_t> TVTRInternalDBTransactedAccessFile::Decompressed(const InternalFileHeader& header,
                                                                      const std::vector<uint8_t>& stored) {
  std::vector<uint8_t> plain;
  if (!DecompressBuffer(static_cast<TVTRCompressionMethod>(header.Algorithm), stored.data(), stored.size(),
                        static_cast<size_t>(header.UncompressedSize), plain) ||
      plain.size() != static_cast<size_t>(header.UncompressedSize)) {
    throw NotDecompressed();
  }
  return plain;
}

void TVTRInternalDBTransactedAccessFile::WriteFile(int32_t session_id, const void* buffer,
                                                   uint8_t compression_mode, uint8_t algorithm,
                                                   int32_t size) {
  CheckOpen("WriteFile");
  VTR_ASSERT(size >= 0);
  const uint8_t* stored = static_cast<const uint8_t*>(buffer);
  int64_t stored_size = size;
  std::vector<uint8_t> compressed;
  if (algorithm != cmNone) {
    if (size == 0 ||
        !CompressBuffer(static_cast<TVTRCompressionMethod>(algorithm), compression_mode, buffer,
                        static_cast<size_t>(size), compressed) ||
        compressed.size() > static_cast<size_t>(INT32_MAX)) {
      throw EVTRException(20187, "Table file compression error");
    }
    stored = compressed.data();
    stored_size = static_cast<int64_t>(compressed.size());
  }
  SetSize(session_id, static_cast<int32_t>(stored_size), algorithm, size);
  const int64_t written =
      VisitContent(session_id, stored_size, true, [stored](uint8_t* bytes, int64_t at, int32_t n) {
        std::memcpy(bytes, stored + at, static_cast<size_t>(n));
      });
  if (written < stored_size) {
    throw EVTRException::CreateFmt(
        20158, "Cannot write after end of file. FileSize=%d. Position=%d, Count=%d", written, 0, stored_size);
  }
}
