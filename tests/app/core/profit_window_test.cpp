// The income and expense window: the sums of one chosen day or of a period,
// exact, with a negative difference shown signed, and nothing computed before
// the user asks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/core/ProfitWindow.h"
#include "tests/app/core/support/EngineUiTest.h"
#include "tests/app/core/support/MdiFrame.h"
#include "tests/app/core/support/ServedQuery.h"
#include "tests/platform/ui/support/Seen.h"

namespace {


const TDateTime kDay = EncodeDate(2024, 3, 12);

class ProfitWindowTest : public EngineUiTest {
 protected:
  void SetUp() override {
    EngineUiTest::SetUp();
    MdiFrame::Open();
  }

  Tprofit& Open() {
    auto factory = [this](TComponent& owner, const std::string&) {
      const bool income = work_ == nullptr;
      const std::string prefix = income ? "work" : "fill";
      auto query = std::make_unique<ServedQuery>(
          owner,
          std::vector<ArrayFieldDef>{{prefix + "_no", ftString, 11}, {prefix + "_date", ftDate}, {"total", ftFloat}},
          prefix + "_date");
      (income ? work_ : fill_) = query.get();
      return query;
    };
    window_ = FormsApplication().CreateForm<Tprofit>(factory);
    user::ProcessEvents();
    return *window_;
  }

  std::vector<std::string> Shown() const {
    return {seen::Text(window_->Label6), seen::Text(window_->Label7), seen::Text(window_->Label8)};
  }

  Tprofit* window_ = nullptr;
  ServedQuery* work_ = nullptr;
  ServedQuery* fill_ = nullptr;
};

TEST_F(ProfitWindowTest, PickingADayTotalsThatDayAlone) {
  Tprofit& window = Open();
  EXPECT_EQ(seen::Caption(window), " กำไร - ขาดทุน");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"0.00", "0.00", "0.00"}));
  EXPECT_TRUE(work_->runs.empty()) << "nothing is computed until the user acts";
  work_->served = {{"W1", Variant::Date(kDay), 100.0},
                   {"W2", Variant::Date(kDay), 50.0},
                   {"W0", Variant::Date(kDay - 1), 70.0}};
  fill_->served = {{"F1", Variant::Date(kDay), 30.0}};
  window.Picker1.SetDate(EncodeDate(2024, 3, 1));
  window.Picker2.SetDate(EncodeDate(2024, 3, 31));

  user::PickDay(window.Picker1, 12);
  EXPECT_EQ(window.Picker2.Date(), kDay) << "the start date is copied into the end date";
  EXPECT_EQ(Shown(), (std::vector<std::string>{"150.00", "30.00", "120.00"}));
  ASSERT_EQ(fill_->runs.size(), 1u);
  EXPECT_EQ(fill_->runs[0].lines.at(1), " where ((fill_date >=:mBegin) and (fill_date <=:mEnd)) ");
  EXPECT_FALSE(work_->Rows().Active()) << "each query is closed after its sum";
}

TEST_F(ProfitWindowTest, ALossIsShownWithItsSign) {
  Tprofit& window = Open();
  fill_->served = {{"F1", Variant::Date(kDay), 20.0}};
  window.Picker1.SetDate(kDay);
  window.Picker2.SetDate(kDay);
  user::Click(window.SpeedButton3);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"0.00", "20.00", "-20.00"}));
  EXPECT_EQ(window.Difference(), Currency::FromDouble(-20));
}

}  // namespace
