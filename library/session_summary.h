#pragma once
// What the index keeps of one log file, read from its bytes with the log
// file reader and the decoder: identity, counts, fastest lap, theoretical
// best, set-up fields, first notes line and tags. A file that fails the
// reader's checks gives a row marked unreadable with the load's message.
#include <string>

#include "library/session_row.h"
#include "logdata/dataset.h"

namespace kv::library {

// Fills every content field of a row (not id, path, times or size).
SessionRow summarize_log_file(const std::string& bytes);
// The same for a dataset as the file of it would give, without reading the
// file again: a decoded dataset's laps are used as they are, an undecoded one
// is decoded on a copy.
SessionRow summarize_dataset(const Dataset& data);

// The tags a sheet carries in slots 66-69, and a sheet with them written in.
SessionTags tags_of(const SetupSheet& sheet);
void put_tags(SetupSheet& sheet, const SessionTags& tags);

}  // namespace kv::library
