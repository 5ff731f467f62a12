#pragma once
// The line settings of a serial port and their terminal form.
#include <termios.h>

#include <cstdint>

enum TParity : uint8_t { paNone, paOdd, paEven, paMark, paSpace };
enum TStopBits : uint8_t { sbOne, sbTwo };
enum TFlowControl : uint8_t { fcNone, fcXonXoff };

struct TSerialSettings {
  int32_t baud_rate = 9600;
  int32_t data_bits = 8;  // 5 .. 8
  TParity parity = paNone;
  TStopBits stop_bits = sbOne;
  TFlowControl flow_control = fcNone;
};

bool IsSupportedBaudRate(int32_t baud_rate);

// Raw mode with the settings: bytes pass unchanged both ways (no echo, line
// editing, translation or signals), the modem lines are ignored, and a read
// returns at once. Requires a supported baud rate and 5 .. 8 data bits.
void ApplySettings(const TSerialSettings& settings, termios& line);
