#include "library/session_library.h"

namespace kv::library {

struct SessionLibrary::Impl {
  std::string root;
  std::string error;
};

OpenResult SessionLibrary::open(const OpenOptions& options) {
  OpenResult result;
  auto impl = std::make_unique<Impl>();
  impl->root = options.root;
  result.library.reset(new SessionLibrary(std::move(impl)));
  return result;
}

SessionLibrary::SessionLibrary(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SessionLibrary::~SessionLibrary() = default;
const std::string& SessionLibrary::root() const { return impl_->root; }
std::string SessionLibrary::absolute_path(const std::string& relative) const { return impl_->root + "/" + relative; }
WriteResult SessionLibrary::archive(const Dataset&, std::time_t) { return {}; }
WriteResult SessionLibrary::update_archived(const std::string&, const SetupSheet&) { return {}; }
WriteResult SessionLibrary::set_tags(const std::string&, const SessionTags&) { return {}; }
WriteResult SessionLibrary::remove_to_trash(const std::string&) { return {}; }
ImportReport SessionLibrary::import_paths(const std::vector<std::string>&) { return {}; }
ScanReport SessionLibrary::sync() { return {}; }
ScanReport SessionLibrary::rebuild() { return {}; }
std::vector<SessionRow> SessionLibrary::rows() const { return {}; }
std::optional<SessionRow> SessionLibrary::row(const std::string&) const { return std::nullopt; }
const std::string& SessionLibrary::last_error() const { return impl_->error; }

}  // namespace kv::library
