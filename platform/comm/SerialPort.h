#pragma once
// A serial port for short commands to a device such as a cash drawer: open,
// write a few bytes, close. The settings apply when the port opens and cannot
// change while it is open. There are no threads: a write returns when its
// bytes have left the program or fails when the write time-out runs out.
// Input and output buffer sizes and the read time-out are kept for the
// caller but left to the driver.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/comm/SerialErrors.h"
#include "platform/comm/SerialSettings.h"
#include "platform/rtl/Component.h"

class TSerialPort : public TComponent {
 public:
  // COM1, 9600 baud, 8 data bits, no parity, one stop bit, no flow control,
  // buffers of 4096 bytes, no time-outs, inactive.
  explicit TSerialPort(TComponent* owner = nullptr);
  // Closes the port.
  ~TSerialPort() override;

  const std::string& Port() const { return port_; }
  // "COM1", "COM2", ... in any letter case; another name raises ESerialPortError.
  void SetPort(std::string_view port);
  // The device the port opens now (see SerialDevice.h).
  std::string DeviceName() const;

  // Each setter raises ESerialPortError while the port is open or for a
  // value the port cannot take.
  int32_t BaudRate() const { return settings_.baud_rate; }
  void SetBaudRate(int32_t baud_rate);
  int32_t DataBits() const { return settings_.data_bits; }
  void SetDataBits(int32_t data_bits);
  TParity Parity() const { return settings_.parity; }
  void SetParity(TParity parity);
  TStopBits StopBits() const { return settings_.stop_bits; }
  void SetStopBits(TStopBits stop_bits);
  TFlowControl FlowControl() const { return settings_.flow_control; }
  void SetFlowControl(TFlowControl flow_control);
  int32_t InBufferSize() const { return in_buffer_size_; }
  void SetInBufferSize(int32_t size);
  int32_t OutBufferSize() const { return out_buffer_size_; }
  void SetOutBufferSize(int32_t size);
  int32_t ReadTimeout() const { return read_timeout_ms_; }
  void SetReadTimeout(int32_t milliseconds);
  // Milliseconds a write may take; 0 waits without limit.
  int32_t WriteTimeout() const { return write_timeout_ms_; }
  void SetWriteTimeout(int32_t milliseconds);

  bool Active() const { return fd_ >= 0; }
  // Opening takes the port for this process alone; an open that fails leaves
  // the port closed. Closing never fails.
  void SetActive(bool active);

  // Sends the bytes. A failure (ESerialTimeout when the time-out runs out,
  // ESerialPortError otherwise) discards what was not sent and closes the
  // port, so the next open starts afresh. Raises ESerialPortError when the
  // port is not open.
  void Write(const void* buffer, size_t count);

 private:
  void Open();
  void Close() noexcept;
  void Send(const uint8_t* bytes, size_t count);
  void RequireInactive() const;
  // "COM2 (/dev/ttyS1)"
  std::string Where() const;

  std::string port_ = "COM1";
  TSerialSettings settings_;
  int32_t in_buffer_size_ = 4096;
  int32_t out_buffer_size_ = 4096;
  int32_t read_timeout_ms_ = 0;
  int32_t write_timeout_ms_ = 0;
  std::string device_;  // the device while open
  int fd_ = -1;
};
