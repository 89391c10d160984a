// The library window's table without an instrument: filters, sorting and
// the chosen columns over rows in memory, and the buttons' messages.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QElapsedTimer>

#include "library/library_messages.h"
#include "library/library_paths.h"
#include "library/session_query.h"
#include "library/sqlite_db.h"
#include "library_ui/library_actions.h"
#include "library_ui/library_window.h"
#include "library_ui/scatter_window.h"
#include "library_ui/session_table_model.h"
#include "tests/library/library_logs.h"
#include "tests/support/find_child.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

using library::Column;
using library::SessionRow;

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kMay1 = 1777593600;  // 2026-05-01 00:00 UTC

SessionRow row(const char* path, std::int64_t time, const char* track, const char* driver, double fastest,
               const char* track_temp, const char* notes = "") {
  SessionRow r;
  r.path = path;
  r.session_time = time;
  r.tags.track = track;
  r.tags.driver = driver;
  r.fastest = library::FastestLap{fastest, 1, 2, std::nullopt};
  r.setup.set(library::kTrackTempSlot, track_temp);
  r.notes_first_line = notes;
  r.notes_text = notes;
  r.laps = 5;
  return r;
}

std::vector<SessionRow> season() {
  return {row("2026/a.kvl", kMay1 + 10 * kDay, "Oulton", "Ann", 92.5, "21"),
          row("2026/b.kvl", kMay1 + 2 * kDay, "Brands", "Ann", 51.0, "18", "new tyres"),
          row("2026/c.kvl", kMay1 + 5 * kDay, "Oulton", "Bob", 91.75, "25.5", "wet"),
          row("2026/d.kvl", kMay1 + 30 * kDay, "oulton", "Ann", 90.0, "")};
}

std::vector<std::string> shown_paths(const SessionTableModel& model) {
  std::vector<std::string> paths;
  for (int i = 0; i < model.rowCount(); ++i) paths.push_back(model.row_at(i)->path);
  return paths;
}

TEST(SessionTableModelTest, FiltersByTagDateAndNotesText) {
  SessionTableModel model;
  model.set_rows(season());
  EXPECT_EQ(shown_paths(model), (std::vector<std::string>{"2026/b.kvl", "2026/c.kvl", "2026/a.kvl", "2026/d.kvl"}));
  library::SessionFilter filter;
  filter.track = "OULTON";  // a tag matches whole, in any letter case
  model.set_filter(filter);
  EXPECT_EQ(shown_paths(model), (std::vector<std::string>{"2026/c.kvl", "2026/a.kvl", "2026/d.kvl"}));
  filter.driver = "Ann";
  filter.to_time = kMay1 + 30 * kDay;  // exclusive
  model.set_filter(filter);
  EXPECT_EQ(shown_paths(model), (std::vector<std::string>{"2026/a.kvl"}));
  filter = {};
  filter.text = "tyres";
  model.set_filter(filter);
  EXPECT_EQ(shown_paths(model), (std::vector<std::string>{"2026/b.kvl"}));
  filter = {};
  filter.track = "Oult";  // not a whole tag
  model.set_filter(filter);
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(model.row_at(0), nullptr);
}

TEST(SessionTableModelTest, SortsByAnyColumnAndKeepsTheFilter) {
  SessionTableModel model;
  model.set_rows(season());
  const int fastest = static_cast<int>(std::find(model.columns().begin(), model.columns().end(),
                                                 library::ColumnKey{Column::FastestLap}) -
                                       model.columns().begin());
  ASSERT_LT(fastest, model.columnCount());
  model.sort(fastest, Qt::DescendingOrder);
  EXPECT_EQ(shown_paths(model), (std::vector<std::string>{"2026/a.kvl", "2026/c.kvl", "2026/d.kvl", "2026/b.kvl"}));
  library::SessionFilter oulton;
  oulton.track = "oulton";
  model.set_filter(oulton);
  EXPECT_EQ(shown_paths(model), (std::vector<std::string>{"2026/a.kvl", "2026/c.kvl", "2026/d.kvl"}));
  // A set-up field sorts as numbers, the empty one last.
  model.set_column_shown({Column::Setup, 12}, true);
  const int temp = static_cast<int>(std::find(model.columns().begin(), model.columns().end(),
                                              library::ColumnKey{Column::Setup, library::kTrackTempSlot}) -
                                    model.columns().begin());
  model.sort(temp, Qt::AscendingOrder);
  EXPECT_EQ(shown_paths(model), (std::vector<std::string>{"2026/a.kvl", "2026/c.kvl", "2026/d.kvl"}));
  EXPECT_EQ(model.headerData(model.columnCount() - 1, Qt::Horizontal).toString().toStdString(),
            library::column_caption({Column::Setup, 12}));
  model.sort(-1);  // outside the columns: ignored
  model.sort(model.columnCount());
  EXPECT_EQ(model.rowCount(), 3);
  EXPECT_FALSE(model.data(model.index(0, model.columnCount())).isValid());
}

TEST(SessionTableModelTest, AnUnreadableFileSaysWhyInItsRow) {
  SessionTableModel model;
  SessionRow bad;
  bad.path = "2026/broken.kvl";
  bad.readable = false;
  bad.unreadable_message = "File Format Error, No Data Loaded";
  model.set_rows({bad, season()[0]});
  QStringList shown;
  for (int column = 0; column < model.columnCount(); ++column) {
    shown << model.data(model.index(0, column)).toString();
    EXPECT_NE(model.data(model.index(1, column)).toString(), "File Format Error, No Data Loaded");
  }
  EXPECT_TRUE(shown.contains("File Format Error, No Data Loaded")) << shown.join("|").toStdString();
}

TEST(SessionTableModelTest, ChosenColumnsComeAndGoOnce) {
  SessionTableModel model;
  const auto before = model.columns();
  model.set_column_shown({Column::Setup, 5}, true);
  model.set_column_shown({Column::Setup, 5}, true);
  EXPECT_EQ(model.columns().size(), before.size() + 1);
  model.set_column_shown({Column::Setup, 5}, false);
  model.set_column_shown({Column::Track}, false);
  EXPECT_EQ(model.columns().size(), before.size() - 1);
}

class LibraryWindowTest : public ::testing::Test {
 protected:
  LibraryWindowTest() : folder((dir.path() / "library").string()), defaults(DialogDefaults::in_folder(dir.path().string())) {}

  template <typename T>
  T* find(const char* name) {
    return test::find_child<T>(window, name);
  }

  test::TempDir dir;
  std::string folder;
  ScriptedUi person;
  GivenFileUi ui{person};
  LogState log;
  DialogDefaults defaults;
  LibraryAccess access{folder, ui};
  std::string folder_file = (dir.path() / "library_folder.txt").string();
  TForm13 window{{log, defaults, folder, access, folder_file}, ui};
};

TEST_F(LibraryWindowTest, TheFilterBoxesChooseTheRows) {
  window.show();
  EXPECT_EQ(window.windowTitle(), "Session Library");
  EXPECT_EQ(window.model().rowCount(), 0);  // a new, empty library
  window.model().set_rows(season());
  find<QComboBox>("TrackFilter")->setEditText("Oulton");
  EXPECT_EQ(window.model().rowCount(), 3);
  find<QComboBox>("DriverFilter")->setEditText("bob");
  EXPECT_EQ(shown_paths(window.model()), std::vector<std::string>{"2026/c.kvl"});
  find<QComboBox>("DriverFilter")->setEditText("");
  find<QComboBox>("TrackFilter")->setEditText("");
  find<QLineEdit>("TextFilter")->setText("wet");
  EXPECT_EQ(shown_paths(window.model()), std::vector<std::string>{"2026/c.kvl"});
  EXPECT_TRUE(window.select_path("2026/c.kvl"));
  EXPECT_EQ(find<QLineEdit>("TrackTag")->text(), "Oulton");
  EXPECT_EQ(find<QLineEdit>("DriverTag")->text(), "Bob");
  EXPECT_FALSE(window.select_path("2026/a.kvl"));  // filtered out
  EXPECT_TRUE(person.texts().empty());
}

TEST_F(LibraryWindowTest, RestoringFromMinimisedKeepsTheTableAsItWas) {
  window.show();
  window.model().set_rows(season());  // not in the (empty) folder: a fresh read would lose them
  find<QLineEdit>("TextFilter")->setText("wet");
  ASSERT_TRUE(window.select_path("2026/c.kvl"));
  window.showMinimized();
  window.showNormal();
  EXPECT_EQ(shown_paths(window.model()), std::vector<std::string>{"2026/c.kvl"});
  EXPECT_EQ(find<QLineEdit>("TrackTag")->text(), "Oulton");
  EXPECT_TRUE(person.texts().empty());
  // Opened again: read afresh from the folder.
  window.back();
  window.show();
  EXPECT_EQ(window.model().rowCount(), 0);
}

TEST_F(LibraryWindowTest, TheDateColumnHoldsTheWholeDateAndTime) {
  window.show();
  window.model().set_rows(season());
  const auto* table = find<QTableView>("Sessions");
  const QString date = window.model().data(window.model().index(0, 0)).toString();
  ASSERT_EQ(date.size(), 19);
  EXPECT_GT(table->columnWidth(0), table->fontMetrics().horizontalAdvance(date));
  window.model().set_column_shown({Column::Time}, false);  // gone, then back at the end
  window.model().set_column_shown({Column::Time}, true);
  EXPECT_GT(table->columnWidth(window.model().columnCount() - 1), table->fontMetrics().horizontalAdvance(date));
}

TEST_F(LibraryWindowTest, TheScatterTakesTheShownSessions) {
  window.show();
  window.model().set_rows(season());
  find<QComboBox>("TrackFilter")->setEditText("Oulton");
  window.show_scatter();
  const auto& points = window.scatter_window().points();
  ASSERT_EQ(points.size(), 2u);  // d.kvl has no track temperature
  EXPECT_DOUBLE_EQ(points[0].x, 25.5);
  EXPECT_DOUBLE_EQ(points[0].y, 91.75);
  EXPECT_DOUBLE_EQ(points[1].x, 21.0);
  EXPECT_DOUBLE_EQ(points[1].y, 92.5);
  // A season's progress: one best lap per day over the three Oulton days.
  const auto& days = window.scatter_window().days();
  ASSERT_EQ(days.size(), 3u);
  EXPECT_DOUBLE_EQ(days.back().lap_time, 90.0);
  window.scatter_window().close();
}

std::vector<std::pair<std::string, double>> day_line(const TForm14& scatter) {
  std::vector<std::pair<std::string, double>> line;
  for (const auto& day : scatter.days()) line.emplace_back(day.label, day.lap_time);
  return line;
}

TEST_F(LibraryWindowTest, TheDayLineKeepsToOneTrackChosenBesideIt) {
  auto rows = season();
  // Brands the same day as an Oulton session, and faster: one line would mix them.
  rows.push_back(row("2026/e.kvl", kMay1 + 5 * kDay + 3600, "BRANDS", "Ann", 50.0, "19"));
  rows.push_back(row("2026/f.kvl", kMay1 + 7 * kDay, "", "Bob", 40.0, "20"));
  window.show();
  window.model().set_rows(rows);
  window.show_scatter();
  TForm14& scatter = window.scatter_window();
  auto* tracks = test::find_child<QComboBox>(scatter, "Track");
  auto* caption = test::find_child<QLabel>(scatter, "ProgressCaption");
  ASSERT_NE(tracks, nullptr);
  ASSERT_NE(caption, nullptr);
  QStringList items;
  for (int i = 0; i < tracks->count(); ++i) items << tracks->itemText(i);
  EXPECT_EQ(items, (QStringList{"Oulton (3)", "Brands (2)", "(no track) (1)"}));
  // The track with most sessions first: Oulton's best of each day, in any letter case.
  EXPECT_EQ(scatter.track(), "Oulton");
  EXPECT_EQ(caption->text(), "Best lap of each day at Oulton");
  using Line = std::vector<std::pair<std::string, double>>;
  EXPECT_EQ(day_line(scatter), (Line{{"2026-05-06", 91.75}, {"2026-05-11", 92.5}, {"2026-05-31", 90.0}}));
  EXPECT_EQ(scatter.points().size(), 5u);  // the scatter itself keeps every shown session
  tracks->setCurrentIndex(1);
  EXPECT_EQ(caption->text(), "Best lap of each day at Brands");
  EXPECT_EQ(day_line(scatter), (Line{{"2026-05-03", 51.0}, {"2026-05-06", 50.0}}));
  tracks->setCurrentIndex(2);
  EXPECT_EQ(caption->text(), "Best lap of each day at (no track)");
  EXPECT_EQ(day_line(scatter), (Line{{"2026-05-08", 40.0}}));
  // Shown again with other rows: the chosen track stays while it is shown.
  scatter.set_track("brands");
  window.show_scatter();
  EXPECT_EQ(scatter.track(), "Brands");
  find<QComboBox>("TrackFilter")->setEditText("Oulton");
  window.show_scatter();
  EXPECT_EQ(tracks->count(), 1);
  EXPECT_EQ(caption->text(), "Best lap of each day at Oulton");
  EXPECT_EQ(day_line(scatter).size(), 3u);
  find<QLineEdit>("TextFilter")->setText("no session says this");
  window.show_scatter();
  EXPECT_EQ(tracks->count(), 0);
  EXPECT_EQ(caption->text(), "Best lap of each day");
  EXPECT_TRUE(scatter.days().empty());
  scatter.close();
}

TEST_F(LibraryWindowTest, AChosenFolderIsRememberedForTheNextStart) {
  const std::string chosen = (dir.path() / "elsewhere").string();
  std::filesystem::create_directory(chosen);
  person.queue_file(chosen);
  window.choose_library_folder();
  EXPECT_EQ(folder, chosen);
  EXPECT_EQ(test::read_file(folder_file), chosen + "\n");
  EXPECT_TRUE(person.texts().empty());
  // A folder where the memo should be: the choice holds for this run, with a word that it is not kept.
  std::filesystem::remove(folder_file);
  std::filesystem::create_directory(folder_file);
  const std::string second = dir.path().string();
  person.queue_file(second);
  window.choose_library_folder();
  EXPECT_EQ(folder, second);
  EXPECT_EQ(person.texts(),
            std::vector<std::string>{"The library folder could not be remembered for the next start: " + folder_file});
}

TEST_F(LibraryWindowTest, RemovingAsksFirstAndNoKeepsTheSession) {
  window.show();
  std::string error;
  library::SessionLibrary* lib = access.get(error);
  ASSERT_NE(lib, nullptr) << error;
  person.queue_answer(kNo);
  EXPECT_FALSE(remove_from_library(*lib, ui, "2026/a.kvl"));
  EXPECT_EQ(person.texts(), std::vector<std::string>{"Move the session 2026/a.kvl to the library's trash folder?"});
}

// A library of `count` sessions indexed by an earlier run, every fifth at
// Brands and the others at Oulton; their paths in time order.
std::vector<std::string> indexed_library(const std::string& folder, int count) {
  std::vector<std::string> paths;
  auto lib = library::test::open_library(folder);
  for (int i = 0; i < count; ++i) {
    SetupSheet sheet;
    sheet.set_field(library::kTrackSlot, i % 5 == 0 ? "Brands" : "Oulton");
    const Dataset data = library::test::downloaded_dataset({.pages = 6, .seed = static_cast<unsigned>(i + 1)}, sheet);
    paths.push_back(lib->archive(data, library::test::sample_time(i)).path);
  }
  return paths;
}

// Added as if by hand while no program ran: newer than every archived one.
std::string add_file_by_hand(const std::string& folder) {
  SetupSheet sheet;
  sheet.set_field(library::kTrackSlot, "Oulton");
  std::filesystem::create_directories(folder + "/imported");
  library::test::write_generated_file(folder + "/imported/new.kvl", {.pages = 7, .seed = 99}, sheet);
  return "imported/new.kvl";
}

std::string path_at(const SessionTableModel& model, int view_row) {
  const SessionRow* row = model.row_at(view_row);
  return row != nullptr ? row->path : "(no row)";
}

void wait_for_the_check(TForm13& window) {
  QElapsedTimer waited;
  waited.start();
  while (window.checking_folder() && waited.elapsed() < 10000) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  }
}

TEST_F(LibraryWindowTest, TheFolderCheckAfterTheFirstOpeningKeepsChoiceOrderFilterAndPlace) {
  const auto paths = indexed_library(folder, 50);
  const std::string added = add_file_by_hand(folder);
  window.resize(700, 400);
  window.show();
  auto* table = find<QTableView>("Sessions");
  EXPECT_EQ(window.model().rows().size(), 50u);  // the index's rows, at once
  find<QComboBox>("TrackFilter")->setEditText("Oulton");
  table->sortByColumn(0, Qt::DescendingOrder);  // newest first
  ASSERT_TRUE(window.select_path(paths[31]));
  find<QLineEdit>("DriverTag")->setText("Cai");  // typed, not saved yet
  table->scrollTo(window.model().index(window.model().view_row_of(paths[38]), 0), QAbstractItemView::PositionAtTop);
  ASSERT_EQ(path_at(window.model(), table->rowAt(0)), paths[38]);

  wait_for_the_check(window);
  ASSERT_FALSE(window.checking_folder());
  EXPECT_EQ(window.model().rows().size(), 51u);
  EXPECT_EQ(window.model().rowCount(), 41);  // the 40 at Oulton and the new one
  EXPECT_EQ(path_at(window.model(), 0), added);
  EXPECT_EQ(path_at(window.model(), table->selectionModel()->currentIndex().row()), paths[31]);
  EXPECT_EQ(find<QLineEdit>("TrackTag")->text(), "Oulton");
  EXPECT_EQ(find<QLineEdit>("DriverTag")->text(), "Cai");
  EXPECT_EQ(path_at(window.model(), table->rowAt(0)), paths[38]);
  EXPECT_TRUE(person.texts().empty());
}

// Another machine sharing the folder changed a session's tags, and a file
// was taken away and one spoilt, while this program did not run.
TEST_F(LibraryWindowTest, TheFolderCheckShowsTagsChangedElsewhereExceptThoseBeingTyped) {
  const auto paths = indexed_library(folder, 4);
  SetupSheet elsewhere;
  elsewhere.set_field(library::kTrackSlot, "Brands");
  elsewhere.set_field(library::kCarSlot, "Mk3");
  test::write_file(folder + "/" + paths[1], library::test::saved_text(library::test::downloaded_dataset(
                                                {.pages = 6, .seed = 2}, elsewhere)));
  std::filesystem::remove(folder + "/" + paths[2]);
  test::write_file(folder + "/" + paths[3], "not a log");
  window.show();
  ASSERT_TRUE(window.select_path(paths[1]));
  ASSERT_EQ(find<QLineEdit>("TrackTag")->text(), "Oulton");  // as the index had it
  find<QLineEdit>("DriverTag")->setText("Cai");              // typed, not saved yet

  wait_for_the_check(window);
  ASSERT_FALSE(window.checking_folder());
  EXPECT_EQ(path_at(window.model(), find<QTableView>("Sessions")->selectionModel()->currentIndex().row()),
            paths[1]);
  EXPECT_EQ(find<QLineEdit>("TrackTag")->text(), "Brands");
  EXPECT_EQ(find<QLineEdit>("CarTag")->text(), "Mk3");
  EXPECT_EQ(find<QLineEdit>("DriverTag")->text(), "Cai");
  EXPECT_EQ(window.model().view_row_of(paths[2]), -1);
  const SessionRow* spoilt = window.model().row_at(window.model().view_row_of(paths[3]));
  ASSERT_NE(spoilt, nullptr);
  EXPECT_FALSE(spoilt->readable);
  EXPECT_FALSE(spoilt->unreadable_message.empty());
  EXPECT_TRUE(person.texts().empty());
}

TEST_F(LibraryWindowTest, AnActionWaitsForTheFolderCheckFirst) {
  const auto paths = indexed_library(folder, 3);
  std::filesystem::remove(folder + "/" + paths[1]);
  const std::string added = add_file_by_hand(folder);
  window.show();
  EXPECT_EQ(window.model().rows().size(), 3u);
  ASSERT_TRUE(window.select_path(paths[2]));
  find<QLineEdit>("CarTag")->setText("Mk2");
  window.save_tags();  // at once, the check perhaps still listing the folder
  EXPECT_FALSE(window.checking_folder());
  std::vector<std::string> now;
  for (const auto& row : window.model().rows()) now.push_back(row.path);
  EXPECT_EQ(now, (std::vector<std::string>{paths[0], paths[2], added}));
  EXPECT_EQ(window.model().rows().at(1).tags.car, "Mk2");
  EXPECT_TRUE(person.texts().empty());
}

TEST_F(LibraryWindowTest, TheScatterOpenedDuringTheFolderCheckDrawsWhatTheFolderHolds) {
  indexed_library(folder, 3);  // Brands, Oulton, Oulton
  add_file_by_hand(folder);    // Oulton
  window.show();
  window.show_scatter();  // at once, the check perhaps still listing the folder
  const auto& tracks = window.scatter_window().tracks();
  ASSERT_FALSE(tracks.empty());
  EXPECT_EQ(tracks.front().track, "Oulton");
  EXPECT_EQ(tracks.front().sessions, 3u);
  EXPECT_EQ(window.model().rows().size(), 4u);
  window.scatter_window().close();
  EXPECT_TRUE(person.texts().empty());
}

TEST_F(LibraryWindowTest, ACheckThatFindsTheIndexBusySaysSoOnceAndKeepsTheRows) {
  indexed_library(folder, 3);
  add_file_by_hand(folder);
  library::Database other(library::index_path(folder), 100);
  {
    library::Transaction writing(other);  // another program holds the index
    window.show();
    wait_for_the_check(window);
  }
  EXPECT_FALSE(window.checking_folder());
  EXPECT_EQ(window.model().rows().size(), 3u);
  EXPECT_EQ(person.texts(), std::vector<std::string>{library::msg::library_busy(folder)});
  window.rebuild();  // the index free again: the folder's truth
  EXPECT_EQ(window.model().rows().size(), 4u);
  EXPECT_EQ(person.texts().size(), 2u);  // the rebuild's own report
}

TEST_F(LibraryWindowTest, ClosingWhileTheFolderIsCheckedLeavesTheIndexWhole) {
  indexed_library(folder, 3);
  const std::string added = add_file_by_hand(folder);
  {
    LibraryAccess first_run{folder, ui};
    TForm13 first{{log, defaults, folder, first_run, folder_file}, ui};
    first.show();
    EXPECT_EQ(first.model().rows().size(), 3u);
  }  // closed at once, the check perhaps still listing
  window.show();
  wait_for_the_check(window);
  EXPECT_EQ(window.model().rows().size(), 4u);
  EXPECT_NE(window.model().view_row_of(added), -1);
  EXPECT_TRUE(person.texts().empty());
}

TEST_F(LibraryWindowTest, AFolderThatCannotBeTheLibraryIsSaidOnce) {
  std::ofstream(folder) << "a file where the folder should be";
  window.show();
  ASSERT_EQ(person.messages().size(), 1u);
  EXPECT_EQ(person.messages()[0].kind, MsgKind::Warning);
  EXPECT_EQ(window.model().rowCount(), 0);
}

// "Import Files" takes many files from one dialog and tells what came of
// each, as an import of a folder does.
TEST_F(LibraryWindowTest, ImportFilesTakesThreeFilesFromOneDialogWithADuplicateAndAnUnreadableOne) {
  namespace fs = std::filesystem;
  const auto src = [&](const std::string& name) { return (dir.path() / "src" / name).string(); };
  const auto press_import = [&] { find<QPushButton>("ImportFiles")->click(); };
  fs::create_directories(dir.path() / "src");
  library::test::write_generated_file(src("first.kvl"), {.pages = 4, .seed = 1});
  library::test::write_generated_file(src("second.kvl"), {.pages = 4, .seed = 2});
  fs::copy_file(src("first.kvl"), src("first-again.kvl"));
  kv::test::write_file(src("garbage.kvl"), "not a log\r\n");
  window.show();
  person.queue_files({src("first.kvl")});
  press_import();
  ASSERT_EQ(window.model().rowCount(), 1);
  person.clear();

  person.queue_files({src("second.kvl"), src("first-again.kvl"), src("garbage.kvl")});
  press_import();
  ASSERT_EQ(person.dialogs().size(), 1u);
  EXPECT_EQ(person.dialogs()[0].title, "Import Sessions");
  EXPECT_EQ(person.dialogs()[0].filter, "Korvanta files (*.kvl)");
  EXPECT_EQ(person.texts(), (std::vector<std::string>{
                                "Imported 1 sessions; 1 were already in the library.",
                                "These files could not be read:\n" + src("garbage.kvl") +
                                    ": File Format Error, No Data Loaded"}));
  ASSERT_EQ(person.messages().size(), 2u);
  EXPECT_EQ(person.messages()[0].kind, MsgKind::Information);
  EXPECT_EQ(person.messages()[1].kind, MsgKind::Warning);
  EXPECT_EQ(window.model().rowCount(), 2);

  // Cancelled: nothing is read and nothing is said.
  person.clear();
  press_import();
  EXPECT_EQ(person.dialogs().size(), 1u);
  EXPECT_TRUE(person.texts().empty());
  EXPECT_EQ(window.model().rowCount(), 2);

  // A Ui that answers open dialogs one name at a time, as the console does
  // from its arguments, still imports that name.
  person.clear();
  library::test::write_generated_file(src("third.kvl"), {.pages = 4, .seed = 3});
  person.queue_file(src("third.kvl"));
  press_import();
  EXPECT_EQ(person.dialogs().size(), 1u);
  EXPECT_EQ(person.texts(), std::vector<std::string>{library_msg::imported(1, 0)});
  EXPECT_EQ(window.model().rowCount(), 3);
}

// Another program writes to the library while this window acts: each action
// either works or says the library is in use, changing nothing, and the
// index stays whole and true to the files.
TEST_F(LibraryWindowTest, WhileAnotherProgramWritesEachActionWorksOrSaysSoAndChangesNothing) {
  namespace fs = std::filesystem;
  const auto log = [&](const char* name, unsigned seed) {
    library::test::write_generated_file(dir.file(name), {.pages = 4, .seed = seed});
    return dir.file(name);
  };
  const std::vector<std::string> first_two{log("one.kvl", 1), log("two.kvl", 2)};
  const std::string third = log("three.kvl", 3);
  window.show();
  person.queue_files(first_two);
  find<QPushButton>("ImportFiles")->click();
  ASSERT_EQ(window.model().rowCount(), 2);
  const std::string chosen = window.model().row_at(0)->path;
  const std::string chosen_bytes = kv::test::read_file(folder + "/" + chosen);
  const auto session_files = [&] {  // the trash aside
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      const std::string relative = fs::relative(entry.path(), folder).string();
      if (entry.path().extension() == ".kvl" && !relative.starts_with("trash/")) files.push_back(relative);
    }
    std::sort(files.begin(), files.end());
    return files;
  };
  const std::vector<std::string> files_before = session_files();
  const std::vector<std::string> busy{library::msg::library_busy(folder)};
  {
    library::test::OtherProgramWriting other(folder);
    ASSERT_TRUE(other.holding());
    person.clear();
    ASSERT_TRUE(window.select_path(chosen));
    find<QLineEdit>("TrackTag")->setText("Oulton");
    find<QPushButton>("SaveTags")->click();
    EXPECT_EQ(person.texts(), busy);
    person.clear();
    ASSERT_TRUE(window.select_path(chosen));
    find<QPushButton>("RemoveSession")->click();
    EXPECT_EQ(person.texts(), (std::vector<std::string>{library_msg::remove_question(chosen), busy[0]}));
    person.clear();
    find<QPushButton>("Rebuild")->click();
    EXPECT_EQ(person.texts(), busy);
    person.clear();
    person.queue_files({third});
    find<QPushButton>("ImportFiles")->click();
    EXPECT_EQ(person.texts(), busy);
    EXPECT_TRUE(kv::test::read_file(folder + "/" + chosen) == chosen_bytes);
    EXPECT_EQ(session_files(), files_before);
    EXPECT_EQ(window.model().rowCount(), 2);
  }
  // The other program is done: trying again works.
  person.clear();
  person.queue_files({third});
  find<QPushButton>("ImportFiles")->click();
  EXPECT_EQ(person.texts(), std::vector<std::string>{library_msg::imported(1, 0)});
  ASSERT_TRUE(window.select_path(chosen));
  find<QLineEdit>("TrackTag")->setText("Oulton");
  find<QPushButton>("SaveTags")->click();
  ASSERT_TRUE(window.select_path(chosen));
  EXPECT_EQ(window.model().row_at(window.model().view_row_of(chosen))->tags.track, "Oulton");
  library::Database db(library::index_path(folder), 1000);
  EXPECT_EQ(db.integrity_check(), "ok");
  std::vector<std::string> indexed;
  for (int i = 0; i < window.model().rowCount(); ++i) indexed.push_back(window.model().row_at(i)->path);
  std::sort(indexed.begin(), indexed.end());
  EXPECT_EQ(indexed, session_files());
  EXPECT_EQ(indexed.size(), 3u);
}

}  // namespace
}  // namespace kv
