#include "engine/storage/pager/DiskPageManager.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRCompression.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/FreeSpaceManager.h"
#include "engine/storage/pager/PageHeader.h"
#include "platform/os/FileSystem.h"
#include "platform/os/Random.h"

namespace {

constexpr int32_t kDefaultPageSize = 4096;

struct NextObjectIDUnlock {
  TVTRDiskPageManager* manager;
  bool operator()() const { return manager->UnlockNextObjectID(); }
};

// The NextObjectID lock byte for a scope, tried as every byte lock is.
class NextObjectIDLockScope : public ByteLockScope<NextObjectIDUnlock> {
 public:
  explicit NextObjectIDLockScope(TVTRDiskPageManager& manager)
      : ByteLockScope(kByteLockRetry, [&manager] { return manager.LockNextObjectID(); },
                      NextObjectIDUnlock{&manager}) {}
};
constexpr int32_t kLargestPageSize = INT16_MAX;
constexpr uint16_t kLargestPagesPerExtent = UINT16_MAX;

// Write access as this process has it, without touching the file.
bool IsFileReadOnly(const std::string& name) {
  return ::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) != 0;
}

EVTRException NotOpened(int32_t native_error) {
  return EVTRException(native_error, "Error - database file is not opened.");
}

EVTRException InvalidFormat() {
  return EVTRException(20237, "Invalid database format");
}

void CheckGeometry(int32_t page_size, int32_t pages_per_extent) {
  if (page_size <= kPageHeaderSize || page_size > kLargestPageSize || pages_per_extent < 1 ||
      pages_per_extent > kLargestPagesPerExtent) {
    throw InvalidFormat();
  }
}

}  // namespace

TVTRDiskPageManager::TVTRDiskPageManager()
    : TVTRPageManager(kDefaultPageSize, kPageHeaderSize), header_(DatabaseFileHeader::NewDatabase()) {}

TVTRDiskPageManager::~TVTRDiskPageManager() {
  try {
    CloseDatabase();
  } catch (...) {
    // The file object closes itself; errors are reported by CloseDatabase only.
  }
}

TVTRDatabaseFreeSpaceManager& TVTRDiskPageManager::FreeSpaceManager() {
  if (free_space_ == nullptr) throw NotOpened(10459);
  return *free_space_;
}

void TVTRDiskPageManager::ResetLayout() {
  header_offset_ = 0;
  crypto_offset_ = kCryptoHeaderOffset;
  lock_block_offset_ = kLockBlockOffset;
  next_object_id_offset_ = kNextObjectIDOffset;
  pages_offset_ = kPagesOffset;
}

void TVTRDiskPageManager::CreateDatabase(const std::string& file_name, const TVTRPassword& password,
                                         int32_t page_size, int32_t pages_per_extent) {
  if (file_.IsOpen()) throw EVTRException::CreateFmt(10461, "Error - database file %s is in use.", file_name);
  CheckGeometry(page_size, pages_per_extent);
  // An unknown algorithm would leave the pages plain under an encrypted header.
  if (!password.Password.empty() && !IsEncryptionAlgorithm(password.Algorithm))
    throw EVTRException::CreateFmt(20237, "Unknown encryption algorithm: %d", password.Algorithm);
  SetPageGeometry(page_size, kPageHeaderSize);
  password_ = password;
  cipher_.reset();
  ResetLayout();
  file_.CreateFile(file_name);
  try {
    // A journal left beside an older file of this name describes nothing here.
    journal_ = std::make_unique<TVTRJournal>(JournalFileName(file_name));
    journal_->Remove();
    header_ = DatabaseFileHeader::NewDatabase();
    header_.PageSize = static_cast<int16_t>(page_size);
    header_.PagesPerExtent = static_cast<uint16_t>(pages_per_extent);
    header_.Encrypted = !password.Password.empty();
    crypto_header_ = DatabaseCryptoHeader{};
    if (header_.Encrypted) MakePasswordCheck();
    WriteHeader();
    WriteCryptoHeader();
    WriteLockBlock();
    if (const NextObjectIDLockScope lock(*this); lock.Held()) {
      std::array<uint8_t, kNextObjectIDSize> zero{};
      file_.WriteBuffer(zero.data(), 30406, next_object_id_offset_, kNextObjectIDSize);
    }
    free_space_ = std::make_unique<TVTRDatabaseFreeSpaceManager>(*this);
  } catch (...) {
    CloseDatabase();
    throw;
  }
}

void TVTRDiskPageManager::OpenDatabase(const std::string& file_name, const TVTRPassword& password,
                                       bool& multi_user, bool exclusive, bool& needs_repair,
                                       bool& read_only) {
  if (file_.IsOpen()) throw EVTRException::CreateFmt(10462, "Error - database file %s is in use.", file_name);
  password_ = password;
  if (!read_only && FileExists(file_name) && IsFileReadOnly(file_name)) {
    read_only = true;
    multi_user = false;  // nobody can be writing a file that cannot be written
  }
  exclusive_ = exclusive;
  if (exclusive) multi_user = false;
  SetMultiUser(multi_user);
  ResetLayout();
  if (read_only) {
    file_.OpenFile(file_name, famRead, fsmDenyNone);
  } else {
    file_.OpenFile(file_name, famReadWrite, exclusive ? fsmExclusive : fsmDenyNone);
  }
  try {
    {
      // Until the header is found, the header lock is byte 360 of the file.
      HeaderLockScope lock(*this, 20230);
      int64_t base = 0;
      header_offset_ = file_.FindSignature(base) ? base : 0;
      LoadHeader();
    }
    if (!header_.HasSignature()) {
      throw EVTRException::CreateFmt(10470, "Invalid file format. Found signature: '%s', expected: '%s'",
                                     header_.SignatureText(), kDatabaseSignature);
    }
    if (header_.HeaderSize != kFileHeaderSize) throw InvalidFormat();
    CheckGeometry(header_.PageSize, header_.PagesPerExtent);
    SetPageGeometry(header_.PageSize, kPageHeaderSize);
    crypto_offset_ = header_offset_ + header_.HeaderSize;
    lock_block_offset_ = crypto_offset_ + kCryptoHeaderSize;
    ReadCryptoHeader();
    if (header_.Encrypted) CheckPassword();
    if (crypto_offset_ + crypto_header_.BlockSize != lock_block_offset_) throw InvalidFormat();
    ReadLockBlock();
    if (lock_block_size_ != kLockBlockSize) throw InvalidFormat();
    next_object_id_offset_ = lock_block_offset_ + lock_block_size_;
    pages_offset_ = next_object_id_offset_ + kNextObjectIDSize;
    free_space_ = std::make_unique<TVTRDatabaseFreeSpaceManager>(*this);
    journal_ = std::make_unique<TVTRJournal>(JournalFileName(file_name));
    if (file_.IsWritable()) RecoverAtOpen();
    needs_repair = header_.DatabaseState != dsConsistent || header_.Version < kOldFormatVersion;
  } catch (...) {
    CloseDatabase();
    throw;
  }
}

void TVTRDiskPageManager::MakePasswordCheck() {
  crypto_header_.Algorithm = password_.Algorithm;
  for (uint8_t& byte : crypto_header_.CheckBlock) byte = static_cast<uint8_t>(DefaultRandom().Below(255));
  crypto_header_.CheckCRC = CalcCRC32(0, crypto_header_.CheckBlock.data(), kCheckBlockSize);
  cipher_ = std::make_unique<TVTRPageCipher>(password_.Password);
  if (!cipher_->EncipherPageData(crypto_header_.Algorithm, crypto_header_.CheckBlock.data(), kCheckBlockSize))
    throw EVTRException::CreateFmt(20237, "Unknown encryption algorithm: %d", crypto_header_.Algorithm);
}

void TVTRDiskPageManager::CheckPassword() {
  password_.Algorithm = crypto_header_.Algorithm;
  cipher_ = std::make_unique<TVTRPageCipher>(password_.Password);
  std::array<uint8_t, kCheckBlockSize> check = crypto_header_.CheckBlock;
  if (!cipher_->DecipherPageData(crypto_header_.Algorithm, check.data(), kCheckBlockSize) ||
      CalcCRC32(0, check.data(), kCheckBlockSize) != crypto_header_.CheckCRC) {
    throw EVTRException(30445, "Cannot open database because incorrect password");
  }
}

bool TVTRDiskPageManager::IsEncipheredPage(const TVTRPage& page) const {
  return cipher_ != nullptr && free_space_ != nullptr && !free_space_->IsMapPage(page.PageNo());
}

void TVTRDiskPageManager::CloseDatabase() {
  free_space_.reset();
  journal_.reset();
  cipher_.reset();
  header_lock_depth_ = 0;
  if (file_.IsOpen()) file_.CloseFile();
}

void TVTRDiskPageManager::ReadHeader() {
  if (!file_.IsOpen()) throw NotOpened(10459);
  LoadHeader();
  if (header_.DatabaseState == dsCommitting && MayRollBack() && RollBackCutCommit()) LoadHeader();
}

void TVTRDiskPageManager::LoadHeader() {
  // Zeroed, so that a file too short for a header fails the signature check.
  header_image_.fill(0);
  file_.ReadBufferChecked(header_image_.data(), 10464, header_offset_, kFileHeaderSize);
  header_ = DecodeFileHeader(header_image_);
}

void TVTRDiskPageManager::WriteHeader() {
  if (!file_.IsOpen()) throw NotOpened(10460);
  std::array<uint8_t, kFileHeaderSize> image;
  EncodeFileHeader(header_, image);
  file_.WriteBuffer(image.data(), 10462, header_offset_, kFileHeaderSize);
}

void TVTRDiskPageManager::ReadCryptoHeader() {
  if (!file_.IsOpen()) throw NotOpened(30436);
  std::array<uint8_t, kCryptoHeaderSize> image{};
  file_.ReadBufferChecked(image.data(), 30439, crypto_offset_, kCryptoHeaderSize);
  crypto_header_ = DecodeCryptoHeader(image);
}

void TVTRDiskPageManager::WriteCryptoHeader() {
  if (!file_.IsOpen()) throw NotOpened(30437);
  std::array<uint8_t, kCryptoHeaderSize> image;
  EncodeCryptoHeader(crypto_header_, image);
  file_.WriteBuffer(image.data(), 30438, crypto_offset_, kCryptoHeaderSize);
}

void TVTRDiskPageManager::ReadLockBlock() {
  if (!file_.IsOpen()) throw NotOpened(30441);
  std::array<uint8_t, kLockBlockSizeFieldSize> image{};
  file_.ReadBufferChecked(image.data(), 30442, lock_block_offset_, kLockBlockSizeFieldSize);
  lock_block_size_ = DecodeLockBlockSize(image);
}

void TVTRDiskPageManager::WriteLockBlock() {
  if (!file_.IsOpen()) throw NotOpened(30443);
  std::array<uint8_t, kLockBlockSize> image;
  EncodeLockBlock(image);
  file_.WriteBuffer(image.data(), 30444, lock_block_offset_, kLockBlockSize);
}

int64_t TVTRDiskPageManager::GetPageOffset(int32_t page_no) const {
  if (page_no < 0) throw EVTRException::CreateFmt(10471, "Invalid PageNo = %d", page_no);
  return pages_offset_ + int64_t{page_no} * PageSize();
}

int64_t TVTRDiskPageManager::PagesInFile() {
  return std::max<int64_t>(0, (file_.GetSize() - pages_offset_) / PageSize());
}

void TVTRDiskPageManager::CheckPageBytes(int32_t count, int32_t offset, int32_t native_error) const {
  if (offset < 0 || count < 0 || int64_t{offset} + count > PageSize()) {
    throw EVTRException::CreateFmt(native_error, "Error - invalid page offset = %d, page size = %d",
                                   int64_t{offset} + count, PageSize());
  }
}

void TVTRDiskPageManager::ReadPageBytes(void* buffer, int32_t page_no, int32_t count, int32_t offset) {
  CheckPageBytes(count, offset, 10476);
  file_.ReadBufferChecked(buffer, 10474, GetPageOffset(page_no) + offset, count);
}

void TVTRDiskPageManager::WritePageBytes(const void* buffer, int32_t page_no, int32_t count, int32_t offset) {
  CheckPageBytes(count, offset, 10477);
  CoverBeforeWrite(page_no);
  file_.WriteBuffer(buffer, 10475, GetPageOffset(page_no) + offset, count);
}

int32_t TVTRDiskPageManager::ReadPageVersion(int32_t page_no) {
  if (!MultiUser() || page_no < 0 || !file_.IsOpen()) return kFreedPageVersion;
  // Preset to the freed mark, so that a read past the end answers it too.
  std::array<uint8_t, kPageVersionSize> image;
  StoreI32(image.data(), kFreedPageVersion);
  if (!file_.ReadBuffer(image.data(), kPageVersionSize, GetPageOffset(page_no) + kPageVersionOffset))
    return kFreedPageVersion;
  return LoadI32(image.data());
}

std::optional<int32_t> TVTRDiskPageManager::ReadCommittedCounter() {
  if (!MultiUser() || !file_.IsOpen()) return std::nullopt;
  std::array<uint8_t, kCounterAndStateSize> image{};
  if (!file_.ReadBuffer(image.data(), kCounterAndStateSize, header_offset_ + kChangeCounterOffset))
    return std::nullopt;
  if (image[kDatabaseStateOffset - kChangeCounterOffset] != dsConsistent) return std::nullopt;
  return LoadI32(image.data());
}

void TVTRDiskPageManager::WritePageVersion(int32_t page_no, int32_t version) {
  CoverBeforeWrite(page_no);
  std::array<uint8_t, kPageVersionSize> image;
  StoreI32(image.data(), version);
  file_.WriteBuffer(image.data(), 20198, GetPageOffset(page_no) + kPageVersionOffset, kPageVersionSize);
}

bool TVTRDiskPageManager::ReadPage(TVTRPage& page) {
  if (!page.HasBuffer()) page.AllocBuffer();
  if (!file_.ReadBuffer(page.Buffer(), PageSize(), GetPageOffset(page.PageNo()))) {
    page.SetVersion(kFreedPageVersion);
    return false;
  }
  if (IsEncipheredPage(page)) {
    uint8_t* buffer = page.Buffer();
    const bool deciphered = cipher_->DecipherPageData(PageCipherAlgorithmOf(buffer), page.Data(),
                                                      static_cast<size_t>(page.DataSize()));
    if (!deciphered || CalcCRC32(0, page.Data(), page.DataSize()) != PageCRCOf(buffer)) {
      throw EVTRException::CreateFmt(30446, "Decrypt page error. Check CRC failed. PageNo: %d",
                                     page.PageNo());
    }
  }
  return true;
}

void TVTRDiskPageManager::WritePage(TVTRPage& page) {
  CoverBeforeWrite(page.PageNo());
  page.SetVersion(NextPageVersion(page.Version()));
  const uint8_t* image = page.Buffer();
  if (page.MayEncipher() && IsEncipheredPage(page)) {
    // The cached page stays plain: a scratch copy is enciphered and written.
    SetPageCipherOf(page.Buffer(), password_.Algorithm, CalcCRC32(0, page.Data(), page.DataSize()));
    scratch_.assign(page.Buffer(), page.Buffer() + PageSize());
    if (!cipher_->EncipherPageData(password_.Algorithm, scratch_.data() + PageHeaderSize(),
                                   static_cast<size_t>(page.DataSize()))) {
      throw EVTRException::CreateFmt(10469, "Cannot encipher page. PageNo: %d", page.PageNo());
    }
    image = scratch_.data();
  }
  file_.WriteBuffer(image, 10469, GetPageOffset(page.PageNo()), PageSize());
}

bool TVTRDiskPageManager::RefreshPage(TVTRPage& page) {
  if (!MultiUser()) return false;
  const int32_t version = ReadPageVersion(page.PageNo());
  if (version == kFreedPageVersion || version == page.Version()) {
    page.SetVersion(version);
    return false;
  }
  if (!ReadPage(page)) throw EVTRException::CreateFmt(10474, "Cannot read page. PageNo: %d", page.PageNo());
  return true;
}

int32_t TVTRDiskPageManager::GetPageCount() {
  HeaderLockScope lock(*this, 20236, kOneTry);
  FreeSpaceManager().WriteHeldAllocations();
  ReadHeader();
  return header_.PageCount;
}

void TVTRDiskPageManager::AllocatePage(TVTRPage& page) {
  const int32_t page_no = FreeSpaceManager().AllocatePage();
  page.SetPageNo(page_no);
  page.AllocBuffer();
}

void TVTRDiskPageManager::FreePage(int32_t page_no) {
  FreeSpaceManager().FreePage(page_no);
}

void TVTRDiskPageManager::DeletePage(int32_t session_id, int32_t page_no) {
  FreeSpaceManager().CheckNotMapPage(page_no);
  TVTRPageManager::DeletePage(session_id, page_no);
}

TVTRPage* TVTRDiskPageManager::GetPage(int32_t session_id, int32_t page_no, uint16_t expected_type) {
  FreeSpaceManager().CheckNotMapPage(page_no);
  return TVTRPageManager::GetPage(session_id, page_no, expected_type);
}

bool TVTRDiskPageManager::LockHeader() {
  if (header_lock_depth_ == 0) {
    const int64_t byte = HeaderLockByte();
    if (!file_.LockByte(byte)) return false;
    header_lock_byte_ = byte;
  }
  ++header_lock_depth_;
  return true;
}

bool TVTRDiskPageManager::UnlockHeader() {
  VTR_ASSERT(header_lock_depth_ >= 0);
  if (header_lock_depth_ == 0) return false;
  if (--header_lock_depth_ > 0) return true;
  return file_.UnlockByte(header_lock_byte_);
}

bool TVTRDiskPageManager::LockTables() {
  return file_.LockByte(TablesLockByte());
}

bool TVTRDiskPageManager::UnlockTables() {
  return file_.UnlockByte(TablesLockByte());
}

bool TVTRDiskPageManager::LockNextObjectID() {
  return file_.LockByte(next_object_id_offset_);
}

bool TVTRDiskPageManager::UnlockNextObjectID() {
  return file_.UnlockByte(next_object_id_offset_);
}

bool TVTRDiskPageManager::LockPageByte(int32_t page_no, int32_t offset) {
  return file_.LockByte(GetPageOffset(page_no) + offset);
}

bool TVTRDiskPageManager::UnlockPageByte(int32_t page_no, int32_t offset) {
  return file_.UnlockByte(GetPageOffset(page_no) + offset);
}

bool TVTRDiskPageManager::IsPageByteLocked(int32_t page_no, int32_t offset) {
  return file_.IsByteLocked(GetPageOffset(page_no) + offset);
}

bool TVTRDiskPageManager::IsPageRegionLocked(int32_t page_no, int32_t offset, int32_t length) {
  return file_.IsRegionLocked(GetPageOffset(page_no) + offset, length);
}

int32_t TVTRDiskPageManager::GetNextObjectID() {
  if (!file_.IsOpen()) throw NotOpened(30399);
  const NextObjectIDLockScope lock(*this);
  if (!lock.Held()) throw EVTRException(30401, "Cannot get NextObjectID. File area is Locked.");
  std::array<uint8_t, kNextObjectIDSize> image{};
  file_.ReadBufferChecked(image.data(), 30400, next_object_id_offset_, kNextObjectIDSize);
  const auto next = static_cast<int32_t>(LoadU32(image.data()) + 1);
  if (!file_.IsWritable()) {
    // Nobody records a number taken from a read-only file: a random step
    // keeps it unlikely to meet one that a writer hands out.
    return static_cast<int32_t>(static_cast<uint32_t>(next) + DefaultRandom().Below(10000));
  }
  StoreI32(image.data(), next);
  file_.WriteBuffer(image.data(), 30404, next_object_id_offset_, kNextObjectIDSize);
  return next;
}

void TVTRDiskPageManager::GrowFile(int32_t n) {
  if (n <= 0) return;
  const int32_t page_count = header_.PageCount + n;
  file_.SetSize(GetPageOffset(page_count));
  header_.PageCount = page_count;
}

void TVTRDiskPageManager::ShrinkFile(int32_t n) {
  if (n <= 0) return;
  header_.PageCount -= n;
  CoverCutPages(header_.PageCount);
  // The header first: a process that dies between the two leaves a file
  // longer than its header says, which the next growth or open takes back.
  WriteHeader();
  file_.SetSize(GetPageOffset(header_.PageCount));
}

void TVTRDiskPageManager::TruncateFreeTail() {
  // Under the header lock with a fresh header: another process may have
  // allocated pages since this one last looked.
  HeaderLockScope lock(*this, 20213);
  FreeSpaceManager().CorrectLastUsedPage();
  ReadHeader();
  ShrinkFile(header_.PageCount - 1 - header_.LastUsedPage);
}

bool HeaderUnlock::operator()() const {
  return manager->UnlockHeader();
}

HeaderLockScope::HeaderLockScope(TVTRDiskPageManager& manager, int32_t native_error, RetryPolicy retry)
    : lock_(retry, [&manager] { return manager.LockHeader(); }, HeaderUnlock{&manager}) {
  if (!lock_.Held()) throw EVTRException(native_error, "Database is locked");
}
