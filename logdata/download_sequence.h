#pragma once
// What the download window's Download and Dump buttons do, without the
// window: download the instrument's log memory into a dataset, then decode
// it, or in dump mode save the raw image as a log file of 8-byte lines.
#include <cstdint>
#include <string>

#include "link/protocol.h"
#include "logdata/log_state.h"
#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv {

inline constexpr const char* kDumpQuestion = "Dump Memory and Save to File ?";

// "Keep the %d of %d pages that arrived with good checksums?"
std::string keep_partial_question(int kept, int total);

// What becomes of the good pages before a page that failed its checksum or
// never came: the window asks, the command line is told.
enum class PartialPages { Ask, Keep, Drop };

struct DownloadResult {
  LinkOutcome outcome = LinkOutcome::Done;
  bool pages_read = false;    // the exchange got as far as reading pages
  bool partial_kept = false;  // a failed download's good pages were kept
  bool decoded = false;       // the download was decoded successfully
  bool saved = false;         // dump mode: the image was saved to a file
  bool kept = false;          // the dataset now holds this download's pages
  std::string name_text;      // what the dataset's name fields show now (empty: unchanged)
};

// The name a download gives a dataset: "Memory A" or "Memory B".
std::string memory_name(std::uint8_t which);

// Downloads into dataset `which` (1 = A, 2 = B) and decodes, or in dump mode
// saves through the log file writer only. When no page arrived, the good pages
// were not kept, or in dump mode, the dataset is left exactly as it was.
DownloadResult get_log_data(LinkProtocol& link, LogState& log, DialogDefaults& defaults, Ui& ui,
                            std::uint8_t which, bool dump_mode, const DownloadObserver& observer = {},
                            PartialPages partial = PartialPages::Ask);

// The Dump button: asks first; Yes downloads in dump mode into `which`.
// Nothing is sent when the question is not answered Yes.
DownloadResult dump_log_data(LinkProtocol& link, LogState& log, DialogDefaults& defaults, Ui& ui,
                             std::uint8_t which, const DownloadObserver& observer = {},
                             PartialPages partial = PartialPages::Ask);

}  // namespace kv
