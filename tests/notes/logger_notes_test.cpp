#include "notes/logger_notes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "logdata/log_file.h"
#include "notes/setup_file.h"
#include "notes/typing_limit.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

class NotesWindow : public ::testing::Test {
 protected:
  NotesWindow() : dialogs(DialogDefaults::in_folder(dir.path().string())), window({log, dialogs}, ui) {}

  SetupSheet& sheet(std::uint8_t which) { return log.dataset(which).sheet; }
  QPushButton* button(const char* name) { return window.findChild<QPushButton*>(QString::fromLatin1(name)); }
  void press(const char* name) {
    QPushButton* b = button(name);
    ASSERT_NE(b, nullptr) << name;
    b->click();
  }
  QString group_title() { return window.findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->title(); }

  test::TempDir dir;
  LogState log;
  DialogDefaults dialogs;
  ScriptedUi ui;
  TForm11 window;
};

TEST_F(NotesWindow, HasItsControlsCaptionsAndHints) {
  EXPECT_EQ(window.windowTitle(), "Setup Notes");
  EXPECT_EQ(window.minimumSize(), QSize(696, 610));
  EXPECT_EQ(window.maximumSize(), QSize(696, 610));
  for (int slot = 1; slot <= 65; ++slot) {
    EXPECT_NE(window.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(slot)), nullptr) << slot;
  }
  EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("Edit66")), nullptr);
  const std::pair<const char*, const char*> buttons[] = {
      {"BitBtn4", "Save as Template"}, {"BitBtn3", "Load a Template"}, {"BitBtn2", "Clear"},
      {"Button1", "Save Changes"},     {"Button2", "Cancel"},          {"BitBtn1", "Back"}};
  for (const auto& [name, caption] : buttons) {
    ASSERT_NE(button(name), nullptr) << name;
    EXPECT_EQ(button(name)->text(), caption);
  }
  EXPECT_EQ(button("BitBtn1")->toolTip(), "Back to the data logger analysis.");
  EXPECT_EQ(button("BitBtn2")->toolTip(), "Clear the entire setup sheet.");
  EXPECT_TRUE(button("Button1")->toolTip().isEmpty());
  for (const std::uint8_t which : {kDataSetA, kDataSetB}) {
    LimitedMemo* memo = window.memo(which);
    EXPECT_EQ(memo->objectName(), which == kDataSetA ? "Memo1" : "Memo2");
    EXPECT_EQ(memo->size(), QSize(329, 89));
    EXPECT_EQ(memo->toolTip(), "Add notes into your data files.");
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  }
}

void expect_nothing_clipped(TForm11& window) {
  window.open_for(kDataSetA);
  EXPECT_LE(window.layout()->minimumSize().width(), 696);
  EXPECT_LE(window.layout()->minimumSize().height(), 610);
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    EXPECT_GE(label->height(), label->sizeHint().height()) << label->text().toStdString();
  }
  for (const QPushButton* b : window.findChildren<QPushButton*>()) {
    EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
  }
  for (const QWidget* w : window.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&window) || w->parentWidget() == nullptr) continue;
    EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << w->objectName().toStdString();
  }
}

TEST_F(NotesWindow, NothingIsClippedOrSqueezed) { expect_nothing_clipped(window); }

TEST(NotesWindowFont, AWideDesktopFontStillFits) {
  const QFont original = QApplication::font();
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans Mono")));
  test::TempDir dir;
  LogState log;
  DialogDefaults dialogs = DialogDefaults::in_folder(dir.path().string());
  ScriptedUi ui;
  TForm11 wide({log, dialogs}, ui);
  expect_nothing_clipped(wide);
  QApplication::setFont(original);
}

TEST_F(NotesWindow, TypingStopsAtEachFieldsLimitButLoadedTextStaysWhole) {
  window.open_for(kDataSetA);
  QTest::keyClicks(window.field_edit(1), "123456");
  QTest::keyClicks(window.field_edit(9), "123456");
  QTest::keyClicks(window.field_edit(65), "12345678");
  EXPECT_EQ(window.field_edit(1)->text(), "1234");
  EXPECT_EQ(window.field_edit(9)->text(), "12345");
  EXPECT_EQ(window.field_edit(65)->text(), "123456");

  sheet(kDataSetA).set_field(2, "a long text from a file");
  window.set_Edit_Objects();
  QLineEdit* edit = window.field_edit(2);
  EXPECT_EQ(edit->text(), "a long text from a file");
  edit->end(false);
  QTest::keyClicks(edit, "x");
  EXPECT_EQ(edit->text(), "a long text from a file");
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(edit->text(), "a long text from a fil");
}

TEST_F(NotesWindow, NotesTypingStopsAtTwoThousandCharacters) {
  window.open_for(kDataSetA);
  LimitedMemo* memo = window.memo(kDataSetA);
  memo->insertPlainText(QString(1990, QLatin1Char('a')));
  QTest::keyClicks(memo, "bbbbbbbbbbbbbbb");
  EXPECT_EQ(memo->text().size(), 2000);
  EXPECT_TRUE(memo->text().endsWith(QStringLiteral("abbbbbbbbbb")));
  EXPECT_EQ(sheet(kDataSetA).notes_text.front().size(), 2000u);

  sheet(kDataSetB).notes_text.assign(1, std::string(2500, 'c'));
  window.open_for(kDataSetB);
  EXPECT_EQ(window.memo(kDataSetB)->text().size(), 2500);
}

// Typed the way a keyboard does, one character at a time.
void type(QWidget* widget, const QString& text) {
  for (const QChar ch : text) {
    QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
  }
}

TEST_F(NotesWindow, TypingKeepsTheTemplatesWindowsBytesAndRefusesWhatTheyCannotHold) {
  std::string slot_lines = "@@25\xB0\r\n";
  for (int slot = 2; slot <= 80; ++slot) slot_lines += "@@\r\n";
  test::write_file(dir.file("in.qsu"), "//Track 18\xB0" "C\r\n//\x80 40 entry\r\n//third\r\n" + slot_lines);
  window.open_for(kDataSetA);
  ui.queue_file(dir.file("in.qsu"));
  press("BitBtn3");
  LimitedMemo* memo = window.memo(kDataSetA);
  EXPECT_EQ(memo->text(), QString::fromUtf8("Track 18\u00B0C\n\u20AC 40 entry\nthird"));
  EXPECT_EQ(window.field_edit(1)->text(), QString::fromUtf8("25\u00B0"));

  memo->moveCursor(QTextCursor::End);
  type(memo, QString::fromUtf8(" dry \u00E9\u03A9\U0001F600"));
  EXPECT_TRUE(memo->text().endsWith(QString::fromUtf8("third dry \u00E9"))) << memo->text().toStdString();
  EXPECT_EQ(sheet(kDataSetA).notes_text,
            (std::vector<std::string>{"Track 18\xB0" "C", "\x80 40 entry", "third dry \xE9"}));

  type(window.field_edit(2), QString::fromUtf8("\u00FC\u03A9"));
  EXPECT_EQ(window.field_edit(2)->text(), QString::fromUtf8("\u00FC"));
  ui.queue_file(dir.file("out.qsu"));
  press("BitBtn4");
  std::string expected = "//Track 18\xB0" "C\r\n//\x80 40 entry\r\n//third dry \xE9\r\n@@25\xB0\r\n@@\xFC\r\n";
  for (int slot = 3; slot <= 80; ++slot) expected += "@@\r\n";
  EXPECT_EQ(test::read_file(dir.file("out.qsu")), expected);
}

TEST_F(NotesWindow, OpensOnTheChosenDataset) {
  sheet(kDataSetA).set_field(1, "A1");
  sheet(kDataSetB).set_field(1, "B1");
  sheet(kDataSetB).notes_text = {"b notes", "line 2"};
  window.open_for(kDataSetB);
  EXPECT_EQ(log.current_data_set, kDataSetB);
  EXPECT_EQ(group_title(), "Data B Notes");
  EXPECT_EQ(window.field_edit(1)->text(), "B1");
  EXPECT_TRUE(window.memo(kDataSetB)->isVisible());
  EXPECT_FALSE(window.memo(kDataSetA)->isVisible());
  EXPECT_EQ(window.memo(kDataSetB)->text(), "b notes\nline 2");
  press("BitBtn1");
  window.open_for(kDataSetA);
  EXPECT_EQ(group_title(), "Data A Notes");
  EXPECT_EQ(window.field_edit(1)->text(), "A1");
  EXPECT_TRUE(window.memo(kDataSetA)->isVisible());
  EXPECT_FALSE(window.memo(kDataSetB)->isVisible());
}

TEST_F(NotesWindow, CancelAndCloseDropFieldEditsButKeepNotes) {
  sheet(kDataSetA).set_field(1, "80");
  QSignalSpy back(&window, &TForm11::backRequested);
  for (int round = 0; round < 2; ++round) {
    window.open_for(kDataSetA);
    window.field_edit(1)->setText("99");
    QTest::keyClicks(window.memo(kDataSetA), round == 0 ? "wet" : "!");
    if (round == 0) {
      press("Button2");
    } else {
      QCloseEvent close;
      QApplication::sendEvent(&window, &close);
    }
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(sheet(kDataSetA).field(1), "80");
  }
  EXPECT_EQ(back.count(), 2);
  EXPECT_EQ(sheet(kDataSetA).notes_text, std::vector<std::string>{"wet!"});
  window.open_for(kDataSetA);
  EXPECT_EQ(window.field_edit(1)->text(), "80");
}

TEST_F(NotesWindow, BackStoresTheFieldsAndLeavesUnseenSlots) {
  sheet(kDataSetA).set_field(70, "hidden");
  window.open_for(kDataSetA);
  QSignalSpy back(&window, &TForm11::backRequested);
  window.field_edit(65)->setText("3.91");
  press("BitBtn1");
  EXPECT_EQ(back.count(), 1);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(sheet(kDataSetA).field(65), "3.91");
  EXPECT_EQ(sheet(kDataSetA).field(70), "hidden");
  EXPECT_EQ(sheet(kDataSetB), SetupSheet{});
}

TEST_F(NotesWindow, ClearEmptiesTheWholeSheetWithoutAsking) {
  sheet(kDataSetB).set_field(3, "x");
  sheet(kDataSetB).set_field(80, "y");
  sheet(kDataSetB).notes_text = {"notes"};
  window.open_for(kDataSetB);
  press("BitBtn2");
  EXPECT_EQ(sheet(kDataSetB), SetupSheet{});
  EXPECT_TRUE(window.field_edit(3)->text().isEmpty());
  EXPECT_TRUE(window.memo(kDataSetB)->text().isEmpty());
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(NotesWindow, TemplateSavedForAIsLoadedIntoB) {
  window.open_for(kDataSetA);
  window.field_edit(13)->setText("450");
  QTest::keyClicks(window.memo(kDataSetA), "//slash");
  ui.queue_file(dir.file("spa"));
  press("BitBtn4");
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Saved OK"});
  EXPECT_EQ(sheet(kDataSetA).field(13), "450");
  EXPECT_EQ(test::read_file(dir.file("spa.qsu")).substr(0, 13), "////slash\r\n@@");

  press("BitBtn1");
  window.open_for(kDataSetB);
  ui.queue_file(dir.file("spa.qsu"));
  press("BitBtn3");
  EXPECT_EQ(window.field_edit(13)->text(), "450");
  EXPECT_EQ(window.memo(kDataSetB)->text(), "//slash");
  EXPECT_EQ(sheet(kDataSetB), sheet(kDataSetA));
  EXPECT_EQ(dialogs.setup.file_name, "spa.qsu");
}

TEST_F(NotesWindow, CancelledTemplateSaveStoresTheFieldsAndCancelledLoadKeepsThem) {
  window.open_for(kDataSetA);
  window.field_edit(9)->setText("-2.5");
  press("BitBtn4");
  EXPECT_EQ(sheet(kDataSetA).field(9), "-2.5");
  window.field_edit(9)->setText("-3.0");
  press("BitBtn3");
  EXPECT_EQ(window.field_edit(9)->text(), "-3.0");
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Cancelled, No Data Saved", "No Data Loaded"}));
}

TEST_F(NotesWindow, SaveChangesNeedsDecodedData) {
  log.dataset(kDataSetA).memory_valid = 1;
  window.open_for(kDataSetA);
  window.field_edit(1)->setText("77");
  press("Button1");
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0].text, "No Valid Data Loaded to Save Setup With");
  EXPECT_EQ(ui.messages()[0].kind, MsgKind::Information);
  EXPECT_TRUE(ui.dialogs().empty());
  EXPECT_EQ(sheet(kDataSetA).field(1), "");
}

TEST_F(NotesWindow, SaveChangesWritesALogFileCarryingTheSheet) {
  Dataset& data = log.dataset(kDataSetB);
  data.memory_valid = 1;
  data.decoded_valid = 1;
  data.raw_memory = {0x12, 0x34};
  data.used_bytes = 3;
  data.identity.unit_version = 321;
  sheet(kDataSetB).set_field(75, "kept");
  sheet(kDataSetB).notes_text = {"fast"};
  window.open_for(kDataSetB);
  window.field_edit(44)->setText("6.5");
  log.current_data_set = kDataSetA;  // the plot window may have moved it
  ui.queue_file(dir.file("race"));
  press("Button1");
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Saved OK"});
  EXPECT_EQ(sheet(kDataSetB).field(44), "6.5");

  // Loaded into the other dataset, the log brings the whole sheet along.
  log.current_data_set = kDataSetA;
  ui.queue_file(dir.file("race.kvl"));
  load_log_data(log, dialogs, ui);
  EXPECT_EQ(sheet(kDataSetA), sheet(kDataSetB));
  window.open_for(kDataSetA);
  EXPECT_EQ(window.field_edit(44)->text(), "6.5");
  EXPECT_EQ(window.memo(kDataSetA)->text(), "fast");
}

}  // namespace
}  // namespace kv
