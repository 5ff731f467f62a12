// Key comparison in place on the stored key bytes, against the engine's
// general value comparison as the reference: every key type, both text
// collations, nulls, descending columns and keys of two columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "engine/foundation/ExtendedFloat.h"
#include "engine/foundation/ValueCompare.h"
#include "engine/storage/btree/RecordKeyRef.h"
#include "tests/engine/storage/btree/BTreeTestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Sample = std::optional<Bytes>;  // nullopt: null

template <typename T>
Bytes Raw(T value) {
  Bytes bytes(sizeof value);
  std::memcpy(bytes.data(), &value, sizeof value);
  return bytes;
}

Bytes Text(const std::string& text) {
  return {text.begin(), text.end()};
}

Bytes Wide(const std::u16string& text) {
  Bytes bytes;
  for (const char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

Bytes Extended(long double value) {
  Bytes bytes(10);
  EncodeExtended(value, bytes.data());
  return bytes;
}

Bytes TimeStamp(int32_t date, int32_t time) {
  Bytes bytes = Raw(date), rest = Raw(time);
  bytes.insert(bytes.end(), rest.begin(), rest.end());
  return bytes;
}

struct TypeSamples {
  TVTRBaseDataType type;
  int32_t size;  // bytes of the field
  std::vector<Sample> values;
};

// Mixed ASCII and Thai (code page 874): case, punctuation, leading vowels,
// tone marks, and a text that fills its field.
const std::vector<Sample> kTexts = {
    std::nullopt,     Text(""),         Text("a"),           Text("A"),         Text("ab"),
    Text("a-b"),      Text("ab "),      Text("Zebra"),       Text("zebra"),     Text("10"),
    Text("9"),        Text("\xA1"),     Text("\xA1\xD2"),    Text("\xE0\xA1"),  Text("\xA1\xE8\xD2"),
    Text("\xA2"),     Text("a\xA1"),    Text("\xA1" "a"),    Text("ABCDEFGHIJK"),
};
const std::vector<Sample> kWideTexts = {
    std::nullopt,   Wide(u""),        Wide(u"a"),       Wide(u"A"),          Wide(u"ab"),
    Wide(u"a-b"),   Wide(u"Zebra"),   Wide(u"zebra"),   Wide(u"\u0E01"),     Wide(u"\u0E40\u0E01"),
    Wide(u"\u0E02"), Wide(u"\u0E01\u0E32"), Wide(u"\u20AC"), Wide(u"a\u0E01"), Wide(u"ABCDEFGHIJK"),
};

const std::vector<TypeSamples>& AllTypes() {
  static const std::vector<TypeSamples> types = {
      {bdtShortInt, 1, {std::nullopt, Raw<int8_t>(-128), Raw<int8_t>(-1), Raw<int8_t>(0), Raw<int8_t>(127)}},
      {bdtSmallInt, 2, {std::nullopt, Raw<int16_t>(-300), Raw<int16_t>(0), Raw<int16_t>(255), Raw<int16_t>(256)}},
      {bdtInteger, 4, {std::nullopt, Raw<int32_t>(INT32_MIN), Raw<int32_t>(-1), Raw<int32_t>(0), Raw<int32_t>(1 << 24)}},
      {bdtLargeInt, 8, {std::nullopt, Raw<int64_t>(INT64_MIN), Raw<int64_t>(-1), Raw<int64_t>(1), Raw<int64_t>(1LL << 40)}},
      {bdtByte, 1, {std::nullopt, Raw<uint8_t>(0), Raw<uint8_t>(127), Raw<uint8_t>(128), Raw<uint8_t>(255)}},
      {bdtWord, 2, {std::nullopt, Raw<uint16_t>(0), Raw<uint16_t>(255), Raw<uint16_t>(256), Raw<uint16_t>(65535)}},
      {bdtCardinal, 4, {std::nullopt, Raw<uint32_t>(0), Raw<uint32_t>(1), Raw<uint32_t>(0x80000000u), Raw<uint32_t>(~0u)}},
      {bdtSingle, 4, {std::nullopt, Raw(-2.5f), Raw(-0.0f), Raw(0.0f), Raw(1e-3f), Raw(3e30f)}},
      {bdtDouble, 8, {std::nullopt, Raw(-1e300), Raw(-0.5), Raw(0.0), Raw(0.1), Raw(0.30000000000000004)}},
      {bdtCurrency, 8, {std::nullopt, Raw(-10.25), Raw(0.0), Raw(10.25), Raw(10.26)}},
      {bdtExtended, 10, {std::nullopt, Extended(-1e10L), Extended(0.0L), Extended(0.1L), Extended(1e10L)}},
      {bdtDate, 4, {std::nullopt, Raw<int32_t>(1), Raw<int32_t>(730000), Raw<int32_t>(730001)}},
      {bdtTime, 4, {std::nullopt, Raw<int32_t>(0), Raw<int32_t>(1000), Raw<int32_t>(86399999)}},
      {bdtDateTime, 8, {std::nullopt, TimeStamp(730000, 5), TimeStamp(730000, 6), TimeStamp(730001, 0)}},
      {bdtLogical, 2, {std::nullopt, Raw<int16_t>(0), Raw<int16_t>(1), Raw<int16_t>(-1)}},
      {bdtString, 12, kTexts},
      {bdtFixedChar, 12, kTexts},
      {bdtWideString, 24, kWideTexts},
      {bdtFixedWideChar, 24, kWideTexts},
  };
  return types;
}

// A record buffer of one or two fields: the null flags, then each field's bytes.
struct Layout {
  std::vector<int32_t> sizes;

  int32_t Offset(size_t field) const {
    int32_t offset = 1;
    for (size_t i = 0; i < field; ++i) offset += sizes[i];
    return offset;
  }
  Bytes Record(const std::vector<Sample>& values) const {
    Bytes record(static_cast<size_t>(Offset(sizes.size())), 0);
    for (size_t i = 0; i < values.size(); ++i) {
      if (!values[i]) {
        record[0] |= static_cast<uint8_t>(1u << i);
      } else {
        std::copy(values[i]->begin(), values[i]->end(), record.begin() + Offset(i));
      }
    }
    return record;
  }
};

struct Column {
  TVTRBaseDataType type;
  bool descending;
  bool case_insensitive;
};

// The reference: the general comparison of the two fields' values, nulls
// first, reversed for a descending column.
int Reference(const Column& column, int32_t size, const Sample& a, const Sample& b) {
  Bytes field_a(static_cast<size_t>(size), 0), field_b(static_cast<size_t>(size), 0);
  if (a) std::copy(a->begin(), a->end(), field_a.begin());
  if (b) std::copy(b->begin(), b->end(), field_b.begin());
  const int r = CompareValueBuffersSign({field_a.data(), size, column.type, !a}, {field_b.data(), size, column.type, !b},
                                        {column.case_insensitive, -1});
  return column.descending ? -r : r;
}

int CompareRecords(TVTRRecordKeyRef& key_ref, const Bytes& a, const Bytes& b) {
  VTRBufferPtr key_a = key_ref.AllocKey(), key_b = key_ref.AllocKey();
  key_ref.BuildKey(a.data(), key_a.get());
  key_ref.BuildKey(b.data(), key_b.get());
  return key_ref.CompareKeys(key_a.get(), key_b.get(), false, 0, nullptr, nullptr);
}

void AddColumn(TVTRRecordKeyRef& key_ref, const Layout& layout, size_t field, const Column& column) {
  key_ref.AddColumn(static_cast<uint32_t>(field), layout.Offset(field), layout.sizes[field], column.type, 1 << 20,
                    column.descending, column.case_insensitive);
}

TEST(KeyComparison, EveryTypeOrdersItsKeysAsTheValueComparisonDoes) {
  for (const TypeSamples& samples : AllTypes()) {
    const bool text = IsStringBaseType(samples.type);
    for (const bool descending : {false, true}) {
      for (const bool case_insensitive : {false, true}) {
        if (case_insensitive && !text) continue;
        const Column column{samples.type, descending, case_insensitive};
        const Layout layout{{samples.size}};
        TVTRRecordKeyRef key_ref;
        AddColumn(key_ref, layout, 0, column);
        for (const Sample& a : samples.values) {
          for (const Sample& b : samples.values) {
            EXPECT_EQ(CompareRecords(key_ref, layout.Record({a}), layout.Record({b})),
                      Reference(column, samples.size, a, b))
                << GetBaseTypeName(samples.type) << (descending ? " descending" : "")
                << (case_insensitive ? " case-insensitive" : "") << ", values " << (a ? a->size() : 0) << " and "
                << (b ? b->size() : 0) << " bytes";
          }
        }
      }
    }
  }
}

TEST(KeyComparison, TwoColumnKeysOrderByTheFirstColumnThenTheSecond) {
  const Column text{bdtString, false, true};
  const Column number{bdtInteger, true, false};
  const Layout layout{{12, 4}};
  const std::vector<Sample> numbers = {std::nullopt, Raw<int32_t>(-5), Raw<int32_t>(7)};
  TVTRRecordKeyRef key_ref;
  AddColumn(key_ref, layout, 0, text);
  AddColumn(key_ref, layout, 1, number);
  for (const Sample& text_a : kTexts) {
    for (const Sample& text_b : kTexts) {
      for (const Sample& number_a : numbers) {
        for (const Sample& number_b : numbers) {
          int expected = Reference(text, 12, text_a, text_b);
          if (expected == 0) expected = Reference(number, 4, number_a, number_b);
          EXPECT_EQ(CompareRecords(key_ref, layout.Record({text_a, number_a}), layout.Record({text_b, number_b})),
                    expected);
        }
      }
    }
  }
}

}  // namespace
