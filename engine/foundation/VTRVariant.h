#pragma once
// The engine's typed, nullable value: one value of a base data type in its
// storage format, in a buffer it owns (from the engine memory manager) or in
// a buffer it borrows from someone else. A typed value keeps its type: a value
// set from another type is converted on the way in, and read in another type
// converted on the way out.
//
// Stream image (part of the table metadata in the database file):
//   offset 0  u8   data type
//   offset 1  u8   null flag: 255 NULL, 0 a value
//   offset 2  i32  size in bytes (only when not NULL)
//   offset 6  size bytes of data (only when not NULL)
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/foundation/DataTypes.h"
#include "engine/foundation/DateConversion.h"
#include "engine/foundation/ValueCompare.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/Variant.h"

// Whether SetBuffer copies the caller's bytes or refers to them.
enum class TVTRBufferMode : uint8_t { Borrow, Copy };

// The options of TVTRVariant::Compare, in their order:
//   a.Compare(b, {.raw_result = true, .case_insensitive = true})
struct TVTRCompareFlags {
  bool raw_result = false;        // keep the NULL codes 3, 4 and 5
  bool case_insensitive = false;  // fold ASCII letters
  bool partial_key = false;       // texts count only the shorter one's characters
};

class TVTRVariant {
 public:
  explicit TVTRVariant(TVTRBaseDataType data_type = bdtUnknown) : data_type_(data_type) {}
  // Copies hold their own data.
  TVTRVariant(const TVTRVariant& other);
  TVTRVariant& operator=(const TVTRVariant& other);
  TVTRVariant(TVTRVariant&& other) noexcept;
  TVTRVariant& operator=(TVTRVariant&& other) noexcept;
  ~TVTRVariant();

  TVTRBaseDataType DataType() const { return data_type_; }
  // Bytes of the data; text types include the terminator.
  int32_t Size() const { return size_; }
  const uint8_t* Data() const { return data_; }
  bool IsBorrowed() const { return borrowed_; }

  // Releases owned data; afterwards NULL of the given type (or its own).
  void Clear(TVTRBaseDataType data_type);
  void Clear() { Clear(data_type_); }
  // Sets only the null flag; data and type stay.
  void SetNull() { null_ = true; }
  bool IsNull() const { return null_ || data_ == nullptr; }
  // Raises 30016 "Value is Null".
  void CheckNotNull() const;

  // A NULL value takes the type; otherwise CastTo, and a value that cannot be
  // converted becomes NULL of the new type.
  void SetDataType(TVTRBaseDataType data_type);
  // Converts the held value in place (the cast errors of ConvertValueBuffer).
  void CastTo(TVTRBaseDataType data_type);

  // Takes type and value of the source: an owned copy, or a reference to the
  // source's buffer (valid while the source keeps it).
  void Assign(const TVTRVariant& source, bool copy);
  // A value of `size` bytes in the storage format of `data_type`.
  void SetBuffer(const void* buffer, int32_t size, TVTRBaseDataType data_type, TVTRBufferMode mode);
  // False for NULL and for a text of size 1 or less (nothing copied); raises
  // 20056 when buffer_size is not -1 and below Size().
  bool CopyToBuffer(void* buffer, int32_t buffer_size) const;
  // Characters of a text value; -1 for NULL and other types.
  int32_t GetStringLength() const;

  bool IsNumeric() const { return IsNumericBaseType(data_type_); }
  bool IsString() const { return IsStringBaseType(data_type_); }
  bool IsWideString() const { return IsWideStringBaseType(data_type_); }
  bool IsBlob() const { return IsBlobBaseType(data_type_); }
  bool IsDateTime() const { return IsDateTimeBaseType(data_type_); }

  // Typed access. An untyped value takes the setter's type; a typed value
  // converts. Setting an empty text leaves the value NULL. Getters raise
  // 30016 on NULL.
  void SetAsString(std::string_view value);
  std::string GetAsString() const;
  void SetAsWideString(std::u16string_view value);
  std::u16string GetAsWideString() const;
  void SetAsShortInt(int8_t value);
  int8_t GetAsShortInt() const;
  void SetAsSmallInt(int16_t value);
  int16_t GetAsSmallInt() const;
  void SetAsInteger(int32_t value);
  int32_t GetAsInteger() const;
  void SetAsLargeInt(int64_t value);
  int64_t GetAsLargeInt() const;
  void SetAsByte(uint8_t value);
  uint8_t GetAsByte() const;
  void SetAsWord(uint16_t value);
  uint16_t GetAsWord() const;
  void SetAsCardinal(uint32_t value);
  uint32_t GetAsCardinal() const;
  void SetAsSingle(float value);
  float GetAsSingle() const;
  void SetAsDouble(double value);
  double GetAsDouble() const;
  void SetAsExtended(long double value);
  long double GetAsExtended() const;
  void SetAsDayNumber(int32_t value);
  int32_t GetAsDayNumber() const;
  void SetAsDate(TDateTime value);
  TDateTime GetAsDate() const;
  void SetAsMilliseconds(int32_t value);
  int32_t GetAsMilliseconds() const;
  void SetAsTime(TDateTime value);
  TDateTime GetAsTime() const;
  void SetAsTimeStamp(const TVTRTimeStamp& value);
  TVTRTimeStamp GetAsTimeStamp() const;
  void SetAsDateTime(TDateTime value);
  TDateTime GetAsDateTime() const;
  void SetAsLogical(bool value);
  bool GetAsLogical() const;
  void SetAsCurrency(double value);
  double GetAsCurrency() const;

  // `value` in the storage format of `value_type`; text types point at
  // zero-terminated text.
  void SetAsTyped(const void* value, TVTRBaseDataType value_type);

  // The class library's variant. String variants carry engine text (code page
  // 874 bytes) both ways; the data-access layer converts to and from UTF-8.
  // Raises 30113 for an unsupported variant type.
  void SetAsVariant(const Variant& value);
  // Raises 30114 for a type without a variant form (memo, wide memo, bytes).
  // A BLOB gives its content as a byte array.
  Variant GetAsVariant() const;

  // Arithmetic in the common type of both operands (GetCommonDataType without
  // the date preference). A NULL operand makes the result NULL, except that
  // adding NULL to a text leaves the text, and adding to NULL copies the other.
  void Negate();
  void Add(const TVTRVariant& other);
  void Multiply(const TVTRVariant& other);
  // Every failure but an engine error raises 30128 "Division error: %s".
  void Divide(const TVTRVariant& other);

  // 0 equal, 1 less, 2 greater; with raw_result also 3 (only self NULL),
  // 4 (only other NULL), 5 (both NULL), which otherwise count as 1, 2, 0.
  TVTRCompareResult Compare(const TVTRVariant& other, const TVTRCompareFlags& flags) const;

  // Short transfers raise the engine's stream errors 10179 to 10186.
  void SaveToStream(TStream& stream) const;
  void LoadFromStream(TStream& stream);

 private:
  TVTRValueRef Ref() const { return {data_, size_, data_type_, IsNull()}; }
  void TakeBuffer(uint8_t* data, int32_t size);
  // Copies the value, read as `wanted`, into `out` (sizeof_out bytes).
  void GetFixed(void* out, int32_t sizeof_out, TVTRBaseDataType wanted) const;
  enum class Operation : uint8_t;
  void Combine(const TVTRVariant& other, Operation operation);

  TVTRBaseDataType data_type_ = bdtUnknown;
  int32_t size_ = 0;
  uint8_t* data_ = nullptr;
  bool borrowed_ = false;
  bool null_ = true;
};

// A parameter of an SQL statement: a value with a name.
class TVTRSQLParam : public TVTRVariant {
 public:
  explicit TVTRSQLParam(TVTRBaseDataType data_type = bdtUnknown) : TVTRVariant(data_type) {}

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

 private:
  std::string name_;
};
