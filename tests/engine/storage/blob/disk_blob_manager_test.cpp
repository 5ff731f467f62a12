#include <gtest/gtest.h>

#include "engine/foundation/containers/BufferBits.h"
#include "tests/engine/storage/blob/BlobTestSupport.h"

namespace {

// Text that compresses, so the stored bytes differ from the value.
Bytes Text(size_t count, char letter) {
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(letter + i % 7);
  return bytes;
}

class BlobManager : public ::testing::Test {
 protected:
  BlobManager() : manager_(pages_, table_.fields, table_.records), record_(table_.NewRecord()) {
    manager_.BlobPageIndex.CreateTree(kBlobSession);
  }

  // Writes the value through a cursor's stream and hands the stream to the manager.
  void Write(int32_t field_no, const Bytes& value) {
    auto stream = NewBlobStream(table_, field_no);
    if (!value.empty()) stream->WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
    stream->SetSize(static_cast<int64_t>(value.size()));
    manager_.SaveBlob(record_.data(), field_no, *stream);
  }
  // Stores the record's changed values as a successful record write does.
  void Post() {
    TVTRRecordBlobWrite write = manager_.SaveRecordBlobs(kBlobSession, record_.data(), true);
    write.DeleteReplaced();
    write.Finish();
  }
  // The field's value as a cursor's stream reads it.
  Bytes Value(int32_t field_no) {
    const TVTRFieldDef& field = table_.fields.FieldDefs.GetFieldDef(field_no);
    TVTRBLOBDescriptor descriptor;
    descriptor.block_size = field.BlobBlockSize;
    descriptor.algorithm = static_cast<TVTRCompressionMethod>(field.BlobCompressionAlgorithm);
    descriptor.mode = field.BlobCompressionMode;
    auto stored = std::make_unique<TVTRTemporaryStream>(true);
    manager_.ReadBlob(kBlobSession, record_.data(), *stored, descriptor, field_no);
    manager_.ReleaseBlob(record_.data(), field_no, false);
    TVTRLocalBLOBStream stream(std::move(stored), descriptor, false, nullptr, bomRead, field_no);
    return StreamBytes(stream);
  }
  TVTRBlobReference Reference(int32_t field_no) {
    CachedBlobValue* cache = nullptr;
    return manager_.GetBlobRef(record_.data(), field_no, cache);
  }
  CachedBlobValue* Cached(int32_t field_no) {
    CachedBlobValue* cache = nullptr;
    manager_.GetBlobRef(record_.data(), field_no, cache);
    return cache;
  }
  bool IsNull(int32_t field_no) const { return GetBufferBit(field_no, record_.data()); }

  FailingPageManager pages_;
  BlobTable table_;
  TVTRDiskBlobManager manager_;
  std::vector<uint8_t> record_;
};

TEST_F(BlobManager, AWrittenValueWaitsInTheCacheUntilPostedAndThenReadsBack) {
  const Bytes picture = Text(20000, 'a');
  Write(kPictureField, picture);
  ASSERT_NE(Cached(kPictureField), nullptr);
  EXPECT_TRUE(Cached(kPictureField)->Modified);
  EXPECT_FALSE(IsNull(kPictureField));
  EXPECT_FALSE(Reference(kPictureField).HasStoredValue());

  Post();
  EXPECT_EQ(Cached(kPictureField), nullptr);
  EXPECT_EQ(manager_.CachedValueCount(), 0);
  EXPECT_EQ(Reference(kPictureField).BlobID, 0) << "20000 bytes of text compress onto a shared page";
  EXPECT_TRUE(IsNull(kNoteField)) << "a field never written stays null";
  EXPECT_EQ(Value(kPictureField), picture);
  EXPECT_EQ(manager_.CachedValueCount(), 0) << "the read's cache entry goes when the stream is let go";
}

// A value held in memory hands its stream's bytes over instead of copying
// them; one that went to a temporary file is read from it.
TEST_F(BlobManager, AValueInMemoryOrInATemporaryFileIsStoredWhole) {
  for (const bool keep_in_memory : {true, false}) {
    SCOPED_TRACE(keep_in_memory ? "in memory" : "in a temporary file");
    const Bytes picture = Noise(TVTRTemporaryStream::kSpillThreshold + 100000, keep_in_memory ? 1 : 2);
    auto stream = NewBlobStream(table_, kPictureField, keep_in_memory);
    stream->WriteBuffer(picture.data(), static_cast<int32_t>(picture.size()));
    ASSERT_EQ(stream->Stored().InMemory(), keep_in_memory);
    const int64_t stored_size = stream->Stored().Size();
    manager_.SaveBlob(record_.data(), kPictureField, *stream);
    ASSERT_NE(Cached(kPictureField), nullptr);
    EXPECT_EQ(Cached(kPictureField)->DataSize, stored_size);
    EXPECT_EQ(stream->Stored().Size(), keep_in_memory ? 0 : stored_size);
    Post();
    EXPECT_EQ(Value(kPictureField), picture);
  }
}

TEST_F(BlobManager, ReplacingAValueDeletesTheOldOneAndEmptyingItLeavesTheFieldNull) {
  const int32_t live = pages_.LivePages();
  Write(kPictureField, Noise(9000, 1));
  Post();
  const TVTRBlobReference first = Reference(kPictureField);
  EXPECT_EQ(first.BlobID, kSequenceBlobID);

  Write(kPictureField, Text(50, 'q'));
  Post();
  EXPECT_EQ(Value(kPictureField), Text(50, 'q'));
  EXPECT_EQ(pages_.LivePages() - live, 1) << "only the shared page of the new value is left";

  Write(kPictureField, {});
  EXPECT_TRUE(IsNull(kPictureField));
  Post();
  EXPECT_EQ(Reference(kPictureField), kNoBlobValue);
  EXPECT_EQ(pages_.LivePages(), live);
  TVTRBLOBDescriptor descriptor;
  descriptor.block_count = 9;
  TVTRMemoryStream destination;
  manager_.ReadBlob(kBlobSession, record_.data(), destination, descriptor, kPictureField);
  EXPECT_EQ(descriptor.block_count, 0);
  EXPECT_EQ(destination.Size(), 0);
}

TEST_F(BlobManager, AnUnwrittenStreamChangesNothingAndAnUnpostedValueIsReleasedOnlyByForce) {
  Write(kPictureField, Text(100, 'a'));
  Post();
  const TVTRBlobReference stored = Reference(kPictureField);

  auto unwritten = NewBlobStream(table_, kPictureField);
  manager_.SaveBlob(record_.data(), kPictureField, *unwritten);
  EXPECT_EQ(Cached(kPictureField), nullptr);

  Write(kPictureField, Text(10, 'z'));
  manager_.ReleaseBlob(record_.data(), kPictureField, false);
  EXPECT_NE(Cached(kPictureField), nullptr) << "a modified value outlives a plain release";
  manager_.ReleaseBlob(record_.data(), kPictureField, true);
  EXPECT_EQ(Cached(kPictureField), nullptr);
  EXPECT_EQ(Reference(kPictureField), stored);
  EXPECT_EQ(Value(kPictureField), Text(100, 'a'));
  manager_.ReleaseBlob(nullptr, kPictureField, true);
}

TEST_F(BlobManager, AHandleIsHonouredOnlyWhileItsEntryIsListed) {
  Write(kPictureField, Text(10, 'a'));
  const std::vector<uint8_t> copy = record_;
  manager_.ReleaseBlob(record_.data(), kPictureField, true);
  CachedBlobValue* cache = nullptr;
  manager_.GetBlobRef(copy.data(), kPictureField, cache);
  EXPECT_EQ(cache, nullptr) << "the copy still carries the released handle";

  Write(kNoteField, Text(10, 'b'));
  manager_.GetBlobRef(copy.data(), kPictureField, cache);
  EXPECT_EQ(cache, nullptr) << "a new entry never takes an old handle";
}

TEST_F(BlobManager, AFieldThatIsNotNullButHasNoValueCannotBeRead) {
  SetBufferBit(false, kNoteField, record_.data());
  TVTRMemoryStream destination;
  TVTRBLOBDescriptor descriptor;
  EXPECT_ENGINE_ERROR(manager_.ReadBlob(kBlobSession, record_.data(), destination, descriptor, kNoteField),
                      20162, "Cannot read BLOB field value");
}

// A store that fails after the record's old values were replaced must leave
// the record naming its old, intact values, so that nothing committed later
// can name a deleted value.
TEST_F(BlobManager, AFailedStoreLeavesTheRecordOnItsOldValuesReadyToPostAgain) {
  Write(kPictureField, Text(300, 'p'));
  Write(kNoteField, Noise(5000, 2));
  Post();
  const TVTRBlobReference old_picture = Reference(kPictureField), old_note = Reference(kNoteField);
  const int32_t live = pages_.LivePages();

  Write(kPictureField, Noise(5000, 3));  // a sequence of two pages
  Write(kNoteField, Noise(9000, 4));     // three pages, the third of which cannot be had
  pages_.FailAfter(4);
  EXPECT_EQ(NativeErrorOf([&] { manager_.SaveRecordBlobs(kBlobSession, record_.data(), true); }), 30015);
  pages_.FailAfter(-1);

  EXPECT_EQ(Reference(kPictureField), old_picture);
  EXPECT_EQ(Reference(kNoteField), old_note);
  EXPECT_EQ(pages_.LivePages(), live) << "the new values stored so far are deleted again";
  ASSERT_NE(Cached(kPictureField), nullptr);
  EXPECT_TRUE(Cached(kPictureField)->Modified);
  ASSERT_NE(Cached(kNoteField), nullptr);
  EXPECT_TRUE(Cached(kNoteField)->Modified);

  Post();
  EXPECT_EQ(Value(kPictureField), Noise(5000, 3));
  EXPECT_EQ(Value(kNoteField), Noise(9000, 4));
  EXPECT_EQ(pages_.LivePages() - live, 2) << "a shared page and two pages replaced by two and three";
}

TEST_F(BlobManager, ARecordWriteThatFailsOrIsRolledBackGetsItsOldReferencesBack) {
  Write(kPictureField, Text(100, 'a'));
  Post();
  const TVTRBlobReference old = Reference(kPictureField);
  const int32_t live = pages_.LivePages();

  Write(kPictureField, Noise(7000, 1));
  {
    TVTRRecordBlobWrite write = manager_.SaveRecordBlobs(kBlobSession, record_.data(), true);
    EXPECT_NE(Reference(kPictureField), old);
    write.Undo();
  }
  EXPECT_EQ(Reference(kPictureField), old);
  EXPECT_EQ(pages_.LivePages(), live);

  {
    TVTRRecordBlobWrite write = manager_.SaveRecordBlobs(kBlobSession, record_.data(), true);
    EXPECT_NE(Reference(kPictureField), old);
  }
  EXPECT_EQ(Reference(kPictureField), old) << "a write dropped unfinished restores the references";
  EXPECT_TRUE(Cached(kPictureField)->Modified);
}

TEST_F(BlobManager, DeletingARecordDeletesItsStoredValues) {
  const int32_t live = pages_.LivePages();
  Write(kPictureField, Noise(6000, 1));
  Write(kNoteField, Text(40, 'n'));
  Post();
  manager_.DeleteRecordBlobs(kBlobSession, record_.data());
  EXPECT_EQ(pages_.LivePages(), live);
  EXPECT_EQ(Reference(kPictureField), kNoBlobValue);
  EXPECT_EQ(Reference(kNoteField), kNoBlobValue);
}

// A field set to null through its value (its null flag set, its reference
// left) names no value once posted: an update deletes the value after the
// record stands, an insert drops the reference and deletes nothing, since
// a new record owns no value it did not store.
TEST_F(BlobManager, AFieldSetToNullThroughItsValueNamesNoValueOncePosted) {
  for (const bool update : {true, false}) {
    SCOPED_TRACE(update ? "update" : "insert");
    record_ = table_.NewRecord();
    const int32_t live = pages_.LivePages();
    Write(kPictureField, Noise(6000, 1));  // a page sequence
    Write(kNoteField, Text(40, 'n'));      // an entry on a shared page
    Post();
    const int32_t stored = pages_.LivePages();
    SetBufferBit(true, kPictureField, record_.data());
    SetBufferBit(true, kNoteField, record_.data());
    TVTRRecordBlobWrite write = manager_.SaveRecordBlobs(kBlobSession, record_.data(), update);
    EXPECT_EQ(Reference(kPictureField), kNoBlobValue);
    EXPECT_EQ(Reference(kNoteField), kNoBlobValue);
    EXPECT_EQ(pages_.LivePages(), stored) << "nothing goes before the record stands";
    write.DeleteReplaced();
    write.Finish();
    EXPECT_EQ(pages_.LivePages(), update ? live : stored);
  }
}

// Records stored while a field set to null kept its value still name it:
// deleting such a record deletes the value.
TEST_F(BlobManager, DeletingARecordFollowsANullFieldToAValueItStillNames) {
  const int32_t live = pages_.LivePages();
  Write(kPictureField, Noise(6000, 1));
  Post();
  SetBufferBit(true, kPictureField, record_.data());
  manager_.DeleteRecordBlobs(kBlobSession, record_.data());
  EXPECT_EQ(pages_.LivePages(), live);
  EXPECT_EQ(Reference(kPictureField), kNoBlobValue);
}

TEST_F(BlobManager, EmptyingDeletesTheValuesOfEveryStoredRecordAndDroppingTheMap) {
  manager_.BlobPageIndex.DropTree(kBlobSession);
  const int32_t live = pages_.LivePages();
  manager_.BlobPageIndex.CreateTree(kBlobSession);
  for (uint32_t i = 0; i < 3; ++i) {
    record_ = table_.NewRecord();
    Write(kPictureField, Noise(100 + 4000 * i, i));
    if (i != 1) Write(kNoteField, Text(30, 'a'));
    Post();
    TVTRRecordID id;
    table_.records.InsertRecord(kBlobSession, record_.data(), id);
  }
  ASSERT_GT(pages_.LivePages() - live, 4);
  manager_.EmptyAll(kBlobSession);
  EXPECT_EQ(pages_.LivePages() - live, 1) << "the map keeps its root";
  table_.records.EmptyTable(kBlobSession);
  manager_.DropStorage(kBlobSession);
  EXPECT_EQ(pages_.LivePages(), live);
  EXPECT_EQ(manager_.BlobPageIndex.Root(), -1);
}

TEST_F(BlobManager, TheMetadataImageIsTheMapRoot) {
  const Bytes image = ImageOf([&](TStream& stream) { manager_.SaveMetadata(stream); });
  ASSERT_EQ(image.size(), 4u);
  EXPECT_EQ(LoadI32(image.data()), manager_.BlobPageIndex.Root());
  TVTRDiskBlobManager reopened(pages_, table_.fields, table_.records);
  TVTRMemoryStream stream;
  FillStream(stream, image);
  reopened.LoadMetadata(stream);
  EXPECT_EQ(reopened.BlobPageIndex.Root(), manager_.BlobPageIndex.Root());
}

}  // namespace
