#pragma once
// BLOB fields: their content travels through the dataset's CreateBlobStream,
// never through a record buffer. A BLOB field's text is its raw bytes; a memo
// field's text is UTF-8 converted through the dataset's codec.
#include <memory>
#include <string>

#include "platform/db/Field.h"
#include "platform/rtl/Stream.h"

class TBlobField : public TField {
 public:
  explicit TBlobField(TComponent* owner) : TBlobField(owner, ftBlob) {}

  bool IsBlob() const override { return true; }
  int64_t BlobSize() const;
  // Replaces the content with the rest of `stream` from its position.
  void LoadFromStream(TStream& stream);
  // Appends the content to `stream` at its position.
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& file_name);
  void SaveToFile(const std::string& file_name) const;

  std::string AsString() const override;
  void SetAsString(const std::string& value) override;
  // The content as a byte string; null when null.
  Variant Value() const override;
  void SetValue(const Variant& value) override;

 protected:
  TBlobField(TComponent* owner, TFieldType type) : TField(owner, type) {}
  void CheckTypeSize(int size) const override {}
  // The raw content.
  std::string ReadContent() const;
  void WriteContent(const std::string& bytes);

 private:
  std::unique_ptr<TStream> OpenBlob(TBlobStreamMode mode) const;
};

class TGraphicField : public TBlobField {
 public:
  explicit TGraphicField(TComponent* owner) : TBlobField(owner, ftGraphic) {}
};

class TMemoField : public TBlobField {
 public:
  explicit TMemoField(TComponent* owner) : TBlobField(owner, ftMemo) {}

  std::string AsString() const override;
  void SetAsString(const std::string& value) override;
  Variant Value() const override;
  void SetValue(const Variant& value) override;

 protected:
  using TBlobField::TBlobField;
};

class TFmtMemoField : public TMemoField {
 public:
  explicit TFmtMemoField(TComponent* owner) : TMemoField(owner, ftFmtMemo) {}
};
