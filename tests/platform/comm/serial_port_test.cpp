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
#include "tests/platform/comm/support/PseudoTerminal.h"

namespace {

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
