// The configuration file through the program's real dialogs and message
// boxes, driven the way a person would: type a name, press the button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "config/config_file.h"
#include "tests/support/temp_dir.h"
#include "ui/qt_ui.h"

namespace kv::config {
namespace {

constexpr int kPollMs = 10;

// Answers whatever modal window comes up: types `typed` into a file dialog
// and accepts it (a dialog still open on the next look refused the name and
// is cancelled), and records and closes every message box.
class Person {
 public:
  explicit Person(QString typed) : typed_(std::move(typed)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start(kPollMs);
  }

  std::vector<std::string> messages;

 private:
  void look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      messages.push_back(box->text().toStdString());
      box->done(QMessageBox::Ok);
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
      if (dialog == answered_) {
        dialog->reject();
        return;
      }
      answered_ = dialog;
      QLineEdit* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      name->setText(typed_);
      // Pressed from the event loop, so that a box the press opens is seen
      // by the next look rather than waiting on this one.
      QTimer::singleShot(0, name, [name] { QTest::keyClick(name, Qt::Key_Return); });
    }
  }

  QString typed_;
  QTimer timer_;
  QPointer<QFileDialog> answered_;
};

class QtDialogTest : public ::testing::Test {
 protected:
  QtDialogTest() { form.setup(); }

  test::TempDir dir;
  ConfigState state;
  ConfigForm form{state};
  DialogDefault remembered{dir.path().string(), "default.kvc"};
  QtUi ui;
};

TEST_F(QtDialogTest, TypedNamesReachTheProgramsOwnChecks) {
  {
    Person person("absent");
    EXPECT_FALSE(load_config_data(form, remembered, ui));
    EXPECT_EQ(person.messages, std::vector<std::string>{file_text::kMissing});
  }
  form.edit(IntField::veh_weight, "750");
  {
    Person person("setup");
    ASSERT_TRUE(save_config_data(form, remembered, ui));
    EXPECT_EQ(person.messages, std::vector<std::string>{file_text::kSaved});
    EXPECT_EQ(test::read_file(dir.file("setup.kvc")).substr(3 * 4, 8), "EE\r\n02\r\n");
  }
  form.edit(IntField::veh_weight, "0");
  {
    Person person("setup");  // only setup.kvc exists: the extension is appended
    EXPECT_TRUE(load_config_data(form, remembered, ui));
    EXPECT_EQ(person.messages, std::vector<std::string>{file_text::kLoaded});
  }
  EXPECT_EQ(form.field(IntField::veh_weight).text, "750");
}

}  // namespace
}  // namespace kv::config
