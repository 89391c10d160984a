#include "analysis/plot_files/label_file.h"

#include "analysis/plot_files/label_text_1252.h"
#include "analysis/plot_files/plot_file_io.h"
#include "common/file_dialog_flow.h"

namespace kv::plot_files {
namespace {

constexpr const char* kExtension = ".lab";

SaveDialogTexts save_texts() {
  return {.title = "Save Label Data",
          .filter = "Pelmorix Label Files (*.lab)",
          .extension = kExtension,
          .cancelled = lab_msg::kCancelledSave,
          .invalid_name = lab_msg::kInvalidSave,
          .not_overwritten = lab_msg::kNotSaved};
}

OpenDialogTexts open_texts() {
  return {.title = "Load Label Data",
          .filter = "Pelmorix Label files (*.lab)",
          .extension = kExtension,
          .cancelled = lab_msg::kNotLoaded,
          .invalid_name = lab_msg::kInvalidLoad,
          .missing = lab_msg::kMissing};
}

std::string file_text(const LabelStore& labels) {
  std::vector<LabRecord> records;
  for (const PlotLabel& label : labels.in_use()) {
    records.push_back({label.x, label.y, label_1252_from_utf8(label.caption)});
  }
  return lab_text(records);
}

// Takes what the file gave under the busy cursor, pumping once per label.
void take_records(LabelStore& labels, const LabRead& read, Ui& ui) {
  BusyCursor busy(ui);
  labels.set_count_from_file(*read.count);
  int index = kFirstLabel;
  for (const LabRecord& record : read.records) {
    ui.pump();
    labels.set_label(index++, {record.x, record.y, label_utf8_from_1252(record.caption)});
  }
}

}  // namespace

bool save_lab_data(const LabelStore& labels, DialogDefault& remembered, Ui& ui) {
  if (labels.label_count() <= kNoLabelPlaced) {
    ui.warning(lab_msg::kNothingToSave);
    return false;
  }
  const auto path = ask_save_path(ui, remembered, save_texts());
  if (!path) return false;
  return write_plot_file(ui, remembered, *path, file_text(labels), lab_msg::kAlreadyOpen);
}

LabelLoad load_lab_data(LabelStore& labels, const DialogDefault& remembered, Ui& ui) {
  const auto path = ask_open_path(ui, remembered, open_texts());
  if (!path) return {};
  const auto text = read_plot_file(*path);
  if (!text) {
    ui.warning(lab_msg::kOpenFailed);
    return {};
  }
  const LabRead read = read_lab_text(*text);
  if (read.fault == LabFault::BadCount) {
    ui.error(not_an_integer_text(read.bad_count_text));
    return {};
  }
  take_records(labels, read, ui);
  if (read.fault == LabFault::BadRecords) {
    ui.error(lab_msg::kLoadProblem);
    return {true, false};
  }
  ui.information(lab_msg::kLoaded);
  return {true, true};
}

}  // namespace kv::plot_files
