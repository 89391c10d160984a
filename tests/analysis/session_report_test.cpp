// The session report: what each page says, where it goes, and the saved PDF
// read back with pdftotext, from generated logs loaded as the window loads them.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <QImage>
#include <algorithm>

#include "analysis/lap_table.h"
#include "analysis/plot_text.h"
#include "analysis/session_report/report_layout.h"
#include "analysis/session_report/session_report.h"
#include "logdata/log_file.h"
#include "tests/analysis/generated_logs.h"
#include "tests/analysis/pdf_text.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv::session_report {
namespace {

using analysis::fixed_text;
using analysis::test::pdf_text;

const std::vector<double> kBoundaries{500, 1000, 1500};

class SessionReportTest : public ::testing::Test {
 protected:
  SessionReportTest() : defaults(DialogDefaults::in_folder(dir.path().string())) {}

  void load(std::uint8_t set, const std::string& name, const emu::GeneratorOptions& options) {
    analysis::test::write_generated_log(dir.file(name), options);
    ScriptedUi loader;
    loader.queue_file(dir.file(name));
    log.current_data_set = set;
    ASSERT_TRUE(load_log_data(log, defaults, loader)) << ::testing::PrintToString(loader.texts());
  }
  void load_both() {
    load(kDataSetA, "a.kvl", {.pages = 512, .sessions = 2, .seed = 3});
    load(kDataSetB, "b.kvl", {.pages = 64, .sessions = 1, .seed = 4});
  }
  bool save(const std::optional<std::string>& name, const ReportUnits& units = {}) {
    ui.queue_file(name);
    return save_session_report(log, kBoundaries, units, chart, defaults.report, ui);
  }
  std::vector<std::string> lap_times(std::uint8_t set) const {
    std::vector<std::string> times;
    const Dataset& data = log.dataset(set);
    for (long i = 0; i < data.lap_count(); ++i) times.push_back(fixed_text(data.lap_table[i].lap_time, 2));
    return times;
  }

  test::TempDir dir;
  DialogDefaults defaults;
  LogState log;
  ScriptedUi ui;
  QImage chart = [] {
    QImage image(400, 250, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
  }();
};

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(SessionReportTest, EachLoadedSetGetsAPageWithItsLapTimesSetupSheetAndNotes) {
  load_both();
  SetupSheet& sheet = log.dataset(kDataSetA).sheet;
  sheet.setup_fields[1] = "82\xB0";  // Windows-1252 degree sign
  sheet.setup_fields[13] = "450";
  sheet.setup_fields[31] = "27";
  sheet.setup_fields[65] = "Locked";
  const std::string long_note =
      "Session two: " + std::string(40, '-') + " the car pushed in the hairpin, front pressures up 0.1 bar, then "
      "it turned in well but the rear stepped out on the exit kerb, so the rear roll bar goes one step softer tomorrow";
  sheet.notes_text = {"Dry track, new tyres", "Brake bias 58%", long_note};
  log.dataset(kDataSetB).sheet.setup_fields[57] = "19";

  ASSERT_TRUE(save(dir.file("run")));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Saved OK"});
  ASSERT_EQ(ui.dialogs().size(), 1u);
  EXPECT_EQ(ui.dialogs()[0].title, "Save Session Report");
  EXPECT_EQ(ui.dialogs()[0].file_name, "default.pdf");
  EXPECT_EQ(defaults.report.file_name, "run.pdf");
  EXPECT_EQ(test::read_file(dir.file("run.pdf")).substr(0, 5), "%PDF-");

  const std::string all = pdf_text(dir.file("run.pdf"));
  EXPECT_EQ(std::count(all.begin(), all.end(), '\f'), 2) << "one page per set";
  const std::string a = pdf_text(dir.file("run.pdf"), "-f 1 -l 1");
  const std::string b = pdf_text(dir.file("run.pdf"), "-f 2 -l 2");
  EXPECT_TRUE(holds(a, "Session Report: Data A")) << a;
  EXPECT_TRUE(holds(a, "Source: a.kvl"));
  EXPECT_TRUE(holds(b, "Session Report: Data B")) << b;
  EXPECT_TRUE(holds(b, "Source: b.kvl"));
  for (const std::string& time : lap_times(kDataSetA)) EXPECT_TRUE(holds(a, time)) << time << "\n" << a;
  for (const std::string& time : lap_times(kDataSetB)) EXPECT_TRUE(holds(b, time)) << time << "\n" << b;
  EXPECT_TRUE(holds(a, "End Log1"));
  EXPECT_TRUE(holds(a, "End Log2"));
  EXPECT_FALSE(holds(b, "End Log2"));
  EXPECT_TRUE(holds(a, "Fastest Lap: Lap "));
  EXPECT_TRUE(holds(a, "Theoretical Best: "));
  for (const char* caption : {"Drivers Front Left", "Drivers Front Right", "Tyre Temp", "Springs (T/M)", "Castor",
                              "Corner Weight", "Front Wing", "Est Fuel Usage/Lap", "Differential", "Track Temp"}) {
    EXPECT_TRUE(holds(a, caption)) << caption;
  }
  EXPECT_TRUE(holds(a, "82\u00B0"));
  EXPECT_TRUE(holds(a, "450"));
  EXPECT_TRUE(holds(a, "Locked"));
  EXPECT_TRUE(holds(a, "Dry track, new tyres"));
  EXPECT_TRUE(holds(a, "Brake bias 58%"));
  EXPECT_TRUE(holds(a, "softer tomorrow")) << "a long note wraps instead of being cut";
  EXPECT_FALSE(holds(b, "Locked"));
  EXPECT_TRUE(holds(b, "19"));
}

TEST_F(SessionReportTest, TheFastestLapAndTheoreticalBestFollowTheLapTableAndSectorTable) {
  load(kDataSetA, "a.kvl", {.pages = 512, .sessions = 2, .seed = 3});
  const auto sectors = lap_tools::sector_table(log, kBoundaries);
  const auto pages = report_contents(log, sectors, kBoundaries, {});
  ASSERT_EQ(pages.size(), 1u);
  const ReportContent& page = pages[0];
  const Dataset& data = log.dataset(kDataSetA);
  // Headings as on the Lap Times page, then the four sectors.
  EXPECT_EQ(page.laps.headings,
            (std::vector<std::string>{"Session", "Lap", "Lap Time (s)", "Split 1 (s)", "Split 2 (s)", "Split 3 (s)",
                                      "Distance (m)", "Avg KMH", "Sector 1 (s)", "Sector 2 (s)", "Sector 3 (s)",
                                      "Sector 4 (s)"}));
  ASSERT_EQ(page.laps.rows.size(), static_cast<std::size_t>(data.lap_count()) + 2);
  // A lap's sectors are those of its own record, whatever session rows came before.
  const lap_tools::SectorRow& last = sectors.rows.back();
  const std::vector<std::string>& row = page.laps.rows[page.laps.rows.size() - 2];
  EXPECT_EQ(row[1], std::to_string(last.lap.lap));
  ASSERT_TRUE(last.sector[3].has_value());
  EXPECT_EQ(row[11], fixed_text(*last.sector[3], 2));

  const auto& best = sectors.per_set[0];
  ASSERT_TRUE(best.theoretical && best.gain && best.fastest_row);
  const lap_tools::SectorRow& fastest = sectors.rows[*best.fastest_row];
  const LapRecord& record = data.lap_table[fastest.lap.record];
  EXPECT_EQ(page.summary[0], "Fastest Lap: Lap " + std::to_string(record.lap) + ", Session " +
                                 std::to_string(record.session) + ", " + fixed_text(record.lap_time, 2) + " s, " +
                                 fixed_text(*analysis::average_speed(record.lap_distance, record.lap_time, false), 2) +
                                 " KMH");
  EXPECT_EQ(page.summary[1], "Sector boundaries: 500.0, 1000.0, 1500.0 m");
  EXPECT_EQ(page.summary[3], "Theoretical Best: " + fixed_text(*best.theoretical, 2) + " s, " +
                                 fixed_text(*best.gain, 2) + " s to find on the fastest lap");
}

TEST_F(SessionReportTest, FiguresAreInTheShownUnits) {
  load(kDataSetA, "a.kvl", {.pages = 256, .sessions = 1, .seed = 5});
  const LapRecord& first = log.dataset(kDataSetA).lap_table[0];
  const auto kmh = report_contents(log, kBoundaries, {.speed_in_mph = false, .distance_in_feet = false});
  const auto mph = report_contents(log, kBoundaries, {.speed_in_mph = true, .distance_in_feet = true});
  EXPECT_EQ(kmh[0].laps.headings[7], "Avg KMH");
  EXPECT_EQ(mph[0].laps.headings[7], "Avg MPH");
  EXPECT_EQ(kmh[0].laps.rows[0][7], fixed_text(*analysis::average_speed(first.lap_distance, first.lap_time, false), 2));
  EXPECT_EQ(mph[0].laps.rows[0][7], fixed_text(*analysis::average_speed(first.lap_distance, first.lap_time, true), 2));
  EXPECT_EQ(mph[0].laps.rows[0][6], kmh[0].laps.rows[0][6]) << "lap distances stay in metres";
  EXPECT_TRUE(holds(mph[0].summary[0], " MPH"));
  EXPECT_EQ(mph[0].summary[1], "Sector boundaries: 1640.5, 3281.0, 4921.5 ft");
  EXPECT_EQ(mph[0].units, "Speeds in MPH, sector boundaries in feet, lap distances in metres, times in seconds");
  EXPECT_EQ(kmh[0].units, "Speeds in KMH, sector boundaries in metres, lap distances in metres, times in seconds");
}

TEST_F(SessionReportTest, BadLapsAreListedWithoutTheirFiguresAndWithoutAMessage) {
  load(kDataSetA, "a.kvl", {.pages = 256, .sessions = 1, .seed = 5});
  Dataset& data = log.dataset(kDataSetA);
  ASSERT_GE(data.lap_count(), 3);
  data.lap_table[1].lap_time = 0;                                 // no average, no last sector
  data.lap_table[2].end_time = 1e6;                               // its samples lie beyond the log
  const auto pages = report_contents(log, kBoundaries, {});
  ASSERT_EQ(pages.size(), 1u);
  const auto& rows = pages[0].laps.rows;
  EXPECT_EQ(rows[1][2], "0.00");
  EXPECT_EQ(rows[1][7], "0.00");
  EXPECT_EQ(rows[1][11], "") << "no last sector without a lap time";
  EXPECT_EQ(rows[2][8], "") << "no samples, no sectors";
  EXPECT_EQ(pages[0].summary[1], "Laps without a usable lap time: 1");
  EXPECT_TRUE(holds(pages[0].summary[0], "Fastest Lap: Lap "));
  EXPECT_FALSE(holds(pages[0].summary[0], "Lap 2,")) << "a lap of 0 s is never the fastest";

  ASSERT_TRUE(save(dir.file("bad.pdf")));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Saved OK"});
  EXPECT_TRUE(holds(pdf_text(dir.file("bad.pdf")), "Laps without a usable lap time: 1"));
}

TEST_F(SessionReportTest, ASetWithoutLapsStillGetsItsPage) {
  load(kDataSetB, "b.kvl", {.pages = 256, .sessions = 1, .seed = 5});
  Dataset& data = log.dataset(kDataSetB);
  data.packet_count[2] = 0;
  data.lap_table.clear();
  const auto pages = report_contents(log, kBoundaries, {});
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].title, "Session Report: Data B");
  EXPECT_TRUE(pages[0].laps.rows.empty());
  EXPECT_EQ(pages[0].summary[0], "Fastest Lap: no laps recorded");
  EXPECT_EQ(pages[0].setup.size(), 5u);
}

TEST_F(SessionReportTest, NothingLoadedSaysSoWithoutADialog) {
  EXPECT_FALSE(save(dir.file("run.pdf")));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Valid Data to Save"});
  EXPECT_TRUE(ui.dialogs().empty());
  EXPECT_TRUE(test::list_folder(dir.path()).empty());
}

TEST_F(SessionReportTest, TheDialogPatternSpeaksWithTheLogFilesMessages) {
  load(kDataSetA, "a.kvl", {.pages = 256, .sessions = 1, .seed = 5});
  EXPECT_FALSE(save(std::nullopt));
  EXPECT_FALSE(save(dir.file("run.PDF")));
  EXPECT_FALSE(save(""));
  test::write_file(dir.file("old.pdf"), "old");
  ui.queue_answer(kNo);
  EXPECT_FALSE(save(dir.file("old.pdf")));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Cancelled, No Data Saved", "Invalid Filename, No Data Saved",
                                                  "Invalid Filename, No Data Saved", "File Exists, Overwrite File ?",
                                                  "No Data Saved"}));
  EXPECT_EQ(test::read_file(dir.file("old.pdf")), "old");
  // A folder where the file should be cannot be created.
  std::filesystem::create_directory(dir.file("folder.pdf"));
  ui.clear();
  ui.queue_answer(kYes);
  EXPECT_FALSE(save(dir.file("folder.pdf")));
  EXPECT_EQ(ui.texts().back(), "File Already Open, No Data Saved");
}

TEST_F(SessionReportTest, NotesOfWideLettersOrUnbrokenWordsAreShownWhole) {
  load(kDataSetA, "a.kvl", {.pages = 64, .sessions = 1, .seed = 5});
  const std::string word(300, 'w');
  const std::string capitals =
      "FRONT PRESSURES UP WHEN THE TRACK WARMED, MORE WING FOR SESSION TWO, BRAKE BIAS TWO CLICKS FORWARD, "
      "REAR ROLL BAR SOFTER, LEFT FRONT SHOULDER WORN, CHECK THE DAMPERS AND MIRRORS BEFORE RACEDAY";
  log.dataset(kDataSetA).sheet.notes_text = {word, capitals, "Nextnote"};
  ASSERT_TRUE(save(dir.file("notes.pdf")));
  std::string text = pdf_text(dir.file("notes.pdf"));
  std::replace(text.begin(), text.end(), '\n', ' ');
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  EXPECT_TRUE(holds(text, word)) << "broken over lines, not cut at the margin\n" << text;
  // Wide capitals need more lines than their length suggests: they must not
  // run into the next note, where they would be cut off.
  const auto last = analysis::test::pdf_word_span(dir.file("notes.pdf"), "RACEDAY");
  const auto next = analysis::test::pdf_word_span(dir.file("notes.pdf"), "Nextnote");
  ASSERT_TRUE(last && next);
  EXPECT_LE(last->bottom, next->top + 0.5);
}

// Writes beyond `bytes` fail with EFBIG for whoever runs the test.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    old_handler_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*old_handler_)(int) = nullptr;
};

TEST_F(SessionReportTest, AFailedWriteLeavesTheOlderReportIntact) {
  load(kDataSetA, "a.kvl", {.pages = 256, .sessions = 1, .seed = 5});
  ASSERT_TRUE(save(dir.file("run.pdf")));
  const std::string older = test::read_file(dir.file("run.pdf"));
  log.dataset(kDataSetA).sheet.notes_text = {"A second run"};
  ui.clear();
  {
    const FileSizeLimit limit(older.size() / 2);
    EXPECT_FALSE(save(dir.file("run.pdf")));
  }
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"File Exists, Overwrite File ?", "Problem Writing File, No Data Saved"}));
  EXPECT_EQ(test::read_file(dir.file("run.pdf")), older);
  EXPECT_EQ(test::list_folder(dir.path()), (std::vector<std::string>{"a.kvl", "run.pdf"})) << "no temporary file left";
}

TEST(SessionReportLayout, AFullMemorysLapTableAndLongNotesStayOnTheirPage) {
  ReportContent content;
  content.title = "Session Report: Data A";
  content.laps.headings.assign(12, "Heading");
  for (int i = 0; i < 300; ++i) content.laps.rows.push_back(std::vector<std::string>(12, "123.45"));
  content.summary = {"Fastest Lap: Lap 1, Session 1, 90.00 s, 100.00 KMH"};
  content.setup.push_back({"Drivers Front Left", {"O", "M", "I"}, 0, {{"Tyre Temp", {"1", "2", "3"}}}});
  content.notes.assign(100, "a line of notes");
  content.notes.front() = std::string(600, 'x');
  const ReportPage page = lay_out_page(content, 1.6);
  for (const PlacedText& t : page.texts) {
    EXPECT_GE(t.box.x, kMargin - 1e-9) << t.text;
    EXPECT_LE(t.box.right(), kPageWidth - kMargin + 1e-9) << t.text;
    EXPECT_GE(t.box.y, 0.0) << t.text;
    EXPECT_LE(t.box.bottom(), kPageHeight - kMargin + 1e-9) << t.text;
    EXPECT_GE(t.size, 4.0) << t.text;
  }
  EXPECT_LE(page.chart.right(), kPageWidth - kMargin + 1e-9);
  EXPECT_NEAR(page.chart.w / page.chart.h, 1.6, 1e-9);
  auto said = [&](const std::string& part) {
    return std::any_of(page.texts.begin(), page.texts.end(), [&](const PlacedText& t) { return holds(t.text, part); });
  };
  EXPECT_TRUE(said("more rows of the lap table not shown"));
  EXPECT_TRUE(said("more lines of notes not shown"));
  const auto long_note = std::find_if(page.texts.begin(), page.texts.end(),
                                      [](const PlacedText& t) { return t.text == std::string(600, 'x'); });
  ASSERT_NE(long_note, page.texts.end());
  EXPECT_TRUE(long_note->wrap);
  EXPECT_GE(long_note->box.h, 3 * 9.0) << "room for the lines it wraps to";
}

TEST(SessionReportLayout, UnderAShortLapTableThePlotTakesTheColumnsWidth) {
  ReportContent content;
  content.laps.headings.assign(12, "Heading");
  for (int i = 0; i < 9; ++i) content.laps.rows.push_back(std::vector<std::string>(12, "123.45"));
  content.summary = {"Fastest Lap: Lap 1, Session 1, 90.00 s, 100.00 KMH"};
  const ReportPage page = lay_out_page(content, 1.6);
  double table_bottom = 0;
  for (const PlacedText& t : page.texts) {
    if (t.text == "123.45") table_bottom = std::max(table_bottom, t.box.bottom());
  }
  EXPECT_GE(page.chart.w, 390.0) << "as wide as the lap table";
  EXPECT_NEAR(page.chart.w / page.chart.h, 1.6, 1e-9);
  EXPECT_GE(page.chart.y, table_bottom);
  EXPECT_LE(page.chart.bottom(), kPageHeight - kMargin + 1e-9);
  EXPECT_LT(page.chart.x, kPageWidth / 4) << "in the left column";
  for (const PlacedText& t : page.texts) {
    const bool beside = t.box.x >= page.chart.right() || t.box.right() <= page.chart.x;
    const bool above_or_below = t.box.bottom() <= page.chart.y || t.box.y >= page.chart.bottom();
    EXPECT_TRUE(beside || above_or_below) << t.text << " overlaps the plot";
  }
}

}  // namespace
}  // namespace kv::session_report
