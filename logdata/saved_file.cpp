#include "logdata/saved_file.h"

#include "common/atomic_file.h"
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

bool save_dataset_file(Ui& ui, bool savable, DialogDefault& remembered, const SaveDialogTexts& texts,
                       const std::function<std::string()>& make_text) {
  if (!savable) {
    ui.information(log_file_msg::kNoValidData);
    return false;
  }
  const auto path = ask_save_path(ui, remembered, texts);
  if (!path) return false;
  return write_saved_file(ui, remembered, *path, make_text);
}

}  // namespace kv
