// The configuration file: save and load through their dialogs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/text_lines.h"
#include "config/config_file.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv::config {
namespace {

const char* const kFreshLines[] = {"00", "00", "07", "00", "00", "FF", "03", "F4", "01", "E8", "03", "DC", "05",
                                   "00", "00", "00", "00", "00", "00", "E8", "03", "00", "3C", "E8", "03", "00",
                                   "00", "05", "14", "69", "1E", "6E", "05", "41", "01", "04", "E8", "03", "20",
                                   "03", "E8", "03", "DC", "05", "D0", "07", "B8", "0B", "A0", "0F", "E2", "32"};

std::string fresh_file_text() {
  std::string text;
  for (const char* line : kFreshLines) text += std::string(line) + "\r\n";
  return text;
}

class ConfigFileTest : public ::testing::Test {
 protected:
  ConfigFileTest() {
    form.setup();
    remembered = {dir.path(), "default.kvc"};
  }
  std::string path(const std::string& name) const { return (std::filesystem::path(dir.path()) / name).string(); }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(path(name), std::ios::binary) << text;
  }
  bool load(const std::string& name) {
    ui.queue_file(path(name));
    return load_config_data(form, remembered, ui);
  }
  std::string last_message() const { return ui.messages().empty() ? "" : ui.messages().back().text; }

  test::TempDir dir;
  ConfigState state;
  ConfigForm form{state};
  DialogDefault remembered;
  ScriptedUi ui;
};

TEST_F(ConfigFileTest, FreshSaveWritesTheFiftyTwoLines) {
  ui.queue_file(path("fresh"));
  ASSERT_TRUE(save_config_data(form, remembered, ui));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{file_text::kSaved});
  EXPECT_EQ(read_whole_file(path("fresh.kvc")), fresh_file_text());
  ASSERT_EQ(ui.dialogs().size(), 1u);
  EXPECT_EQ(ui.dialogs()[0].title, file_text::kSaveTitle);
  EXPECT_EQ(ui.dialogs()[0].file_name, "default.kvc");
  EXPECT_EQ(remembered.folder, dir.path());
  EXPECT_EQ(remembered.file_name, "fresh");  // without the appended extension

  ui.queue_file(path("named.kvc"));
  ui.queue_answer(kYes);
  ASSERT_TRUE(save_config_data(form, remembered, ui));
  EXPECT_EQ(remembered.file_name, "named.kvc");
}

TEST_F(ConfigFileTest, SaveRefusals) {
  ui.queue_file(path("SETUP.KVC"));
  EXPECT_FALSE(save_config_data(form, remembered, ui));
  EXPECT_EQ(last_message(), file_text::kInvalidName);

  EXPECT_FALSE(save_config_data(form, remembered, ui));  // cancelled
  EXPECT_EQ(last_message(), file_text::kSaveCancelled);

  write("taken.kvc", "old");
  ui.queue_file(path("taken.kvc"));
  ui.queue_answer(kNo);
  EXPECT_FALSE(save_config_data(form, remembered, ui));
  EXPECT_EQ(last_message(), file_text::kNotSaved);
  EXPECT_EQ(read_whole_file(path("taken.kvc")), "old");

  ui.queue_file(path("missing-folder/x.kvc"));
  EXPECT_FALSE(save_config_data(form, remembered, ui));
  EXPECT_EQ(last_message(), file_text::kAlreadyOpen);
  EXPECT_EQ(remembered.file_name, "default.kvc");
}

TEST_F(ConfigFileTest, OutOfRangeFieldRefusesBeforeTheDialog) {
  form.edit(IntField::shift_value_peak, "2000");
  ui.queue_file(path("x.kvc"));
  EXPECT_FALSE(save_config_data(form, remembered, ui));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{file_text::kNotInRange});
  EXPECT_EQ(ui.messages()[0].kind, MsgKind::Information);
  EXPECT_TRUE(ui.dialogs().empty());
}

TEST_F(ConfigFileTest, LoadReplacesTheImageAndShowsIt) {
  std::string text = fresh_file_text();
  text.replace(text.find("\r\nDC\r\n05") + 2, 2, "10");  // split 3 = 0x0510 = 1296
  write("a.kvc", text);
  form.show_version(3, 25);
  ASSERT_TRUE(load("a.kvc"));
  EXPECT_EQ(last_message(), file_text::kLoaded);
  EXPECT_EQ(form.field(IntField::split_3_distance).text, "1296");
  EXPECT_EQ(form.version_major(), "");
  EXPECT_EQ(remembered.file_name, "a.kvc");
  ASSERT_EQ(ui.dialogs().size(), 1u);
  EXPECT_EQ(ui.dialogs()[0].title, file_text::kLoadTitle);
  EXPECT_EQ(ui.dialogs()[0].filter, file_text::kFilter);
}

TEST_F(ConfigFileTest, WrongLineCountLeavesTheImageUntouched) {
  const ConfigBytes before = state.config_image;
  write("long.kvc", fresh_file_text() + "\r\n");
  EXPECT_FALSE(load("long.kvc"));
  EXPECT_EQ(last_message(), file_text::kDataProblem);
  std::string text = fresh_file_text();
  text.erase(text.rfind("32\r\n"));
  write("short.kvc", text);
  EXPECT_FALSE(load("short.kvc"));
  EXPECT_EQ(last_message(), file_text::kDataProblem);
  EXPECT_EQ(state.config_image, before);
}

TEST_F(ConfigFileTest, LineEndings) {
  std::string text = fresh_file_text();
  text.erase(text.size() - 2);  // last line without CR LF
  write("nolast.kvc", text);
  EXPECT_TRUE(load("nolast.kvc"));
  std::string lf_only;
  for (const char* line : kFreshLines) lf_only += std::string(line) + "\n";
  write("lf.kvc", lf_only);
  EXPECT_TRUE(load("lf.kvc"));
  EXPECT_EQ(last_message(), file_text::kLoaded);
}

TEST_F(ConfigFileTest, HexLinesAreReadLikeTheLogFile) {
  std::string text;
  const char* odd[] = {"F ", "F", "ff", "0A7"};
  for (const char* line : odd) text += std::string(line) + "\r\n";
  for (int i = 4; i < 52; ++i) text += std::string(kFreshLines[i]) + "\r\n";
  ConfigBytes staging{};
  EXPECT_EQ(read_config_lines(text, staging, ui), 52u);
  EXPECT_EQ(staging[0], 0xF0);
  EXPECT_EQ(staging[1], 0x0F);
  EXPECT_EQ(staging[2], 0xFF);
  EXPECT_EQ(staging[3], 0x0A);
}

TEST_F(ConfigFileTest, LoadRefusals) {
  EXPECT_FALSE(load_config_data(form, remembered, ui));
  EXPECT_EQ(last_message(), file_text::kNoDataLoaded);
  write("SETUP.KVC", fresh_file_text());
  EXPECT_FALSE(load("SETUP.KVC"));
  EXPECT_EQ(last_message(), file_text::kIllegalName);
  EXPECT_FALSE(load("absent"));
  EXPECT_EQ(last_message(), file_text::kMissing);
  write("setup.kvc", fresh_file_text());
  EXPECT_TRUE(load("setup"));  // the extension is appended
  EXPECT_EQ(remembered.file_name, "setup");
}

TEST_F(ConfigFileTest, FileThatCannotBeOpenedLeavesEverythingAsItWas) {
  std::filesystem::create_directory(path("held.kvc"));  // unreadable as a file, even for root
  form.show_version(3, 25);
  const ConfigBytes before = state.config_image;
  EXPECT_FALSE(load("held.kvc"));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{file_text::kOpenProblem});
  EXPECT_EQ(ui.messages()[0].kind, MsgKind::Warning);
  EXPECT_EQ(state.config_image, before);
  EXPECT_EQ(form.version_major(), "3");
  EXPECT_EQ(remembered.file_name, "default.kvc");
}

TEST_F(ConfigFileTest, SevenGearFileLoadsFlagged) {
  std::string text = fresh_file_text();
  text.replace(text.rfind("E2"), 2, "72");
  write("seven.kvc", text);
  ASSERT_TRUE(load("seven.kvc"));
  EXPECT_EQ(last_message(), file_text::kLoadedCheck);
  EXPECT_EQ(form.field(IntField::num_gear_value).text, "6");
  // The refusal lasts until the person corrects or revalidates the window.
  EXPECT_TRUE(state.config_range_error);
}

TEST_F(ConfigFileTest, SavedAfterLoadKeepsCarriedWords) {
  std::string text = fresh_file_text();
  text.replace(0, 2, "7E");
  const std::size_t carried = 13 * 4;
  text.replace(carried, 2, "AB");
  write("carried.kvc", text);
  ASSERT_TRUE(load("carried.kvc"));
  ui.queue_file(path("again.kvc"));
  ASSERT_TRUE(save_config_data(form, remembered, ui));
  const std::string saved = *read_whole_file(path("again.kvc"));
  EXPECT_EQ(saved.substr(0, 4), "00\r\n");
  EXPECT_EQ(saved.substr(carried, 4), "AB\r\n");
}

}  // namespace
}  // namespace kv::config
