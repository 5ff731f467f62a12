#pragma once
// The Qt side of the data grid: a table model that holds the texts of the rows
// shown, and a table view that turns the user's choices into requests to the
// grid instead of moving its own current cell. The grid answers a request by
// moving the dataset and then shows the rows again.
#include <QAbstractTableModel>
#include <QColor>
#include <QScrollBar>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <vector>

struct DBGridColumnLook {
  QString title;
  Qt::Alignment alignment = Qt::AlignLeft;
  // Invalid colours leave the view's own.
  QColor background;
  QColor foreground;
};

class DBGridModel : public QAbstractTableModel {
 public:
  // Replaces the columns; the rows are dropped.
  void SetColumns(std::vector<DBGridColumnLook> columns);
  // Replaces the rows' texts, one list per row with a text per column.
  void SetRows(std::vector<QStringList> rows);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  std::vector<DBGridColumnLook> columns_;
  std::vector<QStringList> rows_;
};

class DBGridView : public QTableView {
 public:
  // The moves the keyboard and the scroll bar ask for.
  enum class Move { kUp, kDown, kPageUp, kPageDown, kFirst, kLast };

  DBGridView();

  DBGridModel& Model() { return *model_; }
  // The scroll bar beside the view that stands for the position in the dataset.
  QScrollBar& RecordBar() { return *record_bar_; }
  void SetRecordBar(QScrollBar* bar) { record_bar_ = bar; }
  int RowHeight() const;
  // Rows that fit wholly in a view of that height (at least one).
  int FittingRows(int height) const;
  // Makes the cell current and selected without asking the grid.
  void ShowCurrent(int row, int column);

  std::function<void(int row, int column)> on_row_pressed;
  std::function<void(int column)> on_cell_click;
  std::function<void()> on_double_click;
  std::function<void(Move move)> on_move;
  std::function<void()> on_resized;
  std::function<void()> on_font_changed;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyboardSearch(const QString& search) override {}

 private:
  void FitRowsToFont();

  DBGridModel* model_;
  QScrollBar* record_bar_ = nullptr;
  // The column of the cell a left press landed on, until the release.
  int pressed_column_ = -1;
  int wheel_remainder_ = 0;
};
