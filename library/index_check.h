#pragma once
// Whether the index needs SQLite's quick check when it is opened. The check
// reads every page, which for a large library costs more than all the rest of
// opening it; an index whose bytes are exactly those this program left when it
// last closed it cannot have been damaged since, so its check is skipped.
// Anything else (another program's writes, a program killed half-way, a hot
// journal, a disk or file sync that changed the bytes) makes it run again.
#include <string>

namespace kv::library {

// True when `index` holds the bytes recorded by the last
// remember_closed_index() and no journal waits to be rolled back.
bool index_unchanged_since_close(const std::string& index);

// Records the bytes of `index`, closed by this program a moment ago. A record
// that cannot be written only means the next open checks again.
void remember_closed_index(const std::string& index);

}  // namespace kv::library
