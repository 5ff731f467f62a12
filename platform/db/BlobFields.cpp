#include "platform/db/BlobFields.h"

#include <fstream>
#include <iterator>

#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/Format.h"

std::unique_ptr<TStream> TBlobField::OpenBlob(TBlobStreamMode mode) const {
  if (DataSet() == nullptr) DatabaseError(Format(SDataSetMissing, DisplayName()));
  std::unique_ptr<TStream> stream = DataSet()->CreateBlobStream(const_cast<TBlobField*>(this), mode);
  if (!stream) DatabaseError(Format(SNoBlobStream, DisplayName()));
  return stream;
}

std::string TBlobField::ReadContent() const {
  if (IsNull()) return {};
  std::unique_ptr<TStream> stream = OpenBlob(bmRead);
  std::string bytes(static_cast<size_t>(stream->Size()), '\0');
  stream->SetPosition(0);
  stream->ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  return bytes;
}

void TBlobField::WriteContent(const std::string& bytes) {
  std::unique_ptr<TStream> stream = OpenBlob(bmWrite);
  stream->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

int64_t TBlobField::BlobSize() const {
  return IsNull() ? 0 : OpenBlob(bmRead)->Size();
}

void TBlobField::LoadFromStream(TStream& stream) {
  std::unique_ptr<TStream> blob = OpenBlob(bmWrite);
  const int64_t rest = stream.Size() - stream.Position();
  if (rest > 0) blob->CopyFrom(stream, rest);
}

void TBlobField::SaveToStream(TStream& stream) const {
  if (IsNull()) return;
  std::unique_ptr<TStream> blob = OpenBlob(bmRead);
  if (blob->Size() > 0) stream.CopyFrom(*blob, 0);
}

void TBlobField::LoadFromFile(const std::string& file_name) {
  std::ifstream file(file_name, std::ios::binary);
  if (!file) throw EStreamError(Format(SCannotOpenFile, file_name));
  WriteContent(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
}

void TBlobField::SaveToFile(const std::string& file_name) const {
  const std::string content = ReadContent();
  std::ofstream file(file_name, std::ios::binary | std::ios::trunc);
  if (!file || !file.write(content.data(), static_cast<std::streamsize>(content.size()))) {
    throw EStreamError(Format(SCannotCreateFile, file_name));
  }
}

std::string TBlobField::AsString() const {
  return ReadContent();
}

void TBlobField::SetAsString(const std::string& value) {
  WriteContent(value);
}

Variant TBlobField::Value() const {
  return IsNull() ? Variant::Null() : Variant(ReadContent());
}

void TBlobField::SetValue(const Variant& value) {
  if (value.IsEmptyOrNull()) {
    Clear();
  } else if (value.VarType() == (Variant::varArray | Variant::varByte)) {
    const auto& bytes = value.ByteArray();
    WriteContent(std::string(bytes.begin(), bytes.end()));
  } else {
    WriteContent(value.AsString());
  }
}

std::string TMemoField::AsString() const {
  return Codec().Decode(ReadContent());
}

void TMemoField::SetAsString(const std::string& value) {
  WriteContent(EncodeText(value));
}

Variant TMemoField::Value() const {
  return IsNull() ? Variant::Null() : Variant(AsString());
}

void TMemoField::SetValue(const Variant& value) {
  value.IsEmptyOrNull() ? Clear() : SetAsString(value.AsString());
}
