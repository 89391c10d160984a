#include "chart/numedit.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace kv::chart {
namespace {

// The calculator's slick diameter field.
struct WholeNumberField : ::testing::Test {
  WholeNumberField() : edit(&window), other(&window) {
    other.move(0, 40);
    edit.setInputFormat(InputFormat::itInt);
    edit.setDecPlaceSep(DecPlaceSep::dsDot);
    edit.setRange(0, 999);
    edit.setBeep(false);
    edit.setText("450");
    window.show();
    window.activateWindow();
    edit.setFocus();
    edit.end(false);
  }
  QWidget window;
  TNumEdit edit;
  QLineEdit other;
};

TEST_F(WholeNumberField, TypingPastTheUpperBoundIsRefused) {
  edit.setText("100");
  edit.end(false);
  QTest::keyClick(&edit, Qt::Key_0);
  EXPECT_EQ(edit.text(), "100");
  EXPECT_EQ(edit.value(), 100.0);
}

TEST_F(WholeNumberField, TypingAFractionIsRefused) {
  edit.setText("12");
  edit.end(false);
  QTest::keyClick(&edit, Qt::Key_Period);
  EXPECT_EQ(edit.text(), "12");
  edit.selectAll();
  edit.insert("12.5");  // pasted whole
  EXPECT_EQ(edit.text(), "12");
}

TEST_F(WholeNumberField, ProgramWrittenTextPassesTheSameCheck) {
  EXPECT_FALSE(edit.setText("1000"));
  EXPECT_EQ(edit.text(), "450");
  EXPECT_FALSE(edit.setText("12.5"));
  EXPECT_EQ(edit.text(), "450");
  EXPECT_TRUE(edit.setText("  75"));
  EXPECT_EQ(edit.text(), "75");
}

// Code that holds the field as a plain line edit (a form's list of edits,
// a property write) must not get around the check.
TEST_F(WholeNumberField, TextSetThroughTheBaseClassPassesTheSameCheck) {
  QLineEdit& line = edit;
  QSignalSpy changes(&edit, &QLineEdit::textChanged);
  for (const char* refused : {"1000", "12.5", "abc", "4 5", "-1"}) {
    line.setText(refused);
    EXPECT_EQ(edit.text().toStdString(), "450") << refused;
  }
  edit.setProperty("text", "2000");
  EXPECT_EQ(edit.text(), "450");
  for (const QList<QVariant>& change : changes) EXPECT_EQ(change.at(0).toString(), "450");
  line.setText("  75");
  EXPECT_EQ(edit.text(), "75");
  EXPECT_EQ(edit.value(), 75.0);
  line.setText("1e3");
  EXPECT_EQ(edit.text(), "75");  // the last accepted text, not the first
  QTest::keyClick(&edit, Qt::Key_9);  // typing still works after a refusal
  EXPECT_EQ(edit.text(), "759");
}

TEST_F(WholeNumberField, AnEmptyFieldReadsAsZero) {
  edit.selectAll();
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.text(), "");
  EXPECT_EQ(edit.value(), 0.0);
  QTest::keyClicks(&edit, "3a0");
  EXPECT_EQ(edit.text(), "30");
}

TEST_F(WholeNumberField, ARefusedEditSendsNoChange) {
  QSignalSpy changes(&edit, &QLineEdit::textChanged);
  QTest::keyClick(&edit, Qt::Key_7);  // 4507 is over 999
  QTest::keyClick(&edit, Qt::Key_Space);
  EXPECT_EQ(changes.count(), 0);
  EXPECT_EQ(edit.text(), "450");
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(changes.count(), 1);
}

TEST_F(WholeNumberField, LeavingTheFieldIsReported) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QSignalSpy exits(&edit, &TNumEdit::exited);
  other.setFocus(Qt::TabFocusReason);
  EXPECT_EQ(exits.count(), 1);
  edit.setFocus();
  QWidget elsewhere;
  elsewhere.show();
  elsewhere.activateWindow();  // switching windows is not leaving the field
  ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
  EXPECT_EQ(exits.count(), 1);
}

TEST(NumEditDynamic, MarkerBoxesTakeEveryNumberTheProgramWrites) {
  TNumEdit edit;
  edit.setInputFormat(InputFormat::itDynamic);
  edit.setRange(-1.7e308, 1.7e308);
  for (const char* text : {"-12.3", "0.0", "123456.7", "$FF", "1e300"}) {
    EXPECT_TRUE(edit.setText(text)) << text;
    EXPECT_EQ(edit.text().toStdString(), text);
  }
  EXPECT_EQ(edit.value(), 1e300);
  EXPECT_FALSE(edit.setText("abc"));
  EXPECT_EQ(edit.text(), "1e300");
}

}  // namespace
}  // namespace kv::chart
