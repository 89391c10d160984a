#include "analysis/plot_files/cfg_settings.h"

#include <array>
#include <filesystem>

#include "analysis/plot_files/plot_file_io.h"
#include "common/file_dialog_flow.h"

namespace kv::plot_files {
namespace {

using analysis::Channel;
using analysis::PlotSettings;
using analysis::TColor;

constexpr const char* kExtension = ".cfg";
constexpr int kFirstTraceBLine = 10;        // lines 10-18 are trace set B of the first nine channels
constexpr int kFirstLapChannelLine = 19;    // lines 19-22: lap number A, B, lap time A, B
constexpr std::array<int, kCfgChoiceCount> kChoiceItems = {3, 3, 3, 3, 2, 2, 2, 2};

struct ColourLine {
  int trace_set;
  Channel channel;
};

ColourLine colour_line(int line) {
  if (line < kFirstLapChannelLine) {
    const int per_set = kFirstTraceBLine - 1;
    return {line < kFirstTraceBLine ? 1 : 2, static_cast<Channel>((line - 1) % per_set)};
  }
  const int k = line - kFirstLapChannelLine;
  return {k % 2 + 1, k < 2 ? Channel::LapNumber : Channel::LapTime};
}

Channel boolean_channel(int line) { return static_cast<Channel>(line - kCfgFirstBooleanLine); }
CfgChoice index_choice(int line) { return static_cast<CfgChoice>(line - kCfgFirstIndexLine); }

std::size_t slot(Channel c) { return static_cast<std::size_t>(analysis::index_of(c)); }

int choice_value(const PlotSettings& s, CfgChoice choice) {
  switch (choice) {
    case CfgChoice::LineTypeA: return static_cast<int>(s.trace[0].line_type);
    case CfgChoice::LineTypeB: return static_cast<int>(s.trace[1].line_type);
    case CfgChoice::GridEnable: return static_cast<int>(s.grid_enable);
    case CfgChoice::GridLines: return static_cast<int>(s.grid_lines);
    case CfgChoice::SpeedUnit: return s.speed_unit;
    case CfgChoice::DistanceUnit: return s.distance_unit;
    case CfgChoice::TempUnit: return s.temp_unit;
    case CfgChoice::PressureUnit: return s.pressure_unit;
  }
  return 0;
}

void set_choice_value(PlotSettings& s, CfgChoice choice, int index) {
  switch (choice) {
    case CfgChoice::LineTypeA: s.trace[0].line_type = static_cast<analysis::LineType>(index); break;
    case CfgChoice::LineTypeB: s.trace[1].line_type = static_cast<analysis::LineType>(index); break;
    case CfgChoice::GridEnable: s.grid_enable = static_cast<analysis::GridEnable>(index); break;
    case CfgChoice::GridLines: s.grid_lines = static_cast<analysis::GridLines>(index); break;
    case CfgChoice::SpeedUnit: s.speed_unit = index; break;
    case CfgChoice::DistanceUnit: s.distance_unit = index; break;
    case CfgChoice::TempUnit: s.temp_unit = index; break;
    case CfgChoice::PressureUnit: s.pressure_unit = index; break;
  }
}

void apply_line(PlotSettingsApplier& target, int line, std::int32_t value, UnitLines units) {
  switch (cfg_line_kind(line)) {
    case CfgLineKind::Colour: {
      const ColourLine c = colour_line(line);
      target.set_trace_colour(c.trace_set, c.channel, static_cast<TColor>(value));
      return;
    }
    case CfgLineKind::Boolean: target.set_channel_shown(boolean_channel(line), value != 0); return;
    case CfgLineKind::Index: {
      const CfgChoice choice = index_choice(line);
      const bool in_group = value >= 0 && value < cfg_choice_items(choice);
      if (in_group && !(units == UnitLines::Skip && is_data_unit_choice(choice))) target.set_choice(choice, value);
      return;
    }
  }
}

// Applies a file's text under the busy cursor; a line that is not a number
// ends the load with the conversion error, the lines before it applied.
bool apply_file(PlotSettingsApplier& target, const std::string& text, UnitLines units, Ui& ui) {
  const CfgRead read = read_cfg_text(text);
  {
    BusyCursor busy(ui);
    apply_cfg_lines(target, read.values, units);
  }
  if (read.bad_text) {
    ui.error(not_an_integer_text(*read.bad_text));
    return false;
  }
  return true;
}

OpenDialogTexts open_texts() {
  return {.title = "Load Config Data",
          .filter = "Pelmorix Config files (*.cfg)",
          .extension = kExtension,
          .cancelled = cfg_msg::kNotLoaded,
          .invalid_name = cfg_msg::kInvalidLoad,
          .missing = cfg_msg::kMissing};
}

SaveDialogTexts save_texts() {
  return {.title = "Save Config Data",
          .filter = "Pelmorix Config File (*.cfg)",
          .extension = kExtension,
          .cancelled = cfg_msg::kCancelledSave,
          .invalid_name = cfg_msg::kInvalidSave,
          .not_overwritten = cfg_msg::kNotSaved};
}

}  // namespace

int cfg_choice_items(CfgChoice choice) { return kChoiceItems[static_cast<std::size_t>(choice)]; }

bool is_unit_choice(CfgChoice choice) { return choice >= CfgChoice::SpeedUnit; }

bool is_data_unit_choice(CfgChoice choice) { return is_unit_choice(choice) && choice != CfgChoice::DistanceUnit; }

void SettingsWriter::set_trace_colour(int trace_set, Channel channel, TColor colour) {
  TColor& held = settings_.trace[trace_set == 2 ? 1 : 0].colour[slot(channel)];
  changed_ = changed_ || held != colour;
  held = colour;
}

void SettingsWriter::set_channel_shown(Channel channel, bool on) {
  bool& held = settings_.channel_shown[slot(channel)];
  changed_ = changed_ || held != on;
  held = on;
}

void SettingsWriter::set_choice(CfgChoice choice, int index) {
  changed_ = changed_ || choice_value(settings_, choice) != index;
  set_choice_value(settings_, choice, index);
}

CfgLines cfg_lines_of(const PlotSettings& settings) {
  CfgLines lines{};
  for (int line = 1; line <= kCfgLineCount; ++line) {
    std::int32_t& value = lines[static_cast<std::size_t>(line - 1)];
    switch (cfg_line_kind(line)) {
      case CfgLineKind::Colour: {
        const ColourLine c = colour_line(line);
        value = static_cast<std::int32_t>(settings.trace[static_cast<std::size_t>(c.trace_set - 1)].colour[slot(c.channel)]);
        break;
      }
      case CfgLineKind::Boolean: value = settings.channel_shown[slot(boolean_channel(line))] ? 1 : 0; break;
      case CfgLineKind::Index: value = choice_value(settings, index_choice(line)); break;
    }
  }
  return lines;
}

void apply_cfg_lines(PlotSettingsApplier& target, const std::vector<std::int32_t>& values, UnitLines units) {
  for (std::size_t k = 0; k < values.size() && k < kCfgLineCount; ++k) {
    apply_line(target, static_cast<int>(k) + 1, values[k], units);
  }
}

bool load_cfg_data(PlotSettingsApplier& target, const DialogDefault& remembered, Ui& ui) {
  const auto path = ask_open_path(ui, remembered, open_texts());
  if (!path) return false;
  const auto text = read_plot_file(*path);
  if (!text) {
    ui.warning(cfg_msg::kOpenFailed);
    return false;
  }
  if (!apply_file(target, *text, UnitLines::Apply, ui)) return false;
  ui.information(cfg_msg::kLoaded);
  return true;
}

bool load_default_cfg(PlotSettingsApplier& target, const DialogDefault& remembered, Ui& ui) {
  const std::string path = (std::filesystem::path(remembered.folder) / cfg_msg::kDefaultName).string();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    ui.information(cfg_msg::kDefaultMissing);
    return false;
  }
  const auto text = read_plot_file(path);
  if (!text || !apply_file(target, *text, UnitLines::Skip, ui)) return false;
  ui.information(cfg_msg::kDefaultFound);
  return true;
}

bool save_cfg_data(const PlotSettings& settings, DialogDefault& remembered, Ui& ui) {
  const auto path = ask_save_path(ui, remembered, save_texts());
  if (!path) return false;
  return write_plot_file(ui, remembered, *path, cfg_text(cfg_lines_of(settings)), cfg_msg::kAlreadyOpen);
}

}  // namespace kv::plot_files
