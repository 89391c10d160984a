#pragma once
// A stand-in for the instrument that speaks its protocol over the master side
// of a pseudo-terminal, so the program's real serial code can talk to it.
#include <functional>
#include <memory>
#include <string>

#include "emulator/instrument.h"

namespace kv::emu {

class Emulator {
 public:
  explicit Emulator(Instrument instrument = {});
  ~Emulator();  // stops serving and removes the COM link it made
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;

  // Creates the pseudo-terminal. False (with errno set) on failure.
  bool open();
  // The slave device path, e.g. /dev/pts/7.
  std::string device_path() const;
  // Makes <emulator_link_folder()>/COMn point at the device.
  bool link_as_com(int port_number);
  // Why link_as_com refused a link folder it could not trust ("" otherwise;
  // other failures set errno).
  std::string link_error() const;

  // Serves on a background thread until stop() or destruction.
  void start();
  void stop();
  // Serves on the calling thread until `keep_going` returns false (checked a
  // few times a second).
  void serve(const std::function<bool()>& keep_going);

  // Thread-safe views and changes of the instrument and its traffic.
  Instrument instrument() const;
  void update(const std::function<void(Instrument&)>& change);
  Traffic traffic() const;
  void reset_traffic();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kv::emu
