#pragma once
// TVTRFieldLink: one output column of an operator node. A column reads its
// value from exactly one place: a field of a dataset's current record, a
// column of a child node, or an expression the column computes and owns.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/foundation/DataTypes.h"
#include "engine/sql/expression/SQLExpression.h"

class TVTRAO;
class TVTRTable;

struct TVTRFieldLink {
  std::string Name;         // unique within the node once named
  std::string DisplayName;  // the alias or the name as written; empty until set
  TVTRAdvancedDataType DataType = adtUnknown;
  int32_t Precision = 0;
  int32_t Size = 0;
  uint8_t BlobCompressionAlgorithm = 0;
  uint8_t BlobCompressionMode = 0;
  int32_t BlobBlockSize = 0;
  TVTRAO* SourceNode = nullptr;          // not owned
  TVTRTable* SourceDataSet = nullptr;    // not owned
  bool Hidden = false;                   // not part of the visible output
  int32_t SourceFieldNo = -1;            // column of SourceNode or table field of SourceDataSet
  bool IsAggregated = false;
  std::unique_ptr<TVTRSQLExpression> Expression;  // the computed value, when the column computes one

  bool OwnsExpression() const { return Expression != nullptr; }
  // Type, size and BLOB settings of another column.
  void CopyShape(const TVTRFieldLink& source) {
    DataType = source.DataType;
    Precision = source.Precision;
    Size = source.Size;
    BlobCompressionAlgorithm = source.BlobCompressionAlgorithm;
    BlobCompressionMode = source.BlobCompressionMode;
    BlobBlockSize = source.BlobBlockSize;
  }
};
