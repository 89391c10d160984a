#pragma once
// The single-byte command protocol spoken with the instrument, and the
// exchanges built from it. Each exchange runs to completion, reporting every
// failure to the person through the Ui.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/byte_stream.h"
#include "link/log_download.h"
#include "link/protocol_log.h"
#include "ui/ui.h"

namespace kv {

constexpr std::size_t kConfigBytes = 52;
constexpr std::uint8_t kConfigFirstAddress = 204;
using ConfigBytes = std::array<std::uint8_t, kConfigBytes>;

enum class LinkOutcome {
  Done,            // the exchange completed
  Busy,            // another exchange is running; nothing was sent
  NotOpen,         // "Select a free COM port"
  NoConnection,    // no 'U' after 'p'
  VersionRefused,  // version outside 3.19-3.29
  NoData,          // empty log memory
  DataError,       // a page failed its checksum or went silent; the good pages before it kept
  Declined,        // the person answered No
  ClearFailed,     // 'z' not answered with 'U'
  PacketError,     // a configuration write was not acknowledged
  Cancelled,       // the person stopped a download; the pages before kept
};

// Where the "Select a free COM port" box is a warning rather than information.
enum class NotOpenKind { Information, Warning };

struct DownloadObserver {
  std::function<void(const MemoryStatus&)> on_memory_status;  // after 's'
  std::function<void(int page_count)> on_pages_start;         // before 'c'
  std::function<void()> on_page_done;                         // after each page's data
  std::function<void()> on_pages_end;                         // after the last page read, however it ended
  // Asked at the end of every page but the last: true stops the download
  // there, dropping that page and keeping the ones before it.
  std::function<bool()> cancel_requested;
};

struct VersionObserver {
  std::function<void(std::uint8_t major, std::uint8_t minor)> on_version;
};

class LinkProtocol {
 public:
  // `port_open` is the program-wide flag, read at the start of every exchange.
  // Every exchange and byte goes to `log` when there is one.
  LinkProtocol(ByteStream& port, const std::uint8_t& port_open, ProtocolLog* log = nullptr)
      : port_(port), port_open_(port_open), log_(log) {}

  bool busy() const { return running_; }

  // 'p' -> 'U'. Reports "Select a free COM port" or the no-connection text.
  LinkOutcome connect_check(Ui& ui, NotOpenKind kind);

  // Downloads the log memory into `into`, which starts afresh once the
  // instrument has answered. In dump mode
  // 513 pages are read whatever the used-page count says.
  LinkOutcome download_log(LogDownload& into, bool dump, Ui& ui, const DownloadObserver& observer = {});

  // Asks, then clears the instrument's log memory with 'z'.
  LinkOutcome clear_log(Ui& ui);

  // Reads addresses 204-255 into `staging`, then copies it into `image`.
  LinkOutcome read_config(ConfigBytes& staging, ConfigBytes& image, Ui& ui, const VersionObserver& observer = {});

  // Writes `image` back; the odometer bytes only when `odometer_write_enabled`.
  LinkOutcome write_config(const ConfigBytes& image, bool odometer_write_enabled, Ui& ui,
                           const VersionObserver& observer = {});

 private:
  class Guard;
  std::optional<std::uint8_t> read();
  std::uint8_t read_or_zero();
  void send(std::uint8_t value);
  std::uint16_t read_word();
  LinkOutcome start(Ui& ui, NotOpenKind kind);
  LinkOutcome check_version(Ui& ui, const char* refusal, std::uint16_t& version, std::uint8_t& major,
                            std::uint8_t& minor);
  LinkOutcome identity_for_config(Ui& ui, const VersionObserver& observer);
  enum class PageRead { Good, BadChecksum, Silent };
  PageRead read_page(std::vector<std::uint8_t>& image, std::size_t offset, Ui& ui, const DownloadObserver& observer);
  LinkOutcome read_pages(LogDownload& into, int last_page, Ui& ui, const DownloadObserver& observer);
  LinkOutcome download_after_connect(LogDownload& into, bool dump, Ui& ui, const DownloadObserver& observer);
  LinkOutcome clear_after_connect(Ui& ui);
  LinkOutcome write_after_identity(const ConfigBytes& image, bool odometer_write_enabled, Ui& ui);
  // Runs `body` once the line is free and the instrument has answered 'p'.
  template <typename Body>
  LinkOutcome exchange(const char* name, Ui& ui, NotOpenKind kind, Body body);
  void report_log_failure(Ui& ui);
  // The same, followed by the identity check of the configuration exchanges.
  template <typename Body>
  LinkOutcome config_exchange(const char* name, Ui& ui, const VersionObserver& observer, Body body);

  ByteStream& port_;
  const std::uint8_t& port_open_;
  ProtocolLog* log_;
  bool running_ = false;
};

// Message texts of the link exchanges.
namespace link_text {
inline constexpr const char* kSelectPort = "Select a free COM port";
inline constexpr const char* kNoConnection =
    "No Connection to Korvanta Unit !\rCheck that:\r1) The serial lead is in place !\r"
    "2) The Korvanta is switched on !\r3) The Korvanta is in Data Transfer Mode !";
inline constexpr const char* kDownloadVersion = "Pelmorix Version not compatible with Korvanta Version";
inline constexpr const char* kConfigVersion = "Software Version not compatible with Korvanta Version";
inline constexpr const char* kNoData = "No data to download";
inline constexpr const char* kBadDownload = "Problem with Data in Download";
inline constexpr const char* kAskClear = "Clear the Korvanta Memory for Next Data Log Session";
inline constexpr const char* kNotCleared = "Memory Not Cleared";
inline constexpr const char* kCleared = "Memory Cleared for Next Data Log Session";
inline constexpr const char* kClearError = "Error Clearing Memory Pointers";
inline constexpr const char* kPacketProblem = "Problem with Data Packet";
inline constexpr const char* kConfigUploaded = "Korvanta Config Uploaded OK";
}  // namespace link_text

// "Download Cancelled, %d of %d pages kept"
std::string cancelled_text(int kept, int total);

// How an outcome reads in the protocol log, e.g. "version refused".
const char* outcome_name(LinkOutcome outcome);

}  // namespace kv
