// The application shell: start-up, navigation and close rules, about and help.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>

#include "app/application.h"
#include "app/guarded_application.h"
#include "app/main_menu.h"
#include "app/text_windows.h"
#include "calculator/calculator.h"
#include "config/configure_window.h"
#include "logdata/download_window.h"
#include "notes/logger_notes.h"
#include "ui/scripted_ui.h"
#include "ui/window_placement.h"

namespace kv {
namespace {

class ShellTest : public ::testing::Test {
 protected:
  void click(QWidget& window, const char* name) {
    auto* button = window.findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }

  ScriptedUi ui;
  ProgramState state{"/opt/korvanta"};
  Application shell{state, ui};
};

TEST_F(ShellTest, StartsWithOnlyTheMainMenuAndItsDefaults) {
  shell.start();
  EXPECT_TRUE(shell.main_menu().isVisible());
  EXPECT_FALSE(shell.download().isVisible());
  EXPECT_EQ(shell.main_menu().windowTitle(), "Korvanta Tools");
  EXPECT_EQ(shell.main_menu().size(), QSize(386, 323));
  EXPECT_EQ(state.serial.port_open, 0);
  EXPECT_EQ(state.serial.selected_port, 0);
  EXPECT_EQ(state.log.current_data_set, 1);
  EXPECT_EQ(state.dialogs.log.folder, "/opt/korvanta");
  EXPECT_EQ(state.dialogs.log.file_name, "default.kvl");
  EXPECT_EQ(state.dialogs.label.file_name, "default.lab");
  const auto* analysis = shell.main_menu().findChild<QPushButton*>("BitBtn2");
  ASSERT_NE(analysis, nullptr);
  EXPECT_EQ(analysis->text(), "Korvanta Analysis");
  EXPECT_EQ(analysis->toolTip(), "Download the logged data from the Korvanta.");
}

TEST_F(ShellTest, MenuOpensEachWindowAndEachComesBack) {
  shell.start();
  struct Route {
    const char* button;
    QWidget* window;
    const char* back;
  };
  const Route routes[] = {{"BitBtn2", &shell.download(), "BitBtn1"},
                          {"BitBtn5", &shell.about(), "BitBtn1"}};
  for (const auto& route : routes) {
    click(shell.main_menu(), route.button);
    EXPECT_FALSE(shell.main_menu().isVisible()) << route.button;
    EXPECT_TRUE(route.window->isVisible()) << route.button;
    click(*route.window, route.back);
    EXPECT_FALSE(route.window->isVisible()) << route.button;
    EXPECT_TRUE(shell.main_menu().isVisible()) << route.button;
  }
  shell.main_menu().open_configure();
  EXPECT_TRUE(shell.configure().isVisible());
  shell.configure().back_to_main();
  EXPECT_TRUE(shell.main_menu().isVisible());
  shell.main_menu().open_calculator();
  EXPECT_TRUE(shell.calculator().isVisible());
  shell.calculator().back_to_main();
  EXPECT_TRUE(shell.main_menu().isVisible());
}

TEST_F(ShellTest, AboutShowsTheVersion) {
  shell.main_menu().open_about();
  EXPECT_EQ(shell.about().windowTitle(), "About Korvanta Tools");
  EXPECT_EQ(shell.about().version_caption(), "Korvanta Tools Version 1.21");
  const QString text = shell.about().memo()->toPlainText();
  EXPECT_TRUE(text.startsWith("The Korvanta Tools Program allows you to:\n\n1) Download and analyse"));
  EXPECT_TRUE(text.endsWith("sensor position."));
  shell.about().close();
  EXPECT_TRUE(shell.main_menu().isVisible());
}

TEST_F(ShellTest, DownloadHelpReturnsToTheDownloadWindow) {
  shell.main_menu().open_download();
  click(shell.download(), "BitBtn9");
  EXPECT_FALSE(shell.download().isVisible());
  EXPECT_TRUE(shell.download_help().isVisible());
  EXPECT_EQ(shell.download_help().windowTitle(), "Log Download Help");
  EXPECT_EQ(shell.download_help().memo()->toPlainText().count('\n'), 25);  // 26 lines
  click(shell.download_help(), "BitBtn1");
  EXPECT_TRUE(shell.download().isVisible());
  EXPECT_FALSE(shell.main_menu().isVisible());
  // Closing a help window also returns to its parent.
  click(shell.download(), "BitBtn9");
  shell.download_help().close();
  EXPECT_TRUE(shell.download().isVisible());
}

TEST_F(ShellTest, OtherHelpWindowsKeepTheirCaptions) {
  EXPECT_EQ(shell.configure_help().windowTitle(), "Setup Help");
  EXPECT_EQ(shell.calculator_help().windowTitle(), "Calcultor Help");
  shell.main_menu().open_calculator();
  shell.calculator().view_help();
  EXPECT_TRUE(shell.calculator_help().isVisible());
  shell.calculator_help().go_back();
  EXPECT_TRUE(shell.calculator().isVisible());
}

TEST_F(ShellTest, ClosingTheDownloadWindowEndsTheProgram) {
  shell.main_menu().open_download();
  shell.download().close();
  EXPECT_TRUE(shell.ended());
  EXPECT_FALSE(shell.download().isVisible());
  EXPECT_FALSE(shell.main_menu().isVisible());
}

TEST_F(ShellTest, ClosingConfigureOrCalculatorEndsTheProgram) {
  shell.main_menu().open_configure();
  shell.configure().close();
  EXPECT_TRUE(shell.ended());
  Application second(state, ui);
  second.main_menu().open_calculator();
  second.calculator().close();
  EXPECT_TRUE(second.ended());
}

TEST_F(ShellTest, ExitClosesTheSerialPort) {
  state.serial.port_open = 1;
  shell.start();
  click(shell.main_menu(), "BitBtn1");
  EXPECT_TRUE(shell.ended());
  EXPECT_EQ(state.serial.port_open, 0);
}

TEST(WindowPlacement, CentresWithTruncation) {
  const auto place = centred_placement(1025, 769, 467, 487);
  EXPECT_EQ(place.left, 279);
  EXPECT_EQ(place.top, 141);
  const auto larger = centred_placement(300, 200, 467, 487);
  EXPECT_EQ(larger.left, -83);  // truncated toward zero
  EXPECT_EQ(larger.top, -143);
}

TEST(GeneralErrorHandler, ShowsTheErrorText) {
  EXPECT_EQ(escaped_error_text(std::make_exception_ptr(std::runtime_error("'abc' is not a valid integer value"))),
            "'abc' is not a valid integer value");
  EXPECT_EQ(escaped_error_text(std::make_exception_ptr(42)), "An unexpected error occurred");
}

}  // namespace
}  // namespace kv
