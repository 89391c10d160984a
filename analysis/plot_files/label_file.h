#pragma once
// The label file operations of the plot window's "Save" and "Load" buttons.
#include "analysis/plot_files/label_store.h"
#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv::plot_files {

bool save_lab_data(const LabelStore& labels, DialogDefault& remembered, Ui& ui);

struct LabelLoad {
  bool labels_changed = false;  // copy the labels onto the chart again
  bool loaded = false;          // the whole file: redisplay and select "View"
};
// Labels above the file's own keep what they showed; the remembered name
// stays.
LabelLoad load_lab_data(LabelStore& labels, const DialogDefault& remembered, Ui& ui);

namespace lab_msg {
inline constexpr const char* kNothingToSave = "No Labels to Save";
inline constexpr const char* kCancelledSave = "Cancelled, Labels Not Saved";
inline constexpr const char* kInvalidSave = "Invalid Filename, Labels Not Saved";
inline constexpr const char* kNotSaved = "Labels Not Saved";
inline constexpr const char* kAlreadyOpen = "File Already Open, Labels Not Saved";
inline constexpr const char* kNotLoaded = "Labels Not Loaded";
inline constexpr const char* kInvalidLoad = "Invalid Filename, Labels Not Loaded";
inline constexpr const char* kMissing = "Filename Does Not Exist, Labels Not Loaded";
inline constexpr const char* kOpenFailed = "Problem Opening File, Label Not Loaded";
inline constexpr const char* kLoadProblem = "Problem Loading File";
inline constexpr const char* kLoaded = "Label File Loaded";
}  // namespace lab_msg

}  // namespace kv::plot_files
