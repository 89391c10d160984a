#pragma once
// The session library: a folder of log files (see library_paths.h) and this
// machine's SQLite index of them. The files are the truth: the index only
// mirrors them, so deleting it loses nothing and open() puts it back in step
// with the folder (new files read, missing ones dropped, changed ones read
// again, unfinished temporary files removed).
//
// Every operation that writes returns a result holding either what it did or
// one error text for the caller to show; nothing here talks to the person.
// Several programs may use one library: SQLite's locking with a busy timeout
// keeps the index whole, and a program that cannot get in within the timeout
// gets msg::library_busy() instead of waiting for ever.
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/library_files.h"
#include "library/session_row.h"
#include "logdata/dataset.h"

namespace kv::library {

struct OpenOptions {
  std::string root;  // the library folder; created with its parents when missing
  // How long to wait for another program holding the index.
  int busy_timeout_ms = 2000;
  // False leaves the index as it stands, for a caller that shows its rows at
  // once and brings it in step afterwards with sync(listing).
  bool sync_at_open = true;
};

class SessionLibrary;

struct OpenResult {
  std::unique_ptr<SessionLibrary> library;  // null when it could not be opened
  std::string error;                        // why, when library is null
  // Things the person should be told once even though the library opened:
  // msg::index_rebuilt(), or msg::library_busy() when another program held
  // the index too long to bring it in step with the folder (its rows can
  // still be read; the next sync() catches up).
  std::vector<std::string> notices;
};

// A written file, or why not.
struct WriteResult {
  bool ok = false;
  std::string path;   // relative to the root, when ok
  std::string error;  // a whole sentence for the person, when not ok
};

struct UnreadableFile {
  std::string path;     // as given (import) or relative to the root (scan)
  std::string message;  // the log file load's message, e.g. "File Format Error, No Data Loaded"
};

struct ImportReport {
  std::vector<std::string> added;       // new files, relative to the root
  std::vector<std::string> duplicates;  // sources whose content is in the library already
  std::vector<UnreadableFile> unreadable;  // sources that fail the log file's checks (not copied)
  std::vector<UnreadableFile> failed;      // sources that could not be read or copied: the reason
  std::string error;                    // the whole import stopped (index busy): why
};

struct ScanReport {
  int added = 0, updated = 0, removed = 0, temporaries_removed = 0;
  // The unreadable files among those read by this scan (all of the folder's
  // for rebuild()); rows with readable false list every one.
  std::vector<UnreadableFile> unreadable;
  std::string error;
};

class SessionLibrary {
 public:
  static OpenResult open(const OpenOptions& options);
  ~SessionLibrary();
  SessionLibrary(const SessionLibrary&) = delete;
  SessionLibrary& operator=(const SessionLibrary&) = delete;

  const std::string& root() const;
  std::string absolute_path(const std::string& relative) const;

  // Archives a download: writes the dataset exactly as "Save Data Set A"
  // would into YYYY/YYYY-MM-DD_HHMMSS.kvl for `when` (local time), never
  // over another file, and adds its row. A dataset with memory_valid 0 is
  // refused. The file is complete or absent, whatever happens.
  WriteResult archive(const Dataset& data, std::time_t when);

  // After the set's notes or set-up sheet changed: rewrites the archived
  // file `path` (relative) with `sheet`'s notes and slots 1-65, keeping its
  // own log, identity, tags (66-69) and other slots, and re-reads its row.
  WriteResult update_archived(const std::string& path, const SetupSheet& sheet);

  // Writes the tags into slots 66-69 of the file and updates its row.
  WriteResult set_tags(const std::string& path, const SessionTags& tags);

  // Moves a session into trash/ (same relative folders) and drops its row.
  WriteResult remove_to_trash(const std::string& path);

  // Copies .kvl files, and the .kvl files of folders (recursively), in.
  // Each goes to the folder of its source's modification time; a file whose
  // content is in the library already is not added again.
  ImportReport import_paths(const std::vector<std::string>& sources);

  // Brings the index in step with the folder (also done by open()).
  ScanReport sync();
  // The same with the folder as list_library_folder(root()) listed it a
  // moment ago. The listing touches only the folder, never the index, so it
  // may be made on any thread.
  ScanReport sync(const FolderListing& listing);
  // Empties the index and reads every file of the folder again.
  ScanReport rebuild();

  // Every row, in time order; the window filters and sorts these in memory
  // (session_query.h). Reads the index again, so changes made by another
  // program show.
  std::vector<SessionRow> rows() const;
  std::optional<SessionRow> row(const std::string& path) const;

  // The error of the last read of rows()/row() (empty when fine).
  const std::string& last_error() const;

 private:
  struct Impl;
  explicit SessionLibrary(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace kv::library
