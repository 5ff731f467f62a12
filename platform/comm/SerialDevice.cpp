#include "platform/comm/SerialDevice.h"

#include <charconv>
#include <cstdlib>

int SerialPortNumber(std::string_view port) {
  if (port.size() < 4) return 0;
  for (size_t i = 0; i < 3; ++i)
    if ((port[i] | 0x20) != "com"[i]) return 0;
  int number = 0;
  const auto digits = port.substr(3);
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || digits[0] == '0') return 0;
  return number;
}

std::string SerialDeviceOf(int port_number) {
  const std::string variable = "VTR_COM" + std::to_string(port_number);
  const char* device = std::getenv(variable.c_str());
  if (device && *device) return device;
  return "/dev/ttyS" + std::to_string(port_number - 1);
}
