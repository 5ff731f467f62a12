#pragma once
// TVTRDiskBlobManager: the BLOB values of one disk table. It stores, reads and
// deletes values on shared pages (SmallBlobPage.h) or page sequences
// (BlobPageSequence.h), keeps the BLOB page map of the shared pages with the
// bytes used on each, and caches values attached to record buffers between a
// cursor's BLOB stream and the post of the record.
//
// Its part of the table's metadata (4 bytes):
//   0  4  i32 root page of the BLOB page map, -1 without one
//
// A record write stores new values before the record and deletes the values
// they replace only after it (TVTRRecordBlobWrite), so a write that fails
// part-way never leaves a stored record naming a deleted value.
//
// No lock of its own: callers hold the database's critical section and, to
// write, the table lock. Field numbers count the table's fields.
#include <cstdint>
#include <vector>

#include "engine/foundation/blob/VTRBLOBDescriptor.h"
#include "engine/storage/pager/PageManager.h"
#include "engine/storage/blob/BlobCache.h"
#include "engine/storage/blob/BlobFormat.h"
#include "engine/storage/blob/LocalBlobStream.h"
#include "engine/storage/btree/PageIndex.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/table/RecordManager.h"
#include "platform/rtl/Stream.h"

inline constexpr int32_t kBlobManagerMetadataSize = 4;

class TVTRDiskBlobManager;

// The BLOB changes of one record write. The new values are stored and the
// record buffer names them; what happens next depends on the record write:
//   written and kept   DeleteReplaced, then (after the commit or inside the
//                      transaction) Finish, which lets the cache entries go
//   not written        Undo: the new values are deleted again
//   rolled back        RestoreReferences: the session's rollback took the pages
// Until Finish the cache entries stay modified, so the record can be posted
// again. A write left pending gets its old references back when it goes.
class TVTRRecordBlobWrite {
 public:
  TVTRRecordBlobWrite(TVTRDiskBlobManager& manager, int32_t session_id, uint8_t* record)
      : manager_(&manager), session_id_(session_id), record_(record) {}
  TVTRRecordBlobWrite(TVTRRecordBlobWrite&& other) noexcept;
  TVTRRecordBlobWrite& operator=(TVTRRecordBlobWrite&&) = delete;
  ~TVTRRecordBlobWrite() { RestoreReferences(); }

  // Deletes the stored values the record no longer names; a value is
  // deleted once however often this is called.
  void DeleteReplaced();
  void Finish() noexcept;
  void Undo() noexcept;
  void RestoreReferences() noexcept;

 private:
  friend class TVTRDiskBlobManager;
  struct Change {
    int32_t FieldNo;
    TVTRBlobReference Old;
    TVTRBlobReference New;
    bool OldDeleted = false;
  };

  TVTRDiskBlobManager* manager_;
  int32_t session_id_;
  uint8_t* record_;
  std::vector<Change> changes_;
};

class TVTRDiskBlobManager {
 public:
  // The record manager is walked to find every value of the table.
  TVTRDiskBlobManager(TVTRPageManager& page_manager, TVTRBaseFieldManager& field_manager,
                      TVTRBaseRecordManager& record_manager);
  // Frees the cache entries left: values read or written for record buffers
  // that a cursor never let go of.
  ~TVTRDiskBlobManager() = default;
  TVTRDiskBlobManager(const TVTRDiskBlobManager&) = delete;
  TVTRDiskBlobManager& operator=(const TVTRDiskBlobManager&) = delete;

  int32_t CachedValueCount() const { return cache_.Count(); }

  // Creates the BLOB page map, in the system session.
  void CreateStorage();
  // Deletes every value of the table and the map.
  void DropStorage(int32_t session_id);
  // Deletes the values of every stored record; the map keeps its root.
  void EmptyAll(int32_t session_id);
  void LoadMetadata(TStream& stream);
  void SaveMetadata(TStream& stream) const;

  // The field's reference; `cache` is its cache entry, nullptr when the
  // field's handle is not current.
  TVTRBlobReference GetBlobRef(const uint8_t* record, int32_t field_no, CachedBlobValue*& cache);
  void SetBlobRef(uint8_t* record, int32_t field_no, const TVTRBlobReference& reference) const;
  // A new empty cache entry, named by the field's handle.
  CachedBlobValue& NewCachedValue(uint8_t* record, int32_t field_no);
  // Frees the field's cache entry unless it is modified, or always with
  // `force`; a nil record does nothing.
  void ReleaseBlob(uint8_t* record, int32_t field_no, bool force);
  // Takes a value written through a cursor's stream into the cache, unless
  // the stream was not modified; the field is null when the value is empty.
  void SaveBlob(uint8_t* record, int32_t field_no, TVTRLocalBLOBStream& stream);
  // Loads the field's stored value into the cache unless it is there.
  void LoadBlob(int32_t session_id, uint8_t* record, int32_t field_no);
  // Writes the field's stored bytes to `destination` and describes them in
  // the descriptor (block count and size 0 for a null field); 20162 for a
  // field with no readable value.
  void ReadBlob(int32_t session_id, uint8_t* record, TStream& destination, TVTRBLOBDescriptor& descriptor,
                int32_t field_no);

  // Stores the changed values of every BLOB field, writing their references
  // into the record. A field set to null through its value names no value
  // any more; on an update the value it named is one the record no longer
  // names. When it fails, what it stored is deleted again.
  TVTRRecordBlobWrite SaveRecordBlobs(int32_t session_id, uint8_t* record, bool update);
  // On delete: every stored value the record names is deleted, a null
  // field's too; its cache entries count as unmodified.
  void DeleteRecordBlobs(int32_t session_id, uint8_t* record);
  void DeleteBlobField(int32_t session_id, uint8_t* record, int32_t field_no);

  TVTRBlobReference StoreBlobValue(int32_t session_id, const CachedBlobValue& value);
  // 20162 when the reference names no readable value.
  void ReadBlobValue(int32_t session_id, CachedBlobValue& value, const TVTRBlobReference& reference);
  // Leaves the reference at page -1, id -1.
  void DeleteBlobValue(int32_t session_id, TVTRBlobReference& reference);
  // Whether a reference of unknown kind (id 255) starts a page sequence.
  bool IsLargeBlob(int32_t session_id, const TVTRBlobReference& reference);

  TVTRBTreeBlobPageIndex BlobPageIndex;

 private:
  friend class TVTRRecordBlobWrite;

  uint8_t* FieldOf(uint8_t* record, int32_t field_no) const;
  const uint8_t* FieldOf(const uint8_t* record, int32_t field_no) const;
  bool IsNull(const uint8_t* record, int32_t field_no) const;
  bool IsBlobField(int32_t field_no) const;
  TVTRBlobReference StoreShared(int32_t session_id, const CachedBlobValue& value);
  void ReadShared(int32_t session_id, CachedBlobValue& value, const TVTRBlobReference& reference);
  void DeleteShared(int32_t session_id, const TVTRBlobReference& reference);
  // Calls the action for a sequence or a shared-page entry, choosing by the
  // id; for id 255 by probing, with the other kind when the first fails.
  template <typename Sequence, typename Shared>
  void ByKind(int32_t session_id, const TVTRBlobReference& reference, Sequence&& sequence, Shared&& shared);

  TVTRPageManager& page_manager_;
  TVTRBaseFieldManager& field_manager_;
  TVTRBaseRecordManager& record_manager_;
  TVTRBlobCache cache_;
};
