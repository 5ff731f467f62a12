#pragma once
// A grid over the records of a data source: one row per record, one column per
// field shown, in the field's display text as FieldText.h says (dates with
// their Buddhist-era year). The grid is never edited in place.
//
// The rows are the link's window of record buffers, as many as fit in the grid,
// so a long list opens and scrolls without reading its records up front. The
// grid and the dataset move together: choosing a row (mouse, arrow and page
// keys, wheel, scroll bar) moves the dataset, and every move of the dataset
// moves the grid's current row. Reading the rows for display neither moves the
// dataset nor raises a data event. A closed dataset or a disabled data source
// leaves the grid without rows.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Control.h"

class TDataSource;
class TDBGrid;
class TField;

// A column of a grid: the field it shows and how.
class TColumn {
 public:
  TColumn(const TColumn&) = delete;
  TColumn& operator=(const TColumn&) = delete;

  const std::string& FieldName() const { return field_name_; }
  void SetFieldName(const std::string& name);
  // The field of that name in the grid's dataset; null while the dataset is
  // closed or has no such field (the column then stays empty).
  TField* Field() const { return field_; }
  // The caption above the column: the field's display label until set.
  std::string Title() const;
  void SetTitle(const std::string& title);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Pixels; until set, wide enough for the title and the field's usual text.
  int Width() const { return width_ >= 0 ? width_ : default_width_; }
  void SetWidth(int width);
  // The cells' background and text colours.
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TColor FontColor() const { return font_color_; }
  void SetFontColor(TColor color);
  // Numbers to the right and other fields to the left, until set.
  TAlignment Alignment() const;
  void SetAlignment(TAlignment alignment);

 private:
  friend class TDBGrid;
  friend class TDBGridColumns;
  explicit TColumn(TDBGrid& grid) : grid_(grid) {}
  // A changed column makes the columns the program's own; `rebind` looks the
  // field up again.
  void Changed(bool rebind);

  TDBGrid& grid_;
  std::string field_name_;
  std::string title_;
  bool has_title_ = false;
  bool visible_ = true;
  int width_ = -1;
  int default_width_ = 64;
  TColor color_ = clWindow;
  TColor font_color_ = clWindowText;
  bool has_alignment_ = false;
  TAlignment alignment_ = taLeftJustify;
  TField* field_ = nullptr;
};

// The columns of a grid. Until a column is added the grid makes one column per
// visible field of its dataset, in field order, whenever it opens.
class TDBGridColumns {
 public:
  TDBGridColumns(const TDBGridColumns&) = delete;
  TDBGridColumns& operator=(const TDBGridColumns&) = delete;

  // Appends a column of the program's own; the columns made from the fields go.
  TColumn* Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TColumn* operator[](int index) const { return items_.at(index).get(); }
  // Removes every column and returns to one column per visible field.
  void Clear();
  // True while the columns are the ones made from the fields.
  bool Default() const { return default_; }

 private:
  friend class TColumn;
  friend class TDBGrid;
  explicit TDBGridColumns(TDBGrid& grid) : grid_(grid) {}

  TDBGrid& grid_;
  std::vector<std::unique_ptr<TColumn>> items_;
  bool default_ = true;
};

using TDBGridClickEvent = std::function<void(TColumn* column)>;

class TDBGrid : public TWinControl {
 public:
  explicit TDBGrid(TComponent* owner);
  ~TDBGrid() override;

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* source);
  TDBGridColumns& Columns() { return columns_; }
  const TDBGridColumns& Columns() const { return columns_; }
  // Whole rows are highlighted instead of the current cell.
  bool RowSelect() const { return row_select_; }
  void SetRowSelect(bool row_select);
  // The grid never edits; a read-only grid also keeps its link out of edit state.
  bool ReadOnly() const;
  void SetReadOnly(bool read_only);
  // The rows that fit in the grid: the records it reads at a time.
  int VisibleRowCount() const;
  void SetBounds(int left, int top, int width, int height) override;

  // A click on a cell, after the click made its row current.
  TDBGridClickEvent OnCellClick;
  TNotifyEvent OnDblClick;

 protected:
  void ApplyColor(TColor color) override;

 private:
  friend class TColumn;
  friend class TDBGridColumns;
  class Link;

  // Shows the columns as they now are, and the rows under them.
  void ColumnsChanged();
  // Binds the columns to the fields (making them from the fields when they are
  // the default ones), lays them out and reads the rows.
  void LayoutColumns();
  // Reads the texts of the link's window and shows the active record as current.
  void ReadRows();
  // Reads as many records as fit in the grid.
  void UpdateRowCount();
  void UpdateScrollBar();
  void ChooseCell(int row, int column);
  void MoveBy(int distance);
  void Scrolled(int action, int position);

  TDBGridColumns columns_{*this};
  std::unique_ptr<Link> link_;
  bool row_select_ = false;
  // The column of the current cell; the current row is the dataset's.
  int current_column_ = 0;
};
