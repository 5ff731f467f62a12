// The database tools window: each operation runs with the window's own
// connection closed, tells how it went, and opens the connection and the
// office name again in every case; an operation the engine refuses is shown
// and leaves the buttons as the user must then find them.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/core/DatabaseToolsWindow.h"
#include "engine/access/Database.h"
#include "tests/app/core/support/MdiFrame.h"
#include "tests/app/core/support/ServedQuery.h"
#include "tests/app/core/support/TempleDatabaseTest.h"
#include "tests/platform/ui/support/Seen.h"

namespace {


class DatabaseToolsTest : public TempleDatabaseTest {
 protected:
  void SetUp() override {
    TempleDatabaseTest::SetUp();
    MdiFrame::Open();
  }

  Tdata_hotel_tools& Open() {
    auto factory = [this](TComponent& owner) {
      auto query = std::make_unique<ServedQuery>(owner, std::vector<ArrayFieldDef>{{"of_name", ftString, 100}}, "");
      query->served = {{"วัดทดสอบ"}};
      query_ = query.get();
      return query;
    };
    DatabaseMaintenance maintenance{
        [this](TVTRDatabase& database, std::string& log) {
          connected_during.push_back(database.Connected());
          if (!fail.empty()) throw std::runtime_error(fail);
          log = repair_log;
        },
        [this](TVTRDatabase& database) {
          connected_during.push_back(database.Connected());
          if (!fail.empty()) throw std::runtime_error(fail);
        }};
    window_ = FormsApplication().CreateForm<Tdata_hotel_tools>(factory, maintenance);
    user::ProcessEvents();
    return *window_;
  }

  std::vector<std::string> Said() {
    std::vector<std::string> texts;
    for (const DialogRecord& record : Dialogs().Transcript()) texts.push_back(record.text);
    return texts;
  }

  Tdata_hotel_tools* window_ = nullptr;
  ServedQuery* query_ = nullptr;
  std::vector<bool> connected_during;
  std::string repair_log;
  std::string fail;
};

TEST_F(DatabaseToolsTest, CompactRunsClosedThenShowsTheOfficeName) {
  Tdata_hotel_tools& window = Open();
  EXPECT_EQ(seen::Caption(window), " Quill Data Tools");
  EXPECT_EQ(seen::Text(window.DBEdit1), "") << "no name before the first operation";
  EXPECT_TRUE(seen::HasFocus(window.Button3));

  Dialogs().Answer(mrOk);
  user::Click(window.Button3);
  EXPECT_EQ(connected_during, std::vector<bool>{false});
  EXPECT_EQ(Said(), std::vector<std::string>{"เสร็จแล้ว ..."});
  EXPECT_TRUE(window.Button2.Enabled());
  EXPECT_TRUE(window.Button3.Enabled());
  EXPECT_TRUE(window.Db.Connected());
  EXPECT_EQ(seen::Text(window.DBEdit1), "วัดทดสอบ");
  EXPECT_EQ(query_->runs.at(0).lines, std::vector<std::string>{"Select of_name from tresksys"});
}

TEST_F(DatabaseToolsTest, ARefusedCompactIsShownTwiceAndLeavesTheButtonsDisabled) {
  Tdata_hotel_tools& window = Open();
  fail = "Cannot replace the database file: it is open by another connection";
  Dialogs().Answer(mrOk);
  Dialogs().Answer(mrOk);
  user::Click(window.Button3);
  EXPECT_EQ(Said(), std::vector<std::string>(2, fail)) << "the window's box, then the application's";
  EXPECT_FALSE(window.Button2.Enabled());
  EXPECT_FALSE(window.Button3.Enabled());
  EXPECT_TRUE(window.Db.Connected()) << "reopened all the same";
  EXPECT_EQ(seen::Text(window.DBEdit1), "วัดทดสอบ");
}

TEST_F(DatabaseToolsTest, ARepairLogIsShownAsAnErrorAndThenAsAMessage) {
  Tdata_hotel_tools& window = Open();
  repair_log = "Table h_work: 2 records could not be read";
  Dialogs().Answer(mrOk);
  Dialogs().Answer(mrOk);
  user::Click(window.Button2);
  ASSERT_EQ(Dialogs().Transcript().size(), 2u);
  EXPECT_EQ(Dialogs().Transcript()[0].type, mtError);
  EXPECT_EQ(Said(), std::vector<std::string>(2, repair_log));
  EXPECT_TRUE(window.Button2.Enabled());
  EXPECT_EQ(connected_during, std::vector<bool>{false});

  Dialogs().Clear();
  repair_log.clear();
  Dialogs().Answer(mrOk);
  user::Click(window.Button2);
  EXPECT_EQ(Said(), std::vector<std::string>{"เสร็จแล้ว ..."});
}

}  // namespace
