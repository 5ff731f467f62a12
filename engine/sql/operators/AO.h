#pragma once
// TVTRAO: a relational operator node. A SELECT runs as a tree of them. A
// node's output columns read a child's columns, a field of a dataset or an
// expression the node computes. A node with children is materialised when it
// executes: it walks its input rows, evaluates its columns and writes every
// row into its result table ("TEMPORARY_TABLE_n" in "TEMP", or the INTO
// table), then drops its children, so an intermediate result lives only
// until its parent has read it. A node over a stored table never
// materialises: its result table is the stored table itself.
//
// Destroying a node closes its result table and drops it when it is a
// temporary one, so a tree freed after a failure leaves nothing behind.
//
// The parts: AO.cpp (construction, column values and names, locks),
// AOExecute.cpp (execution, materialisation, sorting, DISTINCT),
// AOFields.cpp (naming, the select list, name resolution).
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/sql/SelectListItem.h"
#include "engine/sql/expression/SQLExpression.h"
#include "engine/sql/operators/FieldLink.h"
#include "platform/rtl/StringList.h"

class TVTRCursor;
class TVTRTable;

using TVTRAOPtr = std::unique_ptr<TVTRAO>;

class TVTRAO {
 public:
  // DisableTempFiles is the OR of the children's. A node with children
  // starts unmaterialised.
  TVTRAO(TVTRAOPtr left, TVTRAOPtr right, std::string alias, std::string table_name);
  virtual ~TVTRAO();
  TVTRAO(const TVTRAO&) = delete;
  TVTRAO& operator=(const TVTRAO&) = delete;

  // ---- The virtual operations, in slot order.
  // The node's own input rows (overridden by the nodes with children).
  virtual void First() {}
  virtual void Next() {}
  virtual bool Eof() { return false; }
  virtual int64_t GetRecordCount();
  // What a parent reads: the result table once materialised, else the input.
  virtual void FirstResult();
  virtual void NextResult();
  virtual bool EofResult();
  virtual int64_t GetResultRecordCount();
  // Every column gets a name unique within the node: a, a_1, a_12, ...;
  // a column without name "Expr" and a random number.
  virtual void MakeFieldNames();
  // Binds the filter, executes the children, puts the smaller input of an
  // inner or full join on the left, materialises and sorts.
  virtual void Execute(bool is_root, TVTRAO* outer_ao, TVTRCursor* outer_cursor);
  // Selects the columns of the select list, adding one computed column per
  // expression item. A column takes ownership of its item's expression (the
  // item's Expression becomes nil and the item names the new column).
  // Unknown fields raise 10305.
  virtual void ApplySelectList(std::span<TVTRSelectListItem> items, bool distinct);
  // The columns named so (Name or DisplayName, ignoring case; "*" for all)
  // under the qualifier (table name or alias; empty for any). Matches are
  // appended to `columns` when given and, with `unhide` and not
  // `keep_hidden`, made visible. Returns how many matched.
  virtual int32_t FindFields(std::string_view name, std::string_view qualifier, bool keep_hidden,
                             std::vector<int32_t>* columns, bool unhide);
  // The fields (";"-separated) become the sort order; those named in the
  // other two lists sort descending or ignore case.
  virtual void Sort(std::string_view fields, std::string_view desc_fields, std::string_view no_case_fields);

  // ---- Building the tree.
  // Adds the conjuncts to the filter with AND; the node owns them.
  void SetFilter(std::unique_ptr<TVTRSQLExpression> expression);
  void SetInto(bool in_memory, bool immediate, std::string database_name, std::string table_name);
  // A negative first row counts as 1.
  void SetTopRowCount(int64_t first_row, int64_t count);
  // The columns named in the list (";"-separated) make rows equal; an empty
  // list switches DISTINCT off. A join passes it on to its children.
  void SetDistinct(std::string_view field_list);

  // ---- Reading the node.
  // Writes the column's current value into `value` in place. Out of range
  // 10307, a column without source 10309, a hidden one without permission
  // 10310. The columns of a missing join side read NULL.
  void GetColumnValue(TVTRVariant& value, int32_t column_no, bool allow_hidden);
  // The column's field name here (at_this_node) or at its source. 10306
  // out of range.
  std::string GetColumnFieldName(int32_t column_no, bool at_this_node);
  // The DisplayName of the selected column at that position (from 0); 20243
  // beyond the select list.
  const std::string& GetOrderByColumnName(int32_t position) const;
  int32_t GetSelectedColumn(int32_t i) const { return SelectedColumns.at(i); }
  TVTRAdvancedDataType GetColumnDataType(int32_t column_no) const;
  int32_t GetColumnSize(int32_t column_no) const;
  int32_t GetColumnPrecision(int32_t column_no) const;

  // ---- Execution steps.
  // Writes the input rows into the result table; nothing once materialised.
  // A failure leaves the node unmaterialised.
  void Materialize();
  // Makes the sort order the result table's active order unless it already
  // is; 10308 without a result table.
  void ApplySort(bool free_lists);
  // A stored table shows one row per distinct key, in the sort order.
  void ApplyDistinctOrder();

  // ---- Table locks over the tree; each stops at the first failure.
  bool OpenBaseTables();
  bool LockBaseTables();
  bool UnlockBaseTables();

  TVTRTable& Result() const { return *ResultTable; }
  TVTRAO* LeftNode() const { return Left.get(); }
  TVTRAO* RightNode() const { return Right.get(); }
  int32_t ColumnCount() const { return static_cast<int32_t>(Columns.size()); }
  const TVTRFieldLink& Column(int32_t column_no) const { return Columns.at(column_no); }
  bool HasSortLists() const { return SortFields != nullptr; }
  virtual bool IsOuterJoin() const { return false; }
  // "Expr" and a number no column has as its name.
  std::string NewExpressionName() const;

  bool IsRoot = false;
  bool IsBaseTable = false;
  bool IsGrouping = false;
  std::unique_ptr<TVTRSQLExpression> Filter;
  int64_t TopLimit = -1;
  int64_t TopFirstRow = -1;
  bool HasProjection = false;
  std::string IntoTableName;
  bool IntoInMemory = false;
  bool IntoImmediate = false;
  std::string IntoDatabaseName;
  std::string TableName;
  std::string Alias;
  bool IsMaterialized = true;
  std::unique_ptr<TVTRTable> ResultTable;
  std::vector<int32_t> SelectedColumns;
  bool LeftIsNull = false;
  bool RightIsNull = false;
  bool Distinct = false;
  std::string DistinctFieldList;
  int32_t DistinctFieldCount = 0;
  std::vector<int32_t> DistinctColumns;
  std::unique_ptr<TStringList> SortFields, SortOrders, SortCases;
  bool HasExpressionColumns = false;
  bool TableLocked = false;
  bool DisableTempFiles = false;
  std::vector<TVTRFieldLink> Columns;
  TVTRAOPtr Left, Right;
  // The session of the tables below; the result table opens in it.
  std::string SessionName;

 protected:
  // The last step of Execute: materialises a node with children and sorts.
  void MaterializeAndSort();
  // Between the children's execution and the materialisation (a join
  // puts its smaller input on the left).
  virtual void PrepareInputs() {}
  // A name that an earlier column has gets the suffix _1, then 2, 12, ...
  void MakeNamesUnique();
  // After the materialisation, before the children are freed (a grouping
  // node closes its second cursor on the child's result).
  virtual void ReleaseInputs() {}
  // Called when the node becomes distinct (a join passes it on).
  virtual void PassDistinctOn() {}
  // The fields the result table shows and the names it shows them under
  // (an empty display name keeps the field's name).
  struct OutputNames {
    TStringList names, display_names;
  };
  void ShowOutputNames(const OutputNames& output);
  // Releases the table lock and closes the result table, dropping it when
  // it is a temporary one; never raises.
  void DropResultTable() noexcept;

 private:
  OutputNames PrepareResultTable();
  void FillResultTable();
  void FinishResultTable(const OutputNames& output, bool had_top_limit);
  // A column computing the item's expression, which it takes over.
  void AddComputedColumn(TVTRSelectListItem& item);
  void CheckColumnNo(int32_t column_no, int32_t code) const;
 protected:
  void ClearSortLists();
};

// The node's columns that read the child, in the child's numbering.
bool LinksTo(const TVTRFieldLink& column, const TVTRAO* child);
