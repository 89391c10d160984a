#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/plot_files/cfg_settings.h"
#include "common/text_lines.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv::plot_files {
namespace {

using analysis::Channel;
using analysis::PlotSettings;
using test::TempDir;

const char* const kDesignFile =
    "32768\r\n16711935\r\n65535\r\n16776960\r\n255\r\n65280\r\n16711680\r\n12639424\r\n8421504\r\n"
    "32768\r\n16711935\r\n65535\r\n16776960\r\n255\r\n65280\r\n16711680\r\n12639424\r\n8421504\r\n"
    "32896\r\n32896\r\n128\r\n128\r\n"
    "TRUE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\n"
    "0\r\n1\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";

// The design file with some lines (1-based) replaced.
std::string design_with(std::initializer_list<std::pair<int, std::string>> changes) {
  std::vector<std::string> lines = split_lines(kDesignFile);
  for (const auto& [line, text] : changes) lines[static_cast<std::size_t>(line - 1)] = text;
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

// Records every call the way the window would see them.
struct RecordingApplier : SettingsWriter {
  RecordingApplier() : SettingsWriter(PlotSettings{}) {}
  void set_choice(CfgChoice choice, int index) override {
    choices.emplace_back(choice, index);
    SettingsWriter::set_choice(choice, index);
  }
  std::vector<std::pair<CfgChoice, int>> choices;
};

struct CfgFiles : ::testing::Test {
  TempDir dir;
  ScriptedUi ui;
  DialogDefault remembered{dir.path().string(), "default.cfg"};

  std::string saved_text(const PlotSettings& settings, const std::string& name) {
    ui.queue_file(dir.file(name));
    EXPECT_TRUE(save_cfg_data(settings, remembered, ui));
    return test::read_file(dir.file(name));
  }
  bool load(RecordingApplier& target, const std::string& name) {
    ui.queue_file(dir.file(name));
    return load_cfg_data(target, remembered, ui);
  }
};

TEST_F(CfgFiles, FreshSaveIsTheDesignFileAndSurvivesARoundTrip) {
  EXPECT_EQ(saved_text(PlotSettings{}, "a.cfg"), kDesignFile);
  EXPECT_EQ(ui.texts().back(), "File Saved OK");
  EXPECT_EQ(remembered.file_name, "a.cfg");

  PlotSettings custom;
  custom.trace[1].colour[analysis::index_of(Channel::LapTime)] = 0x80000018;  // a system colour: negative
  custom.channel_shown = {false, true, false, false, false, false, false, false, false, false, true};
  custom.trace[0].line_type = analysis::LineType::Points;
  custom.grid_enable = analysis::GridEnable::Off;
  custom.speed_unit = 1;
  custom.pressure_unit = 1;
  const std::string first = saved_text(custom, "b.cfg");
  EXPECT_EQ(split_lines(first)[21], "-2147483624");

  RecordingApplier loaded;
  ASSERT_TRUE(load(loaded, "b.cfg"));
  EXPECT_EQ(ui.texts().back(), "Config File Loaded");
  EXPECT_EQ(cfg_lines_of(loaded.settings()), cfg_lines_of(custom));
  EXPECT_EQ(saved_text(loaded.settings(), "c.cfg"), first);
}

TEST_F(CfgFiles, ReadingRules) {
  // Only "TRUE" ticks a box; a short file gives empty lines (boxes cleared,
  // then an empty index line fails); lines after 41 are not read.
  auto read = read_cfg_text(design_with({{23, "true"}}));
  EXPECT_EQ(read.values[22], 0);
  EXPECT_EQ(read_cfg_text(design_with({{24, "TRUE"}})).values[23], 1);

  std::string short_file;
  for (int i = 0; i < 22; ++i) short_file += "5\r\n";
  short_file += "TRUE\r\n";
  read = read_cfg_text(short_file);
  ASSERT_EQ(read.values.size(), 33u);
  EXPECT_EQ(read.values[22], 1);
  EXPECT_EQ(read.values[23], 0);
  EXPECT_EQ(read.bad_text, "");

  read = read_cfg_text(std::string(kDesignFile) + "garbage\r\nmore\r\n");
  EXPECT_EQ(read.values.size(), 41u);
  EXPECT_FALSE(read.bad_text);

  read = read_cfg_text(design_with({{5, "12.5"}}));
  EXPECT_EQ(read.values.size(), 4u);
  EXPECT_EQ(read.bad_text, "12.5");
  EXPECT_EQ(read_cfg_text(design_with({{1, "4294967295"}})).bad_text, "4294967295");
  EXPECT_EQ(read_cfg_text(std::string(kDesignFile).substr(0, 20)).values.size(), 3u);  // LF-less tail still counts
}

TEST_F(CfgFiles, ConversionErrorKeepsTheLinesBeforeIt) {
  test::write_file(dir.file("bad.cfg"), design_with({{1, "255"}, {36, "Axis 1"}}));
  RecordingApplier target;
  target.set_choice(CfgChoice::GridEnable, 2);
  EXPECT_FALSE(load(target, "bad.cfg"));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"'Axis 1' is not a valid integer value"});
  EXPECT_EQ(ui.messages().back().kind, MsgKind::Error);
  EXPECT_EQ(target.settings().trace[0].colour[0], 255u);                        // line 1 applied
  EXPECT_EQ(target.settings().trace[1].line_type, analysis::LineType::Dotted);  // line 35 applied
  EXPECT_EQ(target.settings().grid_enable, analysis::GridEnable::Axis2);        // line 36 not
  EXPECT_EQ(ui.busy_depth(), 0);
}

TEST_F(CfgFiles, EmptyFileLoadsNothingAndReportsSuccess) {
  test::write_file(dir.file("empty.cfg"), "");
  RecordingApplier target;
  EXPECT_TRUE(load(target, "empty.cfg"));
  EXPECT_FALSE(target.changed());
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Config File Loaded"});
}

TEST_F(CfgFiles, IndexOutsideItsGroupLeavesTheGroup) {
  test::write_file(dir.file("wide.cfg"), design_with({{34, "7"}, {41, "5"}}));
  RecordingApplier target;
  target.set_choice(CfgChoice::PressureUnit, 1);
  target.choices.clear();
  ASSERT_TRUE(load(target, "wide.cfg"));
  EXPECT_EQ(target.settings().trace[0].line_type, analysis::LineType::Solid);
  EXPECT_EQ(target.settings().pressure_unit, 1);
  for (const auto& [choice, index] : target.choices) EXPECT_LT(index, cfg_choice_items(choice));
}

TEST_F(CfgFiles, ShowTimeLoad) {
  RecordingApplier target;
  EXPECT_FALSE(load_default_cfg(target, remembered, ui));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Pelmorix Default Configuration Loaded "});
  EXPECT_TRUE(ui.dialogs().empty());

  // The data units are left to the show's unit synchronisation; the
  // distance unit is the window's own and comes back.
  ui.clear();
  test::write_file(dir.file("default.cfg"), design_with({{38, "1"}, {39, "1"}, {40, "1"}, {41, "1"}}));
  EXPECT_TRUE(load_default_cfg(target, remembered, ui));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"User Custom Configuration Loaded"});
  EXPECT_EQ(target.settings().speed_unit, 0);
  EXPECT_EQ(target.settings().temp_unit, 0);
  EXPECT_EQ(target.settings().pressure_unit, 0);
  EXPECT_EQ(target.settings().distance_unit, 1);
  for (const auto& [choice, index] : target.choices) EXPECT_FALSE(is_data_unit_choice(choice));

  // A folder under that name cannot be read: nothing is said.
  ui.clear();
  std::filesystem::remove(dir.file("default.cfg"));
  std::filesystem::create_directory(dir.file("default.cfg"));
  EXPECT_FALSE(load_default_cfg(target, remembered, ui));
  EXPECT_TRUE(ui.texts().empty());
}

TEST_F(CfgFiles, ButtonLoadMessages) {
  RecordingApplier target;
  load_cfg_data(target, remembered, ui);  // cancelled
  ui.queue_file(dir.file("x.txt"));
  load_cfg_data(target, remembered, ui);
  ui.queue_file(dir.file("x.CFG"));
  load_cfg_data(target, remembered, ui);
  ui.queue_file(dir.file("none"));
  load_cfg_data(target, remembered, ui);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Config Not Loaded", "Invalid Filename, Config Not Loaded",
                                                  "Invalid Filename, Config Not Loaded",
                                                  "Filename Does Not Exist, Config Not Loaded"}));
  EXPECT_EQ(ui.dialogs().front().title, "Load Config Data");
  EXPECT_EQ(ui.dialogs().front().filter, "Pelmorix Config files (*.cfg)");

  test::write_file(dir.file("units.cfg"), design_with({{41, "1"}}));
  ui.queue_file(dir.file("units"));  // ".cfg" appended
  EXPECT_TRUE(load_cfg_data(target, remembered, ui));
  EXPECT_EQ(target.settings().pressure_unit, 1);  // a button load applies units like clicks
  EXPECT_EQ(remembered.file_name, "default.cfg");  // loading does not change the remembered name
}

TEST_F(CfgFiles, SaveMessages) {
  EXPECT_FALSE(save_cfg_data(PlotSettings{}, remembered, ui));
  ui.queue_file(dir.file("x.cf"));
  EXPECT_FALSE(save_cfg_data(PlotSettings{}, remembered, ui));
  test::write_file(dir.file("old.cfg"), "keep");
  ui.queue_file(dir.file("old.cfg"));
  ui.queue_answer(kNo);
  EXPECT_FALSE(save_cfg_data(PlotSettings{}, remembered, ui));
  std::filesystem::create_directory(dir.file("folder.cfg"));
  ui.queue_file(dir.file("folder.cfg"));
  EXPECT_FALSE(save_cfg_data(PlotSettings{}, remembered, ui));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Cancelled, Config Not Saved", "Invalid Filename, Config Not Saved",
                                                  "File Exists, Overwrite File ?", "Config Not Saved",
                                                  "File Exists, Overwrite File ?",
                                                  "File Already Open, Config Not Saved"}));
  EXPECT_EQ(test::read_file(dir.file("old.cfg")), "keep");
  EXPECT_EQ(remembered.file_name, "default.cfg");
  EXPECT_EQ(ui.dialogs().front().title, "Save Config Data");
  EXPECT_EQ(ui.dialogs().front().filter, "Pelmorix Config File (*.cfg)");
}

}  // namespace
}  // namespace kv::plot_files
