#include "logdata/saved_file.h"

#include "common/atomic_file.h"
#include "common/file_dialog_flow.h"
#include "logdata/log_file.h"

namespace kv {

bool write_saved_file(Ui& ui, DialogDefault& remembered, const std::string& path,
                      const std::function<std::string()>& make_text) {
  AtomicFile file(path);
  if (!file.open()) {
    ui.warning(log_file_msg::kAlreadyOpen);
    return false;
  }
  remember_path(remembered, path);
  bool written = false;
  {
    BusyCursor busy(ui);
    file.write(make_text());
    written = file.commit();
  }
  if (!written) {
    ui.warning(log_file_msg::kWriteFailed);
    return false;
  }
  ui.information(kFileSavedOk);
  return true;
}

}  // namespace kv
