#pragma once
// The plot settings a configuration file keeps, and the "Load Config",
// "Save Config" and show-time loads of the plot window.
#include <cstdint>
#include <vector>

#include "analysis/channels.h"
#include "analysis/plot_files/cfg_format.h"
#include "analysis/plot_state.h"
#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv::plot_files {

// The radio groups of lines 34-41, in file order.
enum class CfgChoice : int { LineTypeA, LineTypeB, GridEnable, GridLines, SpeedUnit, DistanceUnit, TempUnit, PressureUnit };
inline constexpr int kCfgChoiceCount = 8;
int cfg_choice_items(CfgChoice choice);  // how many items the group has

bool is_unit_choice(CfgChoice choice);
// Speed, temperature and pressure: the units the data itself is held in.
bool is_data_unit_choice(CfgChoice choice);

// The window's side of a load: each call sets one control as a user would.
class PlotSettingsApplier {
 public:
  virtual ~PlotSettingsApplier() = default;
  // Writes a colour selector's colour without its change event (trace set 1
  // or 2).
  virtual void set_trace_colour(int trace_set, analysis::Channel channel, analysis::TColor colour) = 0;
  // Ticks or clears a channel box; a box whose state changes runs its handler.
  virtual void set_channel_shown(analysis::Channel channel, bool on) = 0;
  // Selects an item (always one the group has); a change runs its handler.
  virtual void set_choice(CfgChoice choice, int index) = 0;
};

// An applier onto plain settings, noting which file lines changed them.
class SettingsWriter : public PlotSettingsApplier {
 public:
  explicit SettingsWriter(analysis::PlotSettings settings) : settings_(settings) {}
  void set_trace_colour(int trace_set, analysis::Channel channel, analysis::TColor colour) override;
  void set_channel_shown(analysis::Channel channel, bool on) override;
  void set_choice(CfgChoice choice, int index) override;

  const analysis::PlotSettings& settings() const { return settings_; }
  bool changed() const { return changed_; }

 private:
  analysis::PlotSettings settings_;
  bool changed_ = false;
};

CfgLines cfg_lines_of(const analysis::PlotSettings& settings);

// How a load treats the unit lines: a load by the button applies all four
// like clicks; the load at show time leaves speed, temperature and pressure,
// because the show sets those switches from the units the data is held in
// right after. The distance unit is the window's own choice: always applied.
enum class UnitLines { Apply, Skip };

// Applies the lines in file order. An index outside its group's items
// leaves the group as it is.
void apply_cfg_lines(PlotSettingsApplier& target, const std::vector<std::int32_t>& values, UnitLines units);

// "Load Config": the open dialog on the remembered file, then the file's
// lines applied at once. Returns whether the whole file was applied.
bool load_cfg_data(PlotSettingsApplier& target, const DialogDefault& remembered, Ui& ui);

// The show-time load of "default.cfg" in the remembered folder, silent about
// a name it cannot use or a file it cannot open.
bool load_default_cfg(PlotSettingsApplier& target, const DialogDefault& remembered, Ui& ui);

// "Save Config": writes the 41 lines of `settings`.
bool save_cfg_data(const analysis::PlotSettings& settings, DialogDefault& remembered, Ui& ui);

namespace cfg_msg {
inline constexpr const char* kNotLoaded = "Config Not Loaded";
inline constexpr const char* kInvalidLoad = "Invalid Filename, Config Not Loaded";
inline constexpr const char* kMissing = "Filename Does Not Exist, Config Not Loaded";
inline constexpr const char* kOpenFailed = "Problem Opening File, Config Not Loaded";
inline constexpr const char* kLoaded = "Config File Loaded";
inline constexpr const char* kDefaultFound = "User Custom Configuration Loaded";
inline constexpr const char* kDefaultMissing = "Pelmorix Default Configuration Loaded ";
inline constexpr const char* kCancelledSave = "Cancelled, Config Not Saved";
inline constexpr const char* kInvalidSave = "Invalid Filename, Config Not Saved";
inline constexpr const char* kNotSaved = "Config Not Saved";
inline constexpr const char* kAlreadyOpen = "File Already Open, Config Not Saved";
inline constexpr const char* kDefaultName = "default.cfg";
}  // namespace cfg_msg

}  // namespace kv::plot_files
