#include "engine/foundation/ValueCompare.h"

#include <cstring>
#include <string>
#include <string_view>

#include "engine/foundation/DateConversion.h"
#include "engine/foundation/ExtendedFloat.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/ValueConversion.h"
#include "engine/foundation/ValueText.h"
#include "platform/rtl/Collation.h"

namespace {

template <typename T>
T Load(const void* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

template <typename T>
TVTRCompareResult Order(T a, T b) {
  return a < b ? crLess : b < a ? crGreater : crEqual;
}

TVTRCompareResult FromSign(int sign) {
  return sign < 0 ? crLess : sign > 0 ? crGreater : crEqual;
}

std::string_view AnsiSide(const void* data, int32_t size, int32_t length) {
  const auto* text = static_cast<const char*>(data);
  size_t limit = size < 0 ? std::strlen(text) : strnlen(text, size);
  if (length >= 0 && static_cast<size_t>(length) < limit) limit = length;
  return {text, limit};
}

// Wide text read in place: its code units up to a zero unit, the known size
// or the counted length.
class WideSide {
 public:
  WideSide(const void* data, int32_t size, int32_t length) : bytes_(static_cast<const uint8_t*>(data)) {
    while ((size < 0 || static_cast<int32_t>(2 * units_ + 1) < size) &&
           (length < 0 || static_cast<int32_t>(units_) < length) && At(units_) != 0) {
      ++units_;
    }
  }
  size_t Units() const { return units_; }
  char16_t At(size_t i) const { return static_cast<char16_t>(bytes_[2 * i] | bytes_[2 * i + 1] << 8); }

 private:
  const uint8_t* bytes_;
  size_t units_ = 0;
};

char16_t FoldWide(char16_t c, bool ignore_case) {
  return ignore_case && c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

// The code page 874 form of wide text, a character the code page lacks
// standing in as byte 0xFF; texts of key size stay on the stack.
class ProjectedText {
 public:
  explicit ProjectedText(const WideSide& text) {
    char* target = stack_;
    if (text.Units() > sizeof stack_) {
      heap_.resize(text.Units());
      target = heap_.data();
    }
    for (size_t i = 0; i < text.Units(); ++i) {
      uint8_t byte;
      target[i] = WideCharToAnsi(text.At(i), byte) ? static_cast<char>(byte) : '\xFF';
    }
    view_ = {target, text.Units()};
  }
  ProjectedText(const ProjectedText&) = delete;
  ProjectedText& operator=(const ProjectedText&) = delete;
  std::string_view View() const { return view_; }

 private:
  char stack_[256];
  std::string heap_;
  std::string_view view_;
};

// Wide text orders by the collation of its code page 874 form, then by its
// code units: a strict order, equal only for equal text.
int CompareWide(const WideSide& a, const WideSide& b, bool ignore_case) {
  if (int r = CollateText(ProjectedText(a).View(), ProjectedText(b).View(), ignore_case)) return r;
  const size_t n = std::min(a.Units(), b.Units());
  for (size_t i = 0; i < n; ++i) {
    const char16_t ca = FoldWide(a.At(i), ignore_case), cb = FoldWide(b.At(i), ignore_case);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return (a.Units() > n) - (b.Units() > n);
}

}  // namespace

TVTRCompareResult CompareSameType(const void* a, int32_t size_a, const void* b, int32_t size_b,
                                  TVTRBaseDataType type, const TVTRCompareOptions& options) {
  // A fixed-size side must hold a whole value.
  if (!IsStringBaseType(type) && type >= bdtShortInt && type <= bdtCurrency && type != bdtBlob &&
      type != bdtMemo && type != bdtWideMemo) {
    const int32_t need = GetBaseTypeDataSize(type, 0);
    if ((size_a >= 0 && size_a < need) || (size_b >= 0 && size_b < need))
      throw EVTRException(30140, "Value is Null");
  }
  switch (type) {
    case bdtFixedChar:
    case bdtString:
      return FromSign(CollateText(AnsiSide(a, size_a, options.length), AnsiSide(b, size_b, options.length),
                                  options.case_insensitive));
    case bdtFixedWideChar:
    case bdtWideString:
      return FromSign(CompareWide(WideSide(a, size_a, options.length), WideSide(b, size_b, options.length),
                                  options.case_insensitive));
    case bdtShortInt:
      return Order(Load<int8_t>(a), Load<int8_t>(b));
    case bdtSmallInt:
      return Order(Load<int16_t>(a), Load<int16_t>(b));
    case bdtInteger:
    case bdtDate:
    case bdtTime:
      return Order(Load<int32_t>(a), Load<int32_t>(b));
    case bdtLargeInt:
      return Order(Load<int64_t>(a), Load<int64_t>(b));
    case bdtByte:
      return Order(Load<uint8_t>(a), Load<uint8_t>(b));
    case bdtWord:
      return Order(Load<uint16_t>(a), Load<uint16_t>(b));
    case bdtCardinal:
      return Order(Load<uint32_t>(a), Load<uint32_t>(b));
    case bdtSingle:
      return Order(Load<float>(a), Load<float>(b));
    case bdtDouble:
    case bdtCurrency:
      return Order(Load<double>(a), Load<double>(b));
    case bdtExtended:
      return Order(DecodeExtended(static_cast<const uint8_t*>(a)),
                   DecodeExtended(static_cast<const uint8_t*>(b)));
    case bdtDateTime: {
      const TVTRTimeStamp sa = ReadTimeStamp(a), sb = ReadTimeStamp(b);
      if (sa.date != sb.date) return Order(sa.date, sb.date);
      return Order(sa.time, sb.time);
    }
    case bdtLogical:
      return Order(Load<int16_t>(a) != 0, Load<int16_t>(b) != 0);
    default:
      throw EVTRException::CreateFmt(30047, "Unknown DataType: '%s'", GetBaseTypeName(type));
  }
}

TVTRCompareResult CompareValueBuffers(const TVTRValueRef& first, const TVTRValueRef& second,
                                      const TVTRCompareOptions& options) {
  if (first.is_null && second.is_null) return crBothNull;
  if (first.is_null) return crFirstNull;
  if (second.is_null) return crSecondNull;
  TVTRBaseDataType type = first.type;
  const void* a = first.data;
  const void* b = second.data;
  int32_t size_a = first.size, size_b = second.size;
  VTRBufferPtr converted_a, converted_b;
  if (first.type != second.type || first.type == bdtMemo) {
    type = GetCommonDataType(first.type, second.type, true);
    if (type == bdtUnknown)
      throw EVTRException::CreateFmt(30044, "Cannot compare Incompatible DataTypes: '%s' and '%s'",
                                     GetBaseTypeName(first.type), GetBaseTypeName(second.type));
    auto convert = [type](const TVTRValueRef& side, const void*& data, int32_t& size, VTRBufferPtr& owner) {
      if (side.type == type || !side.data) return;
      TVTRValueBuffer buffer = ConvertValueBuffer(side.data, side.size, side.type, type);
      owner = std::move(buffer.data);
      data = owner.get();
      size = buffer.size;
    };
    convert(first, a, size_a, converted_a);
    convert(second, b, size_b, converted_b);
  }
  if (!a || !b) throw EVTRException(30140, "Value is Null");
  return CompareSameType(a, size_a, b, size_b, type, options);
}

int CompareValueBuffersSign(const TVTRValueRef& first, const TVTRValueRef& second,
                            const TVTRCompareOptions& options) {
  switch (CompareValueBuffers(first, second, options)) {
    case crLess:
    case crFirstNull:
      return -1;
    case crGreater:
    case crSecondNull:
      return 1;
    default:
      return 0;
  }
}
