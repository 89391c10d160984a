#include "link/serial_port.h"

#include <QSerialPort>

#include "link/port_path.h"

namespace kv {
namespace {

constexpr int kFirstComPort = 1;
constexpr int kLastComPort = 4;

QSerialPort::DataBits data_bits_of(int bits) {
  switch (bits) {
    case 5: return QSerialPort::Data5;
    case 6: return QSerialPort::Data6;
    case 7: return QSerialPort::Data7;
    default: return QSerialPort::Data8;
  }
}

}  // namespace

std::string build_device_control_text(int port_number, int baud, bool parity, int data_bits, int stop_bits,
                                      bool xon_xoff) {
  std::string text;
  if (port_number >= kFirstComPort && port_number <= kLastComPort) text = "COM" + std::to_string(port_number) + ":";
  text += " baud=" + std::to_string(baud);
  text += parity ? " parity=Y" : " parity=N";
  text += " data=" + std::to_string(data_bits);
  text += " stop=" + std::to_string(stop_bits);
  text += xon_xoff ? " xon=on" : " xon=off";
  text += " TO=ON";
  return text;
}

TSerialPort::TSerialPort() = default;
TSerialPort::~TSerialPort() = default;

bool TSerialPort::open_port(int port_number, int baud, int timeout_ms, bool parity, int data_bits, int stop_bits,
                            bool xon_xoff, bool dtr) {
  control_text_ = build_device_control_text(port_number, baud, parity, data_bits, stop_bits, xon_xoff);
  port_name_ = "COM" + std::to_string(port_number) + ":";
  auto device = find_port_device(port_number);
  device_path_ = std::move(device.path);
  path_warning_ = std::move(device.warning);
  timeout_ms_ = timeout_ms;
  port_ = std::make_unique<QSerialPort>();
  port_->setPortName(QString::fromStdString(device_path_));
  open_error_.clear();
  if (!port_->open(QIODevice::ReadWrite)) {
    open_error_ = port_->errorString().toStdString();
    return false;
  }
  const bool configured = port_->setBaudRate(baud) && port_->setDataBits(data_bits_of(data_bits)) &&
                          port_->setParity(parity ? QSerialPort::EvenParity : QSerialPort::NoParity) &&
                          port_->setStopBits(stop_bits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
                          port_->setFlowControl(xon_xoff ? QSerialPort::SoftwareControl : QSerialPort::NoFlowControl);
  // Modem lines do not exist on every device (a pseudo-terminal has none), so
  // a refused DTR setting is not a failed open.
  port_->setDataTerminalReady(dtr);
  port_->clear(QSerialPort::AllDirections);
  if (!configured) {
    open_error_ = port_->errorString().toStdString();
    port_->close();
  }
  return configured;
}

bool TSerialPort::open_port(int port_number) {
  return open_port(port_number, kLineBaud, kReadTimeoutMs, false, 8, 1, false, false);
}

void TSerialPort::close_port() {
  if (port_) port_->close();
}

bool TSerialPort::is_open() const { return port_ && port_->isOpen(); }

std::optional<std::uint8_t> TSerialPort::read_byte_timed() {
  if (!is_open()) return std::nullopt;
  if (port_->bytesAvailable() == 0 && !port_->waitForReadyRead(timeout_ms_)) return std::nullopt;
  char c = 0;
  if (!port_->getChar(&c)) return std::nullopt;
  return static_cast<std::uint8_t>(c);
}

std::uint8_t TSerialPort::read_byte() { return read_byte_timed().value_or(0); }

void TSerialPort::write_byte(std::uint8_t value) {
  if (!is_open()) return;
  port_->putChar(static_cast<char>(value));
  port_->flush();
}

}  // namespace kv
