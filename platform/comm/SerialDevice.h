#pragma once
// Port names and the devices behind them. COMn is /dev/ttyS(n-1) unless the
// environment variable VTR_COMn names another device (a USB adapter, or a
// pseudo-terminal in tests).
#include <string>
#include <string_view>

// n for "COMn" in any letter case with n >= 1, otherwise 0.
int SerialPortNumber(std::string_view port);
// The device of port n (n >= 1), read from the environment at each call.
std::string SerialDeviceOf(int port_number);
