#include "platform/ui/DBGrid.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QScrollBar>
#include <algorithm>
#include <exception>

#include "platform/db/DataLink.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/db/NumericFields.h"
#include "platform/rtl/Application.h"
#include "platform/ui/FieldText.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/DBGridView.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

DBGridView& ViewOf(const TControl& control) {
  return *static_cast<DBGridView*>(control.Native().FocusWidget());
}

Qt::Alignment ToQtAlignment(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify:
      return Qt::AlignRight;
    case taCenter:
      return Qt::AlignHCenter;
    default:
      return Qt::AlignLeft;
  }
}

// Wide enough for the title and for the usual text of the field.
int DefaultWidth(const TColumn& column, const QFontMetrics& metrics) {
  int characters = 12;
  if (const TField* field = column.Field()) {
    const TFieldType type = field->DataType();
    if (type == ftString || type == ftFixedChar || type == ftWideString) {
      characters = std::clamp(field->Size(), 4, 40);
    }
  }
  const int title = metrics.horizontalAdvance(ToQString(column.Title()));
  return std::max(characters * metrics.averageCharWidth(), title) + 8;
}

// True when the dataset numbers its records, so the scroll bar can stand for them.
bool Numbered(TDataSet& dataset) {
  return dataset.RecordCount() > 0 && dataset.RecNo() > 0;
}

// Puts the link's active record back when the rows have been read.
class ActiveRecordKeeper {
 public:
  explicit ActiveRecordKeeper(TDataLink& link) : link_(link), record_(link.ActiveRecord()) {}
  ActiveRecordKeeper(const ActiveRecordKeeper&) = delete;
  ActiveRecordKeeper& operator=(const ActiveRecordKeeper&) = delete;
  ~ActiveRecordKeeper() { link_.SetActiveRecord(record_); }

 private:
  TDataLink& link_;
  int record_;
};

}  // namespace

// ---------------------------------------------------------------------------
// TColumn

void TColumn::SetFieldName(const std::string& name) {
  field_name_ = name;
  Changed(true);
}

std::string TColumn::Title() const {
  if (has_title_) return title_;
  return field_ != nullptr ? field_->DisplayLabel() : field_name_;
}

void TColumn::SetTitle(const std::string& title) {
  title_ = title;
  has_title_ = true;
  Changed(false);
}

void TColumn::SetVisible(bool visible) {
  visible_ = visible;
  Changed(false);
}

void TColumn::SetWidth(int width) {
  width_ = std::max(width, 0);
  Changed(false);
}

void TColumn::SetColor(TColor color) {
  color_ = color;
  Changed(false);
}

void TColumn::SetFontColor(TColor color) {
  font_color_ = color;
  Changed(false);
}

TAlignment TColumn::Alignment() const {
  if (has_alignment_) return alignment_;
  return dynamic_cast<const TNumericField*>(field_) != nullptr ? taRightJustify : taLeftJustify;
}

void TColumn::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  has_alignment_ = true;
  Changed(false);
}

void TColumn::Changed(bool rebind) {
  grid_.columns_.default_ = false;
  rebind ? grid_.LayoutColumns() : grid_.ColumnsChanged();
}

// ---------------------------------------------------------------------------
// TDBGridColumns

TColumn* TDBGridColumns::Add() {
  if (default_) {
    items_.clear();
    default_ = false;
  }
  items_.push_back(std::unique_ptr<TColumn>(new TColumn(grid_)));
  TColumn* column = items_.back().get();
  grid_.ColumnsChanged();
  return column;
}

void TDBGridColumns::Clear() {
  items_.clear();
  default_ = true;
  grid_.LayoutColumns();
}

// ---------------------------------------------------------------------------
// TDBGrid

class TDBGrid::Link final : public TDataLink {
 public:
  explicit Link(TDBGrid& grid) : grid_(grid) {}

 protected:
  void ActiveChanged() override { grid_.LayoutColumns(); }
  void LayoutChanged() override { grid_.LayoutColumns(); }
  void DataSetChanged() override { grid_.ReadRows(); }
  void RecordChanged(TField* field) override { grid_.ReadRows(); }

 private:
  TDBGrid& grid_;
};

TDBGrid::TDBGrid(TComponent* owner) : TWinControl(owner), link_(std::make_unique<Link>(*this)) {
  auto* frame = new QFrame;
  frame->setFocusPolicy(Qt::NoFocus);
  auto* layout = new QHBoxLayout(frame);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* view = new DBGridView;
  auto* bar = new QScrollBar(Qt::Vertical);
  bar->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(view);
  layout->addWidget(bar);
  view->SetRecordBar(bar);
  Native().Attach(frame);
  Native().SetFocusWidget(view);
  Native().SetClickOnMouse(false);

  view->on_row_pressed = [this](int row, int column) { Guarded(this, [&] { ChooseCell(row, column); }); };
  view->on_cell_click = [this](int column) {
    Guarded(this, [&] {
      if (OnCellClick && column < columns_.Count()) OnCellClick(columns_[column]);
    });
  };
  view->on_double_click = [this] {
    Guarded(this, [this] {
      if (OnDblClick) OnDblClick(this);
    });
  };
  view->on_move = [this](DBGridView::Move move) {
    Guarded(this, [&] {
      switch (move) {
        case DBGridView::Move::kUp:
          MoveBy(-1);
          break;
        case DBGridView::Move::kDown:
          MoveBy(1);
          break;
        case DBGridView::Move::kPageUp:
          MoveBy(-VisibleRowCount());
          break;
        case DBGridView::Move::kPageDown:
          MoveBy(VisibleRowCount());
          break;
        case DBGridView::Move::kFirst:
          if (link_->Active()) link_->DataSet()->First();
          break;
        case DBGridView::Move::kLast:
          if (link_->Active()) link_->DataSet()->Last();
          break;
      }
    });
  };
  view->on_resized = [this] { Guarded(this, [this] { UpdateRowCount(); }); };
  view->on_font_changed = [this] {
    Guarded(this, [this] {
      ColumnsChanged();
      UpdateRowCount();
    });
  };
  QObject::connect(bar, &QAbstractSlider::actionTriggered, &Native(), [this, bar](int action) {
    Guarded(this, [&] { Scrolled(action, bar->sliderPosition()); });
  });

  SetColor(clWindow);
  SetBounds(0, 0, 320, 120);
  UpdateScrollBar();
}

TDBGrid::~TDBGrid() = default;

TDataSource* TDBGrid::DataSource() const {
  return link_->DataSource();
}

void TDBGrid::SetDataSource(TDataSource* source) {
  link_->SetDataSource(source);
}

void TDBGrid::SetRowSelect(bool row_select) {
  row_select_ = row_select;
  ViewOf(*this).setSelectionBehavior(row_select ? QAbstractItemView::SelectRows
                                                : QAbstractItemView::SelectItems);
  ReadRows();
}

bool TDBGrid::ReadOnly() const {
  return link_->ReadOnly();
}

void TDBGrid::SetReadOnly(bool read_only) {
  link_->SetReadOnly(read_only);
}

int TDBGrid::VisibleRowCount() const {
  return link_->BufferCount();
}

void TDBGrid::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  UpdateRowCount();
}

void TDBGrid::ApplyColor(TColor color) {
  DBGridView& view = ViewOf(*this);
  QPalette palette = view.palette();
  palette.setColor(QPalette::Base, ToQColor(color));
  view.setPalette(palette);
}

void TDBGrid::LayoutColumns() {
  TDataSet* dataset = link_->Active() ? link_->DataSet() : nullptr;
  auto& items = columns_.items_;
  if (columns_.default_) {
    items.clear();
    if (dataset != nullptr) {
      for (TField* field : dataset->Fields()) {
        if (!field->Visible()) continue;
        items.push_back(std::unique_ptr<TColumn>(new TColumn(*this)));
        items.back()->field_name_ = field->FieldName();
      }
    }
  }
  for (const auto& column : items) {
    column->field_ = dataset != nullptr ? dataset->FindField(column->field_name_) : nullptr;
  }
  ColumnsChanged();
}

void TDBGrid::ColumnsChanged() {
  DBGridView& view = ViewOf(*this);
  const QFontMetrics metrics(view.font());
  std::vector<DBGridColumnLook> looks;
  for (const auto& column : columns_.items_) {
    column->default_width_ = DefaultWidth(*column, metrics);
    DBGridColumnLook look;
    look.title = ToQString(column->Title());
    look.alignment = ToQtAlignment(column->Alignment());
    if (column->color_ != clWindow) look.background = ToQColor(column->color_);
    if (column->font_color_ != clWindowText) look.foreground = ToQColor(column->font_color_);
    looks.push_back(std::move(look));
  }
  view.Model().SetColumns(std::move(looks));
  for (int i = 0; i < columns_.Count(); ++i) {
    view.setColumnHidden(i, !columns_[i]->Visible());
    view.setColumnWidth(i, columns_[i]->Width());
  }
  ReadRows();
}

void TDBGrid::ReadRows() {
  std::vector<QStringList> rows;
  int active = -1;
  // A field that cannot show its value leaves its cell empty; the first failure
  // is shown once the rows are read and the active record is back.
  std::exception_ptr failure;
  if (link_->Active()) {
    active = link_->ActiveRecord();
    const ActiveRecordKeeper keeper(*link_);
    for (int record = 0; record < link_->RecordCount(); ++record) {
      link_->SetActiveRecord(record);
      QStringList texts;
      for (const auto& column : columns_.items_) {
        QString text;
        if (column->field_ != nullptr) {
          try {
            text = ToQString(FieldDisplayText(*column->field_));
          } catch (...) {
            if (!failure) failure = std::current_exception();
          }
        }
        texts.append(text);
      }
      rows.push_back(std::move(texts));
    }
  }
  DBGridView& view = ViewOf(*this);
  view.Model().SetRows(std::move(rows));
  view.ShowCurrent(active, current_column_);
  UpdateScrollBar();
  if (failure) {
    try {
      std::rethrow_exception(failure);
    } catch (...) {
      Application().HandleException(this);
    }
  }
}

void TDBGrid::UpdateRowCount() {
  const int rows = ViewOf(*this).FittingRows(Height());
  if (rows == link_->BufferCount()) return;
  link_->SetBufferCount(rows);
  ReadRows();
}

void TDBGrid::UpdateScrollBar() {
  QScrollBar& bar = ViewOf(*this).RecordBar();
  TDataSet* dataset = link_->Active() ? link_->DataSet() : nullptr;
  if (dataset == nullptr || dataset->IsEmpty()) {
    bar.setRange(0, 0);
    bar.setEnabled(false);
    return;
  }
  bar.setEnabled(true);
  if (Numbered(*dataset)) {
    bar.setRange(0, dataset->RecordCount() - 1);
    bar.setPageStep(VisibleRowCount());
    bar.setValue(dataset->RecNo() - 1);
  } else {
    // A dataset that does not number its records: top, somewhere, bottom.
    bar.setRange(0, 2);
    bar.setPageStep(1);
    bar.setValue(dataset->Bof() ? 0 : dataset->Eof() ? 2 : 1);
  }
}

void TDBGrid::ChooseCell(int row, int column) {
  current_column_ = column;
  if (link_->Active()) MoveBy(row - link_->ActiveRecord());
  ViewOf(*this).ShowCurrent(link_->Active() ? link_->ActiveRecord() : -1, current_column_);
}

void TDBGrid::MoveBy(int distance) {
  if (link_->Active() && distance != 0) link_->DataSet()->MoveBy(distance);
}

void TDBGrid::Scrolled(int action, int position) {
  if (!link_->Active()) return;
  TDataSet* dataset = link_->DataSet();
  QScrollBar& bar = ViewOf(*this).RecordBar();
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      MoveBy(1);
      break;
    case QAbstractSlider::SliderSingleStepSub:
      MoveBy(-1);
      break;
    case QAbstractSlider::SliderPageStepAdd:
      MoveBy(VisibleRowCount());
      break;
    case QAbstractSlider::SliderPageStepSub:
      MoveBy(-VisibleRowCount());
      break;
    case QAbstractSlider::SliderToMinimum:
      dataset->First();
      break;
    case QAbstractSlider::SliderToMaximum:
      dataset->Last();
      break;
    case QAbstractSlider::SliderMove:
      if (Numbered(*dataset)) {
        if (position + 1 != dataset->RecNo()) dataset->SetRecNo(position + 1);
      } else if (position == bar.minimum()) {
        dataset->First();
      } else if (position == bar.maximum()) {
        dataset->Last();
      }
      break;
    default:
      break;
  }
  // The bar shows where the dataset stands, wherever the action meant to go.
  UpdateScrollBar();
}
