#pragma once
// The enumerations and small types of the dataset layer.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/rtl/EnumSet.h"

class TDataSet;
class TField;
class EDatabaseError;

enum TDataSetState : uint8_t {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsSetKey,
  dsCalcFields,
  dsFilter,
  dsNewValue,
  dsInternalCalc,
  dsOpening,
};

// How GetRecord moves before it reads.
enum TGetMode : uint8_t { gmCurrent, gmNext, gmPrior };
enum TGetResult : uint8_t { grOK, grBOF, grEOF, grError };

// Stored in record buffers as 0 to 3.
enum TBookmarkFlag : uint8_t { bfCurrent, bfBOF, bfEOF, bfInserted };

enum TDataEvent : uint8_t {
  deFieldChange,
  deRecordChange,
  deDataSetChange,
  deDataSetScroll,
  deLayoutChange,
  deUpdateRecord,
  deUpdateState,
  deCheckBrowseMode,
  dePropertyChange,
  deFieldListChange,
  deFocusControl,
};

enum TDataAction : uint8_t { daFail, daAbort, daRetry };

enum TResyncModeFlag : uint8_t { rmExact, rmCenter };
using TResyncMode = EnumSet<TResyncModeFlag>;

enum TLocateOption : uint8_t { loCaseInsensitive, loPartialKey };
using TLocateOptions = EnumSet<TLocateOption>;

enum TFilterOption : uint8_t { foCaseInsensitive, foNoPartialCompare };
using TFilterOptions = EnumSet<TFilterOption>;

enum TFieldKind : uint8_t { fkData, fkCalculated, fkLookup, fkInternalCalc };

// Bit positions 0 to 5 of the stored option byte.
enum TIndexOption : uint8_t {
  ixPrimary,
  ixUnique,
  ixDescending,
  ixCaseInsensitive,
  ixExpression,
  ixNonMaintained,
};
using TIndexOptions = EnumSet<TIndexOption>;

enum TBlobStreamMode : uint8_t { bmRead, bmWrite, bmReadWrite };

// Which statements of a resolver a field takes part in.
enum TProviderFlag : uint8_t { pfInUpdate, pfInWhere, pfInKey, pfHidden };
using TProviderFlags = EnumSet<TProviderFlag>;

enum TUpdateKind : uint8_t { ukModify, ukInsert, ukDelete };
// What became of an update a handler was asked to apply.
enum TUpdateAction : uint8_t { uaFail, uaAbort, uaSkip, uaRetry, uaApplied };

// A record buffer as a dataset lays it out; the layer never looks inside.
using TRecordBuffer = uint8_t*;
// A bookmark: the bytes a dataset identifies a record by; empty means none.
using TBookmark = std::string;

using TDataSetNotifyEvent = std::function<void(TDataSet* dataset)>;
using TDataSetErrorEvent = std::function<void(TDataSet* dataset, EDatabaseError& error, TDataAction& action)>;
using TFilterRecordEvent = std::function<void(TDataSet* dataset, bool& accept)>;
using TUpdateRecordEvent = std::function<void(TDataSet* dataset, TUpdateKind kind, TUpdateAction& action)>;
using TFieldNotifyEvent = std::function<void(TField* field)>;

// The states in which a record's fields may be written.
inline bool IsEditState(TDataSetState state) {
  return state == dsEdit || state == dsInsert;
}
