#include "engine/sql/ddl/TableManipulation.h"

#include "engine/access/Database.h"
#include "engine/access/EngineRuntime.h"
#include "engine/access/Session.h"
#include "engine/access/SessionList.h"
#include "engine/access/Table.h"
#include "engine/foundation/containers/UniqueName.h"
#include "engine/sql/processor/StatementWords.h"
#include "platform/rtl/CodePage874.h"

using namespace statement_words;

namespace {

constexpr const char* kTableNameExpected = "Table name expected, but '%s' found at line %d, column %d";

}  // namespace

TVTRStatementTable::TVTRStatementTable() = default;
TVTRStatementTable::TVTRStatementTable(TVTRStatementTable&&) noexcept = default;
TVTRStatementTable::~TVTRStatementTable() = default;

void TVTRDDLTableManipulation::ParseTableName() {
  if (!InKinds(kNameOrKeyword, Token.kind)) RaiseAtToken(30230, kTableNameExpected);
  if (AtWord(rwMemory)) {
    InMemoryTarget = true;
    ExpectNextToken(kNameOrKeyword, 30231, kTableNameExpected);
  }
  TableName = Token.text;
  NextToken();
  if (Token.kind != tktDot) return;
  DatabaseFile = TableName;
  ExpectNextToken(kNameOrKeyword, 30230, kTableNameExpected);
  TableName = Token.text;
  NextToken();
}

void TVTRDDLTableManipulation::CheckEnd() {
  TToken next;
  if (!Lexer.LookAheadToken(next)) return;
  throw EVTRException::CreateFmt(30246, "Unexpected token '%s' found at line %d, column %d", next.text,
                                 next.line, next.column);
}

TVTRStatementTable TVTRDDLTableManipulation::MakeTable(const TVTRQueryContext& query,
                                                       bool with_fields) const {
  TVTRStatementTable made;
  std::string alias = query.DatabaseName;
  if (!DatabaseFile.empty()) {
    TVTRSession& session = SessionList().GetSession(query.SessionName);
    alias = MakeUniqueName("ExternalDb",
                           [&](const std::string& name) { return session.FindDatabase(name) != nullptr; });
    made.ExternalDatabase = std::make_unique<TVTRDatabase>(query.Owner);
    made.ExternalDatabase->SetSessionName(query.SessionName);
    made.ExternalDatabase->SetDatabaseName(alias);
    made.ExternalDatabase->SetDatabaseFileName(Cp874ToUtf8(DatabaseFile));
    if (const TVTRDatabase* own = query.FindDatabase())
      made.ExternalDatabase->DisableTempFiles = own->DisableTempFiles;
  }
  made.Table = query.NewTable(alias, TableName, InMemoryTarget);
  TVTRTable& table = *made.Table;
  if (with_fields) {
    table.AdvFieldDefs().Clear();
    for (int32_t i = 0; i < FieldDefs.Count(); ++i)
      CopyFieldAttributes(table.AdvFieldDefs().AddFieldDef(), FieldDefs.Items(i));
  }
  return made;
}

void TVTRDDLTableManipulation::CopyFieldAttributes(TVTRAdvFieldDef& target, const TSQLFieldDef& source) {
  target.Name = source.Name;
  if (source.DataType) target.DataType = *source.DataType;
  if (source.Size) target.Size = *source.Size;
  if (source.Required) target.Required = *source.Required;
  if (source.Increment) target.AutoincIncrement = *source.Increment;
  if (source.InitialValue) {
    // The statement names the first value issued; the table keeps the
    // counter that the first value follows by one step (wrapping as the
    // counter does).
    const int64_t step = target.AutoincIncrement == 0 ? 1 : target.AutoincIncrement;
    target.AutoincInitialValue =
        static_cast<int64_t>(static_cast<uint64_t>(*source.InitialValue) - static_cast<uint64_t>(step));
  }
  if (source.AutoincMin) target.AutoincMinValue = *source.AutoincMin;
  if (source.AutoincMax) target.AutoincMaxValue = *source.AutoincMax;
  if (source.Cycled) target.AutoincCycled = *source.Cycled;
  if (source.BlobBlockSize) target.BlobBlockSize = *source.BlobBlockSize;
  if (source.CompressionAlgorithm) target.BlobCompressionAlgorithm = *source.CompressionAlgorithm;
  if (source.CompressionMode) target.BlobCompressionMode = *source.CompressionMode;
  if (source.DefaultValue) target.DefaultValue = *source.DefaultValue;
  if (source.MinValue) target.MinValue = *source.MinValue;
  if (source.MaxValue) target.MaxValue = *source.MaxValue;
}

void TVTRDDLTableManipulation::BuildIndexDefs(TVTRTable& table) const {
  table.IndexDefs().Clear();
  for (const TVTRSQLIndex& index : Indexes) {
    std::string name = index.Name;
    if (name.empty()) {
      name = index.IsPK ? "C_PK" : index.Unique ? "C_Unique" : "i";
      for (const TVTRSQLIndexField& column : index.Fields) name += "$" + column.Name;
    }
    const std::string fields = JoinColumnNames(index.Fields, ',');
    const std::string descending = JoinColumnNames(index.Fields, ',', IsDescending);
    const std::string case_insensitive = JoinColumnNames(index.Fields, ',', IsCaseInsensitive);
    uint8_t options = 0;
    if (index.Unique || index.IsPK) options |= kIndexUniqueBit;
    if (index.IsPK) options |= kIndexPrimaryBit;
    for (TVTRAdvIndexDefs* list : {&table.AdvIndexDefs(), &table.RestructureAdvIndexDefs()})
      list->AppendIndexDef(name, fields, options, false, descending, case_insensitive, "");
  }
}
