#pragma once
// The reserved words the statement parsers and the processor's dispatch
// recognise. In a namespace of their own so that they sit beside the
// expression parser's words in one translation unit.
#include "engine/foundation/lexer/ReservedWords.h"

namespace statement_words {

inline constexpr int16_t rwAdd = ReservedWordNo("ADD");
inline constexpr int16_t rwAll = ReservedWordNo("ALL");
inline constexpr int16_t rwAlter = ReservedWordNo("ALTER");
inline constexpr int16_t rwAs = ReservedWordNo("AS");
inline constexpr int16_t rwAsc = ReservedWordNo("ASC");
inline constexpr int16_t rwAutoinc = ReservedWordNo("AUTOINC");
inline constexpr int16_t rwBlobBlockSize = ReservedWordNo("BLOBBLOCKSIZE");
inline constexpr int16_t rwBlobCompressionAlgorithm = ReservedWordNo("BLOBCOMPRESSIONALGORITHM");
inline constexpr int16_t rwBlobCompressionMode = ReservedWordNo("BLOBCOMPRESSIONMODE");
inline constexpr int16_t rwBy = ReservedWordNo("BY");
inline constexpr int16_t rwCase = ReservedWordNo("CASE");
inline constexpr int16_t rwColumn = ReservedWordNo("COLUMN");
inline constexpr int16_t rwCommit = ReservedWordNo("COMMIT");
inline constexpr int16_t rwCorresponding = ReservedWordNo("CORRESPONDING");
inline constexpr int16_t rwCreate = ReservedWordNo("CREATE");
inline constexpr int16_t rwCross = ReservedWordNo("CROSS");
inline constexpr int16_t rwCycled = ReservedWordNo("CYCLED");
inline constexpr int16_t rwDefault = ReservedWordNo("DEFAULT");
inline constexpr int16_t rwDelete = ReservedWordNo("DELETE");
inline constexpr int16_t rwDesc = ReservedWordNo("DESC");
inline constexpr int16_t rwDistinct = ReservedWordNo("DISTINCT");
inline constexpr int16_t rwDrop = ReservedWordNo("DROP");
inline constexpr int16_t rwExcept = ReservedWordNo("EXCEPT");
inline constexpr int16_t rwExists = ReservedWordNo("EXISTS");
inline constexpr int16_t rwFlush = ReservedWordNo("FLUSH");
inline constexpr int16_t rwFrom = ReservedWordNo("FROM");
inline constexpr int16_t rwFull = ReservedWordNo("FULL");
inline constexpr int16_t rwGroup = ReservedWordNo("GROUP");
inline constexpr int16_t rwHaving = ReservedWordNo("HAVING");
inline constexpr int16_t rwIf = ReservedWordNo("IF");
inline constexpr int16_t rwImmediate = ReservedWordNo("IMMEDIATE");
inline constexpr int16_t rwIncrement = ReservedWordNo("INCREMENT");
inline constexpr int16_t rwIndex = ReservedWordNo("INDEX");
inline constexpr int16_t rwInitialValue = ReservedWordNo("INITIALVALUE");
inline constexpr int16_t rwInner = ReservedWordNo("INNER");
inline constexpr int16_t rwInsert = ReservedWordNo("INSERT");
inline constexpr int16_t rwIntersect = ReservedWordNo("INTERSECT");
inline constexpr int16_t rwInto = ReservedWordNo("INTO");
inline constexpr int16_t rwJoin = ReservedWordNo("JOIN");
inline constexpr int16_t rwKey = ReservedWordNo("KEY");
inline constexpr int16_t rwLeft = ReservedWordNo("LEFT");
inline constexpr int16_t rwMaxValue = ReservedWordNo("MAXVALUE");
inline constexpr int16_t rwMemory = ReservedWordNo("MEMORY");
inline constexpr int16_t rwMinus = ReservedWordNo("MINUS");
inline constexpr int16_t rwMinValue = ReservedWordNo("MINVALUE");
inline constexpr int16_t rwModify = ReservedWordNo("MODIFY");
inline constexpr int16_t rwNatural = ReservedWordNo("NATURAL");
inline constexpr int16_t rwNoCase = ReservedWordNo("NOCASE");
inline constexpr int16_t rwNoCycled = ReservedWordNo("NOCYCLED");
inline constexpr int16_t rwNoMaxValue = ReservedWordNo("NOMAXVALUE");
inline constexpr int16_t rwNoMinValue = ReservedWordNo("NOMINVALUE");
inline constexpr int16_t rwNot = ReservedWordNo("NOT");
inline constexpr int16_t rwNull = ReservedWordNo("NULL");
inline constexpr int16_t rwOn = ReservedWordNo("ON");
inline constexpr int16_t rwOrder = ReservedWordNo("ORDER");
inline constexpr int16_t rwOuter = ReservedWordNo("OUTER");
inline constexpr int16_t rwPassword = ReservedWordNo("PASSWORD");
inline constexpr int16_t rwPrimary = ReservedWordNo("PRIMARY");
inline constexpr int16_t rwRename = ReservedWordNo("RENAME");
inline constexpr int16_t rwRight = ReservedWordNo("RIGHT");
inline constexpr int16_t rwRollback = ReservedWordNo("ROLLBACK");
inline constexpr int16_t rwSelect = ReservedWordNo("SELECT");
inline constexpr int16_t rwSet = ReservedWordNo("SET");
inline constexpr int16_t rwStart = ReservedWordNo("START");
inline constexpr int16_t rwTable = ReservedWordNo("TABLE");
inline constexpr int16_t rwTo = ReservedWordNo("TO");
inline constexpr int16_t rwTop = ReservedWordNo("TOP");
inline constexpr int16_t rwTransaction = ReservedWordNo("TRANSACTION");
inline constexpr int16_t rwTruncate = ReservedWordNo("TRUNCATE");
inline constexpr int16_t rwUnion = ReservedWordNo("UNION");
inline constexpr int16_t rwUnique = ReservedWordNo("UNIQUE");
inline constexpr int16_t rwUpdate = ReservedWordNo("UPDATE");
inline constexpr int16_t rwUsing = ReservedWordNo("USING");
inline constexpr int16_t rwValues = ReservedWordNo("VALUES");
inline constexpr int16_t rwWhere = ReservedWordNo("WHERE");

}  // namespace statement_words
