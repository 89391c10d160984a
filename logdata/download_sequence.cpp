#include "logdata/download_sequence.h"

#include <algorithm>

#include "logdata/decoder.h"
#include "logdata/image_length.h"
#include "logdata/log_file.h"
#include "logdata/packet_format.h"

namespace kv {
namespace {

// Where the last packet that lies wholly inside the first `used_bytes` ends.
// A cancelled download stops at a page boundary, which can cut a packet in
// two; its first half must not be decoded or saved as if it were whole. An
// invalid header stops the walk without cutting, so the decoder reports it.
std::uint32_t whole_packets_end(const std::vector<std::uint8_t>& image, std::uint32_t used_bytes) {
  const packet::ImageReader reader(image);
  const std::uint32_t limit = std::min(used_bytes, reader.size());
  std::uint32_t pos = 0;
  while (pos < limit) {
    const std::uint8_t header = reader.byte(pos);
    if (!packet::header_valid(header)) return used_bytes;
    const auto end = pos + static_cast<std::uint32_t>(packet::length_of(header));
    if (end > limit) break;
    pos = end;
  }
  return pos;
}

}  // namespace

std::string memory_name(std::uint8_t which) { return which == kDataSetB ? "Memory B" : "Memory A"; }

DownloadResult get_log_data(LinkProtocol& link, LogState& log, DialogDefaults& defaults, Ui& ui,
                            std::uint8_t which, bool dump_mode, const DownloadObserver& observer) {
  DownloadResult result;
  log.current_data_set = which;
  {
    // Busy for the transfer only: the decode and the dump's file writing
    // show it themselves, and the dump's save dialog, where the person
    // chooses a name, keeps the normal pointer.
    BusyCursor busy(ui);
    result.outcome = link.download_log(log, which, dump_mode, ui, observer);
  }
  result.pages_read = result.outcome == LinkOutcome::Done || result.outcome == LinkOutcome::DataError ||
                      result.outcome == LinkOutcome::Cancelled;
  if (!result.pages_read) return result;

  Dataset& data = log.dataset(which);
  // A dump is kept byte for byte; a log is kept up to its last whole packet.
  if (result.outcome == LinkOutcome::Cancelled && !dump_mode) {
    log.used_bytes = whole_packets_end(data.raw_memory, log.used_bytes);
  }
  remember_used_bytes(log, data);
  if (data.memory_valid == 1 && !dump_mode) result.decoded = process_data_packets(log, ui);
  data.name_text = data.decoded_valid == 1 ? memory_name(which) : std::string(kNoDataName);
  result.name_text = data.name_text;
  if (dump_mode) {
    // A dump can be kept only as a file.
    result.saved = save_log_data(log, defaults, ui, true);
    data.memory_valid = 0;
  }
  return result;
}

DownloadResult dump_log_data(LinkProtocol& link, LogState& log, DialogDefaults& defaults, Ui& ui,
                             std::uint8_t which, const DownloadObserver& observer) {
  if (ui.message(MsgKind::Warning, kDumpQuestion, kYes | kCancel) != kYes) {
    DownloadResult declined;
    declined.outcome = LinkOutcome::Declined;
    return declined;
  }
  return get_log_data(link, log, defaults, ui, which, true, observer);
}

}  // namespace kv
