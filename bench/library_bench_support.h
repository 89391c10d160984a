#pragma once
// The generated library both library benchmarks open: 10,000 small sessions
// on five tracks, with set-up fields that vary.
#include <filesystem>

#include "logdata/dataset.h"

namespace kv::bench {

inline constexpr int kBigLibraryRows = 10'000;

// A download of `pages` generated pages with three sessions, not decoded.
Dataset generated_download(int pages);
std::string log_text_of(const Dataset& data);

// Made once per machine and indexed (a later run reuses it): the folder.
const std::filesystem::path& big_library();

}  // namespace kv::bench
