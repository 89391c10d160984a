#include "logdata/download_sequence.h"

#include "logdata/decoder.h"
#include "logdata/image_length.h"
#include "logdata/log_file.h"

namespace kv {

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
  result.pages_read = result.outcome == LinkOutcome::Done || result.outcome == LinkOutcome::DataError;
  if (!result.pages_read) return result;

  Dataset& data = log.dataset(which);
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
