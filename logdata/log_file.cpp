#include "logdata/log_file.h"

#include <cctype>
#include <cstdio>

#include "common/file_dialog_flow.h"
#include "logdata/saved_file.h"
#include "common/text_lines.h"
#include "logdata/decoder.h"
#include "logdata/log_file_format.h"

namespace kv {
namespace {

namespace t = log_file_msg;

const SaveDialogTexts kSaveTexts{.title = t::kSaveTitle,
                                 .filter = t::kFilter,
                                 .extension = t::kExtension,
                                 .cancelled = t::kSaveCancelled,
                                 .invalid_name = t::kSaveInvalidName,
                                 .not_overwritten = t::kNotOverwritten};

const OpenDialogTexts kOpenTexts{.title = t::kLoadTitle,
                                 .filter = t::kFilter,
                                 .extension = t::kExtension,
                                 .cancelled = t::kLoadCancelled,
                                 .invalid_name = t::kLoadInvalidName,
                                 .missing = t::kMissing};

// Only a file that passed every check reaches the dataset.
void commit_contents(LogState& log, LogFileContents&& contents) {
  Dataset& data = log.current();
  data.raw_memory = std::move(contents.raw_memory);
  data.sheet = std::move(contents.sheet);
  data.memory_valid = 1;
  data.used_bytes = contents.used_bytes;
  data.identity = contents.identity;
  data.library_copy = {};
}

void remember_loaded(DialogDefaults& defaults, const std::string& path) {
  remember_path(defaults.log, path);
  defaults.csv.folder = defaults.log.folder;
  defaults.csv.file_name = csv_name_for(defaults.log.file_name);
}

}  // namespace

std::string refusal_text(const LogFileRead& read) {
  switch (read.fault) {
    case LogFileFault::Version: return t::kIncompatible;
    case LogFileFault::OutOfRange: return out_of_range_text(read.bad_packet_line + kOutOfRangeLineBase);
    default: return t::kFormatError;
  }
}

std::string out_of_range_text(int line_number) {
  char text[80];
  std::snprintf(text, sizeof text, "Data Out of Range in File, No Data Loaded: %d", line_number);
  return text;
}

std::string csv_name_for(const std::string& log_name) {
  static const std::string kLog = ".kvl";
  static const std::string kCsv = ".csv";
  std::string out;
  std::size_t i = 0;
  while (i < log_name.size()) {
    bool match = i + kLog.size() <= log_name.size();
    for (std::size_t k = 0; match && k < kLog.size(); ++k) {
      match = std::tolower(static_cast<unsigned char>(log_name[i + k])) == kLog[k];
    }
    if (match) {
      out += kCsv;
      i += kLog.size();
    } else {
      out += log_name[i++];
    }
  }
  return out;
}

bool save_log_data(LogState& log, DialogDefaults& defaults, Ui& ui, bool dump_mode) {
  const Dataset& data = log.current();
  return save_dataset_file(ui, data.memory_valid == 1, defaults.log, kSaveTexts, [&] {
    return write_log_file_text(data.sheet, data.identity, data.raw_memory, data.used_bytes, dump_mode, ui);
  });
}

bool load_log_data(LogState& log, DialogDefaults& defaults, Ui& ui) {
  const auto path = ask_open_path(ui, defaults.log, kOpenTexts);
  if (!path) return false;
  const auto text = read_whole_file(*path);
  if (!text) {
    ui.warning(t::kCannotOpen);
    return false;
  }
  LogFileRead read;
  {
    BusyCursor busy(ui);
    read = read_log_file_text(*text, ui);
  }
  if (read.fault != LogFileFault::None) {
    ui.error(refusal_text(read));
    return false;
  }
  commit_contents(log, std::move(read.contents));
  Dataset& data = log.current();
  // Only a log that decodes moves the plot window's switches: a failed one
  // leaves the other dataset's units and the plot as they were.
  if (process_data_packets(log, ui)) {
    remember_loaded(defaults, *path);
    log.shown_units = data.held_units;
  }
  const bool usable = data.memory_valid == 1 && data.decoded_valid == 1;
  data.name_text = usable ? defaults.log.file_name : kNoDataName;
  return usable;
}

bool save_log_dataSetA(LogState& log, DialogDefaults& defaults, Ui& ui) {
  log.current_data_set = kDataSetA;
  return save_log_data(log, defaults, ui);
}

bool save_log_dataSetB(LogState& log, DialogDefaults& defaults, Ui& ui) {
  log.current_data_set = kDataSetB;
  return save_log_data(log, defaults, ui);
}

bool load_log_dataSetA(LogState& log, DialogDefaults& defaults, Ui& ui) {
  log.current_data_set = kDataSetA;
  return load_log_data(log, defaults, ui);
}

bool load_log_dataSetB(LogState& log, DialogDefaults& defaults, Ui& ui) {
  log.current_data_set = kDataSetB;
  return load_log_data(log, defaults, ui);
}

const std::string& dataset_name_text(const Dataset& data) { return data.name_text; }

}  // namespace kv
