#include "platform/rtl/Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Application.h"

namespace {

// A component that records what happens to it in a shared log.
class Probe : public TComponent {
 public:
  Probe(TComponent* owner, std::string name, std::vector<std::string>& log) : TComponent(owner), log_(log) {
    SetName(name);
  }
  ~Probe() override { log_.push_back("free " + Name()); }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove) log_.push_back(Name() + " heard " + component->Name() + " go");
  }
  void Loaded() override {
    TComponent::Loaded();
    log_.push_back("loaded " + Name());
  }

 private:
  std::vector<std::string>& log_;
};

class Other : public TPersistent {};

TEST(Component, OwnerFreesWhatItOwnsLastCreatedFirst) {
  std::vector<std::string> log;
  auto* form = new TComponent(nullptr);
  new Probe(form, "A", log);
  new Probe(form, "B", log);
  new Probe(form, "C", log);
  delete form;
  EXPECT_EQ((std::vector<std::string>{"free C", "free B", "free A"}), log);
}

TEST(Component, FreeingAnOwnedComponentTellsItsSiblingsAndLeavesTheOwner) {
  std::vector<std::string> log;
  TComponent form(nullptr);
  auto* table = new Probe(&form, "Table1", log);
  new Probe(&form, "DataSource1", log);
  delete table;
  EXPECT_EQ(1, form.ComponentCount());
  EXPECT_EQ(nullptr, form.FindComponent("Table1"));
  EXPECT_EQ((std::vector<std::string>{"free Table1", "DataSource1 heard Table1 go"}), log);
}

TEST(Component, FreeNotificationReachesAComponentOfAnotherOwner) {
  std::vector<std::string> log;
  TComponent form1(nullptr), form2(nullptr);
  auto* source = new Probe(&form1, "Source", log);
  auto* grid = new Probe(&form2, "Grid", log);
  source->FreeNotification(grid);
  delete source;
  EXPECT_EQ((std::vector<std::string>{"free Source", "Grid heard Source go"}), log);
  log.clear();
  delete grid;  // the partnership ended with the source: nothing dangles
  EXPECT_EQ((std::vector<std::string>{"free Grid"}), log);
}

TEST(Component, NamesAreUniquePerOwnerIgnoringCase) {
  TComponent form(nullptr);
  auto* table = new TComponent(&form);
  table->SetName("Table1");
  EXPECT_EQ(table, form.FindComponent("TABLE1"));
  EXPECT_EQ(0, table->ComponentIndex());
  auto* other = new TComponent(&form);
  try {
    other->SetName("table1");
    FAIL() << "a duplicate name was accepted";
  } catch (const EComponentError& e) {
    EXPECT_STREQ("A component named table1 already exists", e.what());
  }
  EXPECT_THROW(other->SetName("1st"), EComponentError);
  EXPECT_EQ("", other->Name());
  table->SetName("TABLE1");  // a change of case only is no clash with itself
  EXPECT_EQ("TABLE1", table->Name());
}

TEST(Component, LoadingFlagsAndLoadedInCreationOrder) {
  std::vector<std::string> log;
  Probe form(nullptr, "Form", log);
  auto* table = new Probe(&form, "Table", log);
  new Probe(&form, "Source", log);
  form.BeginLoading();
  EXPECT_TRUE(table->ComponentState().Contains(csLoading));
  EXPECT_TRUE(table->ComponentState().Contains(csReading));
  form.EndLoading();
  EXPECT_EQ((std::vector<std::string>{"loaded Form", "loaded Table", "loaded Source"}), log);
  EXPECT_TRUE(table->ComponentState().Empty());
  form.SetDesigning(true);
  EXPECT_TRUE(table->ComponentState().Contains(csDesigning));
}

TEST(Persistent, AssignOfAnUnknownClassNamesBothClasses) {
  TComponent component(nullptr);
  Other other;
  try {
    component.Assign(&other);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ("Cannot assign a Other to a TComponent", e.what());
  }
  try {
    component.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ("Cannot assign a nil to a TComponent", e.what());
  }
}

class ApplicationTest : public ::testing::Test {
 protected:
  void TearDown() override {
    Application().OnException = nullptr;
    Application().SetProcessMessagesHandler(nullptr);
  }
};

TEST_F(ApplicationTest, HandleExceptionShowsMessagesButNeverAnAbort) {
  std::vector<std::string> shown;
  TComponent sender(nullptr);
  TObject* seen_sender = nullptr;
  Application().OnException = [&](TObject* s, const std::exception& e) {
    seen_sender = s;
    shown.push_back(e.what());
  };
  try {
    throw Exception("disk full");
  } catch (...) {
    Application().HandleException(&sender);
  }
  try {
    throw EAbort();
  } catch (...) {
    Application().HandleException(&sender);
  }
  EXPECT_EQ((std::vector<std::string>{"disk full"}), shown);
  EXPECT_EQ(&sender, seen_sender);
}

TEST_F(ApplicationTest, DefaultHandlerWritesTheMessageToStandardError) {
  testing::internal::CaptureStderr();
  try {
    throw Exception("disk full");
  } catch (...) {
    Application().HandleException(nullptr);
  }
  EXPECT_EQ("disk full\n", testing::internal::GetCapturedStderr());
}

TEST_F(ApplicationTest, ProcessMessagesRunsTheInstalledPump) {
  int pumped = 0;
  Application().ProcessMessages();
  Application().SetProcessMessagesHandler([&] { ++pumped; });
  Application().ProcessMessages();
  EXPECT_EQ(1, pumped);
}

}  // namespace
