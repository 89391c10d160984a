// The session library end to end: downloads from the emulated instrument
// kept in the library, their sheets followed there, and sessions opened
// from the library window into A and B.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "analysis/lap_tools/fastest_lap.h"
#include "app/application.h"
#include "chart/plotchart.h"
#include "desktop/user_folder.h"
#include "emulator/log_generator.h"
#include "library/library_messages.h"
#include "library/library_paths.h"
#include "library_ui/library_window.h"
#include "library_ui/scatter_window.h"
#include "logdata/download_window.h"
#include "notes/logger_notes.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/find_child.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

std::string file_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

emu::Instrument instrument(unsigned seed, std::uint16_t pulses_per_mile, std::uint8_t flags1, int pages = 24) {
  const auto log = emu::generate_log(
      {.pages = pages, .sessions = 2, .seed = seed, .pulses_per_mile = pulses_per_mile, .unit_flags1 = flags1});
  return emu::with_log(log);
}

// The image as far as the log goes: a download holds whole pages, a load
// what the file holds.
std::vector<std::uint8_t> used_image(const Dataset& data) {
  const auto end = std::min<std::size_t>(data.used_bytes, data.raw_memory.size());
  return {data.raw_memory.begin(), data.raw_memory.begin() + static_cast<std::ptrdiff_t>(end)};
}

double fastest_of(const Dataset& data) {
  std::vector<double> times;
  for (const auto& lap : data.lap_table) times.push_back(lap.lap_time);
  const auto at = lap_tools::fastest_lap(times);
  return at ? times[*at] : 0.0;
}

// One run of the program on a library folder of the test's own.
struct Program {
  explicit Program(const fs::path& folder, const fs::path& library) : state(folder.string()) {
    state.library_folder = library.string();
  }
  // A run on the library folder its start finds remembered, as the program starts.
  explicit Program(const fs::path& folder) : state(folder.string()) {
    desktop::recall_library_folder(folder.string(), state.library_folder, state.library_folder_file);
  }
  ScriptedUi ui;
  ProgramState state;
  Application shell{state, ui};

  void download(std::uint8_t which, const emu::Instrument& unit) {
    test::EmulatorFixture emulator(unit);
    ASSERT_TRUE(emulator.open(state.serial, ui));
    test::find_child<QComboBox>(shell.download(), "ComboBox1")->setCurrentIndex(which == kDataSetB ? 1 : 0);
    test::find_child<QPushButton>(shell.download(), "BitBtn3")->click();
    ASSERT_EQ(state.log.dataset(which).decoded_valid, 1);
  }
  // What "Save Data Set A" (or B) writes now.
  std::string saved_bytes(std::uint8_t which, const fs::path& target) {
    ui.queue_file(target.string());
    if (which == kDataSetB) shell.download().save_log_dataSetB();
    else shell.download().save_log_dataSetA();
    return file_bytes(target);
  }
  fs::path archived(std::uint8_t which) const {
    const LibraryCopy& copy = state.log.dataset(which).library_copy;
    return copy.empty() ? fs::path() : fs::path(copy.root) / copy.path;
  }
  // Sets the track temperature and the notes of a set in the notes window.
  void edit_sheet(std::uint8_t which, const char* track_temp, std::vector<std::string> notes) {
    shell.notes().open_for(which);
    test::find_child<QLineEdit>(shell.notes(), "Edit31")->setText(track_temp);
    state.log.dataset(which).sheet.notes_text = std::move(notes);
    test::find_child<QPushButton>(shell.notes(), "BitBtn1")->click();
  }
  std::vector<std::string> warnings() const {
    std::vector<std::string> texts;
    for (const auto& m : ui.messages()) {
      if (m.kind == MsgKind::Warning) texts.push_back(m.text);
    }
    return texts;
  }
};

class LibraryE2eTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  fs::path library = dir.path() / "library";
};

TEST_F(LibraryE2eTest, ADownloadIsKeptByteForByteAsSaveWritesIt) {
  Program program(dir.path(), library);
  program.download(kDataSetA, instrument(11, 1609, 0x00));
  const fs::path archived = program.archived(kDataSetA);
  ASSERT_FALSE(archived.empty());
  EXPECT_TRUE(program.warnings().empty());
  EXPECT_EQ(archived.parent_path().parent_path(), library);
  EXPECT_EQ(file_bytes(archived), program.saved_bytes(kDataSetA, dir.path() / "saved.kvl"));
}

TEST_F(LibraryE2eTest, TheNextRunKeepsDownloadsInTheFolderChosenBefore) {
  const fs::path chosen = dir.path() / "chosen library";
  fs::create_directories(chosen);
  {
    Program first(dir.path());
    EXPECT_EQ(first.state.library_folder, (dir.path() / "library").string());
    first.ui.queue_file(chosen.string());
    first.shell.library().choose_library_folder();
  }
  Program next(dir.path());
  EXPECT_EQ(next.state.library_folder, chosen.string());
  next.download(kDataSetA, instrument(11, 1609, 0x00));
  EXPECT_EQ(next.archived(kDataSetA).parent_path().parent_path(), chosen);
  EXPECT_TRUE(next.warnings().empty());  // the download's own notices aside
  // The folder gone by the next start: the default, and not a word about it.
  fs::remove_all(chosen);
  Program after_removal(dir.path());
  EXPECT_EQ(after_removal.state.library_folder, (dir.path() / "library").string());
  EXPECT_TRUE(after_removal.ui.texts().empty());
}

TEST_F(LibraryE2eTest, EditingTheSheetUpdatesTheArchivedFile) {
  Program program(dir.path(), library);
  program.download(kDataSetA, instrument(11, 1609, 0x00));
  const fs::path archived = program.archived(kDataSetA);
  const std::string before = file_bytes(archived);
  program.edit_sheet(kDataSetA, "27", {"Soft tyres", "Wind from the west"});
  const std::string after = file_bytes(archived);
  EXPECT_NE(after, before);
  EXPECT_EQ(after, program.saved_bytes(kDataSetA, dir.path() / "saved.kvl"));
  EXPECT_NE(after.find("//Soft tyres\r\n//Wind from the west\r\n"), std::string::npos);
  EXPECT_EQ(program.archived(kDataSetA), archived);  // updated in place, not added again
}

TEST_F(LibraryE2eTest, AnUnwritableLibraryWarnsOnceAndKeepsTheDownload) {
  // A file where the library folder should be: nothing can be written under it.
  std::ofstream(library.string()) << "not a folder";
  Program program(dir.path(), library);
  program.download(kDataSetA, instrument(11, 1609, 0x00));
  const auto warnings = program.warnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].rfind("The download was not archived in the session library (" + library.string() + ")", 0), 0u)
      << warnings[0];
  EXPECT_TRUE(program.archived(kDataSetA).empty());
  EXPECT_EQ(program.state.log.dataset(kDataSetA).memory_valid, 1);
  EXPECT_EQ(test::find_child<QLineEdit>(program.shell.download(), "Edit3")->text(), "Memory A");
  // Leaving the notes window has no copy to update and says nothing more.
  program.edit_sheet(kDataSetA, "20", {});
  EXPECT_EQ(program.warnings().size(), 1u);
}

TEST_F(LibraryE2eTest, AnArchiveWriteThatFailsWarnsOnceAndKeepsTheDownload) {
  // The library opens, but this year's folder is a file: the write fails.
  const fs::path year = library / fs::path(library::session_relative_path(std::time(nullptr))).parent_path();
  fs::create_directories(library);
  std::ofstream(year.string()) << "in the way";
  Program program(dir.path(), library);
  program.download(kDataSetA, instrument(11, 1609, 0x00));
  const auto warnings = program.warnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].rfind("The download was not archived in the session library (", 0), 0u) << warnings[0];
  EXPECT_TRUE(program.archived(kDataSetA).empty());
  EXPECT_EQ(program.state.log.dataset(kDataSetA).memory_valid, 1);
  EXPECT_EQ(program.state.log.dataset(kDataSetA).decoded_valid, 1);
}

TEST_F(LibraryE2eTest, ACopyThatCannotBeUpdatedWarnsOnceAndKeepsTheSheet) {
  Program program(dir.path(), library);
  program.download(kDataSetA, instrument(11, 1609, 0x00));
  const fs::path archived = program.archived(kDataSetA);
  ASSERT_FALSE(archived.empty());
  const std::string path = program.state.log.dataset(kDataSetA).library_copy.path;
  fs::remove(archived);  // taken away behind the program's back
  program.edit_sheet(kDataSetA, "22", {"Gone"});
  EXPECT_EQ(program.warnings(), std::vector<std::string>{library::msg::not_in_library(path)});
  EXPECT_EQ(program.state.log.dataset(kDataSetA).sheet.field(31), "22");
  EXPECT_EQ(program.state.log.dataset(kDataSetA).sheet.notes_text, std::vector<std::string>{"Gone"});
}

TEST_F(LibraryE2eTest, TwoInstrumentsSessionsOpenSideBySide) {
  Dataset own, mates;
  std::string own_path, mates_path;
  {
    Program recording(dir.path(), library);
    recording.download(kDataSetA, instrument(11, 1609, 0x00));
    own = recording.state.log.dataset(kDataSetA);
    own_path = own.library_copy.path;
    recording.download(kDataSetA, instrument(23, 1700, 0x80));  // a team-mate's, in mph
    mates = recording.state.log.dataset(kDataSetA);
    mates_path = mates.library_copy.path;
  }
  ASSERT_FALSE(own_path.empty());
  ASSERT_FALSE(mates_path.empty());
  ASSERT_NE(own_path, mates_path);
  Program later(dir.path(), library);
  TForm13& window = later.shell.library();
  window.show();
  EXPECT_EQ(window.model().rows().size(), 2u);
  ASSERT_TRUE(window.select_path(own_path));
  window.open_into_a();
  ASSERT_TRUE(window.select_path(mates_path));
  window.open_into_b();
  const Dataset& a = later.state.log.dataset(kDataSetA);
  const Dataset& b = later.state.log.dataset(kDataSetB);
  ASSERT_EQ(a.decoded_valid, 1);
  ASSERT_EQ(b.decoded_valid, 1);
  EXPECT_EQ(a.identity, own.identity);
  EXPECT_EQ(b.identity, mates.identity);
  EXPECT_EQ(used_image(a), used_image(own));
  EXPECT_EQ(used_image(b), used_image(mates));
  EXPECT_EQ(a.lap_table, own.lap_table);
  EXPECT_EQ(b.lap_table, mates.lap_table);
  EXPECT_FALSE(a.held_units.speed_in_mph);
  EXPECT_TRUE(b.held_units.speed_in_mph);
  // Opened through the normal load: the name field shows the file, and a
  // later sheet edit goes to the library file it came from.
  EXPECT_EQ(test::find_child<QLineEdit>(later.shell.download(), "Edit4")->text().toStdString(),
            fs::path(mates_path).filename().string());
  later.edit_sheet(kDataSetB, "31", {});
  EXPECT_EQ(later.archived(kDataSetB), library / mates_path);
  EXPECT_EQ(file_bytes(library / mates_path), later.saved_bytes(kDataSetB, dir.path() / "b.kvl"));
}

// The files hold their text in Windows-1252: the window shows, matches and
// stores a tag or a note with an accented letter in those bytes.
TEST_F(LibraryE2eTest, AccentedTagsAndNotesKeepTheFilesCharacters) {
  Program program(dir.path(), library);
  program.download(kDataSetA, instrument(11, 1609, 0x00));
  program.edit_sheet(kDataSetA, "27", {"K\xfchl und windig"});
  const fs::path archived = program.archived(kDataSetA);
  TForm13& window = program.shell.library();
  window.show();
  ASSERT_TRUE(window.select_path(program.state.log.dataset(kDataSetA).library_copy.path));
  test::find_child<QLineEdit>(window, "TrackTag")->setText(QString::fromUtf8("N\u00fcrburgring"));
  test::find_child<QPushButton>(window, "SaveTags")->click();
  EXPECT_TRUE(program.warnings().empty());
  EXPECT_NE(file_bytes(archived).find("@@N\xfcrburgring\r\n"), std::string::npos);

  test::find_child<QComboBox>(window, "TrackFilter")->setEditText(QString::fromUtf8("n\u00fcrburgring"));
  test::find_child<QLineEdit>(window, "TextFilter")->setText(QString::fromUtf8("k\u00fchl"));
  ASSERT_EQ(window.model().rowCount(), 1);
  QStringList cells;
  for (int column = 0; column < window.model().columnCount(); ++column) {
    cells << window.model().data(window.model().index(0, column)).toString();
  }
  EXPECT_TRUE(cells.contains(QString::fromUtf8("N\u00fcrburgring"))) << cells.join("|").toStdString();
  EXPECT_TRUE(cells.contains(QString::fromUtf8("K\u00fchl und windig")));
  ASSERT_TRUE(window.select_path(program.state.log.dataset(kDataSetA).library_copy.path));
  EXPECT_EQ(test::find_child<QLineEdit>(window, "TrackTag")->text(), QString::fromUtf8("N\u00fcrburgring"));
}

TEST_F(LibraryE2eTest, TheScatterShowsEachSessionsFastestLapAgainstItsTrackTemperature) {
  Program program(dir.path(), library);
  // Logs long enough for whole laps.
  program.download(kDataSetA, instrument(11, 1609, 0x00, 160));
  program.edit_sheet(kDataSetA, "27", {});
  program.download(kDataSetB, instrument(23, 1609, 0x00, 160));
  program.edit_sheet(kDataSetB, "31.5", {});
  TForm13& window = program.shell.library();
  window.show();
  window.show_scatter();
  const auto& points = window.scatter_window().points();
  ASSERT_EQ(points.size(), 2u);
  const auto& rows = window.model().rows();
  for (const auto& point : points) {
    const bool is_a = (library / rows[point.row].path) == program.archived(kDataSetA);
    const Dataset& data = program.state.log.dataset(is_a ? kDataSetA : kDataSetB);
    ASSERT_GT(fastest_of(data), 0.0);
    EXPECT_DOUBLE_EQ(point.y, fastest_of(data));
    EXPECT_DOUBLE_EQ(point.x, is_a ? 27.0 : 31.5);
  }
  EXPECT_GT(window.scatter_window().scatter_chart().ItemCount(), 0u);
  EXPECT_EQ(window.scatter_window().days().size(), 1u);  // both today: one best of the day
}

}  // namespace
}  // namespace kv
