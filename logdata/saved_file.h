#pragma once
// The end of every save once its name is chosen: create the file, remember
// the name, write the text under the busy cursor and report the outcome. The
// text goes to a temporary file that replaces the target only when complete.
#include <functional>
#include <string>

#include "common/file_dialog_flow.h"
#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv {

bool write_saved_file(Ui& ui, DialogDefault& remembered, const std::string& path,
                      const std::function<std::string()>& make_text);

// The whole save of one dataset: refused with "No Valid Data to Save" when it
// holds nothing that may be saved, otherwise the kind's dialog pattern and
// then write_saved_file.
bool save_dataset_file(Ui& ui, bool savable, DialogDefault& remembered, const SaveDialogTexts& texts,
                       const std::function<std::string()>& make_text);

}  // namespace kv
