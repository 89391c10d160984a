// library list|import|rebuild|export-csv: the session library without its
// window, for scripts.
#include <cstdio>
#include <ctime>

#include "cli/commands.h"
#include "common/atomic_file.h"
#include "library/library_paths.h"
#include "library/session_library.h"
#include "library/session_query.h"

namespace kv::cli {
namespace {

using namespace kv::library;

constexpr const char* kCsvExtension = ".csv";

int usage(const char* text) {
  std::fprintf(stderr, "korvanta-cli: %s\n", text);
  return kExitUsage;
}

void say(const std::string& text) { std::fprintf(stderr, "korvanta-cli: %s\n", text.c_str()); }

std::unique_ptr<SessionLibrary> open_library(const Args& args) {
  OpenOptions options;
  options.root = option_value(args, "--library").value_or(default_library_root());
  OpenResult opened = SessionLibrary::open(options);
  for (const std::string& notice : opened.notices) say(notice);
  if (!opened.library) say(opened.error);
  return std::move(opened.library);
}

// "YYYY-MM-DD" as local midnight, `days_after` days later.
std::optional<std::int64_t> day_start(const std::string& text, int days_after) {
  int year = 0, month = 0, day = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &tail) != 3 || month < 1 || month > 12 ||
      day < 1 || day > 31) {
    return std::nullopt;
  }
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day + days_after;
  local.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&local));
}

struct Selection {
  SessionFilter filter;
  SortOrder order;
};

std::optional<Selection> selection_options(const Args& args) {
  Selection s;
  s.filter.track = option_value(args, "--track").value_or("");
  s.filter.car = option_value(args, "--car").value_or("");
  s.filter.driver = option_value(args, "--driver").value_or("");
  s.filter.text = option_value(args, "--text").value_or("");
  if (const auto from = option_value(args, "--from")) {
    if (!(s.filter.from_time = day_start(*from, 0))) return say("--from needs a date as YYYY-MM-DD"), std::nullopt;
  }
  if (const auto to = option_value(args, "--to")) {
    if (!(s.filter.to_time = day_start(*to, 1))) return say("--to needs a date as YYYY-MM-DD"), std::nullopt;
  }
  if (const auto sort = option_value(args, "--sort")) {
    const auto key = column_by_name(*sort);
    if (!key) return say("--sort: no column named " + *sort), std::nullopt;
    s.order.key = *key;
  }
  s.order.descending = has_flag(args, "--descending");
  return s;
}

std::optional<std::vector<ColumnKey>> listed_columns(const Args& args) {
  const std::string names = option_value(args, "--columns").value_or("time,track,car,driver,fastest,theoretical,laps,file");
  std::vector<ColumnKey> keys;
  std::size_t start = 0;
  while (start <= names.size()) {
    const std::size_t end = std::min(names.find(',', start), names.size());
    const std::string name = names.substr(start, end - start);
    const auto key = column_by_name(name);
    if (!key) return say("--columns: no column named " + name), std::nullopt;
    keys.push_back(*key);
    start = end + 1;
  }
  return keys;
}

int list(const Args& args) {
  if (!positional(args).empty()) return usage("library list takes no file names");
  const auto selection = selection_options(args);
  const auto columns = listed_columns(args);
  if (!selection || !columns) return kExitUsage;
  const auto library = open_library(args);
  if (!library) return kExitRefused;
  const auto rows = library->rows();
  if (!library->last_error().empty()) return say(library->last_error()), kExitRefused;
  std::string out;
  for (const auto& key : *columns) out += (out.empty() ? "" : "\t") + column_name(key);
  out += '\n';
  for (const std::size_t i : select_rows(rows, selection->filter, selection->order)) {
    for (std::size_t c = 0; c < columns->size(); ++c) out += (c ? "\t" : "") + cell_text(rows[i], (*columns)[c]);
    out += '\n';
  }
  std::fputs(out.c_str(), stdout);
  return kExitOk;
}

int import(const Args& args) {
  const Args sources = positional(args);
  if (sources.empty()) return usage("library import needs log files or folders");
  const auto library = open_library(args);
  if (!library) return kExitRefused;
  const ImportReport report = library->import_paths(sources);
  for (const auto& added : report.added) std::printf("added %s\n", added.c_str());
  for (const auto& known : report.duplicates) std::printf("already in the library: %s\n", known.c_str());
  for (const auto& bad : report.unreadable) say(bad.path + ": " + bad.message);
  for (const auto& bad : report.failed) say(bad.path + ": " + bad.message);
  if (!report.error.empty()) say(report.error);
  std::printf("%zu added, %zu already in the library, %zu unreadable, %zu failed\n", report.added.size(),
              report.duplicates.size(), report.unreadable.size(), report.failed.size());
  const bool clean = report.error.empty() && report.unreadable.empty() && report.failed.empty();
  return clean ? kExitOk : kExitRefused;
}

int rebuild(const Args& args) {
  if (!positional(args).empty()) return usage("library rebuild takes no file names");
  const auto library = open_library(args);
  if (!library) return kExitRefused;
  const ScanReport report = library->rebuild();
  for (const auto& bad : report.unreadable) say(bad.path + ": " + bad.message);
  if (!report.error.empty()) return say(report.error), kExitRefused;
  std::printf("%d sessions indexed, %zu of them unreadable\n", report.added, report.unreadable.size());
  return kExitOk;
}

// A CSV field: quoted when it holds a separator, a quote or a line break.
std::string csv_field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string csv_line(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + csv_field(fields[i]);
  return line + "\r\n";
}

int export_csv(const Args& args) {
  const Args files = positional(args);
  if (files.size() != 1) return usage("library export-csv needs one CSV file name");
  const auto selection = selection_options(args);
  if (!selection) return kExitUsage;
  const auto out = checked_output(files[0], kCsvExtension, args);
  if (!out) return kExitRefused;
  const auto library = open_library(args);
  if (!library) return kExitRefused;
  const auto rows = library->rows();
  if (!library->last_error().empty()) return say(library->last_error()), kExitRefused;
  const auto columns = all_columns();
  std::vector<std::string> fields;
  for (const auto& key : columns) fields.push_back(column_caption(key));
  std::string text = csv_line(fields);
  for (const std::size_t i : select_rows(rows, selection->filter, selection->order)) {
    fields.clear();
    for (const auto& key : columns) fields.push_back(cell_text(rows[i], key));
    text += csv_line(fields);
  }
  if (!write_file_atomically(*out, text)) return say(*out + ": cannot be written"), kExitRefused;
  return kExitOk;
}

}  // namespace

std::optional<int> run_library_command(const std::string& command, const Args& args) {
  if (command != "library") return std::nullopt;
  Args rest = args;
  const auto sub = take_command(rest);
  if (!sub) return usage("library needs list, import, rebuild or export-csv");
  if (*sub == "list") return list(rest);
  if (*sub == "import") return import(rest);
  if (*sub == "rebuild") return rebuild(rest);
  if (*sub == "export-csv") return export_csv(rest);
  return usage("library needs list, import, rebuild or export-csv");
}

}  // namespace kv::cli
