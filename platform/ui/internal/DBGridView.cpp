#include "platform/ui/internal/DBGridView.h"

#include <QBrush>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <optional>

// ---------------------------------------------------------------------------
// DBGridModel

void DBGridModel::SetColumns(std::vector<DBGridColumnLook> columns) {
  beginResetModel();
  columns_ = std::move(columns);
  rows_.clear();
  endResetModel();
}

void DBGridModel::SetRows(std::vector<QStringList> rows) {
  const int before = static_cast<int>(rows_.size());
  const int after = static_cast<int>(rows.size());
  if (after > before) {
    beginInsertRows({}, before, after - 1);
    rows_ = std::move(rows);
    endInsertRows();
  } else if (after < before) {
    beginRemoveRows({}, after, before - 1);
    rows_ = std::move(rows);
    endRemoveRows();
  } else {
    rows_ = std::move(rows);
  }
  const int kept = std::min(before, after);
  if (kept > 0 && !columns_.empty()) emit dataChanged(index(0, 0), index(kept - 1, columnCount() - 1));
}

int DBGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DBGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DBGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const DBGridColumnLook& look = columns_[index.column()];
  switch (role) {
    case Qt::DisplayRole:
      return rows_[index.row()].value(index.column());
    case Qt::TextAlignmentRole:
      return static_cast<int>(look.alignment | Qt::AlignVCenter);
    case Qt::BackgroundRole:
      return look.background.isValid() ? QVariant(QBrush(look.background)) : QVariant();
    case Qt::ForegroundRole:
      return look.foreground.isValid() ? QVariant(QBrush(look.foreground)) : QVariant();
    default:
      return {};
  }
}

QVariant DBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return columns_[section].title;
}

Qt::ItemFlags DBGridModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// ---------------------------------------------------------------------------
// DBGridView

DBGridView::DBGridView() : model_(new DBGridModel) {
  model_->setParent(this);
  setModel(model_);
  setEditTriggers(NoEditTriggers);
  setSelectionMode(SingleSelection);
  setTabKeyNavigation(false);
  setWordWrap(false);
  setAutoScroll(false);
  setFocusPolicy(Qt::StrongFocus);
  // Every row shown fits; the record bar beside the view stands for the rest.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollMode(ScrollPerPixel);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  FitRowsToFont();
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
}

void DBGridView::FitRowsToFont() {
  // A line of the font (room for Thai marks above and below) and a pixel above and below it.
  verticalHeader()->setDefaultSectionSize(fontMetrics().lineSpacing() + 2);
}

int DBGridView::RowHeight() const {
  return std::max(1, verticalHeader()->defaultSectionSize());
}

int DBGridView::FittingRows(int height) const {
  height -= 2 * frameWidth();
  height -= horizontalHeader()->sizeHint().height();
  if (horizontalScrollBar()->isVisibleTo(this)) height -= horizontalScrollBar()->sizeHint().height();
  return std::max(1, height / RowHeight());
}

void DBGridView::ShowCurrent(int row, int column) {
  if (row < 0 || row >= model_->rowCount() || model_->columnCount() == 0) {
    selectionModel()->clear();
    return;
  }
  column = std::clamp(column, 0, model_->columnCount() - 1);
  if (isColumnHidden(column)) {
    for (int other = 0; other < model_->columnCount(); ++other) {
      if (!isColumnHidden(other)) {
        column = other;
        break;
      }
    }
  }
  QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
  if (selectionBehavior() == SelectRows) flags |= QItemSelectionModel::Rows;
  selectionModel()->setCurrentIndex(model_->index(row, column), flags);
}

void DBGridView::mousePressEvent(QMouseEvent* event) {
  pressed_column_ = -1;
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  const QPoint at = event->position().toPoint();
  const int row = rowAt(at.y());
  const int column = columnAt(at.x());
  if (row < 0 || column < 0) return;
  pressed_column_ = column;
  if (on_row_pressed) on_row_pressed(row, column);
}

void DBGridView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || pressed_column_ < 0) return;
  const int column = pressed_column_;
  pressed_column_ = -1;
  if (on_cell_click) on_cell_click(column);
}

void DBGridView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  mousePressEvent(event);
  // The release that ends a double click is no cell click.
  pressed_column_ = -1;
  if (on_double_click) on_double_click();
}

void DBGridView::mouseMoveEvent(QMouseEvent* event) {
  // Dragging selects nothing: the current row is the dataset's.
}

void DBGridView::wheelEvent(QWheelEvent* event) {
  if (event->angleDelta().y() == 0) {
    QTableView::wheelEvent(event);
    return;
  }
  wheel_remainder_ += event->angleDelta().y();
  const int notches = wheel_remainder_ / 120;
  wheel_remainder_ %= 120;
  for (int i = 0; i < std::abs(notches) && on_move; ++i) on_move(notches > 0 ? Move::kUp : Move::kDown);
  event->accept();
}

void DBGridView::keyPressEvent(QKeyEvent* event) {
  const bool to_end = (event->modifiers() & Qt::ControlModifier) || selectionBehavior() == SelectRows;
  std::optional<Move> move;
  switch (event->key()) {
    case Qt::Key_Up:
      move = Move::kUp;
      break;
    case Qt::Key_Down:
      move = Move::kDown;
      break;
    case Qt::Key_PageUp:
      move = Move::kPageUp;
      break;
    case Qt::Key_PageDown:
      move = Move::kPageDown;
      break;
    case Qt::Key_Home:
      if (to_end) move = Move::kFirst;
      break;
    case Qt::Key_End:
      if (to_end) move = Move::kLast;
      break;
    case Qt::Key_Left:
    case Qt::Key_Right:
      break;
    default:
      // Other keys belong to the form (Enter moves the focus); typing searches nothing.
      event->ignore();
      return;
  }
  if (!move) {
    QTableView::keyPressEvent(event);
    // The rows stay where they are; only the columns scroll to the current cell.
    scrollTo(currentIndex());
    verticalScrollBar()->setValue(0);
    return;
  }
  event->accept();
  if (on_move) on_move(*move);
}

void DBGridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  if (on_resized) on_resized();
}

void DBGridView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() != QEvent::FontChange) return;
  FitRowsToFont();
  if (on_font_changed) on_font_changed();
}
