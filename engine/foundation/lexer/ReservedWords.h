#pragma once
// The SQL dialect's reserved words. A word's number is its position in
// ReservedWordTable; statement parsers name words through ReservedWordNo so
// that no bare number appears in their code.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string_view>

inline constexpr int16_t kReservedWordCount = 282;
// Marks a token that is no reserved word.
inline constexpr int16_t kNotReservedWord = kReservedWordCount;
// Accepts any reserved word in IsReservedWordToken.
inline constexpr int16_t kAnyReservedWord = kReservedWordCount;
inline constexpr std::size_t kLongestReservedWord = 24;

// Numbers 0 to 229 are in alphabetical order; 230 onwards are the dialect's own words.
// clang-format off
inline constexpr std::array<std::string_view, kReservedWordCount> ReservedWordTable = {
    /*   0 */ "ABSOLUTE", "ACTION", "ADD", "ALL", "ALLOCATE", "ALTER", "AND", "ANY", "ARE", "AS",
    /*  10 */ "ASC", "ASSERTION", "AT", "AUTHORIZATION", "AVG",
    /*  15 */ "BEGIN", "BETWEEN", "BIT", "BIT_LENGTH", "BOTH",
    /*  20 */ "BY", "CASCADE", "CASCADED", "CASE", "CAST",
    /*  25 */ "CATALOG", "CHAR", "CHARACTER", "CHAR_LENGTH", "CHARACTER_LENGTH",
    /*  30 */ "CHECK", "CLOSE", "COALESCE", "COLLATE", "COLLATION",
    /*  35 */ "COLUMN", "COMMIT", "CONNECT", "CONNECTION", "CONSTRAINT",
    /*  40 */ "CONSTRAINTS", "CONTINUE", "CONVERT", "CORRESPONDING", "COUNT",
    /*  45 */ "CREATE", "CROSS", "CURRENT", "CURRENT_DATE", "CURRENT_TIME",
    /*  50 */ "CURRENT_TIMESTAMP", "CURRENT_USER", "CURSOR", "DATE", "DAY",
    /*  55 */ "DEALLOCATE", "DEC", "DECIMAL", "DECLARE", "DEFAULT",
    /*  60 */ "DEFERRABLE", "DEFERRED", "DELETE", "DESC", "DESCRIBE",
    /*  65 */ "DESCRIPTOR", "DIAGNOSTICS", "DISCONNECT", "DISTINCT", "DOMAIN",
    /*  70 */ "DOUBLE", "DROP", "ELSE", "END", "END-EXEC", "ESCAPE", "EXCEPT", "EXCEPTION", "EXEC", "EXECUTE",
    /*  80 */ "EXISTS", "EXTERNAL", "EXTRACT", "FALSE", "FETCH", "FIRST", "FLOAT", "FOR", "FOREIGN", "FOUND",
    /*  90 */ "FROM", "FULL", "GET", "GLOBAL", "GO", "GOTO", "GRANT", "GROUP", "HAVING", "HOUR",
    /* 100 */ "IDENTITY", "IMMEDIATE", "IN", "INDICATOR", "INITIALLY",
    /* 105 */ "INNER", "INPUT", "INSENSITIVE", "INSERT", "INT",
    /* 110 */ "INTEGER", "INTERSECT", "INTERVAL", "INTO", "IS",
    /* 115 */ "ISOLATION", "JOIN", "KEY", "LANGUAGE", "LAST",
    /* 120 */ "LEADING", "LEFT", "LEVEL", "LIKE", "LOCAL", "LOWER", "MATCH", "MAX", "MEMORY", "MIN",
    /* 130 */ "MINUS", "MINUTE", "MODULE", "MONTH", "NAMES", "NATIONAL", "NATURAL", "NCHAR", "NEXT", "NO",
    /* 140 */ "NOT", "NULL", "NULLIF", "NUMERIC", "OCTET_LENGTH", "OF", "ON", "ONLY", "OPEN", "OPTION",
    /* 150 */ "OR", "ORDER", "OUTER", "OUTPUT", "OVERLAPS",
    /* 155 */ "PAD", "PARTIAL", "POSITION", "PRECISION", "PREPARE",
    /* 160 */ "PRESERVE", "PRIMARY", "PRIOR", "PRIVILEGES", "PROCEDURE",
    /* 165 */ "PUBLIC", "READ", "REAL", "REFERENCES", "RELATIVE",
    /* 170 */ "RESTRICT", "REVOKE", "RIGHT", "ROLLBACK", "ROWS",
    /* 175 */ "SCHEMA", "SCROLL", "SECOND", "SECTION", "SELECT",
    /* 180 */ "SESSION", "SESSION_USER", "SET", "SIZE", "SMALLINT",
    /* 185 */ "SOME", "SPACE", "SQL", "SQLCODE", "SQLERROR",
    /* 190 */ "SQLSTATE", "SUBSTRING", "SUM", "SYSTEM_USER", "TABLE",
    /* 195 */ "TEMPORARY", "THEN", "TIME", "TIMESTAMP", "TIMEZONE_HOUR",
    /* 200 */ "TIMEZONE_MINUTE", "TO", "TOP", "TRAILING", "TRANSACTION",
    /* 205 */ "TRANSLATE", "TRANSLATION", "TRIM", "TRUE", "UNION",
    /* 210 */ "UNIQUE", "UNKNOWN", "UPDATE", "UPPER", "USAGE", "USER", "USING", "VALUE", "VALUES", "VARCHAR",
    /* 220 */ "VARYING", "VIEW", "WHEN", "WHENEVER", "WHERE", "WITH", "WORK", "WRITE", "YEAR", "ZONE",
    /* 230 */ "PASSWORD", "BLOBBLOCKSIZE", "BLOBCOMPRESSIONMODE", "BLOBCOMPRESSIONALGORITHM", "LASTAUTOINC",
    /* 235 */ "MODIFY", "NEW", "INDEX", "NOCASE", "LTRIM",
    /* 240 */ "RTRIM", "POS", "LENGTH", "SYSDATE", "NOW",
    /* 245 */ "TODATE", "TOSTRING", "AUTOINDEXES", "NOAUTOINDEXES", "INCREMENT",
    /* 250 */ "LASTVALUE", "MAXVALUE", "MINVALUE", "CYCLED", "NOMAXVALUE",
    /* 255 */ "NOMINVALUE", "NOCYCLED", "INITIALVALUE", "RENAME", "START",
    /* 260 */ "FLUSH", "AUTOINC", "MIMETOBIN", "ROWNUM", "IF", "TRUNCATE", "ABS", "ACOS", "ASIN", "ATAN",
    /* 270 */ "CEIL", "COS", "EXP", "FLOOR", "LOG", "POWER", "RAND", "ROUND", "SIGN", "SIN",
    /* 280 */ "SQR", "SQRT"
};
// clang-format on

// The number of an upper-case word of the table, for constants such as
// `constexpr int16_t rwSelect = ReservedWordNo("SELECT");` (a word missing from
// the table fails to compile there).
consteval int16_t ReservedWordNo(std::string_view word) {
  for (int16_t n = 0; n < kReservedWordCount; ++n)
    if (ReservedWordTable[n] == word) return n;
  throw std::invalid_argument("not a reserved word");
}

// The number of the word, compared without regard to ASCII letter case;
// kNotReservedWord when the table does not hold it.
int16_t FindReservedWord(std::string_view word);
