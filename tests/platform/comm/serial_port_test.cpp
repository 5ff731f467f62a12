#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <optional>
#include <string>

#include "platform/comm/SerialDevice.h"
#include "platform/comm/SerialPort.h"
#include "platform/os/Clock.h"

namespace {

// Sets an environment variable for a scope and restores it after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A pseudo-terminal whose slave stands in for COM2. The test keeps a slave
// descriptor of its own, so the terminal and its settings outlive the port.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0)
      ADD_FAILURE() << "no pseudo-terminal";
    slave_name_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    env_.emplace("VTR_COM2", slave_name_);
  }
  ~PseudoTerminal() {
    CloseMaster();
    if (slave_ >= 0) ::close(slave_);
  }

  const std::string& SlaveName() const { return slave_name_; }
  int Slave() const { return slave_; }

  void SendToPort(const std::string& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
  }
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  // What the port has sent: waits up to 1 s for the first byte, then takes
  // whatever follows within 50 ms.
  std::string Received() {
    std::string bytes;
    for (int wait_ms = 1000;; wait_ms = 50) {
      pollfd ready{master_, POLLIN, 0};
      if (::poll(&ready, 1, wait_ms) <= 0) return bytes;
      char buffer[256];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) return bytes;
      bytes.append(buffer, size_t(n));
    }
  }

  // Waits until the slave's output stands still (after an XOFF).
  bool WaitUntilStopped() {
    for (int i = 0; i < 1000; ++i) {
      pollfd ready{slave_, POLLOUT, 0};
      if (::poll(&ready, 1, 0) == 0) return true;
      SleepMilliseconds(1);
    }
    return false;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slave_name_;
  std::optional<ScopedEnv> env_;
};

// The cash drawer's settings.
void SetUpDrawerPort(TSerialPort& port) {
  port.SetPort("COM2");
  port.SetBaudRate(9600);
  port.SetDataBits(8);
  port.SetParity(paNone);
  port.SetStopBits(sbOne);
  port.SetFlowControl(fcXonXoff);
  port.SetInBufferSize(4096);
  port.SetOutBufferSize(4096);
  port.SetReadTimeout(0);
  port.SetWriteTimeout(100);
}

void OpenWriteClose(TSerialPort& port, const std::string& bytes) {
  port.SetActive(true);
  port.Write(bytes.data(), bytes.size());
  port.SetActive(false);
}

TEST(SerialPort, DrawerCommandReachesTheDeviceAsOneByteInRawMode) {
  PseudoTerminal terminal;
  TSerialPort port;
  SetUpDrawerPort(port);
  OpenWriteClose(port, "0");
  EXPECT_FALSE(port.Active());
  EXPECT_EQ(terminal.Received(), "0");

  termios line{};
  ASSERT_EQ(::tcgetattr(terminal.Slave(), &line), 0);
  EXPECT_EQ(::cfgetispeed(&line), speed_t(B9600));
  EXPECT_EQ(::cfgetospeed(&line), speed_t(B9600));
  EXPECT_EQ(line.c_cflag & CSIZE, tcflag_t(CS8));
  EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB), 0u);
  EXPECT_EQ(line.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
  EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(line.c_oflag & OPOST, 0u);
}

TEST(SerialPort, EachRoundOpensAndClosesThePort) {
  PseudoTerminal terminal;
  TSerialPort port;
  SetUpDrawerPort(port);
  OpenWriteClose(port, "0");
  OpenWriteClose(port, "0");
  EXPECT_EQ(terminal.Received(), "00");
}

TEST(SerialPort, HoldsTheDeviceExclusivelyWhileOpen) {
  PseudoTerminal terminal;
  const auto exclusive = [&] {
    int flag = -1;
    EXPECT_EQ(::ioctl(terminal.Slave(), TIOCGEXCL, &flag), 0);
    return flag;
  };
  TSerialPort port;
  port.SetPort("COM2");
  port.SetActive(true);
  EXPECT_EQ(exclusive(), 1);
  port.SetActive(false);
  EXPECT_EQ(exclusive(), 0);
}

// A pseudo-terminal forces 8 data bits without parity, so the other line
// settings are checked on the terminal settings the port would apply.
TEST(SerialSettings, LineSettingsMapToTerminalFlags) {
  struct Case {
    TSerialSettings settings;
    speed_t speed;
    tcflag_t control;  // of CSIZE, PARENB, PARODD, CMSPAR, CSTOPB
    tcflag_t input;    // of IXON, IXOFF, INPCK
  };
  const Case cases[] = {
      {{9600, 8, paNone, sbOne, fcXonXoff}, B9600, CS8, IXON | IXOFF},
      {{115200, 7, paEven, sbTwo, fcNone}, B115200, CS7 | PARENB | CSTOPB, INPCK},
      {{2400, 5, paOdd, sbOne, fcNone}, B2400, CS5 | PARENB | PARODD, INPCK},
      {{19200, 6, paMark, sbOne, fcNone}, B19200, CS6 | PARENB | PARODD | CMSPAR, INPCK},
      {{4800, 8, paSpace, sbTwo, fcXonXoff}, B4800, CS8 | PARENB | CMSPAR | CSTOPB, IXON | IXOFF | INPCK},
  };
  for (const Case& c : cases) {
    // Every flag set beforehand: the settings must clear what they do not want.
    termios line;
    std::memset(&line, 0xFF, sizeof line);
    ApplySettings(c.settings, line);
    SCOPED_TRACE(c.settings.baud_rate);
    EXPECT_EQ(::cfgetispeed(&line), c.speed);
    EXPECT_EQ(::cfgetospeed(&line), c.speed);
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS), c.control);
    EXPECT_EQ(line.c_cflag & (CREAD | CLOCAL), tcflag_t(CREAD | CLOCAL));
    EXPECT_EQ(line.c_iflag, c.input);
    EXPECT_EQ(line.c_oflag, 0u);
    EXPECT_EQ(line.c_lflag, 0u);
    EXPECT_EQ(line.c_cc[VMIN], 0);
    EXPECT_EQ(line.c_cc[VTIME], 0);
  }
}

TEST(SerialPort, WriteAfterXoffTimesOutAndClosesThePort) {
  PseudoTerminal terminal;
  TSerialPort port;
  SetUpDrawerPort(port);
  port.SetActive(true);
  terminal.SendToPort("\x13");
  ASSERT_TRUE(terminal.WaitUntilStopped());

  const int64_t start = MonotonicMilliseconds();
  try {
    port.Write("0", 1);
    ADD_FAILURE() << "the write did not time out";
  } catch (const ESerialTimeout& e) {
    EXPECT_EQ(e.Message(), "write to COM2 (" + terminal.SlaveName() + ") timed out after 100 ms");
  }
  const int64_t elapsed = MonotonicMilliseconds() - start;
  EXPECT_GE(elapsed, 95);
  EXPECT_LT(elapsed, 1000);
  EXPECT_FALSE(port.Active());

  // The next press starts afresh once the device accepts data again.
  terminal.SendToPort("\x11");
  OpenWriteClose(port, "0");
  EXPECT_EQ(terminal.Received(), "0");
}

TEST(SerialPort, WriteToAVanishedDeviceFailsAndClosesThePort) {
  PseudoTerminal terminal;
  TSerialPort port;
  SetUpDrawerPort(port);
  port.SetActive(true);
  terminal.CloseMaster();
  try {
    port.Write("0", 1);
    ADD_FAILURE() << "the write succeeded";
  } catch (const ESerialTimeout&) {
    ADD_FAILURE() << "a hang-up is no time-out";
  } catch (const ESerialPortError& e) {
    EXPECT_EQ(e.Message().rfind("cannot write to COM2 (" + terminal.SlaveName() + "): ", 0), 0u)
        << e.Message();
  }
  EXPECT_FALSE(port.Active());
}

TEST(SerialPort, FailedOpensNameThePortAndTheDevice) {
  const std::pair<std::string, std::string> cases[] = {
      {"/nonexistent/ttyX", "cannot open COM2 (/nonexistent/ttyX): no such file or directory"},
      {"/dev/null", "cannot open COM2 (/dev/null): not a serial device"},
  };
  for (const auto& [device, message] : cases) {
    ScopedEnv env("VTR_COM2", device);
    TSerialPort port;
    port.SetPort("COM2");
    try {
      port.SetActive(true);
      ADD_FAILURE() << device << " opened";
    } catch (const ESerialPortError& e) {
      EXPECT_EQ(e.Message(), message);
    }
    EXPECT_FALSE(port.Active());
  }
}

TEST(SerialPort, PortNamesMapToDevicesUnlessTheEnvironmentSaysOtherwise) {
  ::unsetenv("VTR_COM1");
  {
    ScopedEnv empty("VTR_COM2", "");
    EXPECT_EQ(SerialDeviceOf(1), "/dev/ttyS0");
    EXPECT_EQ(SerialDeviceOf(2), "/dev/ttyS1");
  }
  ScopedEnv usb("VTR_COM2", "/dev/ttyUSB0");
  EXPECT_EQ(SerialDeviceOf(2), "/dev/ttyUSB0");

  for (const auto& [name, number] : {std::pair{"COM1", 1},
                                     {"com2", 2},
                                     {"Com12", 12},
                                     {"COM0", 0},
                                     {"COM01", 0},
                                     {"COM", 0},
                                     {"COM2x", 0},
                                     {"LPT1", 0},
                                     {"/dev/ttyS0", 0}})
    EXPECT_EQ(SerialPortNumber(name), number) << name;
}

TEST(SerialPort, RefusesSettingsItCannotKeep) {
  PseudoTerminal terminal;
  TSerialPort port;
  EXPECT_THROW(port.SetPort("LPT1"), ESerialPortError);
  EXPECT_THROW(port.SetBaudRate(12345), ESerialPortError);
  EXPECT_THROW(port.SetDataBits(9), ESerialPortError);
  EXPECT_THROW(port.SetWriteTimeout(-1), ESerialPortError);
  EXPECT_THROW(port.Write("0", 1), ESerialPortError);
  EXPECT_EQ(port.Port(), "COM1");
  EXPECT_EQ(port.BaudRate(), 9600);

  port.SetPort("COM2");
  port.SetActive(true);
  EXPECT_THROW(port.SetBaudRate(4800), ESerialPortError);
  EXPECT_THROW(port.SetPort("COM1"), ESerialPortError);
  EXPECT_TRUE(port.Active());
}

}  // namespace
