// The data grid: what its cells show, and how it and its dataset move together.
#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QImage>
#include <QScrollBar>
#include <QTableView>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/DB.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Form.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/DBGridView.h"
#include "platform/ui/internal/QtSupport.h"
#include "tests/platform/ui/support/Grab.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/support/ArrayDataSet.h"

namespace {

std::string Donor(int number) {
  return "ผู้บริจาค " + std::to_string(number);
}

DBGridView& ViewOf(const TDBGrid& grid) {
  return *static_cast<DBGridView*>(grid.Native().FocusWidget());
}

// A grid with row select over thirty donations stored in code page 874: ID,
// NAME (Donor(n)), AMOUNT (1234.5 × n, none on row 5) shown as money, and
// LABEL calculated as "n: NAME".
class DBGridTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    dataset_.SetCodec(&CodePage874Codec());
    id_ = AddField(new TIntegerField(&dataset_), "ID");
    name_ = AddField(new TStringField(&dataset_), "NAME", 30);
    amount_ = AddField(new TFloatField(&dataset_), "AMOUNT");
    label_ = AddField(new TStringField(&dataset_), "LABEL", 40);
    label_->SetCalculated(true);
    amount_->SetDisplayFormat("###,###,##0.00");
    dataset_.OnCalcFields = [this](TDataSet*) {
      label_->SetAsString(std::to_string(id_->AsInteger()) + ": " + name_->AsString());
    };
    dataset_.Open();
    for (int i = 1; i <= 30; ++i) {
      dataset_.Append();
      id_->SetAsInteger(i);
      name_->SetAsString(Donor(i));
      if (i != 5) amount_->SetAsFloat(1234.5 * i);
      dataset_.Post();
    }
    dataset_.First();
    source_.SetDataSet(&dataset_);
    source_.OnDataChange = [this](TObject*, TField*) { ++data_changes_; };

    form_ = FormsApplication().CreateForm<TForm>();
    form_->SetBounds(0, 0, 640, 480);
    grid_ = new TDBGrid(form_);
    grid_->SetBounds(8, 8, 560, 220);
    grid_->SetRowSelect(true);
    grid_->SetDataSource(&source_);
    for (auto [field, title] : {std::pair{"NAME", "ชื่อผู้บริจาค"}, {"AMOUNT", "จำนวนเงิน"}, {"LABEL", "รายการ"}}) {
      TColumn* column = grid_->Columns().Add();
      column->SetFieldName(field);
      column->SetTitle(title);
    }
    form_->Show();
    user::ProcessEvents();
    data_changes_ = 0;
  }

  template <typename F>
  F* AddField(F* field, const std::string& name, int size = 0) {
    field->SetFieldName(name);
    if (size > 0) field->SetSize(size);
    field->SetDataSet(&dataset_);
    return field;
  }

  QString Cell(int row, int column) const {
    const QAbstractItemModel* model = ViewOf(*grid_).model();
    return model->data(model->index(row, column)).toString();
  }
  int Rows() const { return ViewOf(*grid_).model()->rowCount(); }
  int CurrentRow() const { return ViewOf(*grid_).currentIndex().row(); }
  // The name on the grid's current row, which must be fully in sight.
  std::string CurrentName() const {
    const QTableView& view = ViewOf(*grid_);
    const QRect place = view.visualRect(view.model()->index(CurrentRow(), 0));
    EXPECT_TRUE(view.viewport()->rect().contains(place)) << "the current row is out of sight";
    return FromQString(Cell(CurrentRow(), 0));
  }

  TArrayDataSet dataset_{nullptr, {{"ID", ftInteger}, {"NAME", ftString, 30}, {"AMOUNT", ftFloat}}};
  TDataSource source_{nullptr};
  TIntegerField* id_ = nullptr;
  TStringField* name_ = nullptr;
  TFloatField* amount_ = nullptr;
  TStringField* label_ = nullptr;
  TForm* form_ = nullptr;
  TDBGrid* grid_ = nullptr;
  int data_changes_ = 0;
};

TEST_F(DBGridTest, CellsShowTheFieldsDisplayTextUnderTheTitles) {
  const QAbstractItemModel& model = *ViewOf(*grid_).model();
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("ชื่อผู้บริจาค"));
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("จำนวนเงิน"));
  EXPECT_EQ(Cell(0, 0), QString::fromUtf8("ผู้บริจาค 1"));
  EXPECT_EQ(Cell(0, 1), "1,234.50");
  EXPECT_EQ(Cell(1, 1), "2,469.00");
  EXPECT_EQ(Cell(0, 2), QString::fromUtf8("1: ผู้บริจาค 1"));
  EXPECT_EQ(Cell(4, 1), "");  // no amount
  EXPECT_EQ(model.data(model.index(0, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
            Qt::AlignRight);
  EXPECT_EQ(model.data(model.index(0, 0), Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
            Qt::AlignLeft);
}

TEST_F(DBGridTest, ColumnsTakeTheirColoursWidthAndVisibility) {
  TColumn* total = grid_->Columns()[1];
  total->SetColor(RGBColor(128, 128, 128));
  total->SetFontColor(clWhite);
  total->SetWidth(150);
  grid_->Columns()[2]->SetVisible(false);
  const QTableView& view = ViewOf(*grid_);
  const QModelIndex cell = view.model()->index(0, 1);
  EXPECT_EQ(view.model()->data(cell, Qt::BackgroundRole).value<QBrush>().color(), QColor(128, 128, 128));
  EXPECT_EQ(view.model()->data(cell, Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::white));
  EXPECT_EQ(view.columnWidth(1), 150);
  EXPECT_TRUE(view.isColumnHidden(2));
  EXPECT_EQ(Cell(0, 1), "1,234.50");
}

TEST_F(DBGridTest, WithoutColumnsEveryVisibleFieldIsShownUnderItsLabel) {
  auto* grid = new TDBGrid(form_);
  id_->SetVisible(false);
  name_->SetDisplayLabel("ชื่อ");
  grid->SetDataSource(&source_);
  const QAbstractItemModel& model = *ViewOf(*grid).model();
  ASSERT_EQ(grid->Columns().Count(), 3);
  EXPECT_TRUE(grid->Columns().Default());
  EXPECT_EQ(grid->Columns()[0]->Field(), name_);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("ชื่อ"));
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "AMOUNT");
  EXPECT_EQ(model.data(model.index(0, 1)).toString(), "1,234.50");
  dataset_.Close();
  EXPECT_EQ(model.columnCount(), 0);
  dataset_.Open();
  EXPECT_EQ(model.columnCount(), 3);
}

TEST_F(DBGridTest, AClickMakesItsRowCurrentWithOneDataChangeAndReportsItsColumn) {
  std::vector<TColumn*> clicked;
  grid_->OnCellClick = [&](TColumn* column) { clicked.push_back(column); };
  user::ClickCell(*grid_, 2, 1);
  EXPECT_EQ(dataset_.RecNo(), 3);
  EXPECT_EQ(data_changes_, 1);
  EXPECT_EQ(CurrentRow(), 2);
  EXPECT_EQ(name_->AsString(), Donor(3));
  user::ClickCell(*grid_, 2, 0);  // the current row again: no move
  EXPECT_EQ(data_changes_, 1);
  EXPECT_EQ(clicked, (std::vector<TColumn*>{grid_->Columns()[1], grid_->Columns()[0]}));
}

TEST_F(DBGridTest, EveryMoveOfTheDatasetMovesTheCurrentRow) {
  struct Case {
    const char* move;
    std::function<void(TArrayDataSet&)> run;
    int record;
  };
  const std::vector<Case> cases = {
      {"Next", [](TArrayDataSet& d) { d.Next(); }, 2},
      {"MoveBy", [](TArrayDataSet& d) { d.MoveBy(25); }, 26},
      {"Last", [](TArrayDataSet& d) { d.Last(); }, 30},
      {"Locate", [](TArrayDataSet& d) { EXPECT_TRUE(d.Locate("NAME", Donor(20), {})); }, 20},
      {"GotoBookmark",
       [](TArrayDataSet& d) {
         d.SetRecNo(12);
         const TBookmark bookmark = d.GetBookmark();
         d.Last();
         d.GotoBookmark(bookmark);
       },
       12},
      {"Refresh",
       [](TArrayDataSet& d) {
         d.MoveBy(6);
         d.Refresh();
       },
       7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.move);
    dataset_.First();
    c.run(dataset_);
    EXPECT_EQ(dataset_.RecNo(), c.record);
    EXPECT_EQ(CurrentName(), Donor(c.record));
  }
}

TEST_F(DBGridTest, GoingBackToTheCurrentRowsBookmarkGivesOneDataChange) {
  user::ClickCell(*grid_, 3, 0);
  data_changes_ = 0;
  dataset_.GotoBookmark(dataset_.GetBookmark());
  EXPECT_EQ(data_changes_, 1);
  EXPECT_EQ(CurrentName(), Donor(4));
}

TEST_F(DBGridTest, ADisabledSourceOrAClosedDatasetLeavesTheGridWithoutRows) {
  dataset_.MoveBy(5);
  source_.SetEnabled(false);
  EXPECT_EQ(Rows(), 0);
  source_.SetEnabled(true);
  EXPECT_EQ(Rows(), grid_->VisibleRowCount());
  EXPECT_EQ(CurrentName(), Donor(6));
  dataset_.Close();
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(ViewOf(*grid_).model()->columnCount(), 3);  // the grid's own columns stay
  dataset_.Open();
  EXPECT_EQ(CurrentName(), Donor(1));
}

TEST_F(DBGridTest, KeysMoveTheDatasetAndEnterReachesOnKeyPress) {
  std::vector<char32_t> keys;
  grid_->OnKeyPress = [&](TObject*, char32_t& key) { keys.push_back(key); };
  grid_->SetFocus();
  user::Press(user::Key::kUp);
  EXPECT_EQ(data_changes_, 0);
  user::Press(user::Key::kDown);
  user::Press(user::Key::kDown);
  EXPECT_EQ(dataset_.RecNo(), 3);
  EXPECT_EQ(data_changes_, 2);
  user::Press(user::Key::kPageDown);
  EXPECT_EQ(dataset_.RecNo(), 3 + grid_->VisibleRowCount());
  EXPECT_EQ(CurrentName(), Donor(3 + grid_->VisibleRowCount()));
  user::Press(user::Key::kEnd);
  EXPECT_EQ(CurrentName(), Donor(30));
  user::Press(user::Key::kPageUp);
  EXPECT_EQ(dataset_.RecNo(), 30 - grid_->VisibleRowCount());
  user::Press(user::Key::kHome);
  EXPECT_EQ(CurrentName(), Donor(1));
  user::PressEnter();
  EXPECT_EQ(keys, (std::vector<char32_t>{13}));
}

TEST_F(DBGridTest, ADoubleClickReachesOnDblClickAndADisabledGridTakesNoClicks) {
  int double_clicks = 0;
  grid_->OnDblClick = [&](TObject*) { ++double_clicks; };
  user::DoubleClickCell(*grid_, 1, 0);
  EXPECT_EQ(double_clicks, 1);
  EXPECT_EQ(dataset_.RecNo(), 2);
  grid_->SetEnabled(false);
  user::ClickCell(*grid_, 3, 0);
  EXPECT_EQ(dataset_.RecNo(), 2);
}

TEST_F(DBGridTest, ShowingRowsNeitherMovesTheDatasetNorRaisesDataEvents) {
  dataset_.MoveBy(14);
  data_changes_ = 0;
  int scrolls = 0;
  dataset_.BeforeScroll = dataset_.AfterScroll = [&](TDataSet*) { ++scrolls; };
  const int rows = grid_->VisibleRowCount();
  grid_->SetHeight(400);
  grid_->Columns()[0]->SetTitle("ชื่อ");
  ViewOf(*grid_).grab();  // paints every cell
  EXPECT_GT(grid_->VisibleRowCount(), rows);
  EXPECT_EQ(Rows(), grid_->VisibleRowCount());
  EXPECT_EQ(data_changes_, 0);
  EXPECT_EQ(scrolls, 0);
  EXPECT_EQ(dataset_.RecNo(), 15);
  EXPECT_EQ(CurrentName(), Donor(15));
}

TEST_F(DBGridTest, AGridEnlargedOnTheLastRowShowsTheRowsBeforeIt) {
  grid_->SetHeight(60);
  dataset_.Last();
  grid_->SetHeight(300);
  user::ProcessEvents();
  const int rows = grid_->VisibleRowCount();
  ASSERT_GT(rows, 2);
  EXPECT_EQ(Rows(), rows);
  EXPECT_EQ(CurrentRow(), rows - 1);
  EXPECT_EQ(CurrentName(), Donor(30));
  EXPECT_EQ(FromQString(Cell(0, 0)), Donor(31 - rows));
}

TEST_F(DBGridTest, RowsAreAsHighAsTheirFontsLinesAndShowThaiMarksWhole) {
  struct Case {
    const char* font;
    int height;
  };
  for (const Case& c : {Case{"MS Sans Serif", 11}, Case{"CordiaUPC", 19}, Case{"AngsanaUPC", 24}}) {
    TFont font;
    font.SetName(c.font);
    font.SetHeight(c.height);
    grid_->SetFont(font);
    user::ProcessEvents();
    DBGridView& view = ViewOf(*grid_);
    const int line = QFontMetrics(view.font()).lineSpacing();
    const int row = view.rowHeight(0);
    EXPECT_GE(row, line) << c.font;
    EXPECT_LE(row, line + 3) << c.font;
    // "ผู้บริจาค" has a vowel below and a tone mark above its first consonant.
    const QImage cells = view.viewport()->grab().toImage();
    const QRect cell = view.visualRect(view.model()->index(1, 0));
    EXPECT_GT(InkedPixels(cells, cell), 0) << c.font;
    EXPECT_EQ(InkedPixels(cells, QRect(cell.left(), cell.top(), cell.width(), 1)), 0) << c.font;
    EXPECT_EQ(InkedPixels(cells, QRect(cell.left(), cell.bottom(), cell.width(), 1)), 0) << c.font;
  }
}

class DBGridListTest : public UiTest {};

TEST_F(DBGridListTest, TenThousandRowsOpenAndScrollReadingOnlyWhatIsShown) {
  TArrayDataSet dataset(nullptr, {{"ID", ftInteger}});
  dataset.Open();
  for (int i = 1; i <= 10000; ++i) {
    dataset.Append();
    dataset.FieldByName("ID")->SetAsInteger(i);
    dataset.Post();
  }
  dataset.Close();
  TDataSource source(nullptr);
  source.SetDataSet(&dataset);
  TForm* form = FormsApplication().CreateForm<TForm>();
  form->SetBounds(0, 0, 400, 300);
  auto* grid = new TDBGrid(form);
  grid->SetBounds(0, 0, 300, 240);
  grid->SetDataSource(&source);
  form->Show();
  user::ProcessEvents();

  dataset.records_fetched = 0;
  dataset.Open();
  const int rows = grid->VisibleRowCount();
  EXPECT_LE(dataset.records_fetched, rows + 1);
  QScrollBar& bar = ViewOf(*grid).RecordBar();
  EXPECT_EQ(bar.maximum(), 9999);
  bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(dataset.RecNo(), 1 + rows);
  bar.setSliderDown(true);
  bar.setSliderPosition(5000);  // dragging the thumb to the middle
  bar.setSliderDown(false);
  EXPECT_EQ(dataset.RecNo(), 5001);
  EXPECT_EQ(bar.value(), 5000);
  const QAbstractItemModel& model = *ViewOf(*grid).model();
  EXPECT_EQ(model.data(model.index(ViewOf(*grid).currentIndex().row(), 0)).toString(), "5001");
  EXPECT_LT(dataset.records_fetched, 5 * (rows + 1));
}

}  // namespace
