#pragma once
// The inside of SessionLibrary, shared by the files that implement it.
#include <functional>
#include <vector>
#include <memory>
#include <string>

#include "library/library_messages.h"
#include "library/session_index.h"
#include "library/session_library.h"

namespace kv::library {

struct SessionLibrary::Impl {
  std::string root;
  std::unique_ptr<SessionIndex> index;
  std::string error;
  // The index held the bytes recorded at its last close when it was opened.
  bool index_as_recorded = false;

  std::string busy() const { return msg::library_busy(root); }

  // Runs `work` on the index; a failure becomes a text, busy as busy.
  template <typename Work>
  std::string guarded(Work&& work) {
    try {
      work(*index);
      return {};
    } catch (const SqlError& e) {
      return e.busy() ? busy() : msg::cannot_open(root, e.what());
    }
  }

  ScanReport scan(const FolderListing& listing, bool from_scratch);
  void clean_temporaries(const std::vector<std::string>& temporaries, ScanReport& report) const;
  ImportReport import_sources(const std::vector<std::string>& sources);
  void take_back(ImportReport& report) const;
  WriteResult rewrite(const std::string& path, const std::function<void(SetupSheet&)>& change);
  // Runs `change` holding the index's write lock; when another program holds
  // it, nothing is changed and the result says the library is busy.
  WriteResult under_write_lock(const std::function<WriteResult()>& change);
};

}  // namespace kv::library
