#include "link/protocol.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kv {
namespace {

namespace cmd {
constexpr std::uint8_t kConnect = 'p';
constexpr std::uint8_t kIdentity = 'x';
constexpr std::uint8_t kInfoWord = 'q';
constexpr std::uint8_t kMemoryStatus = 's';
constexpr std::uint8_t kStartDownload = 'c';
constexpr std::uint8_t kNextPage = 'n';
constexpr std::uint8_t kClearMemory = 'z';
constexpr std::uint8_t kReadConfig = 'r';
constexpr std::uint8_t kWriteConfig = 'w';
}  // namespace cmd

constexpr std::uint8_t kReady = 'U';
constexpr int kPageLeadBytes = 2;
constexpr int kPageDataBytes = 256;
constexpr int kIdentityTrailingBytes = 4;
// After a refused version the rest of the identity reply and whatever follows
// is drained so the next exchange starts on a quiet line.
constexpr int kVersionDrainBytes = 9;
constexpr std::uint16_t kDumpPages = 512;
constexpr double kBitsPerPage = 2048.0;  // 256 bytes x 8 bits

bool never_written(std::uint8_t address) { return address == 204 || (address >= 217 && address <= 222); }
bool odometer_address(std::uint8_t address) { return address == 229 || address == 230; }

void fill_memory_status(MemoryStatus& status, std::uint16_t total, std::uint16_t used, std::uint16_t tail,
                        std::uint32_t used_bytes) {
  status.total_pages = total;
  status.used_pages = used;
  status.tail_count = tail;
  status.memory_size_mbit = static_cast<std::uint8_t>(std::lround(total * kBitsPerPage / 1000000.0));
  // An instrument reporting no memory at all shows as empty, not as a division by zero.
  status.percent_used = total == 0 ? 0.0 : static_cast<double>(used_bytes) / (total * 256.0) * 100.0;
}

}  // namespace

std::string cancelled_text(int kept, int total) {
  char text[80];
  std::snprintf(text, sizeof text, "Download Cancelled, %d of %d pages kept", kept, total);
  return text;
}

// Marks an exchange as running; a second one started from inside the message
// pump is refused without touching the line.
class LinkProtocol::Guard {
 public:
  explicit Guard(bool& running) : running_(running), acquired_(!running) {
    if (acquired_) running_ = true;
  }
  ~Guard() {
    if (acquired_) running_ = false;
  }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;
  bool acquired() const { return acquired_; }

 private:
  bool& running_;
  bool acquired_;
};

const char* outcome_name(LinkOutcome outcome) {
  switch (outcome) {
    case LinkOutcome::Done: return "done";
    case LinkOutcome::Busy: return "busy";
    case LinkOutcome::NotOpen: return "port not open";
    case LinkOutcome::NoConnection: return "no connection";
    case LinkOutcome::VersionRefused: return "version refused";
    case LinkOutcome::NoData: return "no data";
    case LinkOutcome::DataError: return "data error";
    case LinkOutcome::Declined: return "declined";
    case LinkOutcome::ClearFailed: return "clear failed";
    case LinkOutcome::PacketError: return "packet error";
    case LinkOutcome::Cancelled: return "cancelled";
  }
  return "unknown";
}

std::optional<std::uint8_t> LinkProtocol::read() {
  const auto byte = port_.read_byte_timed();
  if (log_ != nullptr) {
    if (byte) log_->received(*byte);
    else log_->timed_out();
  }
  return byte;
}

void LinkProtocol::send(std::uint8_t value) {
  port_.write_byte(value);
  if (log_ != nullptr) log_->sent(value);
}

std::uint8_t LinkProtocol::read_or_zero() { return read().value_or(0); }

std::uint16_t LinkProtocol::read_word() {
  const std::uint8_t high = read_or_zero();
  const std::uint8_t low = read_or_zero();
  return static_cast<std::uint16_t>(high << 8 | low);
}

LinkOutcome LinkProtocol::start(Ui& ui, NotOpenKind kind) {
  if (port_open_ == 0) {
    ui.message(kind == NotOpenKind::Warning ? MsgKind::Warning : MsgKind::Information, link_text::kSelectPort, kOk);
    return LinkOutcome::NotOpen;
  }
  send(cmd::kConnect);
  if (read_or_zero() != kReady) {
    ui.message(MsgKind::Warning, link_text::kNoConnection, kOk);
    return LinkOutcome::NoConnection;
  }
  return LinkOutcome::Done;
}

void LinkProtocol::report_log_failure(Ui& ui) {
  if (log_ == nullptr) return;
  if (const auto failure = log_->take_failure()) ui.message(MsgKind::Warning, *failure, kOk);
}

template <typename Body>
LinkOutcome LinkProtocol::exchange(const char* name, Ui& ui, NotOpenKind kind, Body body) {
  Guard guard(running_);
  if (!guard.acquired()) return LinkOutcome::Busy;
  if (log_ != nullptr) log_->begin_exchange(name);
  // A log that cannot be written is said once; the exchange goes on.
  report_log_failure(ui);
  auto outcome = start(ui, kind);
  if (outcome == LinkOutcome::Done) outcome = body();
  if (log_ != nullptr) log_->end_exchange(outcome_name(outcome));
  report_log_failure(ui);
  return outcome;
}

template <typename Body>
LinkOutcome LinkProtocol::config_exchange(const char* name, Ui& ui, const VersionObserver& observer, Body body) {
  return exchange(name, ui, NotOpenKind::Warning, [&] {
    if (const auto outcome = identity_for_config(ui, observer); outcome != LinkOutcome::Done) return outcome;
    return body();
  });
}

LinkOutcome LinkProtocol::connect_check(Ui& ui, NotOpenKind kind) {
  return exchange("connect check", ui, kind, [] { return LinkOutcome::Done; });
}

LinkOutcome LinkProtocol::check_version(Ui& ui, const char* refusal, std::uint16_t& version, std::uint8_t& major,
                                        std::uint8_t& minor) {
  send(cmd::kIdentity);
  major = read_or_zero();
  minor = read_or_zero();
  version = static_cast<std::uint16_t>(major * 100 + minor);
  if (version_accepted(version)) return LinkOutcome::Done;
  ui.message(MsgKind::Error, refusal, kAbort);
  for (int i = 0; i < kVersionDrainBytes; ++i) read();
  return LinkOutcome::VersionRefused;
}

LinkOutcome LinkProtocol::identity_for_config(Ui& ui, const VersionObserver& observer) {
  std::uint16_t version = 0;
  std::uint8_t major = 0;
  std::uint8_t minor = 0;
  const auto outcome = check_version(ui, link_text::kConfigVersion, version, major, minor);
  if (outcome != LinkOutcome::Done) return outcome;
  for (int i = 0; i < kIdentityTrailingBytes; ++i) read();
  if (observer.on_version) observer.on_version(major, minor);
  return LinkOutcome::Done;
}

LinkOutcome LinkProtocol::download_log(LogDownload& into, bool dump, Ui& ui, const DownloadObserver& observer) {
  return exchange(dump ? "dump" : "download", ui, NotOpenKind::Information, [&] {
    // Only once the line is this exchange's: a refused second one must not
    // touch what the first is filling.
    into = LogDownload{};
    return download_after_connect(into, dump, ui, observer);
  });
}

LinkOutcome LinkProtocol::download_after_connect(LogDownload& into, bool dump, Ui& ui,
                                                 const DownloadObserver& observer) {
  std::uint16_t version = 0;
  std::uint8_t major = 0;
  std::uint8_t minor = 0;
  if (const auto outcome = check_version(ui, link_text::kDownloadVersion, version, major, minor);
      outcome != LinkOutcome::Done) {
    return outcome;
  }
  into.accepted = true;
  into.identity.unit_version = version;
  into.identity.pulses_per_mile = read_word();
  const std::uint8_t flags1 = read_or_zero();
  const std::uint8_t flags2 = read_or_zero();
  into.identity.set_flags(flags1, flags2);

  send(cmd::kInfoWord);
  into.identity.unit_word = read_word();

  send(cmd::kMemoryStatus);
  const std::uint16_t total = read_word();
  std::uint16_t used = read_word();
  std::uint16_t tail = read_word();
  into.used_bytes = static_cast<std::uint32_t>(used) * kPageDataBytes + tail;
  fill_memory_status(into.memory, total, used, tail, into.used_bytes);
  into.memory_read = true;
  if (observer.on_memory_status) observer.on_memory_status(into.memory);

  if (dump) {
    used = kDumpPages;
    tail = 0;
    into.used_bytes = static_cast<std::uint32_t>(kDumpPages) * kPageDataBytes;
  }
  // A full memory reports U = T; its last page is T - 1. An empty one (U = 0)
  // must not wrap round to 65,535 pages.
  if (used >= total && used > 0) --used;
  if (used == 0 && tail == 0) {
    ui.message(MsgKind::Information, link_text::kNoData, kOk);
    return LinkOutcome::NoData;
  }
  into.image.resize((static_cast<std::size_t>(used) + 1) * kPageDataBytes);
  into.pages_total = used + 1;
  return read_pages(into, used, ui, observer);
}

LinkProtocol::PageRead LinkProtocol::read_page(std::vector<std::uint8_t>& image, std::size_t offset, Ui& ui,
                                               const DownloadObserver& observer) {
  std::uint8_t sum = 0;
  for (int i = 0; i < kPageLeadBytes; ++i) {
    const auto lead = read();
    if (!lead) return PageRead::Silent;
    sum = static_cast<std::uint8_t>(sum + *lead);
  }
  for (int i = 0; i < kPageDataBytes; ++i) {
    ui.pump();
    // A byte that never comes means the lead is gone: stop at once rather
    // than wait out a time-out for every remaining byte.
    const auto byte = read();
    if (!byte) return PageRead::Silent;
    // Indexed afresh each time: the pump runs other code between bytes.
    if (offset + i < image.size()) image[offset + i] = *byte;
    sum = static_cast<std::uint8_t>(sum + *byte);
  }
  if (observer.on_page_done) observer.on_page_done();
  const auto checksum = read();
  return checksum && *checksum == sum ? PageRead::Good : PageRead::BadChecksum;
}

LinkOutcome LinkProtocol::read_pages(LogDownload& into, int last_page, Ui& ui, const DownloadObserver& observer) {
  if (observer.on_pages_start) observer.on_pages_start(last_page + 1);
  const auto cancelled = [&] { return observer.cancel_requested && observer.cancel_requested(); };
  LinkOutcome outcome = LinkOutcome::Done;
  send(cmd::kStartDownload);
  for (int page = 0; page <= last_page; ++page) {
    ui.pump();
    const PageRead got = read_page(into.image, static_cast<std::size_t>(page) * kPageDataBytes, ui, observer);
    // The page in progress has been read to its end, so nothing of it is left
    // on the line for the next exchange; being only partly the person's, it
    // is dropped. A cancel during the last page has nothing left to spare.
    if (page < last_page && cancelled()) {
      ui.message(MsgKind::Information, cancelled_text(page, last_page + 1), kOk);
      outcome = LinkOutcome::Cancelled;
      break;
    }
    if (got != PageRead::Good) {
      ui.message(MsgKind::Error, link_text::kBadDownload, kOk);
      outcome = LinkOutcome::DataError;
      break;
    }
    into.pages_good = page + 1;
    if (log_ != nullptr) log_->flush();
    if (page < last_page) send(cmd::kNextPage);
  }
  if (observer.on_pages_end) observer.on_pages_end();
  return outcome;
}

LinkOutcome LinkProtocol::clear_log(Ui& ui) {
  return exchange("memory clear", ui, NotOpenKind::Information, [&] { return clear_after_connect(ui); });
}

LinkOutcome LinkProtocol::clear_after_connect(Ui& ui) {
  if (ui.message(MsgKind::Warning, link_text::kAskClear, kYes | kNo) != kYes) {
    ui.message(MsgKind::Information, link_text::kNotCleared, kOk);
    return LinkOutcome::Declined;
  }
  send(cmd::kClearMemory);
  if (read_or_zero() == kReady) {
    ui.message(MsgKind::Information, link_text::kCleared, kOk);
    return LinkOutcome::Done;
  }
  ui.message(MsgKind::Error, link_text::kClearError, kOk);
  ui.message(MsgKind::Information, link_text::kNotCleared, kOk);
  return LinkOutcome::ClearFailed;
}

LinkOutcome LinkProtocol::read_config(ConfigBytes& staging, ConfigBytes& image, Ui& ui,
                                      const VersionObserver& observer) {
  return config_exchange("configuration read", ui, observer, [&] {
    BusyCursor busy(ui);
    for (std::size_t offset = 0; offset < kConfigBytes; ++offset) {
      ui.pump();
      send(cmd::kReadConfig);
      send(static_cast<std::uint8_t>(kConfigFirstAddress + offset));
      staging[offset] = read_or_zero();
    }
    image = staging;
    return LinkOutcome::Done;
  });
}

LinkOutcome LinkProtocol::write_config(const ConfigBytes& image, bool odometer_write_enabled, Ui& ui,
                                       const VersionObserver& observer) {
  return config_exchange("configuration write", ui, observer,
                         [&] { return write_after_identity(image, odometer_write_enabled, ui); });
}

LinkOutcome LinkProtocol::write_after_identity(const ConfigBytes& image, bool odometer_write_enabled, Ui& ui) {
  {
    BusyCursor busy(ui);
    for (std::size_t offset = 0; offset < kConfigBytes; ++offset) {
      ui.pump();
      const auto address = static_cast<std::uint8_t>(kConfigFirstAddress + offset);
      const bool skipped = never_written(address) || (odometer_address(address) && !odometer_write_enabled);
      if (!skipped) {
        send(cmd::kWriteConfig);
        send(address);
        send(image[offset]);
      }
      // Every address costs one read. A skipped address expects silence; a
      // written one must be acknowledged, so silence there is a failure too.
      const auto reply = read();
      const bool refused = reply ? *reply != 0 : !skipped;
      if (refused) {
        ui.message(MsgKind::Error, link_text::kPacketProblem, kOk | kCancel);
        return LinkOutcome::PacketError;
      }
    }
  }
  ui.message(MsgKind::Information, link_text::kConfigUploaded, kOk);
  return LinkOutcome::Done;
}

}  // namespace kv
