#include "platform/db/FieldClasses.h"

#include <iterator>

#include "platform/db/BinaryFields.h"
#include "platform/db/BlobFields.h"
#include "platform/db/DateTimeFields.h"
#include "platform/db/NumericFields.h"
#include "platform/db/StringFields.h"

TField* CreateFieldOfType(TFieldType type, TComponent* owner) {
  switch (type) {
    case ftString:
      return new TStringField(owner);
    case ftFixedChar:
      return new TStringField(owner, ftFixedChar);
    case ftWideString:
      return new TWideStringField(owner);
    case ftGuid:
      return new TGuidField(owner);
    case ftSmallint:
      return new TSmallintField(owner);
    case ftInteger:
      return new TIntegerField(owner);
    case ftWord:
      return new TWordField(owner);
    case ftAutoInc:
      return new TAutoIncField(owner);
    case ftLargeint:
      return new TLargeintField(owner);
    case ftFloat:
      return new TFloatField(owner);
    case ftCurrency:
      return new TCurrencyField(owner);
    case ftBCD:
      return new TBCDField(owner);
    case ftBoolean:
      return new TBooleanField(owner);
    case ftDate:
      return new TDateField(owner);
    case ftTime:
      return new TTimeField(owner);
    case ftDateTime:
      return new TDateTimeField(owner);
    case ftTimeStamp:
      return new TSQLTimeStampField(owner);
    case ftBytes:
      return new TBytesField(owner);
    case ftVarBytes:
      return new TVarBytesField(owner);
    case ftBlob:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
      return new TBlobField(owner);
    case ftGraphic:
      return new TGraphicField(owner);
    case ftMemo:
      return new TMemoField(owner);
    case ftFmtMemo:
      return new TFmtMemoField(owner);
    default:
      return nullptr;
  }
}

const char* FieldTypeName(TFieldType type) {
  static constexpr const char* kNames[] = {
      "Unknown",     "String",    "SmallInt",  "Integer",    "Word",     "Boolean",    "Float",
      "Currency",    "BCD",       "Date",      "Time",       "DateTime", "Bytes",      "VarBytes",
      "AutoInc",     "Blob",      "Memo",      "Graphic",    "FmtMemo",  "ParadoxOle", "dBaseOle",
      "TypedBinary", "Cursor",    "FixedChar", "WideString", "Largeint", "ADT",        "Array",
      "Reference",   "DataSet",   "OraBlob",   "OraClob",    "Variant",  "Interface",  "IDispatch",
      "Guid",        "TimeStamp", "FMTBcd",
  };
  return type < std::size(kNames) ? kNames[type] : "Unknown";
}

bool IsSizedFieldType(TFieldType type) {
  switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
    case ftBytes:
    case ftVarBytes:
      return true;
    default:
      return false;
  }
}
