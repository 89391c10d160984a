#include "logdata/download_sequence.h"

#include <algorithm>
#include <cstdio>

#include "logdata/decoder.h"
#include "logdata/log_file.h"
#include "logdata/packet_format.h"

namespace kv {
namespace {

constexpr std::uint32_t kPageBytes = 256;

// Where the last packet that lies wholly inside the first `used_bytes` ends.
// A download cut short stops at a page boundary, which can cut a packet in
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

// How much of a download goes into the dataset.
enum class Kept {
  Nothing,    // no page arrived whole, or the good ones were refused: the dataset stays exactly as it was
  Whole,      // every page arrived
  GoodPages,  // the pages before a cancel or a failed page
};

bool keep_good_pages(const LogDownload& fetched, PartialPages partial, Ui& ui) {
  switch (partial) {
    case PartialPages::Keep: return true;
    case PartialPages::Drop: return false;
    case PartialPages::Ask: break;
  }
  const auto question = keep_partial_question(fetched.pages_good, fetched.pages_total);
  return ui.message(MsgKind::Confirmation, question, kYes | kNo) == kYes;
}

Kept what_is_kept(LinkOutcome outcome, const LogDownload& fetched, PartialPages partial, Ui& ui) {
  if (outcome == LinkOutcome::Done) return Kept::Whole;
  if (fetched.pages_good == 0) return Kept::Nothing;
  if (outcome == LinkOutcome::Cancelled) return Kept::GoodPages;
  // Refused pages are not half given: the earlier log keeps its name, its
  // curves and the instrument it came from.
  return keep_good_pages(fetched, partial, ui) ? Kept::GoodPages : Kept::Nothing;
}

// The image goes in with the identity and length of the instrument that
// recorded it: the three are never separated.
void give_to_dataset(Dataset& data, LogDownload&& fetched, Kept kept, bool dump_mode) {
  data.identity = fetched.identity;
  data.used_bytes = fetched.used_bytes;
  data.raw_memory = std::move(fetched.image);
  data.memory_valid = 1;
  data.library_copy = {};
  if (kept != Kept::GoodPages) return;
  const auto kept_bytes = static_cast<std::uint32_t>(fetched.pages_good) * kPageBytes;
  data.raw_memory.resize(kept_bytes);
  data.used_bytes = std::min(data.used_bytes, kept_bytes);
  // A dump is kept byte for byte; a log is kept up to its last whole packet.
  if (!dump_mode) data.used_bytes = whole_packets_end(data.raw_memory, data.used_bytes);
}

// A dump is kept only as a file. It goes through a dataset of its own, so the
// set it was started from keeps its log, name and curves, not another
// instrument's image under them.
bool save_dump(LogDownload&& fetched, Kept kept, std::uint8_t which, DialogDefaults& defaults, Ui& ui) {
  LogState dump;
  dump.current_data_set = which;
  give_to_dataset(dump.current(), std::move(fetched), kept, true);
  return save_log_data(dump, defaults, ui, true);
}

}  // namespace

std::string keep_partial_question(int kept, int total) {
  char text[96];
  std::snprintf(text, sizeof text, "Keep the %d of %d pages that arrived with good checksums?", kept, total);
  return text;
}

std::string memory_name(std::uint8_t which) { return which == kDataSetB ? "Memory B" : "Memory A"; }

DownloadResult get_log_data(LinkProtocol& link, LogState& log, DialogDefaults& defaults, Ui& ui,
                            std::uint8_t which, bool dump_mode, const DownloadObserver& observer,
                            PartialPages partial) {
  DownloadResult result;
  log.current_data_set = which;
  LogDownload fetched;
  {
    // Busy for the transfer only: the decode and the dump's file writing
    // show it themselves, and the dump's save dialog, where the person
    // chooses a name, keeps the normal pointer.
    BusyCursor busy(ui);
    result.outcome = link.download_log(fetched, dump_mode, ui, observer);
  }
  if (fetched.memory_read) log.memory = fetched.memory;
  result.pages_read = result.outcome == LinkOutcome::Done || result.outcome == LinkOutcome::DataError ||
                      result.outcome == LinkOutcome::Cancelled;
  if (!result.pages_read) return result;

  const Kept kept = what_is_kept(result.outcome, fetched, partial, ui);
  if (kept == Kept::Nothing) {
    // The dump's save finds nothing new to write, and must not write the
    // dataset's earlier image in its place.
    if (dump_mode) ui.information(log_file_msg::kNoValidData);
    return result;
  }
  result.partial_kept = result.outcome == LinkOutcome::DataError && kept == Kept::GoodPages;
  if (dump_mode) {
    result.saved = save_dump(std::move(fetched), kept, which, defaults, ui);
    return result;
  }
  Dataset& data = log.dataset(which);
  give_to_dataset(data, std::move(fetched), kept, dump_mode);
  result.kept = true;
  result.decoded = process_data_packets(log, ui);
  if (result.decoded) log.shown_units = data.held_units;
  data.name_text = data.decoded_valid == 1 ? memory_name(which) : std::string(kNoDataName);
  result.name_text = data.name_text;
  return result;
}

DownloadResult dump_log_data(LinkProtocol& link, LogState& log, DialogDefaults& defaults, Ui& ui,
                             std::uint8_t which, const DownloadObserver& observer, PartialPages partial) {
  if (ui.message(MsgKind::Warning, kDumpQuestion, kYes | kCancel) != kYes) {
    DownloadResult declined;
    declined.outcome = LinkOutcome::Declined;
    return declined;
  }
  return get_log_data(link, log, defaults, ui, which, true, observer, partial);
}

}  // namespace kv
