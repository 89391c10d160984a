// Importing log files and folders of them into the library.
#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "library/library_files.h"
#include "library/library_paths.h"
#include "library/session_files.h"
#include "library/session_library_impl.h"
#include "library/sha256.h"
#include "logdata/log_file.h"

namespace fs = std::filesystem;

namespace kv::library {
namespace {

constexpr std::int64_t kNanosPerSecond = 1'000'000'000;

bool has_log_extension(const fs::path& path) { return path.extension().string() == log_file_msg::kExtension; }

bool inside(const fs::path& path, const fs::path& folder) {
  const auto rel = path.lexically_relative(folder);
  return !rel.empty() && *rel.begin() != "..";
}

// The files a source names: itself, or the log files of a folder and its
// subfolders in name order. What cannot be listed goes to `failed`.
std::vector<std::string> expand_source(const std::string& source, const fs::path& library_root,
                                       ImportReport& report) {
  std::error_code ec;
  const auto status = fs::status(source, ec);
  if (ec || !fs::exists(status)) {
    report.failed.push_back({source, log_file_msg::kMissing});
    return {};
  }
  if (!fs::is_directory(status)) {
    if (!has_log_extension(source)) {
      report.failed.push_back({source, log_file_msg::kLoadInvalidName});
      return {};
    }
    return {source};
  }
  std::vector<std::string> files;
  fs::recursive_directory_iterator it(source, fs::directory_options::skip_permission_denied, ec);
  for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
    std::error_code type_ec;
    const fs::path canonical = fs::weakly_canonical(it->path(), type_ec);
    if (it->is_directory(type_ec)) {
      // The library's own files are in it already.
      if (canonical == library_root) it.disable_recursion_pending();
      continue;
    }
    if (has_log_extension(it->path()) && it->is_regular_file(type_ec) && !inside(canonical, library_root)) {
      files.push_back(it->path().string());
    }
  }
  if (ec) report.failed.push_back({source, ec.message()});
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

// A busy index refused the import: its copies go again, so that trying
// again once the other program is done brings each in once, rather than a
// second copy beside one the index never listed.
void SessionLibrary::Impl::take_back(ImportReport& report) const {
  std::error_code ec;
  for (const std::string& relative : report.added) fs::remove(root + "/" + relative, ec);
  report.added.clear();
}

ImportReport SessionLibrary::Impl::import_sources(const std::vector<std::string>& sources) {
  ImportReport report;
  std::error_code ec;
  const fs::path library_root = fs::weakly_canonical(root, ec);
  std::unordered_set<std::string> hashes_seen;
  std::vector<SessionRow> added_rows;
  for (const std::string& source : sources) {
    for (const std::string& file : expand_source(source, library_root, report)) {
      const auto stamp = file_stamp(file);
      const FileRead read = read_log_bytes(file);
      if (!stamp || !read.bytes) {
        report.failed.push_back({file, read.error.empty() ? log_file_msg::kCannotOpen : read.error});
        continue;
      }
      const std::string hash = sha256_hex(*read.bytes);
      bool known = !hashes_seen.insert(hash).second;
      if (!known) {
        const std::string failure = guarded([&](SessionIndex& idx) { known = idx.has_hash(hash); });
        if (!failure.empty()) {
          report.error = failure;
          take_back(report);
          return report;
        }
      }
      if (known) {
        report.duplicates.push_back(file);
        continue;
      }
      const std::string wanted = session_relative_path(static_cast<std::time_t>(stamp->mtime_ns / kNanosPerSecond));
      SessionRow row = row_for_bytes(*read.bytes, wanted, 0, 0);
      if (!row.readable) {
        report.unreadable.push_back({file, row.unreadable_message});
        continue;
      }
      const PlacedFile placed = place_new_file(root, wanted, *read.bytes);
      const auto placed_stamp = placed.error.empty() ? file_stamp(root + "/" + placed.relative) : std::nullopt;
      if (!placed_stamp) {
        report.failed.push_back({file, placed.error.empty() ? system_reason() : placed.error});
        continue;
      }
      row.path = placed.relative;
      row.session_time = time_from_session_name(placed.relative).value_or(row.session_time);
      row.file_size = placed_stamp->size;
      row.file_mtime_ns = placed_stamp->mtime_ns;
      report.added.push_back(placed.relative);
      added_rows.push_back(std::move(row));
    }
  }
  report.error = guarded([&](SessionIndex& idx) {
    Transaction change(idx.db());
    for (const SessionRow& row : added_rows) idx.put(row);
    change.commit();
  });
  if (!report.error.empty()) take_back(report);
  return report;
}

ImportReport SessionLibrary::import_paths(const std::vector<std::string>& sources) {
  return impl_->import_sources(sources);
}

}  // namespace kv::library
