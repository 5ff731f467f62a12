// The batch copy of TVTRDataSet: every record of any dataset into a table,
// field by field, with progress, cancellation and a log. Table import, table
// copy (and with it compaction and repair) and restructuring run on it.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "engine/access/DataSet.h"
#include "engine/access/ErrorMessage.h"
#include "engine/access/Table.h"
#include "engine/storage/pager/ByteOrder.h"
#include "platform/db/Field.h"
#include "platform/rtl/Format.h"

namespace {

// A picture field's value may start with this header: a count of 1, the
// type 0x0100 and the size of the picture that follows.
constexpr int32_t kPictureHeaderSize = 8;
constexpr uint16_t kPictureHeaderCount = 1;
constexpr uint16_t kPictureHeaderType = 0x0100;

constexpr const char* kTerminated = "Terminated by User.\r\n";

bool IsPictureHeader(const std::array<uint8_t, kPictureHeaderSize>& bytes, int64_t rest) {
  return LoadU16(bytes.data()) == kPictureHeaderCount && LoadU16(bytes.data() + 2) == kPictureHeaderType &&
         static_cast<int64_t>(LoadU32(bytes.data() + 4)) == rest;
}

// Copies a BLOB value through streams. Only a GRAPHIC value loses a picture
// header in front; any other BLOB is data that may start with those bytes.
void CopyBlob(TDataSet& source, TField& from, TVTRDataSet& dest, TField& to) {
  const std::unique_ptr<TStream> in = source.CreateBlobStream(&from, bmRead);
  const std::unique_ptr<TStream> out = dest.CreateBlobStream(&to, bmWrite);
  const int64_t size = in->Size();
  if (from.DataType() == ftGraphic && size >= kPictureHeaderSize) {
    std::array<uint8_t, kPictureHeaderSize> header{};
    in->ReadBuffer(header.data(), kPictureHeaderSize);
    if (!IsPictureHeader(header, size - kPictureHeaderSize)) in->SetPosition(0);
  }
  const int64_t rest = size - in->Position();
  if (rest > 0) out->CopyFrom(*in, rest);
}

void CopyValue(TDataSet& source, TField& from, TVTRDataSet& dest, TField& to) {
  if (from.IsBlob()) return CopyBlob(source, from, dest, to);
  if (from.DataType() == ftLargeint) {
    if (from.IsNull())
      to.Clear();
    else
      to.SetAsLargeInt(from.AsLargeInt());
  } else if (from.DataType() == ftVarBytes) {
    to.SetValue(from.Value());
  } else {
    to.Assign(&from);
  }
}

// The field of `dest` that receives the source field at `position`: with
// `match_by_id` the one whose restructure definition carries the source
// field's object ID; otherwise, or when none does, the one of its name.
TField* DestinationField(TDataSet& source, TVTRDataSet& dest, int position, bool match_by_id) {
  TField* from = source.Fields()[position];
  auto* source_table = dynamic_cast<TVTRTable*>(&source);
  if (match_by_id && source_table != nullptr && dynamic_cast<TVTRTable*>(&dest) != nullptr &&
      position < source_table->AdvFieldDefs().GetCount()) {
    const int32_t object_id = source_table->AdvFieldDefs().GetItem(position).ObjectID;
    const TVTRAdvFieldDefs& target = source_table->RestructureAdvFieldDefs();
    for (int32_t j = 0; j < target.GetCount(); ++j) {
      if (object_id == -1 || target.GetItem(j).ObjectID != object_id) continue;
      if (j < dest.FieldDefs().Count()) return dest.FindField(dest.FieldDefs()[j]->Name());
    }
  }
  const int j = dest.FieldDefs().IndexOf(from->FieldName());
  return j < 0 ? nullptr : dest.FindField(dest.FieldDefs()[j]->Name());
}

// MinPercent plus the share of the records copied, rounded half to even as
// the class library rounds; never outside the two bounds, also when the
// record count read meanwhile is 0 or below the records copied (another
// process deleted records).
int32_t ProgressPercent(int64_t copied, int64_t record_count, int32_t min_percent, int32_t max_percent) {
  const int32_t low = std::min(min_percent, max_percent);
  const int32_t high = std::max(min_percent, max_percent);
  if (record_count <= 0) return max_percent;
  const double share = static_cast<double>(copied) * (max_percent - min_percent) / static_cast<double>(record_count);
  const auto percent = static_cast<int64_t>(min_percent + std::nearbyint(share));
  return static_cast<int32_t>(std::clamp<int64_t>(percent, low, high));
}

// The bookmark the copy returns to, in every case.
class SourcePosition {
 public:
  explicit SourcePosition(TDataSet& source) : source_(source), bookmark_(source.GetBookmark()) {}
  ~SourcePosition() {
    if (!restored_) CleaningUp([this] { source_.GotoBookmark(bookmark_); });
  }
  void Restore() {
    restored_ = true;
    source_.GotoBookmark(bookmark_);
  }

 private:
  TDataSet& source_;
  TBookmark bookmark_;
  bool restored_ = false;
};

}  // namespace

bool TVTRDataSet::BatchCopy(TDataSet& source, TVTRDataSet& dest, std::string& log, bool& continue_,
                            bool ignore_errors, bool match_by_id, const TVTRProgressEvent& on_progress,
                            int32_t min_percent, int32_t max_percent) {
  bool answer = true;
  source.CheckBrowseMode();
  int64_t record_no = 1;
  const int32_t span = max_percent - min_percent;
  const int64_t step = span != 0 ? std::max<int64_t>(source.RecordCount() / span + 1, 1) : 1;
  source.Refresh();
  SourcePosition position(source);
  source.First();
  while (!source.Eof()) {
    dest.Insert();
    for (int i = 0; i < source.FieldCount(); ++i) {
      TField* to = DestinationField(source, dest, i, match_by_id);
      if (to == nullptr) continue;
      TField& from = *source.Fields()[i];
      try {
        CopyValue(source, from, dest, *to);
      } catch (const std::exception& error) {
        log += Format("Error copying table. Record #%d, field '%s' was copied with Null value due to error: %s\r\n",
                      record_no, from.FieldName(), ExceptionMessageUtf8(error));
        CleaningUp([&] { to->Clear(); });
        if (!ignore_errors) throw;
        answer = false;
      }
    }
    try {
      dest.Post();
    } catch (const std::exception& error) {
      log += Format("Error copying table. Record #%d was not imported due to error: %s\r\n", record_no,
                    ExceptionMessageUtf8(error)) +
             "\r\n";
      if (!ignore_errors) {
        CleaningUp([&] { dest.Cancel(); });
        throw;
      }
      dest.Cancel();
      answer = false;
    }
    ++record_no;
    source.Next();
    if ((record_no - 2) % step != 0) continue;
    if (on_progress)
      on_progress(&source, ProgressPercent(record_no - 1, source.RecordCount(), min_percent, max_percent),
                  continue_);
    if (!continue_) {
      log += kTerminated;
      answer = false;
      break;
    }
  }
  position.Restore();
  return answer;
}
