// The cash drawer window sending its open command to a pseudo-terminal that
// stands in for the serial port.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/core/Poke.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"

namespace {

// A pseudo-terminal; `Received` reads what was written to its other end.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0)
      ADD_FAILURE() << "no pseudo-terminal";
    name_ = name;
    // Held open so that the terminal outlives each press's open and close.
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  }
  ~PseudoTerminal() {
    ::close(slave_);
    ::close(master_);
  }
  const std::string& Name() const { return name_; }

  // Waits up to 1 s for the first byte, then takes what follows within 50 ms.
  std::string Received() const {
    std::string bytes;
    for (int wait_ms = 1000;; wait_ms = 50) {
      pollfd ready{master_, POLLIN, 0};
      if (::poll(&ready, 1, wait_ms) <= 0) return bytes;
      char buffer[64];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) return bytes;
      bytes.append(buffer, static_cast<size_t>(n));
    }
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string name_;
};

class CashDrawer : public TempleWindowTest {
 protected:
  void TearDown() override {
    ::unsetenv("VTR_COM1");
    ::unsetenv("VTR_COM2");
    TempleWindowTest::TearDown();
  }

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
    PseudoTerminal drawer;
    ::setenv(c.variable, drawer.Name().c_str(), 1);
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
    ::unsetenv(c.variable);
    w.Close();
    user::ProcessEvents();
  }
}

TEST_F(CashDrawer, AMissingDeviceIsReportedAndAPressAfterItIsBackWorks) {
  SetComPort("2");
  const std::string missing = (folder_.Path() / "no-such-tty").string();
  ::setenv("VTR_COM2", missing.c_str(), 1);
  TPoke& w = Open();
  Dialogs().Answer(mrOk);
  user::Click(*w.Button1);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_NE(Dialogs().Transcript()[0].text.find(missing), std::string::npos) << Dialogs().Transcript()[0].text;
  EXPECT_NE(Dialogs().Transcript()[0].text.find("COM2"), std::string::npos);
  EXPECT_TRUE(seen::OnScreen(w));
  EXPECT_FALSE(w.nrComm1->Active());

  PseudoTerminal drawer;
  ::setenv("VTR_COM2", drawer.Name().c_str(), 1);
  user::Click(*w.Button1);
  EXPECT_EQ(drawer.Received(), "0");
}

}  // namespace
