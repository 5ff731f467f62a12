// Dates as data-bound controls show and take them: day/month/Buddhist-era
// year, while the field itself stays Gregorian.
#include <QAbstractItemModel>
#include <QTableView>
#include <string>

#include "platform/db/DB.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Form.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/QtSupport.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/support/ArrayDataSet.h"

namespace {

// A donation dated 10 January 2000, received at 14:30, under a grid and two edits.
class DatesTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    donations_.Open();
    donations_.Append();
    Day()->SetAsDateTime(EncodeDate(2000, 1, 10));
    Received()->SetAsDateTime(EncodeDate(2000, 1, 10) + EncodeTime(14, 30, 0, 0));
    donations_.Post();
    source_.SetDataSet(&donations_);
    form_ = FormsApplication().CreateForm<TForm>();
    form_->SetBounds(0, 0, 500, 300);
    grid_ = new TDBGrid(form_);
    grid_->SetBounds(8, 8, 460, 120);
    grid_->SetDataSource(&source_);
    day_edit_ = NewEdit("BILL_DATE", 140);
    received_edit_ = NewEdit("RECEIVED", 170);
    form_->Show();
    user::ProcessEvents();
  }

  TDBEdit* NewEdit(const char* field, int top) {
    auto* edit = new TDBEdit(form_);
    edit->SetBounds(8, top, 150, 21);
    edit->SetDataSource(&source_);
    edit->SetDataField(field);
    return edit;
  }

  TField* Day() { return donations_.FieldByName("BILL_DATE"); }
  TField* Received() { return donations_.FieldByName("RECEIVED"); }
  std::string Cell(int column) const {
    const QAbstractItemModel* model = static_cast<QTableView*>(grid_->Native().FocusWidget())->model();
    return FromQString(model->data(model->index(0, column)).toString());
  }

  TArrayDataSet donations_{nullptr, {{"BILL_DATE", ftDate}, {"RECEIVED", ftDateTime}}};
  TDataSource source_{nullptr};
  TForm* form_ = nullptr;
  TDBGrid* grid_ = nullptr;
  TDBEdit* day_edit_ = nullptr;
  TDBEdit* received_edit_ = nullptr;
};

TEST_F(DatesTest, GridAndEditsShowTheBuddhistEraYearWhileTheFieldStaysGregorian) {
  EXPECT_EQ(Cell(0), "10/01/2543");
  EXPECT_EQ(Cell(1), "10/01/2543 14:30:00");
  EXPECT_EQ(day_edit_->Text(), "10/01/2543");
  EXPECT_EQ(received_edit_->Text(), "10/01/2543 14:30:00");
  day_edit_->SetFocus();
  EXPECT_EQ(day_edit_->Text(), "10/01/2543");
  EXPECT_EQ(Day()->AsString(), "10/01/2000");
  EXPECT_EQ(Received()->AsString(), "10/01/2000 14:30:00");
}

TEST_F(DatesTest, ADisplayFormatAppliesWithTheBuddhistEraYear) {
  static_cast<TDateTimeField*>(Day())->SetDisplayFormat("d mmm yyyy");
  donations_.Refresh();
  EXPECT_EQ(Cell(0), "10 Jan 2543");
  EXPECT_EQ(day_edit_->Text(), "10 Jan 2543");
  day_edit_->SetFocus();
  EXPECT_EQ(day_edit_->Text(), "10/01/2543");
}

TEST_F(DatesTest, TypedBuddhistEraDatesAreStoredAsTheirDays) {
  struct Case {
    TDBEdit* edit;
    const char* typed;
    TDateTime stored;
  };
  for (const Case& c : {Case{day_edit_, "15/03/2567", EncodeDate(2024, 3, 15)},
                        Case{received_edit_, "15/03/2567 08:05", EncodeDate(2024, 3, 15) + EncodeTime(8, 5, 0, 0)},
                        Case{received_edit_, "29/02/2567", EncodeDate(2024, 2, 29)}}) {
    c.edit->SetFocus();
    c.edit->SelectAll();
    user::Type(c.typed);
    donations_.Post();
    EXPECT_EQ(c.edit->Field()->AsDateTime(), c.stored) << c.typed;
  }
  EXPECT_EQ(Cell(0), "15/03/2567");
  EXPECT_EQ(Day()->AsString(), "15/03/2024");
}

TEST_F(DatesTest, ATextThatIsNoDateIsRefusedAndTheFieldKeepsItsValue) {
  struct Case {
    TDBEdit* edit;
    const char* typed;
    const char* message;
  };
  for (const Case& c : {Case{day_edit_, "31/02/2567", "'31/02/2567' is not a valid date"},
                        Case{day_edit_, "10/01", "'10/01' is not a valid date"},
                        Case{received_edit_, "15/03/2567 25:00", "'15/03/2567 25:00' is not a valid date and time"}}) {
    const TDateTime before = c.edit->Field()->AsDateTime();
    Dialogs().Clear();
    Dialogs().Answer(mrOk);
    c.edit->SetFocus();
    c.edit->SelectAll();
    user::Type(c.typed);
    grid_->SetFocus();
    ASSERT_EQ(Dialogs().Transcript().size(), 1u) << c.typed;
    EXPECT_EQ(Dialogs().Transcript()[0].text, c.message);
    EXPECT_EQ(c.edit->Field()->AsDateTime(), before) << c.typed;
    EXPECT_THROW(donations_.Post(), EConvertError) << c.typed;
    EXPECT_EQ(c.edit->Field()->AsDateTime(), before) << c.typed;
    donations_.Cancel();
  }
}

}  // namespace
