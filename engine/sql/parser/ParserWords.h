#pragma once
// The reserved words the expression parser recognises.
#include "engine/foundation/lexer/ReservedWords.h"

inline constexpr int16_t rwAll = ReservedWordNo("ALL");
inline constexpr int16_t rwAnd = ReservedWordNo("AND");
inline constexpr int16_t rwAny = ReservedWordNo("ANY");
inline constexpr int16_t rwAs = ReservedWordNo("AS");
inline constexpr int16_t rwAvg = ReservedWordNo("AVG");
inline constexpr int16_t rwBetween = ReservedWordNo("BETWEEN");
inline constexpr int16_t rwCase = ReservedWordNo("CASE");
inline constexpr int16_t rwCast = ReservedWordNo("CAST");
inline constexpr int16_t rwCount = ReservedWordNo("COUNT");
inline constexpr int16_t rwCurrentDate = ReservedWordNo("CURRENT_DATE");
inline constexpr int16_t rwCurrentTime = ReservedWordNo("CURRENT_TIME");
inline constexpr int16_t rwCurrentTimestamp = ReservedWordNo("CURRENT_TIMESTAMP");
inline constexpr int16_t rwDistinct = ReservedWordNo("DISTINCT");
inline constexpr int16_t rwExists = ReservedWordNo("EXISTS");
inline constexpr int16_t rwElse = ReservedWordNo("ELSE");
inline constexpr int16_t rwEnd = ReservedWordNo("END");
inline constexpr int16_t rwFalse = ReservedWordNo("FALSE");
inline constexpr int16_t rwFor = ReservedWordNo("FOR");
inline constexpr int16_t rwFrom = ReservedWordNo("FROM");
inline constexpr int16_t rwIn = ReservedWordNo("IN");
inline constexpr int16_t rwIs = ReservedWordNo("IS");
inline constexpr int16_t rwLength = ReservedWordNo("LENGTH");
inline constexpr int16_t rwLike = ReservedWordNo("LIKE");
inline constexpr int16_t rwLower = ReservedWordNo("LOWER");
inline constexpr int16_t rwLTrim = ReservedWordNo("LTRIM");
inline constexpr int16_t rwMax = ReservedWordNo("MAX");
inline constexpr int16_t rwMimeToBin = ReservedWordNo("MIMETOBIN");
inline constexpr int16_t rwMin = ReservedWordNo("MIN");
inline constexpr int16_t rwNot = ReservedWordNo("NOT");
inline constexpr int16_t rwNow = ReservedWordNo("NOW");
inline constexpr int16_t rwNull = ReservedWordNo("NULL");
inline constexpr int16_t rwOr = ReservedWordNo("OR");
inline constexpr int16_t rwPos = ReservedWordNo("POS");
inline constexpr int16_t rwPosition = ReservedWordNo("POSITION");
inline constexpr int16_t rwRowNum = ReservedWordNo("ROWNUM");
inline constexpr int16_t rwRTrim = ReservedWordNo("RTRIM");
inline constexpr int16_t rwSelect = ReservedWordNo("SELECT");
inline constexpr int16_t rwSome = ReservedWordNo("SOME");
inline constexpr int16_t rwSubstring = ReservedWordNo("SUBSTRING");
inline constexpr int16_t rwSum = ReservedWordNo("SUM");
inline constexpr int16_t rwSysDate = ReservedWordNo("SYSDATE");
inline constexpr int16_t rwThen = ReservedWordNo("THEN");
inline constexpr int16_t rwToDate = ReservedWordNo("TODATE");
inline constexpr int16_t rwToString = ReservedWordNo("TOSTRING");
inline constexpr int16_t rwTrim = ReservedWordNo("TRIM");
inline constexpr int16_t rwTrue = ReservedWordNo("TRUE");
inline constexpr int16_t rwUnknown = ReservedWordNo("UNKNOWN");
inline constexpr int16_t rwUpper = ReservedWordNo("UPPER");
inline constexpr int16_t rwWhen = ReservedWordNo("WHEN");
// ABS to SQRT: a numeric function's operator code is its word's number less this.
inline constexpr int16_t rwAbs = ReservedWordNo("ABS");
inline constexpr int16_t rwPower = ReservedWordNo("POWER");
inline constexpr int16_t rwSqrt = ReservedWordNo("SQRT");
inline constexpr int16_t kMathFunctionWordOffset = 217;
