// The column list of an index clause and of CREATE INDEX.
#include "engine/sql/ddl/SQLFieldDef.h"
#include "engine/sql/processor/SQLCommand.h"
#include "engine/sql/processor/StatementWords.h"

using namespace statement_words;

void TVTRSQLCommand::ReadIndexColumns(std::vector<TVTRSQLIndexField>& columns, std::string* password) {
  do {
    ExpectNextToken(kNameOrKeyword, 30274, "Field name expected, but '%s' found at line %d, column %d");
    if (password != nullptr && AtWord(rwPassword)) {
      ExpectNextToken(kQuotedText, 30275, kQuotedPasswordExpected);
      *password = Token.text;
      ExpectNextToken(kRightParenthesisOrComma, 30276,
                      "')' or ',' symbol expected, but '%s' found at line %d, column %d");
      continue;
    }
    TVTRSQLIndexField& column = columns.emplace_back(TVTRSQLIndexField{Token.text});
    for (;;) {
      ExpectNextToken(kAnyToken, 30161, {});
      if (Token.kind == tktComma || Token.kind == tktRightParenthesis) break;
      if (AtWord(rwAsc)) column.Descending = false;
      if (AtWord(rwDesc)) column.Descending = true;
      if (AtWord(rwCase)) column.CaseInsensitive = false;
      if (AtWord(rwNoCase)) column.CaseInsensitive = true;
    }
  } while (Token.kind == tktComma);
  NextToken();
}
