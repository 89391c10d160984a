#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "analysis/plot_files/label_file.h"
#include "analysis/plot_files/label_text_1252.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv::plot_files {
namespace {

using test::TempDir;

// A file of `records` labels at (i, 2i) captioned "L<i>", its first line `count`.
std::string label_file(long long count, int records) {
  std::string text = std::to_string(count) + "\r\n";
  for (int i = 1; i <= records; ++i) {
    text += std::to_string(i) + ".00\r\n" + std::to_string(2 * i) + ".00\r\nL" + std::to_string(i) + "\r\n";
  }
  return text;
}

struct LabelFiles : ::testing::Test {
  TempDir dir;
  ScriptedUi ui;
  DialogDefault remembered{dir.path().string(), "default.lab"};
  LabelStore labels;

  LabelLoad load_text(const std::string& text) {
    test::write_file(dir.file("in.lab"), text);
    ui.queue_file(dir.file("in.lab"));
    return load_lab_data(labels, remembered, ui);
  }
  void place(int n) {
    for (int i = 0; i < n; ++i) labels.place(i, i, "T" + std::to_string(i + 1));
  }
};

TEST_F(LabelFiles, PlacingClearingAndTheTwentyLimit) {
  const auto click = [&] {
    return place_label_on_click(labels, static_cast<int>(LabelMode::SetText), 0, 1.5, 2.5, "readout", "mine", ui);
  };
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(click());
  EXPECT_TRUE(ui.texts().empty());
  EXPECT_EQ(labels.label_count(), 21);
  EXPECT_EQ(labels.label(20), (PlotLabel{1.5, 2.5, "mine"}));
  EXPECT_TRUE(click());
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Maximum of 20 labels and text boxes!"});
  EXPECT_EQ(ui.messages().back().kind, MsgKind::Information);
  EXPECT_EQ(labels.label_count(), 21);

  // "Set Label" takes the readout; with zoom or pan on, or labels "Off" or
  // "View", a click places nothing.
  labels.clear_all();
  EXPECT_TRUE(labels.visible_labels().empty());
  EXPECT_TRUE(place_label_on_click(labels, static_cast<int>(LabelMode::SetLabel), 0, 3, 4, "a\nb", "mine", ui));
  EXPECT_EQ(labels.label(1).caption, "a\nb");
  EXPECT_FALSE(place_label_on_click(labels, static_cast<int>(LabelMode::SetLabel), 2, 3, 4, "r", "m", ui));
  EXPECT_FALSE(place_label_on_click(labels, static_cast<int>(LabelMode::View), 0, 3, 4, "r", "m", ui));
  EXPECT_EQ(labels.label_count(), 2);

  labels.clear_last();
  labels.clear_last();  // nothing in use: parks label 1, count stays 1
  EXPECT_EQ(labels.label_count(), 1);
  EXPECT_TRUE(labels.label(1).parked());
}

TEST_F(LabelFiles, SaveAndLoadBack) {
  labels.place(12.346, -3.004, "two?parts\r\nsecond line");
  labels.place(1e3, 0.5, "Caf\xC3\xA9 \xE2\x82\xAC");  // é and € in the window
  ui.queue_file(dir.file("run"));
  ASSERT_TRUE(save_lab_data(labels, remembered, ui));
  EXPECT_EQ(test::read_file(dir.file("run.lab")),
            "2\r\n12.35\r\n-3.00\r\ntwo?parts?second line\r\n1000.00\r\n0.50\r\nCaf\xE9 \x80\r\n");
  EXPECT_EQ(ui.texts().back(), "File Saved OK");
  EXPECT_EQ(remembered.file_name, "run.lab");

  LabelStore back;
  ui.queue_file(dir.file("run.lab"));
  const LabelLoad load = load_lab_data(back, remembered, ui);
  EXPECT_TRUE(load.loaded);
  EXPECT_EQ(ui.texts().back(), "Label File Loaded");
  EXPECT_EQ(back.label_count(), 3);
  EXPECT_EQ(back.label(1), (PlotLabel{12.35, -3.0, "two\nparts\nsecond line"}));
  EXPECT_EQ(back.label(2).caption, "Caf\xC3\xA9 \xE2\x82\xAC");
}

TEST_F(LabelFiles, CountIsTrustedButBounded) {
  // Says 3, holds five: five labels, label_count 4.
  EXPECT_TRUE(load_text(label_file(3, 5)).loaded);
  EXPECT_EQ(labels.label_count(), 4);
  EXPECT_EQ(labels.label(5).caption, "L5");

  for (const auto& [count, expected] : {std::pair{0LL, 1}, {-7LL, 1}, {999LL, 21}, {20LL, 21}}) {
    ASSERT_TRUE(load_text(label_file(count, 1)).loaded);
    EXPECT_EQ(labels.label_count(), expected) << count;
    labels.clear_last();
    labels.place(0, 0, "x");  // always reaches a label that exists
  }
}

TEST_F(LabelFiles, FaultsWhileReading) {
  // 21 records: labels 1-20 then "Problem Loading File".
  LabelLoad load = load_text(label_file(21, 21));
  EXPECT_TRUE(load.labels_changed);
  EXPECT_FALSE(load.loaded);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Problem Loading File"});
  EXPECT_EQ(ui.messages().back().kind, MsgKind::Error);
  EXPECT_EQ(labels.label(20).caption, "L20");
  EXPECT_EQ(labels.label_count(), 21);

  for (const char* bad : {"nan", "inf", "1e999", "0x10", "", "1.2.3", "12abc"}) {
    ui.clear();
    load = load_text(std::string("2\r\n1.00\r\n2.00\r\nok\r\n") + bad + "\r\n4.00\r\nnot this\r\n");
    EXPECT_FALSE(load.loaded) << bad;
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Problem Loading File"}) << bad;
    EXPECT_EQ(labels.label(1).caption, "ok");
  }
  EXPECT_EQ(ui.busy_depth(), 0);

  // Kept as built: a record is taken whole or not at all, so a record whose
  // PosY fails leaves its label's old PosX too.
  labels.set_label(2, PlotLabel{7, 8, "before"});
  ui.clear();
  load = load_text("2\r\n1.00\r\n2.00\r\nok\r\n5.00\r\nbad\r\nafter\r\n");
  EXPECT_FALSE(load.loaded);
  EXPECT_EQ(labels.label(2), (PlotLabel{7, 8, "before"}));

  // A first line that is not a whole number changes nothing.
  ui.clear();
  labels.clear_all();
  load = load_text("two\r\n1.00\r\n2.00\r\nx\r\n");
  EXPECT_FALSE(load.labels_changed);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"'two' is not a valid integer value"});
  EXPECT_EQ(labels.label_count(), 1);

  // A junk first line is quoted by its first 40 characters only.
  ui.clear();
  load = load_text(std::string(3'000'000, 'x') + "\r\n");
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"'" + std::string(40, 'x') + "' is not a valid integer value"});
}

TEST_F(LabelFiles, LoadKeepsHigherLabelsAndTakesEitherSeparator) {
  place(5);
  ASSERT_TRUE(load_text("2\r\n1,25\r\n 2.5 \r\na\n1e2\r\n-0,5\r\nb").loaded);  // LF alone, no last line end
  EXPECT_EQ(labels.label_count(), 3);
  EXPECT_EQ(labels.label(1), (PlotLabel{1.25, 2.5, "a"}));
  EXPECT_EQ(labels.label(2), (PlotLabel{100, -0.5, "b"}));
  EXPECT_EQ(labels.label(5).caption, "T5");
  EXPECT_EQ(labels_to_draw(labels, static_cast<int>(LabelMode::View)), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(labels_to_draw(labels, static_cast<int>(LabelMode::Off)).empty());

  // A record cut after its positions has an empty caption; neither it nor a
  // parked label from the file is drawn (an empty box says nothing).
  labels.clear_all();
  ASSERT_TRUE(load_text("2\r\n-1\r\n-1\r\n\r\n7\r\n8\r\n\r\n3\r\n4\r\nc").loaded);
  EXPECT_EQ(labels.label(2), (PlotLabel{7, 8, ""}));
  EXPECT_EQ(labels.visible_labels(), std::vector<int>{3});
}

TEST_F(LabelFiles, DialogMessages) {
  EXPECT_FALSE(save_lab_data(labels, remembered, ui));  // nothing placed
  place(1);
  save_lab_data(labels, remembered, ui);  // cancelled
  ui.queue_file(dir.file("a.LAB"));
  save_lab_data(labels, remembered, ui);
  test::write_file(dir.file("old.lab"), "keep");
  ui.queue_file(dir.file("old.lab"));
  ui.queue_answer(kNo);
  save_lab_data(labels, remembered, ui);
  std::filesystem::create_directory(dir.file("dir.lab"));
  ui.queue_file(dir.file("dir.lab"));
  save_lab_data(labels, remembered, ui);
  load_lab_data(labels, remembered, ui);  // cancelled
  ui.queue_file(dir.file("a.txt"));
  load_lab_data(labels, remembered, ui);
  ui.queue_file(dir.file("none.lab"));
  load_lab_data(labels, remembered, ui);
  EXPECT_EQ(ui.texts(),
            (std::vector<std::string>{"No Labels to Save", "Cancelled, Labels Not Saved",
                                      "Invalid Filename, Labels Not Saved", "File Exists, Overwrite File ?",
                                      "Labels Not Saved", "File Exists, Overwrite File ?",
                                      "File Already Open, Labels Not Saved", "Labels Not Loaded",
                                      "Invalid Filename, Labels Not Loaded",
                                      "Filename Does Not Exist, Labels Not Loaded"}));
  EXPECT_EQ(test::read_file(dir.file("old.lab")), "keep");
  EXPECT_EQ(ui.dialogs()[0].title, "Save Label Data");
  EXPECT_EQ(ui.dialogs()[0].filter, "Pelmorix Label Files (*.lab)");
  EXPECT_EQ(ui.dialogs().back().title, "Load Label Data");
  EXPECT_EQ(ui.dialogs().back().filter, "Pelmorix Label files (*.lab)");
}

TEST(LabelText1252, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(label_1252_from_utf8(label_utf8_from_1252(all)), all);
  EXPECT_EQ(label_1252_from_utf8("\xE4\xB8\xAD \xC3"), "? ?");  // not in the code page; cut short
}

}  // namespace
}  // namespace kv::plot_files
