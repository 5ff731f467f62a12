// The database tools window: each operation runs with the window's own
// connection closed, tells how it went, and opens the connection and the
// office name again in every case; an operation the engine refuses is shown
// and leaves the buttons as the user must then find them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/core/DatabaseToolsWindow.h"
#include "app/core/WindowParts.h"
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

  Tdata_hotel_tools& Open(DatabaseMaintenance maintenance) {
    auto factory = [this](TComponent& owner, const std::string&) {
      auto query = std::make_unique<ServedQuery>(owner, std::vector<ArrayFieldDef>{{"of_name", ftString, 100}}, "");
      query->served = {{"วัดทดสอบ"}};
      query_ = query.get();
      return query;
    };
    window_ = FormsApplication().CreateForm<Tdata_hotel_tools>(factory, std::move(maintenance));
    user::ProcessEvents();
    return *window_;
  }

  // Operations that note whether the database was connected when they ran
  // and do what `fail` and `repair_log` say.
  DatabaseMaintenance Scripted() {
    return {[this](TVTRDatabase& database, std::string& log) {
              connected_during.push_back(database.Connected());
              if (!fail.empty()) throw std::runtime_error(fail);
              log = repair_log;
            },
            [this](TVTRDatabase& database) {
              connected_during.push_back(database.Connected());
              if (!fail.empty()) throw std::runtime_error(fail);
            }};
  }

  std::string FileBytes() const {
    std::ifstream file(database_file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
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
  Tdata_hotel_tools& window = Open(Scripted());
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
  Tdata_hotel_tools& window = Open(Scripted());
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
  Tdata_hotel_tools& window = Open(Scripted());
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

TEST_F(DatabaseToolsTest, TheEngineCompactsTheFileWhenNoOtherConnectionHoldsIt) {
  Tdata_hotel_tools& window = Open(EngineMaintenance());
  Dialogs().Answer(mrOk);
  user::Click(window.Button3);
  EXPECT_EQ(Said(), std::vector<std::string>{"เสร็จแล้ว ..."});
  EXPECT_TRUE(window.Button2.Enabled());
  EXPECT_TRUE(window.Button3.Enabled());
  EXPECT_TRUE(window.Db.Connected());
  EXPECT_EQ(seen::Text(window.DBEdit1), "วัดทดสอบ");
  EXPECT_FALSE(std::filesystem::exists(database_file_.string() + ".tmp"));
}

TEST_F(DatabaseToolsTest, TheFileIsNeverReplacedUnderAnotherOpenConnection) {
  TComponent other_window(nullptr);
  TVTRDatabase& other = MakeWindowDatabase(other_window, "Database1", "d_main");
  other.Open();
  const std::string before = FileBytes();

  // The compaction's refusal shows in the window's box and then in the
  // application's; the repair's in the application's alone.
  struct Case {
    const char* button;
    size_t boxes;
  };
  for (const Case& c : {Case{"Button3", 2}, Case{"Button2", 1}}) {
    Tdata_hotel_tools& window = Open(EngineMaintenance());
    Dialogs().Clear();
    for (size_t i = 0; i < c.boxes; ++i) Dialogs().Answer(mrOk);
    user::Click(*static_cast<TButton*>(window.FindComponent(c.button)));
    ASSERT_EQ(Dialogs().Transcript().size(), c.boxes) << c.button;
    for (const std::string& said : Said()) EXPECT_NE(said.find("is open by another connection"), std::string::npos) << said;
    EXPECT_FALSE(window.Button3.Enabled());
    EXPECT_TRUE(window.Db.Connected()) << "the window's connection opens again";
    window.Close();
    user::ProcessEvents();
  }
  other.Close();
  EXPECT_EQ(FileBytes(), before);
  EXPECT_FALSE(std::filesystem::exists(database_file_.string() + ".tmp"));
}

}  // namespace
