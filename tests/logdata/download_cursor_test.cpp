// The pointer during the download window's Download and Dump: busy while the
// instrument talks and files are written, normal whenever the person is
// asked something or chooses a name.
#include <gtest/gtest.h>

#include <utility>

#include "emulator/log_generator.h"
#include "logdata/download_window.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

// Records how deep the busy cursor was at every box and save dialog.
class CursorUi : public ScriptedUi {
 public:
  Button message(MsgKind kind, const std::string& text, ButtonSet buttons) override {
    busy_at.emplace_back(text, busy_depth());
    return ScriptedUi::message(kind, text, buttons);
  }
  std::optional<std::string> save_file(const FileDialogRequest& request) override {
    busy_at.emplace_back(request.title, busy_depth());
    return ScriptedUi::save_file(request);
  }
  std::vector<std::pair<std::string, int>> busy_at;
};

TEST(DownloadCursor, TheDumpIsBusyOnlyWhileItTransfersAndWrites) {
  test::TempDir dir;
  test::EmulatorFixture instrument(emu::with_log(emu::generate_log({.pages = 4, .seed = 3})));
  CursorUi ui;
  LogState log;
  SerialState serial;
  DialogDefaults dialogs = DialogDefaults::in_folder(dir.path().string());
  TForm2 form({log, serial, dialogs}, ui);
  form.change_serial_port(0);
  serial.serial_port.set_read_timeout_ms(test::kTestReadTimeoutMs);
  ui.busy_at.clear();
  long idle_pumps = 0;
  long busy_pumps = 0;
  ui.on_pump = [&] { ++(ui.busy_depth() > 0 ? busy_pumps : idle_pumps); };

  ui.queue_answer(kYes);
  ui.queue_file(dir.file("dump"));
  form.set_dump_flag();

  using Seen = std::vector<std::pair<std::string, int>>;
  EXPECT_EQ(ui.busy_at, (Seen{{"Dump Memory and Save to File ?", 0}, {"Save Korvanta Data", 0}, {"File Saved OK", 0}}));
  EXPECT_GT(busy_pumps, 512 * 256) << "every byte of the transfer";
  EXPECT_EQ(idle_pumps, 0);
  EXPECT_EQ(ui.busy_depth(), 0);
}

}  // namespace
}  // namespace kv
