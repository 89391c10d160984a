#include "library_ui/library_access.h"

#include <chrono>
#include <system_error>

namespace kv {

LibraryAccess::~LibraryAccess() {
  if (listing_.valid()) listing_.wait();
}

std::unique_ptr<library::SessionLibrary> LibraryAccess::open(const std::string& root, bool sync_at_open,
                                                             std::string& error) {
  auto opened = library::SessionLibrary::open({.root = root, .sync_at_open = sync_at_open});
  for (const auto& notice : opened.notices) ui_.information(notice);
  if (!opened.library) error = opened.error;
  return std::move(opened.library);
}

void LibraryAccess::open_current(bool check_later, std::string& error) {
  // A check of the folder left behind belongs to the library closed here.
  if (listing_.valid()) listing_.wait();
  listing_ = {};
  library_.reset();
  library_ = open(folder_, !check_later, error);
  opened_folder_ = library_ ? folder_ : std::string();
  if (library_ && check_later) begin_check();
}

void LibraryAccess::begin_check() {
  try {
    listing_ = std::async(std::launch::async, [root = library_->root()] { return library::list_library_folder(root); });
  } catch (const std::system_error&) {
    // No thread to be had: the check is made here and now.
    const library::ScanReport report = library_->sync();
    if (!report.error.empty()) ui_.information(report.error);
  }
}

std::optional<bool> LibraryAccess::finish_check(bool wait) {
  if (!listing_.valid()) return std::nullopt;
  if (!wait && listing_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return std::nullopt;
  const library::FolderListing listing = listing_.get();
  const library::ScanReport report = library_->sync(listing);
  if (!report.error.empty()) ui_.information(report.error);
  return report.added + report.updated + report.removed > 0;
}

library::SessionLibrary* LibraryAccess::get(std::string& error) {
  if (!library_ || opened_folder_ != folder_) open_current(false, error);
  finish_check(true);
  return library_.get();
}

library::SessionLibrary* LibraryAccess::get_as_indexed(std::string& error) {
  if (!library_ || opened_folder_ != folder_) open_current(true, error);
  return library_.get();
}

LibraryAccess::Borrowed LibraryAccess::at(const std::string& root, std::string& error) {
  Borrowed borrowed;
  if (root == folder_) {
    borrowed.library = get(error);
    return borrowed;
  }
  borrowed.owned = open(root, true, error);
  borrowed.library = borrowed.owned.get();
  return borrowed;
}

}  // namespace kv
