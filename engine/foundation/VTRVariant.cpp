#include "engine/foundation/VTRVariant.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "engine/foundation/ExtendedFloat.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRMemory.h"
#include "engine/foundation/ValueConversion.h"
#include "engine/foundation/stream/VTRStreamChecks.h"
#include "platform/rtl/ArithmeticError.h"

namespace {

int64_t LoadInteger(const uint8_t* p, TVTRBaseDataType type) {
  switch (type) {
    case bdtShortInt:
      return static_cast<int8_t>(p[0]);
    case bdtByte:
      return p[0];
    case bdtSmallInt: {
      int16_t v;
      std::memcpy(&v, p, 2);
      return v;
    }
    case bdtWord: {
      uint16_t v;
      std::memcpy(&v, p, 2);
      return v;
    }
    case bdtCardinal: {
      uint32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
    case bdtLargeInt: {
      int64_t v;
      std::memcpy(&v, p, 8);
      return v;
    }
    default: {
      int32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
  }
}

// Wrapping arithmetic without signed overflow.
int64_t WrapAdd(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}
int64_t WrapMul(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b));
}
int32_t Wrap32(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

bool IsUnsigned(TVTRBaseDataType type) {
  return type == bdtByte || type == bdtWord || type == bdtCardinal;
}

// Truncating signed quotient; the result must fit `bits`.
int64_t SignedQuotient(int64_t a, int64_t b, int bits) {
  if (b == 0) throw EDivByZero();
  if (bits == 64 && a == std::numeric_limits<int64_t>::min() && b == -1) throw EIntOverflow();
  const int64_t q = a / b;
  if (bits == 32 && (q < std::numeric_limits<int32_t>::min() || q > std::numeric_limits<int32_t>::max()))
    throw EIntOverflow();
  return q;
}

template <typename T>
T CheckedFloat(T result, T a, T b) {
  if (std::isinf(result) && std::isfinite(a) && std::isfinite(b)) throw EOverflow();
  return result;
}

template <typename T>
T FloatQuotient(T a, T b) {
  if (b == 0) {
    if (a == 0 || std::isnan(a)) throw EInvalidOp();
    throw EZeroDivide();
  }
  return CheckedFloat<T>(a / b, a, b);
}

void CarryDays(TVTRTimeStamp& stamp) {
  if (stamp.time >= kMSecsPerDay) {
    stamp.date = Wrap32(int64_t{stamp.date} + stamp.time / kMSecsPerDay);
    stamp.time %= kMSecsPerDay;
  }
}

}  // namespace

enum class TVTRVariant::Operation : uint8_t { Add, Multiply, Divide };

TVTRVariant::TVTRVariant(const TVTRVariant& other) : data_type_(other.data_type_) {
  Assign(other, true);
}

TVTRVariant& TVTRVariant::operator=(const TVTRVariant& other) {
  Assign(other, true);
  return *this;
}

TVTRVariant::TVTRVariant(TVTRVariant&& other) noexcept
    : data_type_(other.data_type_),
      size_(std::exchange(other.size_, 0)),
      data_(std::exchange(other.data_, nullptr)),
      borrowed_(std::exchange(other.borrowed_, false)),
      null_(std::exchange(other.null_, true)) {}

TVTRVariant& TVTRVariant::operator=(TVTRVariant&& other) noexcept {
  if (this != &other) {
    TVTRVariant taken(std::move(other));
    std::swap(data_type_, taken.data_type_);
    std::swap(size_, taken.size_);
    std::swap(data_, taken.data_);
    std::swap(borrowed_, taken.borrowed_);
    std::swap(null_, taken.null_);
  }
  return *this;
}

TVTRVariant::~TVTRVariant() {
  if (data_ && !borrowed_) VTRMemoryDeleter()(data_);
}

void TVTRVariant::Clear(TVTRBaseDataType data_type) {
  if (data_ && !borrowed_) VTRMemoryDeleter()(data_);
  data_ = nullptr;
  data_type_ = data_type;
  size_ = 0;
  borrowed_ = false;
  null_ = true;
}

void TVTRVariant::TakeBuffer(uint8_t* data, int32_t size) {
  if (data_ && !borrowed_) VTRMemoryDeleter()(data_);
  data_ = data;
  size_ = size;
  borrowed_ = false;
  null_ = data == nullptr;
}

void TVTRVariant::CheckNotNull() const {
  if (IsNull()) throw EVTRException(30016, "Value is Null");
}

void TVTRVariant::SetDataType(TVTRBaseDataType data_type) {
  if (IsNull()) {
    Clear(data_type);
    return;
  }
  try {
    CastTo(data_type);
  } catch (...) {
    // A value that the new type cannot hold becomes null of that type.
    Clear(data_type);
  }
}

void TVTRVariant::CastTo(TVTRBaseDataType data_type) {
  if (data_type == data_type_) return;
  if (IsNull()) {
    Clear(data_type);
    return;
  }
  if (data_type_ == bdtMemo && data_type == bdtString) {
    // The memo's bytes become text by gaining a terminator.
    VTRBufferPtr text(static_cast<uint8_t*>(EngineMemoryManager().GetMem(size_ + 1)));
    std::memcpy(text.get(), data_, size_);
    text.get()[size_] = 0;
    TakeBuffer(text.release(), size_ + 1);
  } else {
    TVTRValueBuffer converted = ConvertValueBuffer(data_, size_, data_type_, data_type);
    TakeBuffer(converted.data.release(), converted.size);
  }
  data_type_ = data_type;
}

void TVTRVariant::Assign(const TVTRVariant& source, bool copy) {
  if (&source == this) return;
  Clear(source.data_type_);
  if (source.IsNull()) return;
  if (copy) {
    VTRBufferPtr data(static_cast<uint8_t*>(EngineMemoryManager().GetMem(source.size_)));
    std::memcpy(data.get(), source.data_, source.size_);
    TakeBuffer(data.release(), source.size_);
  } else {
    data_ = source.data_;
    size_ = source.size_;
    borrowed_ = true;
    null_ = false;
  }
}

void TVTRVariant::SetBuffer(const void* buffer, int32_t size, TVTRBaseDataType data_type,
                            TVTRBufferMode mode) {
  if (mode == TVTRBufferMode::Borrow || size <= 0 || !buffer) {
    Clear(data_type);
    if (mode == TVTRBufferMode::Borrow && buffer && size > 0) {
      data_ = static_cast<uint8_t*>(const_cast<void*>(buffer));
      size_ = size;
      borrowed_ = true;
      null_ = false;
    }
    return;
  }
  if (!(data_ && !borrowed_ && size_ == size)) {
    VTRBufferPtr data(static_cast<uint8_t*>(EngineMemoryManager().GetMem(size)));
    std::memcpy(data.get(), buffer, size);
    TakeBuffer(data.release(), size);
  } else {
    std::memmove(data_, buffer, size);
    null_ = false;
  }
  data_type_ = data_type;
}

bool TVTRVariant::CopyToBuffer(void* buffer, int32_t buffer_size) const {
  if (IsNull()) return false;
  if (buffer_size != -1 && buffer_size < size_) throw EVTRException(20056, "Buffer size exceeded");
  if (IsString() && size_ <= 1) return false;
  std::memcpy(buffer, data_, size_);
  return true;
}

int32_t TVTRVariant::GetStringLength() const {
  if (IsNull() || !IsString()) return -1;
  return IsWideString() ? size_ / 2 - 1 : size_ - 1;
}

void TVTRVariant::SetAsTyped(const void* value, TVTRBaseDataType value_type) {
  const bool text = IsStringBaseType(value_type);
  const int32_t fixed_size = text ? -1 : GetBaseTypeDataSize(value_type, 0);
  if (data_type_ == value_type && data_ && !IsString() && !borrowed_ && size_ == fixed_size) {
    std::memcpy(data_, value, size_);
    null_ = false;
    return;
  }
  if (data_) Clear();
  if (data_type_ == bdtUnknown) data_type_ = value_type;
  const auto* bytes = static_cast<const uint8_t*>(value);
  const bool empty_text = text && bytes[0] == 0 && (!IsWideStringBaseType(value_type) || bytes[1] == 0);
  if (empty_text) return;
  TVTRValueBuffer buffer = data_type_ == value_type
                               ? CopyValueToNewBuffer(value_type, value)
                               : ConvertValueBuffer(value, fixed_size, value_type, data_type_);
  TakeBuffer(buffer.data.release(), buffer.size);
}

void TVTRVariant::GetFixed(void* out, int32_t sizeof_out, TVTRBaseDataType wanted) const {
  CheckNotNull();
  if (data_type_ == wanted && size_ >= sizeof_out) {
    std::memcpy(out, data_, sizeof_out);
    return;
  }
  const TVTRValueBuffer converted = ConvertValueBuffer(data_, size_, data_type_, wanted);
  std::memcpy(out, converted.data.get(), sizeof_out);
}

void TVTRVariant::SetAsString(std::string_view value) {
  const std::string text(value);
  SetAsTyped(text.c_str(), bdtString);
}

std::string TVTRVariant::GetAsString() const {
  CheckNotNull();
  if (data_type_ == bdtString || data_type_ == bdtFixedChar) {
    const auto* text = reinterpret_cast<const char*>(data_);
    return std::string(text, strnlen(text, size_));
  }
  const TVTRValueBuffer converted = ConvertValueBuffer(data_, size_, data_type_, bdtString);
  return std::string(reinterpret_cast<const char*>(converted.data.get()), converted.size - 1);
}

void TVTRVariant::SetAsWideString(std::u16string_view value) {
  const std::u16string text(value);
  SetAsTyped(text.c_str(), bdtWideString);
}

std::u16string TVTRVariant::GetAsWideString() const {
  CheckNotNull();
  const uint8_t* bytes = data_;
  int32_t size = size_;
  TVTRValueBuffer converted;
  if (!IsWideString()) {
    converted = ConvertValueBuffer(data_, size_, data_type_, bdtWideString);
    bytes = converted.data.get();
    size = converted.size;
  }
  std::u16string text;
  for (int32_t i = 0; i + 1 < size; i += 2) {
    const auto c = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

#define VTR_FIXED_ACCESSORS(Name, Type, BaseType) \
  void TVTRVariant::SetAs##Name(Type value) {     \
    SetAsTyped(&value, BaseType);                 \
  }                                               \
  Type TVTRVariant::GetAs##Name() const {         \
    Type value;                                   \
    GetFixed(&value, sizeof value, BaseType);     \
    return value;                                 \
  }

VTR_FIXED_ACCESSORS(ShortInt, int8_t, bdtShortInt)
VTR_FIXED_ACCESSORS(SmallInt, int16_t, bdtSmallInt)
VTR_FIXED_ACCESSORS(Integer, int32_t, bdtInteger)
VTR_FIXED_ACCESSORS(LargeInt, int64_t, bdtLargeInt)
VTR_FIXED_ACCESSORS(Byte, uint8_t, bdtByte)
VTR_FIXED_ACCESSORS(Word, uint16_t, bdtWord)
VTR_FIXED_ACCESSORS(Cardinal, uint32_t, bdtCardinal)
VTR_FIXED_ACCESSORS(Single, float, bdtSingle)
VTR_FIXED_ACCESSORS(Double, double, bdtDouble)
VTR_FIXED_ACCESSORS(DayNumber, int32_t, bdtDate)
VTR_FIXED_ACCESSORS(Milliseconds, int32_t, bdtTime)
VTR_FIXED_ACCESSORS(Currency, double, bdtCurrency)
#undef VTR_FIXED_ACCESSORS

void TVTRVariant::SetAsExtended(long double value) {
  uint8_t image[kExtendedSize];
  EncodeExtended(value, image);
  SetAsTyped(image, bdtExtended);
}

long double TVTRVariant::GetAsExtended() const {
  uint8_t image[kExtendedSize];
  GetFixed(image, kExtendedSize, bdtExtended);
  return DecodeExtended(image);
}

void TVTRVariant::SetAsDate(TDateTime value) {
  SetAsDayNumber(DateTimeToDayNumber(value));
}
TDateTime TVTRVariant::GetAsDate() const {
  return DayNumberToDateTime(GetAsDayNumber());
}
void TVTRVariant::SetAsTime(TDateTime value) {
  SetAsMilliseconds(TimeToMilliseconds(value));
}
TDateTime TVTRVariant::GetAsTime() const {
  return MillisecondsToTime(GetAsMilliseconds());
}

void TVTRVariant::SetAsTimeStamp(const TVTRTimeStamp& value) {
  uint8_t image[kTimeStampSize];
  WriteTimeStamp(value, image);
  SetAsTyped(image, bdtDateTime);
}

TVTRTimeStamp TVTRVariant::GetAsTimeStamp() const {
  uint8_t image[kTimeStampSize];
  GetFixed(image, kTimeStampSize, bdtDateTime);
  return ReadTimeStamp(image);
}

void TVTRVariant::SetAsDateTime(TDateTime value) {
  SetAsTimeStamp(DateTimeToTimeStamp(value));
}
TDateTime TVTRVariant::GetAsDateTime() const {
  return TimeStampToDateTime(GetAsTimeStamp());
}

void TVTRVariant::SetAsLogical(bool value) {
  const int16_t stored = value ? -1 : 0;
  SetAsTyped(&stored, bdtLogical);
}

bool TVTRVariant::GetAsLogical() const {
  int16_t stored;
  GetFixed(&stored, sizeof stored, bdtLogical);
  return stored != 0;
}

void TVTRVariant::SetAsVariant(const Variant& value) {
  const uint16_t type = value.VarType();
  switch (type) {
    case Variant::varEmpty:
    case Variant::varNull:
      SetNull();
      return;
    case Variant::varSmallint:
      SetAsSmallInt(static_cast<int16_t>(value.AsInt64()));
      return;
    case Variant::varInteger:
      SetAsInteger(static_cast<int32_t>(value.AsInt64()));
      return;
    case Variant::varSingle:
      SetAsSingle(static_cast<float>(value.AsDouble()));
      return;
    case Variant::varDouble:
      SetAsDouble(value.AsDouble());
      return;
    case Variant::varCurrency:
      SetAsCurrency(value.AsDouble());
      return;
    case Variant::varDate:
      SetAsDateTime(value.AsDateTime());
      return;
    case Variant::varOleStr:
      SetAsWideString(value.AsWideString());
      return;
    case Variant::varBoolean:
      SetAsLogical(value.AsBoolean());
      return;
    case Variant::varShortInt:
      SetAsShortInt(static_cast<int8_t>(value.AsInt64()));
      return;
    case Variant::varByte:
      SetAsByte(static_cast<uint8_t>(value.AsInt64()));
      return;
    case Variant::varWord:
      SetAsWord(static_cast<uint16_t>(value.AsInt64()));
      return;
    case Variant::varLongWord:
      SetAsCardinal(static_cast<uint32_t>(value.AsInt64()));
      return;
    case Variant::varInt64:
      SetAsLargeInt(value.AsInt64());
      return;
    default:
      if (type >= 256 && type <= 287) {
        SetAsString(value.AsString());
        return;
      }
      throw EVTRException::CreateFmt(30113, "Unsupported Variant Type %s", std::to_string(type));
  }
}

Variant TVTRVariant::GetAsVariant() const {
  if (IsNull()) return Variant::Null();
  switch (data_type_) {
    case bdtFixedChar:
    case bdtString:
      return Variant(GetAsString());
    case bdtFixedWideChar:
    case bdtWideString:
      return Variant(GetAsWideString());
    case bdtShortInt:
      return Variant::ShortInt(GetAsShortInt());
    case bdtSmallInt:
      return Variant::SmallInt(GetAsSmallInt());
    case bdtInteger:
      return Variant(GetAsInteger());
    case bdtLargeInt:
      return Variant(GetAsLargeInt());
    case bdtByte:
      return Variant::Byte(GetAsByte());
    case bdtWord:
      return Variant::Word(GetAsWord());
    case bdtCardinal:
      return Variant::LongWord(GetAsCardinal());
    case bdtSingle:
    case bdtDouble:
    case bdtExtended:
    case bdtCurrency:
      return Variant(GetAsDouble());
    case bdtDate:
      return Variant(GetAsDate());
    case bdtTime:
      return Variant(GetAsTime());
    case bdtDateTime:
      return Variant::Date(GetAsDateTime());
    case bdtBlob:
      return Variant::Bytes(std::vector<uint8_t>(data_, data_ + size_));
    case bdtLogical:
      return Variant(GetAsLogical());
    default:
      throw EVTRException::CreateFmt(30114, "Unsupported Variant Type %s", GetBaseTypeName(data_type_));
  }
}

void TVTRVariant::Negate() {
  if (IsNull()) return;
  switch (data_type_) {
    case bdtShortInt:
      SetAsShortInt(static_cast<int8_t>(-int32_t{GetAsShortInt()}));
      return;
    case bdtSmallInt:
      SetAsSmallInt(static_cast<int16_t>(-int32_t{GetAsSmallInt()}));
      return;
    case bdtInteger:
    case bdtDate: {
      int32_t value;
      GetFixed(&value, sizeof value, data_type_);
      if (value == std::numeric_limits<int32_t>::min()) throw EIntOverflow();
      value = -value;
      SetAsTyped(&value, data_type_);
      return;
    }
    case bdtLargeInt: {
      const int64_t value = GetAsLargeInt();
      if (value == std::numeric_limits<int64_t>::min()) throw EIntOverflow();
      SetAsLargeInt(-value);
      return;
    }
    case bdtByte:
      SetAsByte(static_cast<uint8_t>(-GetAsByte()));
      return;
    case bdtWord:
      SetAsWord(static_cast<uint16_t>(-GetAsWord()));
      return;
    case bdtCardinal:
      if (GetAsCardinal() != 0) throw EIntOverflow();
      return;
    case bdtSingle:
      SetAsSingle(-GetAsSingle());
      return;
    case bdtDouble:
      SetAsDouble(-GetAsDouble());
      return;
    case bdtExtended:
      SetAsExtended(-GetAsExtended());
      return;
    case bdtCurrency:
      SetAsCurrency(-GetAsCurrency());
      return;
    case bdtLogical:
      SetAsLogical(!GetAsLogical());
      return;
    default:
      throw EVTRException::CreateFmt(30123, "Cannot invert value with not numeric type '%s'",
                                     GetBaseTypeName(data_type_));
  }
}

void TVTRVariant::Add(const TVTRVariant& other) {
  Combine(other, Operation::Add);
}
void TVTRVariant::Multiply(const TVTRVariant& other) {
  Combine(other, Operation::Multiply);
}

void TVTRVariant::Divide(const TVTRVariant& other) {
  try {
    Combine(other, Operation::Divide);
  } catch (const EVTRException&) {
    throw;
  } catch (const Exception& e) {
    throw EVTRException::CreateFmt(30128, "Division error: %s", e.Message());
  } catch (const std::exception& e) {
    throw EVTRException::CreateFmt(30128, "Division error: %s", std::string(e.what()));
  }
}

void TVTRVariant::Combine(const TVTRVariant& other, Operation operation) {
  const bool add = operation == Operation::Add;
  if (other.IsNull()) {
    if (!(add && IsString())) SetNull();
    return;
  }
  if (IsNull()) {
    if (add) Assign(other, true);
    return;
  }
  const int32_t error_code = add ? 30124 : operation == Operation::Multiply ? 30126 : 30127;
  const char* symbol = add ? "+" : operation == Operation::Multiply ? "*" : "/";
  auto not_numeric = [&] {
    return EVTRException::CreateFmt(error_code, "Not numeric argument in numeric operator '%s'", symbol);
  };
  const TVTRBaseDataType common = GetCommonDataType(data_type_, other.data_type_, false);
  if (common == bdtUnknown) throw not_numeric();
  CastTo(common);
  switch (common) {
    case bdtFixedChar:
    case bdtString:
      if (!add) throw not_numeric();
      SetAsString(GetAsString() + other.GetAsString());
      return;
    case bdtFixedWideChar:
    case bdtWideString:
      if (!add) throw not_numeric();
      SetAsWideString(GetAsWideString() + other.GetAsWideString());
      return;
    case bdtShortInt:
    case bdtSmallInt:
    case bdtInteger:
    case bdtLargeInt:
    case bdtByte:
    case bdtWord:
    case bdtCardinal:
    case bdtDate:
    case bdtTime: {
      uint8_t own[8], theirs[8];
      const int32_t width = GetBaseTypeDataSize(common, 0);
      GetFixed(own, width, common);
      other.GetFixed(theirs, width, common);
      const TVTRBaseDataType load_as = common == bdtDate || common == bdtTime ? bdtInteger : common;
      const int64_t a = LoadInteger(own, load_as), b = LoadInteger(theirs, load_as);
      int64_t result;
      if (add) {
        result = WrapAdd(a, b);
      } else if (operation == Operation::Multiply) {
        result = WrapMul(a, b);
      } else if (IsUnsigned(common)) {
        if (b == 0) throw EDivByZero();
        result = static_cast<int64_t>(static_cast<uint64_t>(a) / static_cast<uint64_t>(b));
      } else {
        // Shortint and smallint divide in 32 bits and are cut back, as -128 / -1 stays -128.
        const int bits = common == bdtLargeInt                            ? 64
                         : common == bdtShortInt || common == bdtSmallInt ? 16
                                                                          : 32;
        result = SignedQuotient(a, b, bits);
      }
      // Little-endian: the low bytes of the result are the value in its width.
      uint8_t image[8];
      for (int i = 0; i < 8; ++i) image[i] = static_cast<uint8_t>(static_cast<uint64_t>(result) >> (8 * i));
      SetAsTyped(image, common);
      return;
    }
    case bdtSingle: {
      const float a = GetAsSingle(), b = other.GetAsSingle();
      SetAsSingle(add                                ? CheckedFloat(a + b, a, b)
                  : operation == Operation::Multiply ? CheckedFloat(a * b, a, b)
                                                     : FloatQuotient(a, b));
      return;
    }
    case bdtDouble:
    case bdtCurrency: {
      double a, b;
      GetFixed(&a, sizeof a, common);
      other.GetFixed(&b, sizeof b, common);
      const double r = add                                ? CheckedFloat(a + b, a, b)
                       : operation == Operation::Multiply ? CheckedFloat(a * b, a, b)
                                                          : FloatQuotient(a, b);
      SetAsTyped(&r, common);
      return;
    }
    case bdtExtended: {
      const long double a = GetAsExtended(), b = other.GetAsExtended();
      SetAsExtended(add                                ? CheckedFloat(a + b, a, b)
                    : operation == Operation::Multiply ? CheckedFloat(a * b, a, b)
                                                       : FloatQuotient(a, b));
      return;
    }
    case bdtDateTime: {
      TVTRTimeStamp a = GetAsTimeStamp();
      const TVTRTimeStamp b = other.GetAsTimeStamp();
      if (add) {
        a = {Wrap32(int64_t{a.date} + b.date), Wrap32(int64_t{a.time} + b.time)};
      } else if (operation == Operation::Multiply) {
        a = {Wrap32(WrapMul(a.date, b.date)), Wrap32(WrapMul(a.time, b.time))};
      } else {
        a = {static_cast<int32_t>(SignedQuotient(a.date, b.date, 32)),
             static_cast<int32_t>(SignedQuotient(a.time, b.time, 32))};
      }
      CarryDays(a);
      SetAsTimeStamp(a);
      return;
    }
    case bdtLogical:
      SetAsLogical(GetAsLogical() || other.GetAsLogical());
      return;
    default:
      throw not_numeric();
  }
}

TVTRCompareResult TVTRVariant::Compare(const TVTRVariant& other, const TVTRCompareFlags& flags) const {
  TVTRCompareOptions options;
  options.case_insensitive = flags.case_insensitive;
  if (flags.partial_key) options.length = std::min(GetStringLength(), other.GetStringLength());
  const TVTRCompareResult result = CompareValueBuffers(Ref(), other.Ref(), options);
  if (flags.raw_result) return result;
  switch (result) {
    case crFirstNull:
      return crLess;
    case crSecondNull:
      return crGreater;
    case crBothNull:
      return crEqual;
    default:
      return result;
  }
}

void TVTRVariant::SaveToStream(TStream& stream) const {
  const uint8_t type = data_type_;
  const uint8_t null_flag = IsNull() ? 255 : 0;
  WriteStreamChecked(&type, 1, stream, 10179);
  WriteStreamChecked(&null_flag, 1, stream, 10180);
  if (null_flag) return;
  uint8_t size[4];
  for (int i = 0; i < 4; ++i) size[i] = static_cast<uint8_t>(static_cast<uint32_t>(size_) >> (8 * i));
  WriteStreamChecked(size, 4, stream, 10181);
  WriteStreamChecked(data_, size_, stream, 10182);
}

void TVTRVariant::LoadFromStream(TStream& stream) {
  Clear(bdtUnknown);
  uint8_t type, null_flag, size_image[4];
  ReadStreamChecked(&type, 1, stream, 10183);
  data_type_ = static_cast<TVTRBaseDataType>(type);
  ReadStreamChecked(&null_flag, 1, stream, 10184);
  if (null_flag) return;
  ReadStreamChecked(size_image, 4, stream, 10185);
  uint32_t size = 0;
  for (int i = 3; i >= 0; --i) size = size << 8 | size_image[i];
  // A damaged size must not allocate more than the stream can deliver.
  const int64_t left = stream.Size() - stream.Position();
  if (size == 0 || size > static_cast<uint64_t>(std::max<int64_t>(left, 0)))
    throw EVTRException::CreateFmt(
        10186, "Cannot read from stream. Position = %d, Stream size = %d, Block size = %d, Bytes Read = %d",
        stream.Position(), stream.Size(), static_cast<int32_t>(size), 0);
  VTRBufferPtr data(static_cast<uint8_t*>(EngineMemoryManager().GetMem(static_cast<int32_t>(size))));
  ReadStreamChecked(data.get(), static_cast<int32_t>(size), stream, 10186);
  TakeBuffer(data.release(), static_cast<int32_t>(size));
}
