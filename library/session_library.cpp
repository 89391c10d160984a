#include "library/session_library.h"

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <unordered_map>

#include "library/index_check.h"
#include "library/library_files.h"
#include "library/library_messages.h"
#include "library/library_paths.h"
#include "library/session_files.h"
#include "library/session_index.h"
#include "library/session_library_impl.h"
#include "library/session_summary.h"
#include "library/sha256.h"
#include "logdata/log_file.h"
#include "logdata/log_file_format.h"
#include "ui/scripted_ui.h"

namespace fs = std::filesystem;

namespace kv::library {
namespace {

// A temporary file this old belongs to a program that is gone: a live
// writer finishes within seconds.
constexpr std::int64_t kStaleTemporaryNs = std::int64_t{3600} * 1'000'000'000;

bool is_damage(const SqlError& error) {
  const int primary = error.code() & 0xff;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

std::string moved_aside_name(const std::string& index) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return index + ".damaged-" + stamp;
}

std::string move_aside(const std::string& index) {
  std::string target = moved_aside_name(index);
  for (int n = 2; fs::exists(target) && n < 1000; ++n) target = moved_aside_name(index) + "-" + std::to_string(n);
  std::error_code ec;
  fs::rename(index, target, ec);
  fs::remove(index + "-journal", ec);
  return target;
}

std::int64_t now_ns() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace


void SessionLibrary::Impl::clean_temporaries(const std::vector<std::string>& temporaries, ScanReport& report) const {
  const std::int64_t now = now_ns();
  for (const std::string& relative : temporaries) {
    const std::string path = root + "/" + relative;
    const auto stamp = file_stamp(path);
    if (stamp && now - stamp->mtime_ns > kStaleTemporaryNs && ::unlink(path.c_str()) == 0) {
      ++report.temporaries_removed;
    }
  }
}

ScanReport SessionLibrary::Impl::scan(const FolderListing& listing, bool from_scratch) {
  ScanReport report;
  clean_temporaries(listing.temporaries, report);
  std::unordered_map<std::string, FileStamp> known;
  known.reserve(listing.sessions.size());
  if (!from_scratch) {
    report.error = guarded([&](SessionIndex& idx) {
      for (auto& s : idx.stamps()) known.emplace(std::move(s.path), s.stamp);
    });
    if (!report.error.empty()) return report;
  }
  // Files are read before the index is locked, so other programs wait only
  // for the writing.
  // Each file found is struck off `known`: what stays there is gone.
  std::vector<SessionRow> fresh;
  for (std::size_t i = 0; i < listing.sessions.size(); ++i) {
    const std::string& relative = listing.sessions[i];
    const auto old = known.find(relative);
    const bool was_known = old != known.end();
    const bool unchanged = was_known && old->second == listing.stamps[i];
    if (was_known) known.erase(old);
    if (unchanged) continue;
    std::string why;
    auto row = row_for_file(root, relative, why);
    if (!row) continue;  // vanished or unreadable by the system: the next scan tries again
    if (!row->readable) report.unreadable.push_back({relative, row->unreadable_message});
    (was_known ? report.updated : report.added) += 1;
    fresh.push_back(std::move(*row));
  }
  std::vector<std::string> gone;
  for (auto& entry : known) gone.push_back(entry.first);
  // Nothing to write: other programs are not held up by an idle scan.
  if (!from_scratch && fresh.empty() && gone.empty()) return report;
  report.error = guarded([&](SessionIndex& idx) {
    Transaction change(idx.db());
    if (from_scratch) idx.clear();
    for (const std::string& path : gone) idx.remove(path);
    report.removed = static_cast<int>(gone.size());
    for (const SessionRow& row : fresh) idx.put(row);
    change.commit();
  });
  return report;
}

WriteResult SessionLibrary::Impl::rewrite(const std::string& path, const std::function<void(SetupSheet&)>& change) {
  WriteResult result;
  if (!is_safe_relative(path) || !file_stamp(root + "/" + path)) {
    result.error = msg::not_in_library(path);
    return result;
  }
  const std::string failure = rewrite_sheet(root + "/" + path, change);
  if (!failure.empty()) {
    result.error = msg::not_updated(path, failure);
    return result;
  }
  result.ok = true;
  result.path = path;
  std::string why;
  if (auto row = row_for_file(root, path, why)) {
    // The file is right; a busy index catches up at the next scan.
    (void)guarded([&](SessionIndex& idx) { idx.put(*row); });
  }
  return result;
}

OpenResult SessionLibrary::open(const OpenOptions& options) {
  OpenResult result;
  auto impl = std::make_unique<Impl>();
  impl->root = options.root;
  std::error_code ec;
  fs::create_directories(index_folder(options.root), ec);
  if (ec) {
    result.error = msg::cannot_open(options.root, ec.message());
    return result;
  }
  const std::string path = index_path(options.root);
  for (int attempt = 0; attempt < 2 && !impl->index; ++attempt) {
    try {
      impl->index_as_recorded = index_unchanged_since_close(path);
      impl->index = std::make_unique<SessionIndex>(path, options.busy_timeout_ms);
      const std::string check = impl->index_as_recorded ? "ok" : impl->index->db().integrity_check();
      if (check != "ok") throw SqlError(check, SQLITE_CORRUPT);
    } catch (const SqlError& e) {
      impl->index.reset();
      if (e.busy()) {
        result.error = msg::library_busy(options.root);
        return result;
      }
      if (!is_damage(e) || attempt > 0) {
        result.error = msg::cannot_open(options.root, e.what());
        return result;
      }
      result.notices.push_back(msg::index_rebuilt(path, move_aside(path)));
    }
  }
  std::unique_ptr<SessionLibrary> library(new SessionLibrary(std::move(impl)));
  // A busy index still opens: its rows can be read, and the next scan
  // catches up with the folder.
  if (options.sync_at_open) {
    const ScanReport scan = library->sync();
    if (!scan.error.empty()) result.notices.push_back(scan.error);
  }
  result.library = std::move(library);
  return result;
}

SessionLibrary::SessionLibrary(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SessionLibrary::~SessionLibrary() {
  // An index this program only read still holds the recorded bytes, unless
  // another program wrote meanwhile, and then the next open checks it.
  const bool as_recorded = impl_->index_as_recorded && impl_->index->db().total_changes() == 0;
  // Closed first, so the bytes recorded are the ones the next open finds.
  impl_->index.reset();
  if (!as_recorded) remember_closed_index(index_path(impl_->root));
}

const std::string& SessionLibrary::root() const { return impl_->root; }

std::string SessionLibrary::absolute_path(const std::string& relative) const { return impl_->root + "/" + relative; }

WriteResult SessionLibrary::archive(const Dataset& data, std::time_t when) {
  WriteResult result;
  if (data.memory_valid != 1) {
    result.error = msg::not_archived(impl_->root, log_file_msg::kNoValidData);
    return result;
  }
  ScriptedUi quiet;
  const std::string text =
      write_log_file_text(data.sheet, data.identity, data.raw_memory, data.used_bytes, false, quiet);
  const PlacedFile placed = place_new_file(impl_->root, session_relative_path(when), text);
  if (!placed.error.empty()) {
    result.error = msg::not_archived(impl_->root, placed.error);
    return result;
  }
  result.ok = true;
  result.path = placed.relative;
  if (const auto stamp = file_stamp(absolute_path(placed.relative))) {
    SessionRow row = summarize_dataset(data);
    place_row(row, text, placed.relative, stamp->size, stamp->mtime_ns);
    (void)impl_->guarded([&](SessionIndex& idx) { idx.put(row); });
  }
  return result;
}

WriteResult SessionLibrary::update_archived(const std::string& path, const SetupSheet& sheet) {
  return impl_->rewrite(path, [&](SetupSheet& kept) {
    kept.notes_text = sheet.notes_text;
    for (int slot = 1; slot <= kSetupSlotsInUse; ++slot) kept.set_field(slot, sheet.field(slot));
  });
}

WriteResult SessionLibrary::Impl::under_write_lock(const std::function<WriteResult()>& change) {
  WriteResult result;
  const std::string refused = guarded([&](SessionIndex& idx) {
    Transaction hold(idx.db());
    result = change();
    hold.commit();
  });
  // Refused before anything changed. A commit refused after the file changed
  // leaves the file right, and the next scan brings its row in step.
  if (!refused.empty() && !result.ok && result.error.empty()) result.error = refused;
  return result;
}

// The person waits for these two: with the index held by another program
// they are refused as busy, rather than changing the file while the table
// keeps showing the old row for the rest of the run.
WriteResult SessionLibrary::set_tags(const std::string& path, const SessionTags& tags) {
  return impl_->under_write_lock([&] { return impl_->rewrite(path, [&](SetupSheet& kept) { put_tags(kept, tags); }); });
}

WriteResult SessionLibrary::remove_to_trash(const std::string& path) {
  return impl_->under_write_lock([&] {
    WriteResult result;
    if (!is_safe_relative(path) || !file_stamp(absolute_path(path))) {
      result.error = msg::not_in_library(path);
      return result;
    }
    const PlacedFile moved = move_without_replacing(absolute_path(path), impl_->root, "trash/" + path);
    if (!moved.error.empty()) {
      result.error = msg::not_updated(path, moved.error);
      return result;
    }
    result.ok = true;
    result.path = moved.relative;
    (void)impl_->guarded([&](SessionIndex& idx) { idx.remove(path); });
    return result;
  });
}

ScanReport SessionLibrary::sync() { return sync(list_library_folder(impl_->root)); }

ScanReport SessionLibrary::sync(const FolderListing& listing) { return impl_->scan(listing, false); }

ScanReport SessionLibrary::rebuild() { return impl_->scan(list_library_folder(impl_->root), true); }

std::vector<SessionRow> SessionLibrary::rows() const {
  std::vector<SessionRow> rows;
  impl_->error = impl_->guarded([&](SessionIndex& idx) { rows = idx.all_rows(); });
  return rows;
}

std::optional<SessionRow> SessionLibrary::row(const std::string& path) const {
  std::optional<SessionRow> found;
  impl_->error = impl_->guarded([&](SessionIndex& idx) { found = idx.find(path); });
  return found;
}

const std::string& SessionLibrary::last_error() const { return impl_->error; }

}  // namespace kv::library
