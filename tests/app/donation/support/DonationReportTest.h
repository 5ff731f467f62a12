#pragma once
// The fixture of the donation program's report windows: a fresh database file
// in the working folder (for the windows that run their statements on it), the
// main window they open under, and printouts made headless. A window opened
// with OpenServed runs its queries over rows that the test serves instead.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/core/SqlWindowQuery.h"
#include "platform/report/PreviewService.h"
#include "tests/app/core/support/MdiFrame.h"
#include "tests/app/core/support/ServedQuery.h"
#include "tests/app/core/support/TempleDatabaseTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

// The fields of the rows that one query of a window serves, the field that
// its period selects on (empty: none) and the rows served from the start.
struct ServedShape {
  std::vector<ArrayFieldDef> fields;
  std::string date_field;
  std::vector<std::vector<Variant>> rows;
};

class DonationReportTest : public TempleDatabaseTest {
 protected:
  void SetUp() override {
    TempleDatabaseTest::SetUp();
    MdiFrame::Open();
    previous_preview_ = SetPreviewService(std::make_unique<THeadlessPreview>());
  }
  void TearDown() override {
    Application().DestroyComponents();
    user::ProcessEvents();
    SetPreviewService(std::move(previous_preview_));
    TempleDatabaseTest::TearDown();
  }

  // The window on the database file, as the program opens it.
  template <typename Window>
  Window& Open() {
    auto* window = FormsApplication().CreateForm<Window>(SqlQueries());
    user::ProcessEvents();
    return *window;
  }

  // The window whose queries, in the order it makes them, serve rows of the
  // shapes given.
  template <typename Window>
  Window& OpenServed(std::vector<ServedShape> shapes) {
    queries_.clear();
    auto factory = [this, shapes = std::move(shapes)](TComponent& owner, const std::string&) {
      const ServedShape& shape = shapes.at(queries_.size());
      auto query = std::make_unique<ServedQuery>(owner, shape.fields, shape.date_field);
      query->served = shape.rows;
      queries_.push_back(query.get());
      return query;
    };
    auto* window = FormsApplication().CreateForm<Window>(factory);
    user::ProcessEvents();
    return *window;
  }

  // The window's queries made by OpenServed, in the order made.
  ServedQuery& Served(size_t index = 0) { return *queries_.at(index); }
  THeadlessPreview& Preview() { return static_cast<THeadlessPreview&>(PreviewService()); }
  static Variant Day(int year, int month, int day) { return Variant::Date(EncodeDate(year, month, day)); }

  // Sets both pickers as a user picks the days, without running.
  static void SetPeriod(ReportWindow& window, TDateTime first, TDateTime last) {
    window.Picker1->SetDate(first);
    window.Picker2->SetDate(last);
  }

  // The texts of the items of that name on the first page, in printed order.
  std::vector<std::string> Printed(const std::string& name) {
    std::vector<std::string> texts;
    for (const TQRPrintedItem* item : Preview().Last().pages.at(0).FindAll(name))
      texts.push_back(item->text);
    return texts;
  }

 private:
  std::vector<ServedQuery*> queries_;
  std::unique_ptr<TQRPreviewService> previous_preview_;
};
