// The cash drawer window sending its open command to a pseudo-terminal that
// stands in for the serial port.
#include <gtest/gtest.h>

#include <string>

#include "app/core/Poke.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/comm/support/PseudoTerminal.h"
#include "tests/platform/ui/support/Seen.h"

namespace {

class CashDrawer : public TempleWindowTest {
 protected:
  void SetComPort(const std::string& port) {
    TVTRTable& settings = OtherUser("sys_sys");
    settings.Open();
    settings.Edit();
    settings.FieldByName("com_port")->SetAsString(port);
    settings.Post();
    settings.Close();
  }

  TPoke& Open() {
    auto* window = FormsApplication().CreateForm<TPoke>();
    window->Show();
    user::ProcessEvents();
    return *window;
  }
};

TEST_F(CashDrawer, EachPressSendsOneOpenCommandToThePortOfTheSettings) {
  struct Case {
    const char* com_port;
    const char* variable;
  };
  for (const Case& c : {Case{"2", "VTR_COM2"}, Case{"", "VTR_COM1"}, Case{"7", "VTR_COM1"}}) {
    SCOPED_TRACE(c.com_port);
    PseudoTerminal drawer(c.variable);
    SetComPort(c.com_port);
    TPoke& w = Open();
    EXPECT_EQ(seen::Caption(w), "Quill_CashDrawer");
    EXPECT_EQ(seen::Text(*w.Button1), "เปิดลิ้นชัก");
    user::Click(*w.Button1);
    EXPECT_EQ(drawer.Received(), "0");
    user::Click(*w.Button1);
    user::Click(*w.Button1);
    EXPECT_EQ(drawer.Received(), "00");
    EXPECT_FALSE(w.nrComm1->Active());
    EXPECT_TRUE(Dialogs().Transcript().empty());
    w.Close();
    user::ProcessEvents();
  }
}

TEST_F(CashDrawer, AMissingDeviceIsReportedAndAPressAfterItIsBackWorks) {
  SetComPort("2");
  const std::string missing = (folder_.Path() / "no-such-tty").string();
  ScopedEnv absent("VTR_COM2", missing);
  TPoke& w = Open();
  Dialogs().Answer(mrOk);
  user::Click(*w.Button1);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_NE(Dialogs().Transcript()[0].text.find(missing), std::string::npos) << Dialogs().Transcript()[0].text;
  EXPECT_NE(Dialogs().Transcript()[0].text.find("COM2"), std::string::npos);
  EXPECT_TRUE(seen::OnScreen(w));
  EXPECT_FALSE(w.nrComm1->Active());

  PseudoTerminal drawer("VTR_COM2");
  user::Click(*w.Button1);
  EXPECT_EQ(drawer.Received(), "0");
}

}  // namespace
