#pragma once
// The program's only access to the RS-232 line: open a numbered COM port with
// fixed settings, read one byte with a short time-out, write one byte, close.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "link/byte_stream.h"

class QSerialPort;

namespace kv {

constexpr int kLineBaud = 115200;
constexpr int kReadTimeoutMs = 50;

// The device-control text for the given settings, e.g.
// "COM3: baud=115200 parity=N data=8 stop=1 xon=off TO=ON".
std::string build_device_control_text(int port_number, int baud, bool parity, int data_bits, int stop_bits,
                                      bool xon_xoff);

class TSerialPort : public ByteStream {
 public:
  TSerialPort();
  ~TSerialPort() override;
  TSerialPort(const TSerialPort&) = delete;
  TSerialPort& operator=(const TSerialPort&) = delete;

  // True when the port is open and configured.
  bool open_port(int port_number, int baud, int timeout_ms, bool parity, int data_bits, int stop_bits,
                 bool xon_xoff, bool dtr);
  // Opens with the program's fixed line settings.
  bool open_port(int port_number);
  void close_port();
  bool is_open() const;

  // The next byte, or 0 when nothing arrives within the time-out (a received
  // 0x00 looks the same; read_byte_timed tells them apart).
  std::uint8_t read_byte();
  std::optional<std::uint8_t> read_byte_timed() override;
  void write_byte(std::uint8_t value) override;

  // The program always reads with 50 ms; tests on a loaded machine may allow
  // the emulated instrument more.
  void set_read_timeout_ms(int timeout_ms) { timeout_ms_ = timeout_ms; }

  const std::string& device_control_text() const { return control_text_; }
  const std::string& port_name() const { return port_name_; }   // e.g. "COM3:"
  const std::string& device_path() const { return device_path_; }
  // Why the last open failed, as the system put it (e.g. "Permission denied").
  const std::string& open_error() const { return open_error_; }
  // Set when the last open passed over an emulator link it could not trust.
  const std::string& path_warning() const { return path_warning_; }

 private:
  std::unique_ptr<QSerialPort> port_;
  std::string control_text_;
  std::string port_name_;
  std::string device_path_;
  std::string open_error_;
  std::string path_warning_;
  int timeout_ms_ = kReadTimeoutMs;
};

}  // namespace kv
