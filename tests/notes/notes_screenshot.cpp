// Renders the "Setup Notes" window, filled with a sample set-up, to a PNG.
#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "notes/logger_notes.h"
#include "ui/scripted_ui.h"

namespace {

void fill_sample(kv::SetupSheet& sheet) {
  sheet.notes_text = {"Dry, 24 degrees. Fitted new fronts before session 2.",
                      "Rear loose on exit of the hairpin: try one click more rebound."};
  const char* temps[] = {"78", "82", "85"};
  for (int slot : {1, 2, 3}) sheet.set_field(slot, temps[slot - 1]);
  for (int slot : {35, 36, 37}) sheet.set_field(slot, temps[slot - 35]);
  sheet.set_field(4, "26.0");
  sheet.set_field(5, "29.5");
  sheet.set_field(38, "26.0");
  sheet.set_field(39, "29.8");
  sheet.set_field(13, "450");
  sheet.set_field(6, "400");
  sheet.set_field(9, "-2.5");
  sheet.set_field(43, "-2.5");
  sheet.set_field(31, "31");
  sheet.set_field(57, "24");
  sheet.set_field(14, "12");
  sheet.set_field(63, "55");
  sheet.set_field(16, "620");
  sheet.set_field(65, "3.91");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: notes_screenshot <file.png>\n");
    return 2;
  }
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  kv::LogState log;
  kv::DialogDefaults dialogs = kv::DialogDefaults::in_folder(".");
  kv::ScriptedUi ui;
  fill_sample(log.dataset(kv::kDataSetA).sheet);
  kv::TForm11 window({log, dialogs}, ui);
  window.open_for(kv::kDataSetA);
  const QPixmap picture = window.grab();
  return picture.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
