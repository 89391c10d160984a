#include "notes/setup_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/text_lines.h"
#include "tests/logdata/no_free_descriptors.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

using test::read_file;
using test::TempDir;
using test::write_file;

std::string slot_lines(int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += "@@\r\n";
  return out;
}

SetupSheet sheet_from_text(const std::string& text) {
  SetupSheet sheet;
  parse_setup_lines(split_lines(text), 0, sheet);
  return sheet;
}

SetupSheet filled_sheet() {
  SetupSheet sheet;
  sheet.notes_text = {"Dry track", "", "//rear felt loose"};
  for (int slot = 1; slot <= kSetupSlots; ++slot) sheet.set_field(slot, "v" + std::to_string(slot));
  sheet.set_field(5, "@@28.5");
  return sheet;
}

TEST(SetupText, EmptyNotesGiveExactlyEightySlotLines) {
  const std::string text = format_setup_text(SetupSheet{});
  EXPECT_EQ(text, slot_lines(80));
  EXPECT_TRUE(sheet_from_text(text).notes_text.empty());
}

TEST(SetupText, NotesAndSlotsKeepTheirOwnPrefixes) {
  const SetupSheet sheet = filled_sheet();
  const std::string text = format_setup_text(sheet);
  const auto lines = split_lines(text);
  ASSERT_EQ(lines.size(), 83u);
  EXPECT_EQ(lines[0], "//Dry track");
  EXPECT_EQ(lines[1], "//");
  EXPECT_EQ(lines[2], "////rear felt loose");
  EXPECT_EQ(lines[3], "@@v1");
  EXPECT_EQ(lines[7], "@@@@28.5");
  EXPECT_EQ(lines[82], "@@v80");
  EXPECT_EQ(sheet_from_text(text), sheet);
}

TEST(SetupText, MoreThan256NotesLinesAreAllWritten) {
  SetupSheet sheet;
  sheet.notes_text.assign(300, "x");
  const std::string text = format_setup_text(sheet);
  EXPECT_EQ(split_lines(text).size(), 380u);
  EXPECT_EQ(sheet_from_text(text).notes_text.size(), 300u);
}

TEST(SetupText, LineBreaksInsideTextCannotShiftTheSlots) {
  SetupSheet sheet;
  sheet.notes_text = {"one\r\ntwo\nthree"};
  sheet.set_field(1, "a\r\nb");
  const auto lines = split_lines(format_setup_text(sheet));
  ASSERT_EQ(lines.size(), 83u);
  EXPECT_EQ(lines[0], "//one");
  EXPECT_EQ(lines[2], "//three");
  EXPECT_EQ(lines[3], "@@a  b");
}

TEST(SetupText, NotesOnlyFileEmptiesEverySlot) {
  SetupSheet sheet = filled_sheet();
  parse_setup_lines(split_lines("//first\r\n//second\r\n"), 0, sheet);
  EXPECT_EQ(sheet.notes_text, (std::vector<std::string>{"first", "second"}));
  for (int slot = 1; slot <= kSetupSlots; ++slot) EXPECT_EQ(sheet.field(slot), "") << slot;
}

TEST(SetupText, SlotLinesLoseTwoCharactersWhateverTheyAre) {
  // LF alone, a short line, foreign prefixes and a file that ends early.
  const SetupSheet sheet = sheet_from_text("@@one\nXYtwo\n@\n\n##five");
  EXPECT_EQ(sheet.field(1), "one");
  EXPECT_EQ(sheet.field(2), "two");
  EXPECT_EQ(sheet.field(3), "");
  EXPECT_EQ(sheet.field(4), "");
  EXPECT_EQ(sheet.field(5), "five");
  EXPECT_EQ(sheet.field(6), "");
  EXPECT_TRUE(sheet.notes_text.empty());
}

TEST(SetupText, ParsingStopsAfterTheEightiethSlot) {
  SetupSheet sheet;
  const auto lines = split_lines("//n\r\n" + slot_lines(80) + "17\r\n03 15\r\n");
  EXPECT_EQ(parse_setup_lines(lines, 0, sheet), 81u);
  EXPECT_EQ(lines[81], "17");
}

class TemplateFile : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return dir.file(name); }

  TempDir dir;
  ScriptedUi ui;
  DialogDefault remembered{"/start", "default.qsu"};
};

TEST_F(TemplateFile, SaveWritesTheSheetAndRemembersTheChoice) {
  const SetupSheet sheet = filled_sheet();
  ui.queue_file(path("monza"));
  EXPECT_TRUE(save_setup_template(sheet, remembered, ui));
  EXPECT_EQ(read_file(path("monza.qsu")), format_setup_text(sheet));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Saved OK"});
  EXPECT_EQ(ui.messages()[0].kind, MsgKind::Information);
  ASSERT_EQ(ui.dialogs().size(), 1u);
  EXPECT_EQ(ui.dialogs()[0].title, "Save Setup Data");
  EXPECT_EQ(ui.dialogs()[0].folder, "/start");
  EXPECT_EQ(ui.dialogs()[0].file_name, "default.qsu");
  EXPECT_EQ(remembered.folder, dir.path().string());
  EXPECT_EQ(remembered.file_name, "monza.qsu");
  EXPECT_EQ(test::list_folder(dir.path()), std::vector<std::string>{"monza.qsu"});
  EXPECT_EQ(ui.busy_depth(), 0);
  EXPECT_EQ(ui.max_busy_depth(), 1);
}

TEST_F(TemplateFile, SaveRefusalsLeaveEverythingAsItWas) {
  write_file(path("old.qsu"), "keep");
  const std::optional<std::string> choices[] = {std::nullopt, path("upper.QSU"), path("old.qsu"),
                                                path("missing/folder.qsu")};
  for (const auto& choice : choices) {
    ui.queue_file(choice);
    ui.queue_answer(kNo);
    EXPECT_FALSE(save_setup_template(filled_sheet(), remembered, ui));
  }
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Cancelled, No Data Saved", "Invalid Filename, No Data Saved",
                                                  "File Exists, Overwrite File ?", "No Data Saved",
                                                  "File Already Open, No Data Saved"}));
  for (const auto& m : ui.messages()) EXPECT_EQ(m.kind, MsgKind::Warning);
  EXPECT_EQ(ui.messages()[2].buttons, kYes | kNo);
  EXPECT_EQ(read_file(path("old.qsu")), "keep");
  EXPECT_EQ(test::list_folder(dir.path()), std::vector<std::string>{"old.qsu"});
  EXPECT_EQ(remembered.folder, "/start");
}

TEST_F(TemplateFile, OverwriteConfirmedReplacesTheFile) {
  write_file(path("old.qsu"), "keep");
  ui.queue_file(path("old.qsu"));
  ui.queue_answer(kYes);
  EXPECT_TRUE(save_setup_template(SetupSheet{}, remembered, ui));
  EXPECT_EQ(read_file(path("old.qsu")), slot_lines(80));
}

TEST_F(TemplateFile, LoadReadsAnyDatasetsFileAndReplacesTheNotes) {
  // The file names no dataset: whatever sheet asks gets its contents.
  write_file(path("a.qsu"), "@@1\r\n@@2\r\n");
  SetupSheet sheet = filled_sheet();
  ui.queue_file(path("a"));
  EXPECT_TRUE(load_setup_template(sheet, remembered, ui));
  EXPECT_TRUE(sheet.notes_text.empty());
  EXPECT_EQ(sheet.field(1), "1");
  EXPECT_EQ(sheet.field(2), "2");
  EXPECT_EQ(sheet.field(80), "");
  EXPECT_TRUE(ui.texts().empty());
  EXPECT_EQ(ui.dialogs()[0].title, "Load Setup Data");
  EXPECT_EQ(remembered.file_name, "a.qsu");
  EXPECT_EQ(remembered.folder, dir.path().string());
}

TEST_F(TemplateFile, UnseenSlotsSurviveLoadAndSave) {
  std::string text = "//note\r\n";
  for (int slot = 1; slot <= 80; ++slot) text += "@@" + (slot > 65 ? "hidden" + std::to_string(slot) : "") + "\r\n";
  write_file(path("in.qsu"), text);
  SetupSheet sheet;
  ui.queue_file(path("in.qsu"));
  ui.queue_file(path("out.qsu"));
  ASSERT_TRUE(load_setup_template(sheet, remembered, ui));
  ASSERT_TRUE(save_setup_template(sheet, remembered, ui));
  EXPECT_EQ(read_file(path("out.qsu")), text);
}

TEST_F(TemplateFile, LoadRefusalsLeaveTheSheetAlone) {
  write_file(path("UPPER.QSU"), "//x\r\n");
  SetupSheet sheet = filled_sheet();
  ui.queue_file(std::nullopt);
  ui.queue_file(path("UPPER.QSU"));
  ui.queue_file(path("absent.qsu"));
  ui.queue_file(path(""));
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(load_setup_template(sheet, remembered, ui));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"No Data Loaded", "Invalid Filename, No Data Loaded",
                                                  "Filename Does Not Exist, No Data Loaded",
                                                  "Invalid Filename, No Data Loaded"}));
  EXPECT_EQ(sheet, filled_sheet());
  EXPECT_EQ(remembered.folder, "/start");
}

TEST_F(TemplateFile, AFileThatCannotBeOpenedIsAProblemOpening) {
  write_file(path("locked.qsu"), "//x\r\n");
  SetupSheet sheet = filled_sheet();
  ui.queue_file(path("locked.qsu"));
  ASSERT_TRUE(load_setup_template(sheet, remembered, ui)) << "opens while descriptors are free";
  sheet = filled_sheet();
  ui.queue_file(path("locked.qsu"));
  bool loaded = true;
  {
    const test::NoFreeDescriptors no_open;
    loaded = load_setup_template(sheet, remembered, ui);
  }
  EXPECT_FALSE(loaded);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Problem Opening File, No Data Loaded"});
  EXPECT_EQ(sheet, filled_sheet());
}

TEST_F(TemplateFile, ReadErrorIsAFormatErrorAndKeepsTheSheet) {
  // Reading a process's own memory from offset 0 fails with an I/O error.
  std::filesystem::create_symlink("/proc/self/mem", path("broken.qsu"));
  SetupSheet sheet = filled_sheet();
  ui.queue_file(path("broken.qsu"));
  EXPECT_TRUE(load_setup_template(sheet, remembered, ui));
  ASSERT_EQ(ui.texts(), std::vector<std::string>{"File Format Error, No Data Loaded"});
  EXPECT_EQ(ui.messages()[0].kind, MsgKind::Error);
  EXPECT_EQ(sheet, filled_sheet());
  EXPECT_EQ(remembered.file_name, "broken.qsu");
}

}  // namespace
}  // namespace kv
