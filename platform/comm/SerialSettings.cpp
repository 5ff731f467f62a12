#include "platform/comm/SerialSettings.h"

#include <algorithm>
#include <iterator>

namespace {

struct Speed {
  int32_t baud_rate;
  speed_t code;
};

constexpr Speed kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

const Speed* FindSpeed(int32_t baud_rate) {
  const auto found = std::find_if(std::begin(kSpeeds), std::end(kSpeeds),
                                  [baud_rate](const Speed& speed) { return speed.baud_rate == baud_rate; });
  return found == std::end(kSpeeds) ? nullptr : found;
}

tcflag_t CharacterSize(int32_t data_bits) {
  switch (data_bits) {
    case 5:
      return CS5;
    case 6:
      return CS6;
    case 7:
      return CS7;
    default:
      return CS8;
  }
}

tcflag_t ParityFlags(TParity parity) {
  switch (parity) {
    case paOdd:
      return PARENB | PARODD;
    case paEven:
      return PARENB;
    case paMark:
      return PARENB | CMSPAR | PARODD;
    case paSpace:
      return PARENB | CMSPAR;
    default:
      return 0;
  }
}

}  // namespace

bool IsSupportedBaudRate(int32_t baud_rate) {
  return FindSpeed(baud_rate) != nullptr;
}

void ApplySettings(const TSerialSettings& settings, termios& line) {
  // No input, output or local processing at all; the control flags keep what
  // the driver set beyond the line settings (modem hang-up on close).
  line.c_iflag = 0;
  line.c_oflag = 0;
  line.c_lflag = 0;
  line.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  line.c_cflag |= CREAD | CLOCAL | CharacterSize(settings.data_bits) | ParityFlags(settings.parity);
  if (settings.parity != paNone) line.c_iflag |= INPCK;
  if (settings.stop_bits == sbTwo) line.c_cflag |= CSTOPB;
  if (settings.flow_control == fcXonXoff) {
    line.c_iflag |= IXON | IXOFF;
    line.c_cc[VSTART] = 0x11;
    line.c_cc[VSTOP] = 0x13;
  }
  line.c_cc[VMIN] = 0;
  line.c_cc[VTIME] = 0;
  const speed_t speed = FindSpeed(settings.baud_rate)->code;
  cfsetispeed(&line, speed);
  cfsetospeed(&line, speed);
}
