#include "calculator/calculator.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

#include "chart/numedit.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

using chart::TNumEdit;

struct CalculatorWindow : ::testing::Test {
  CalculatorWindow() : window(ui) {
    window.show();
    window.activateWindow();
  }

  template <typename T>
  T* child(const char* name) {
    T* found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QRadioButton* item(const char* group, int index) {
    return child<QGroupBox>(group)->findChildren<QRadioButton*>().at(index);
  }
  void pick_drive(int index) { item("Drive_Sensor_Buttons", index)->click(); }
  void pick_tyres(int index) { item("Tyre_type_buttons", index)->click(); }
  void calculate() { child<QPushButton>("Button1")->click(); }
  QString speedo() { return child<QLineEdit>("speedo_cal")->text(); }
  QString gear() { return child<QLineEdit>("gear_cal")->text(); }
  QColor colour_of(const char* name) { return child<QWidget>(name)->palette().color(QPalette::Base); }
  // Shown by the layout rules (a field on another notebook page still counts).
  bool shown(const char* name) { return !child<QWidget>(name)->isHidden(); }

  ScriptedUi ui;
  TForm4 window;
};

constexpr const char* kFrontFields[] = {"front_tyre_width", "front_tyre_profile", "front_wheel_diameter",
                                        "front_tyre_diameter", "front_tyre_circumference"};
constexpr const char* kRearFields[] = {"rear_tyre_width", "rear_tyre_profile", "rear_wheel_diameter",
                                       "rear_tyre_diameter", "rear_tyre_circumference"};

TEST_F(CalculatorWindow, StartsWithTheDesignValues) {
  EXPECT_EQ(window.windowTitle(), "Calculator");
  EXPECT_TRUE(item("Drive_Sensor_Buttons", 3)->isChecked());
  EXPECT_EQ(item("Drive_Sensor_Buttons", 0)->text(), "Front Wheel Drive, Front Wheel Sensor");
  EXPECT_EQ(item("Drive_Sensor_Buttons", 4)->text(), "Rear Wheel Drive, Rear Wheel Sensor");
  EXPECT_TRUE(item("Tyre_type_buttons", 0)->isChecked());
  EXPECT_EQ(item("Tyre_type_buttons", 2)->text(), "Unknown Tyres");
  EXPECT_EQ(child<QStackedWidget>("tyre_type_notebook")->currentWidget()->objectName(), "Road_tyres");
  EXPECT_EQ(child<QComboBox>("front_tyre_width")->currentText(), "185");
  EXPECT_EQ(child<QComboBox>("rear_tyre_width")->currentText(), "205");
  EXPECT_EQ(child<QComboBox>("rear_wheel_diameter")->currentText(), "13");
  QComboBox* widths = child<QComboBox>("front_tyre_width");
  EXPECT_EQ(widths->count(), 15);
  EXPECT_EQ(widths->itemText(0), "275");
  EXPECT_EQ(widths->itemText(14), "135");
  EXPECT_EQ(child<QComboBox>("front_tyre_profile")->itemText(6), "20");
  EXPECT_EQ(child<QComboBox>("front_wheel_diameter")->count(), 10);
  EXPECT_EQ(child<TNumEdit>("front_tyre_diameter")->text(), "450");
  EXPECT_EQ(child<TNumEdit>("rear_tyre_circumference")->text(), "1700");
  EXPECT_EQ(child<QLineEdit>("diff_ratio_value")->text(), "3.54");
  EXPECT_EQ(speedo(), "");
  EXPECT_EQ(colour_of("speedo_cal"), QColor(Qt::yellow));
  EXPECT_EQ(child<QPushButton>("BitBtn1")->text(), "Main Menu");
  EXPECT_EQ(child<QPushButton>("BitBtn3")->toolTip(), "Help just in case you are having problems !");
}

TEST_F(CalculatorWindow, DefaultsGiveTheKnownFactors) {
  calculate();
  EXPECT_EQ(speedo(), "6293");
  EXPECT_EQ(gear(), "1000");
  pick_drive(0);
  calculate();
  EXPECT_EQ(speedo(), "1855");
  EXPECT_EQ(gear(), "3540");
  pick_drive(4);
  calculate();
  EXPECT_EQ(speedo(), "1778");
  EXPECT_EQ(gear(), "3540");
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(CalculatorWindow, SlicksAndMeasuredTyres) {
  pick_tyres(1);
  EXPECT_EQ(child<QStackedWidget>("tyre_type_notebook")->currentWidget()->objectName(), "Slick_tyres");
  calculate();
  EXPECT_EQ(speedo(), "6593");
  EXPECT_EQ(gear(), "1000");
  pick_tyres(2);
  pick_drive(4);
  calculate();
  EXPECT_EQ(speedo(), "1893");
  EXPECT_EQ(gear(), "3540");
}

TEST_F(CalculatorWindow, ZeroRatioGivesAnIllegalGearFactor) {
  pick_drive(0);
  child<QLineEdit>("diff_ratio_value")->setText("0.00");
  calculate();
  EXPECT_EQ(speedo(), "1855");
  EXPECT_EQ(gear(), "Error");
  EXPECT_EQ(colour_of("gear_cal"), QColor(Qt::red));
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0].kind, MsgKind::Error);
  EXPECT_EQ(ui.messages()[0].text, "Illegal Gear Cal, Check Parameters");
}

TEST_F(CalculatorWindow, BothMessagesFollowOneCalculationSpeedFirst) {
  pick_tyres(2);
  pick_drive(3);
  child<TNumEdit>("rear_tyre_circumference")->setText("9999");
  child<QLineEdit>("diff_ratio_value")->setText("0.10");  // 0.1 x 3218 / 9.999 = 32
  pick_drive(4);
  calculate();
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Illegal Speed Cal, Check Parameters",
                                                  "Illegal Gear Cal, Check Parameters"}));
}

TEST_F(CalculatorWindow, AnUnreadableEntryIsReportedOnce) {
  pick_drive(1);  // both factors use both tyres
  child<QComboBox>("rear_tyre_profile")->setCurrentText("sixty");
  calculate();
  EXPECT_EQ(speedo(), "1855");
  EXPECT_EQ(gear(), "Error");
  child<QComboBox>("front_tyre_profile")->setCurrentText("");
  calculate();
  EXPECT_EQ(speedo(), "Error");
  EXPECT_EQ(gear(), "Error");
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Rear Tyre Profile is not a Number, Check Parameters",
                                                  "Front Tyre Profile is not a Number, Check Parameters"}));
}

TEST_F(CalculatorWindow, FieldsFollowTheDriveAndSensorPosition) {
  const auto expect_sides = [&](bool front, bool rear) {
    for (const char* name : kFrontFields) EXPECT_EQ(shown(name), front) << name;
    for (const char* name : kRearFields) EXPECT_EQ(shown(name), rear) << name;
  };
  expect_sides(false, true);  // item 3 at start
  pick_drive(0);
  expect_sides(true, false);
  pick_drive(1);
  expect_sides(true, true);
  pick_drive(2);
  expect_sides(true, true);
  pick_drive(3);
  expect_sides(false, true);
  pick_drive(4);
  expect_sides(false, true);
}

TEST_F(CalculatorWindow, ResultsClearOnTheSpecifiedEvents) {
  const auto calculated = [&] {
    calculate();
    return !speedo().isEmpty();
  };
  ASSERT_TRUE(calculated());
  pick_drive(2);
  EXPECT_EQ(speedo(), "");
  ASSERT_TRUE(calculated());
  pick_tyres(1);
  EXPECT_EQ(speedo(), "");
  EXPECT_EQ(gear(), "");
  ASSERT_TRUE(calculated());
  child<TNumEdit>("front_tyre_diameter")->setText("460");
  EXPECT_EQ(speedo(), "");

  pick_tyres(0);
  ASSERT_TRUE(calculated());
  const QString result = speedo();
  QComboBox* width = child<QComboBox>("rear_tyre_width");
  width->setFocus();
  QTest::keyClicks(width, "5");  // typing does not clear
  EXPECT_EQ(speedo(), result);
  QTest::keyClick(child<QLineEdit>("diff_ratio_value"), Qt::Key_Home);
  QTest::keyClicks(child<QLineEdit>("diff_ratio_value"), "4");
  EXPECT_EQ(speedo(), result);
  width->setCurrentIndex(0);
  emit width->activated(0);  // an entry picked from the list
  EXPECT_EQ(speedo(), "");
}

TEST_F(CalculatorWindow, TooSmallSizesAreRaisedWhenTheFieldIsLeft) {
  pick_tyres(1);
  pick_drive(2);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  TNumEdit* front = child<TNumEdit>("front_tyre_diameter");
  front->setText("150");
  front->setFocus();
  EXPECT_TRUE(ui.messages().empty());
  child<TNumEdit>("rear_tyre_diameter")->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  EXPECT_EQ(front->text(), "200");
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0].kind, MsgKind::Warning);
  EXPECT_EQ(ui.messages()[0].text, "Minimum Front Tyre Diameter is 200mm");

  ui.clear();
  child<TNumEdit>("rear_tyre_diameter")->setText("");
  window.check_rear_diameter();
  child<TNumEdit>("front_tyre_circumference")->setText("299");
  window.check_front_circumference();
  child<TNumEdit>("rear_tyre_circumference")->setText("12");
  window.check_rear_circumference();
  child<TNumEdit>("front_tyre_diameter")->setText("200");
  window.check_front_diameter();  // the minimum itself is fine
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Minimum Rear Tyre Diameter is 200mm",
                                                  "Minimum Front Tyre Circumference is 300mm",
                                                  "Minimum Rear Tyre Circumference is 300mm"}));
  EXPECT_EQ(child<TNumEdit>("rear_tyre_circumference")->text(), "300");
}

TEST_F(CalculatorWindow, SlickFieldRefusesAValueOver999) {
  pick_tyres(1);
  TNumEdit* front = child<TNumEdit>("front_tyre_diameter");
  front->setFocus();
  front->setText("100");
  front->end(false);
  QTest::keyClick(front, Qt::Key_0);
  EXPECT_EQ(front->text(), "100");
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(CalculatorWindow, DiffRatioTurnsRedWhenIncomplete) {
  QLineEdit* ratio = child<QLineEdit>("diff_ratio_value");
  const QColor normal = colour_of("diff_ratio_value");
  ratio->setFocus();
  ratio->setCursorPosition(2);
  QTest::keyClick(ratio, Qt::Key_Delete);
  EXPECT_EQ(ratio->displayText(), "3. 4");
  EXPECT_EQ(colour_of("diff_ratio_value"), QColor(Qt::red));
  calculate();
  EXPECT_EQ(gear(), "1000");   // the propshaft layout does not use the ratio for gear
  EXPECT_EQ(speedo(), "Error");
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Differential Ratio is not a Number, Check Parameters"});
  ratio->setText("3.91");
  EXPECT_EQ(colour_of("diff_ratio_value"), normal);
  ratio->selectAll();
  QTest::keyClick(ratio, Qt::Key_Delete);
  EXPECT_EQ(ratio->text(), "0.00");
}

TEST_F(CalculatorWindow, NavigationHidesTheWindowFirst) {
  QSignalSpy menu(&window, &TForm4::mainMenuRequested);
  QSignalSpy help(&window, &TForm4::helpRequested);
  QSignalSpy exit(&window, &TForm4::programExitRequested);
  child<QPushButton>("BitBtn3")->click();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(help.count(), 1);
  window.show();
  child<QPushButton>("BitBtn1")->click();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(menu.count(), 1);
  window.show();
  window.close();
  EXPECT_EQ(exit.count(), 1);
  EXPECT_EQ(menu.count(), 1);
}

TEST_F(CalculatorWindow, CentresItselfWhenShown) {
  window.hide();
  window.move(0, 0);
  window.show();
  const QRect screen = window.screen()->geometry();
  EXPECT_EQ(window.pos(), QPoint(screen.left() + (screen.width() - window.width()) / 2,
                                 screen.top() + (screen.height() - window.height()) / 2));
}

TEST_F(CalculatorWindow, ValuesPersistWhileHidden) {
  pick_tyres(2);
  pick_drive(0);
  child<TNumEdit>("front_tyre_circumference")->setText("1800");
  window.back_to_main();
  window.show();
  EXPECT_EQ(child<QStackedWidget>("tyre_type_notebook")->currentWidget()->objectName(), "other_tyres");
  EXPECT_TRUE(shown("front_tyre_circumference"));
  EXPECT_FALSE(shown("rear_tyre_circumference"));
  EXPECT_EQ(child<TNumEdit>("front_tyre_circumference")->text(), "1800");
}

}  // namespace
}  // namespace kv
