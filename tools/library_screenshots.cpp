// The session library's pictures for the README and the guide: a season of
// sessions at two tracks with their tags and track temperatures, the library
// window filtered to one track, and its "Set-up vs Lap Time" window.
#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <cstdio>

#include "emulator/generated_download.h"
#include "library/library_messages.h"
#include "library_ui/library_window.h"
#include "library_ui/scatter_window.h"
#include "library_ui/session_archiver.h"
#include "ui/scripted_ui.h"

namespace {

constexpr std::time_t kSeasonStart = 1775030400;  // 2026-04-01
constexpr std::time_t kDay = 86400;

struct Outing {
  int day;
  const char* track;
  const char* track_temp;
  const char* tyre_pressure;
  unsigned seed;
  const char* notes;
};

constexpr Outing kOutings[] = {
    {0, "Oulton", "14", "26", 21, "First run of the year, cold track"},
    {12, "Brands", "19", "27", 22, "New front springs"},
    {27, "Oulton", "21", "27", 23, "Softer rear roll bar"},
    {41, "Oulton", "24", "28", 24, "Best day so far"},
    {55, "Brands", "27", "27", 25, "Hot, tyres went off"},
    {70, "Oulton", "29", "28", 26, "New tyres"},
    {84, "Oulton", "23", "27", 27, "Damp first session"},
};

kv::Dataset outing_log(const Outing& outing) {
  kv::LogState log;
  kv::emu::decode_download(log, kv::emu::generate_log({.pages = 96, .sessions = 2, .seed = outing.seed}));
  kv::Dataset& data = log.current();
  data.sheet.notes_text = {outing.notes};
  data.sheet.set_field(31, outing.track_temp);
  data.sheet.set_field(4, outing.tyre_pressure);
  return data;
}

void save_picture(QWidget& window, const QString& path) {
  window.show();
  QApplication::processEvents();
  if (!window.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

}  // namespace

void render_library_pictures(const QString& folder) {
  QTemporaryDir dir;
  std::string library_folder = (dir.path() + "/library").toStdString();
  kv::ScriptedUi person;
  kv::GivenFileUi ui(person);
  kv::LibraryAccess access(library_folder, ui);
  std::string error;
  kv::library::SessionLibrary* lib = access.get(error);
  if (lib == nullptr) {
    std::fprintf(stderr, "library: %s\n", error.c_str());
    return;
  }
  for (const Outing& outing : kOutings) {
    kv::Dataset data = outing_log(outing);
    if (!kv::archive_download(access, data, kSeasonStart + outing.day * kDay + 10 * 3600)) continue;
    lib->set_tags(data.library_copy.path, {outing.track, "Radical SR3", "Ann", outing.day > 60 ? "new tyres" : ""});
  }
  kv::LogState log;
  kv::DialogDefaults defaults = kv::DialogDefaults::in_folder(dir.path().toStdString());
  const std::string no_memo;  // a picture run leaves the user's choice alone
  kv::TForm13 window({log, defaults, library_folder, access, no_memo}, ui);
  window.resize(1100, 420);
  window.show();
  window.findChild<QComboBox*>("TrackFilter")->setEditText("Oulton");
  save_picture(window, folder + "/library-window.png");
  window.show_scatter();
  kv::TForm14& scatter = window.scatter_window();
  scatter.resize(1100, 460);
  save_picture(scatter, folder + "/library-scatter.png");
  for (const auto& text : person.texts()) std::printf("library message: %s\n", text.c_str());
}
