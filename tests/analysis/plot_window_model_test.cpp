// A model-based test of the whole plot window: seeded random sequences of
// what a user does, with the window's invariants checked after every step.
//
// The short run (300 steps) runs with the other tests. A long run:
//   KV_MODEL_STEPS=20000 KV_MODEL_SEED=7 build-dev/tests/analysis/plot_window_model_test
// A failure names the seed and the step; the same seed replays the same steps.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>

#include "analysis/overlay_laps.h"
#include "analysis/plot_building.h"
#include "analysis/plot_window.h"
#include "app/program_state.h"
#include "analysis/radio_group.h"
#include "analysis/x_axis.h"
#include "chart/colorpick.h"
#include "chart/plotchart.h"
#include "logdata/log_file.h"
#include "tests/analysis/generated_logs.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"
#include "tests/support/find_child.h"

namespace kv {
namespace {

using analysis::Channel;
using analysis::XChannel;

long env_number(const char* name, long fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

// The units a set's channel arrays are held in.
struct Units {
  bool mph = true;
  bool psi = true;
  bool degc = true;
};

// What the window should hold for one dataset: its arrays as decoded apart
// from the window, converted by the model whenever a switch shows a new unit.
struct ModelSet {
  bool loaded = false;
  Dataset data;
  Units held;
};

// The two instruments' logs: one in mph, psi and degC, one in km/h, bar and
// degF with another distance scale.
struct LogChoice {
  const char* file;
  emu::GeneratorOptions options;
};
const LogChoice kLogs[] = {
    {"mph.kvl", {.pages = 24, .sessions = 2, .seed = 3, .unit_flags1 = 0x80, .unit_flags2 = 0x03}},
    {"kmh.kvl", {.pages = 18, .sessions = 1, .seed = 4, .pulses_per_mile = 1000, .unit_flags1 = 0x00, .unit_flags2 = 0x00}},
};

void scale(TVector& v, long n, double f) {
  for (long i = 1; i <= std::min(n, v.NrOfElem()); ++i) v.set(i, v.get(i) * f);
}

void bring_to(ModelSet& m, const Units& shown) {
  const long n = m.data.sample_count();
  if (m.held.mph != shown.mph) scale(m.data.ch_speed, n, shown.mph ? 0.625 : 1.6);
  if (m.held.psi != shown.psi) scale(m.data.ch_oil_pressure, n, shown.psi ? 14.503 : 0.06895);
  if (m.held.degc != shown.degc) {
    for (TVector* v : {&m.data.ch_oil_temp, &m.data.ch_water_temp}) {
      for (long i = 1; i <= std::min(n, v->NrOfElem()); ++i) {
        const double t = v->get(i);
        v->set(i, shown.degc ? (t - 32) * 0.5555555555555556 : t * 1.8 + 32);
      }
    }
  }
  m.held = shown;
}

class PlotWindowModel : public ::testing::Test {
 protected:
  PlotWindowModel()
      : seed(static_cast<unsigned>(env_number("KV_MODEL_SEED", 1))),
        steps(env_number("KV_MODEL_STEPS", 300)),
        random(seed),
        state(dir.path().string()),
        form({state.log, state.dialogs, state.distance_in_feet, state.config}, ui) {
    for (const LogChoice& log : kLogs) analysis::test::write_generated_log(dir.file(log.file), log.options);
  }
  ~PlotWindowModel() override { form.hide(); }

  template <typename T>
  T* find(const char* name) {
    return test::find_child<T>(form, name);
  }
  analysis::RadioGroup* group(const char* name) { return find<analysis::RadioGroup>(name); }
  chart::TPlotChart& chart() { return form.chart(); }
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
  double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); }

  // What a step must leave alone.
  struct Kept {
    bool labels = false;
    bool markers = false;
    bool window = false;
  };
  struct Snapshot {
    std::vector<plot_files::PlotLabel> labels;
    int label_count = 0;
    std::array<double, 4> markers{};
    std::array<double, 4> window{};
  };
  Snapshot snapshot() {
    Snapshot s;
    s.labels = form.labels().in_use();
    s.label_count = form.labels().label_count();
    s.markers = {chart().CrossHairPosX(1), chart().CrossHairPosY(1), chart().CrossHairPosX(2),
                 chart().CrossHairPosY(2)};
    const auto& x = chart().Scale1X();
    const auto& y = chart().Scale1Y();
    s.window = {x.RangeLow(), x.RangeHigh(), y.RangeLow(), y.RangeHigh()};
    return s;
  }

  // ---- the user's actions; each returns what it keeps and may say ----

  struct Step {
    std::string what;
    Kept kept;
    std::set<std::string> may_say;
  };

  Step load(std::uint8_t which) {
    const LogChoice& log = kLogs[pick(2)];
    ui.queue_file(dir.file(log.file));
    find<QPushButton>(which == kDataSetA ? "LoadDataSetA" : "LoadDataSetB")->click();
    // The model decodes the same file on its own, in the file's units.
    ProgramState apart(dir.path().string());
    ScriptedUi quiet;
    quiet.queue_file(dir.file(log.file));
    load_log_dataSetA(apart.log, apart.dialogs, quiet);
    ModelSet& m = model[which == kDataSetA ? 0 : 1];
    m.loaded = true;
    m.data = apart.log.dataset(kDataSetA);
    const UnitIdentity& id = m.data.identity;
    m.held = {id.speed_in_mph(), id.pressure_in_psi(), id.temp_in_degc()};
    // The decoder reports what it processed, as after a download.
    const std::vector<std::string> said = quiet.texts();
    return {std::string("load ") + (which == kDataSetA ? "A " : "B ") + log.file, {}, {said.begin(), said.end()}};
  }

  Step unit_switch() {
    const char* names[] = {"RadioGroup4", "RadioGroup5", "RadioGroup6", "RadioGroup11"};
    const int k = pick(4);
    const int item = pick(2);
    group(names[k])->setItemIndex(item);
    const auto x = static_cast<XChannel>(find<QComboBox>("ComboBox3")->currentIndex());
    const bool on_x = (k == 0 && x == XChannel::Speed) || (k == 2 && x == XChannel::OilPressure) ||
                      (k == 1 && (x == XChannel::OilTemp || x == XChannel::WaterTemp));
    // A data unit redraws over the window; distance (or a unit on x) rebuilds the axis.
    const bool keeps = k < 3 && !on_x;
    return {std::string(names[k]) + " -> " + std::to_string(item), {keeps, keeps, false}, {}};
  }

  Step x_channel() {
    const int index = pick(analysis::kXChannelCount);
    find<QComboBox>("ComboBox3")->setCurrentIndex(index);
    return {"x channel " + std::to_string(index), {}, {}};
  }

  Step plot_mode() {
    const int mode = pick(2);
    group("RadioGroup2")->setItemIndex(mode);
    return {"plot mode " + std::to_string(mode), {}, {"No Lap Data to View", "Select Laps to View from Lap Times Area"}};
  }

  Step channel_box() {
    const auto& info = analysis::channel_catalogue()[static_cast<std::size_t>(pick(analysis::kChannelCount))];
    auto* box = find<QCheckBox>(info.check_box);
    box->setChecked(!box->isChecked());
    return {std::string("toggle ") + info.check_box, {true, true, true}, {}};
  }

  Step colour() {
    const auto& info = analysis::channel_catalogue()[static_cast<std::size_t>(pick(analysis::kChannelCount))];
    auto* selector = find<chart::TColorPick>(pick(2) == 0 ? info.colour_a : info.colour_b);
    selector->setSelColor(static_cast<chart::TColor>(random() & 0xFFFFFF));
    emit selector->OnChange();
    return {std::string("colour ") + selector->objectName().toStdString(), {true, true, true}, {}};
  }

  Step line_type() {
    group(pick(2) == 0 ? "RadioGroup7" : "RadioGroup8")->setItemIndex(pick(3));
    return {"line type", {true, true, true}, {}};
  }

  Step overlay() {
    auto* list = find<QComboBox>(pick(2) == 0 ? "ComboBox7" : "ComboBox5");
    if (list->count() == 0) return {"overlay (no laps)", {true, true, true}, {}};
    const int index = pick(list->count());
    list->setCurrentIndex(index);
    emit list->activated(index);
    return {"overlay " + list->objectName().toStdString() + " " + std::to_string(index), {}, {}};
  }

  Step more_laps() {
    switch (pick(3)) {
      case 0: {
        auto* list = find<QComboBox>("AddLap");
        if (list->count() == 0) return {"add lap (no laps)", {true, true, true}, {}};
        const int index = pick(list->count());
        list->setCurrentIndex(index);
        emit list->activated(index);
        return {"add lap " + std::to_string(index), {}, {}};
      }
      case 1:
        find<QPushButton>("FastestOfEachSession")->click();
        return {"fastest of each session", {}, {}};
      default: {
        auto* legend = find<QListWidget>("LapLegend");
        legend->setCurrentRow(legend->count() == 0 ? -1 : pick(legend->count()));
        find<QPushButton>("RemoveLap")->click();
        return {"remove lap", {}, {}};
      }
    }
  }

  Step zoom() {
    const char* buttons[] = {"ZoomIn", "ZoomOut", "ZoomFull"};
    const char* name = buttons[pick(3)];
    find<QPushButton>(name)->click();
    return {name, {true, true, false}, {}};
  }

  Step pan() {
    const auto& x = chart().Scale1X();
    const auto& y = chart().Scale1Y();
    const double shift = (x.RangeHigh() - x.RangeLow()) * uniform(-0.5, 0.5);
    chart().SetLayerRange(1, x.RangeLow() + shift, y.RangeLow(), x.RangeHigh() + shift, y.RangeHigh());
    pointer_inside();
    return {"pan", {true, true, false}, {}};
  }

  void pointer_inside() {
    const auto& x = chart().Scale1X();
    const auto& y = chart().Scale1Y();
    emit chart().OnMouseMoveInChart(true, {}, uniform(x.RangeLow(), x.RangeHigh()), uniform(y.RangeLow(), y.RangeHigh()));
  }

  Step markers() {
    group("RadioGroup10")->setItemIndex(pick(2));
    const auto& x = chart().Scale1X();
    chart().SetCrossHairPos(1 + pick(2), uniform(x.RangeLow(), x.RangeHigh()), uniform(0, 100));
    group("RadioGroup14")->setItemIndex(pick(2));  // "Off" or "View": the click places no label
    emit chart().OnClick();
    return {"markers", {true, false, true}, {}};
  }

  Step label() {
    const char* texts[] = {"Apex", "", "T1?Exit", "Caf\xC3\xA9"};
    find<QLineEdit>("Edit74")->setText(QString::fromUtf8(texts[pick(4)]));
    group("RadioGroup14")->setItemIndex(2 + pick(2));
    pointer_inside();
    emit chart().OnClick();
    return {"label", {false, false, true}, {"Maximum of 20 labels and text boxes!"}};
  }

  Step clear_labels() {
    find<QPushButton>(pick(2) == 0 ? "Button8" : "Button9")->click();
    return {"clear labels", {false, true, true}, {}};
  }

  Step cfg_file() {
    const std::string path = dir.file("model.cfg");
    ui.queue_file(path);
    if (pick(2) == 0) {
      find<QPushButton>("BitBtn7")->click();
      return {"save cfg", {true, true, true}, {"File Saved OK", "File Exists, Overwrite File ?"}};
    }
    find<QPushButton>("BitBtn6")->click();
    return {"load cfg", {}, {"Config File Loaded", "Filename Does Not Exist, Config Not Loaded"}};
  }

  Step lab_file() {
    if (pick(2) == 0) {
      // With no label in use the save asks for no name.
      if (form.labels().label_count() > 1) ui.queue_file(dir.file("model.lab"));
      find<QPushButton>("BitBtn8")->click();
      return {"save lab", {true, true, true}, {"File Saved OK", "File Exists, Overwrite File ?", "No Labels to Save"}};
    }
    ui.queue_file(dir.file("model.lab"));
    find<QPushButton>("BitBtn9")->click();
    return {"load lab", {false, true, true}, {"Label File Loaded", "Filename Does Not Exist, Labels Not Loaded"}};
  }

  Step minimise_restore() {
    form.showMinimized();
    form.showNormal();
    return {"minimise and restore", {true, true, true}, {}};
  }

  Step hide_show() {
    find<QPushButton>("BackToLogger")->click();
    form.show();
    return {"back to logger and open again", {}, {"Pelmorix Default Configuration Loaded "}};
  }

  Step second_axis() {
    auto* box = find<QCheckBox>("CheckBox12");
    if (box->isEnabled()) box->setChecked(!box->isChecked());
    return {"B on 2nd axis", {}, {}};
  }

  Step match_scaling() {
    find<QPushButton>("MatchWindowScaling")->click();
    return {"match window scaling", {true, true, false}, {"Select Duel Axis Mode First", "No Data B File Loaded"}};
  }

  Step act() {
    switch (pick(21)) {
      case 0: return load(kDataSetA);
      case 1: return load(kDataSetB);
      case 2: case 3: return unit_switch();
      case 4: return x_channel();
      case 5: return plot_mode();
      case 6: return channel_box();
      case 7: return colour();
      case 8: return line_type();
      case 9: return overlay();
      case 10: return zoom();
      case 11: return pan();
      case 12: return markers();
      case 13: return label();
      case 14: return clear_labels();
      case 15: return cfg_file();
      case 16: return lab_file();
      case 17: return minimise_restore();
      case 18: return hide_show();
      case 19: return more_laps();
      default: return pick(2) == 0 ? second_axis() : match_scaling();
    }
  }

  // ---- invariants ----

  Units shown_units() {
    return {group("RadioGroup4")->itemIndex() == 0, group("RadioGroup6")->itemIndex() == 0,
            group("RadioGroup5")->itemIndex() == 0};
  }

  // Every set is held in the units the switches show, converted once.
  void check_arrays() {
    const Units shown = shown_units();
    for (std::uint8_t which : {kDataSetA, kDataSetB}) {
      ModelSet& m = model[which - 1];
      if (!m.loaded) continue;
      bring_to(m, shown);
      const Dataset& held = state.log.dataset(which);
      for (TVector Dataset::*array : {&Dataset::ch_speed, &Dataset::ch_oil_pressure, &Dataset::ch_oil_temp,
                                      &Dataset::ch_water_temp, &Dataset::ch_lap_odo, &Dataset::ch_odo}) {
        const TVector& want = m.data.*array;
        const TVector& got = held.*array;
        ASSERT_EQ(got.NrOfElem(), want.NrOfElem());
        for (long i = 1; i <= want.NrOfElem(); ++i) {
          ASSERT_NEAR(got.get(i), want.get(i), 1e-9 * (1 + std::abs(want.get(i)))) << "set " << int(which) << " sample " << i;
        }
      }
    }
  }

  // The x value of sample i of a set, from the model's arrays.
  double model_x(const Dataset& d, long i, XChannel x, bool overlay) {
    switch (x) {
      case XChannel::Time: return d.ch_time.get(i);
      case XChannel::Distance: {
        const double metres = overlay ? d.ch_lap_odo.get(i) : d.ch_odo.get(i);
        return state.distance_in_feet ? metres * analysis::kFeetPerMetre : metres;
      }
      default: {
        const Channel c = static_cast<Channel>(static_cast<int>(x) - 2);
        return (d.*analysis::channel_info(c).array).get(i);
      }
    }
  }

  // Every drawn point is its sample's value in the shown unit, times the
  // channel's factor, at the sample's x: the trace sets', then each added
  // lap's that can be drawn.
  void check_curves() {
    const analysis::PlotState& plot = form.plot_state();
    const analysis::PlotSettings now = form.settings();
    std::vector<chart::ChartItem> drawn;
    for (const chart::ChartItem& item : chart().Items().items()) {
      if (item.layer <= 2) drawn.push_back(item);
    }
    const bool overlay = plot.settings.plot_mode == analysis::PlotMode::LapOverlay;
    std::size_t k = 0;
    const auto check_span = [&](const Dataset& d, const analysis::SampleSpan& span, int layer, const std::string& what) {
      const double offset = overlay && now.x_channel == XChannel::Time ? model_x(d, span.first, now.x_channel, true) : 0;
      for (Channel c : analysis::kDrawingOrder) {
        if (!now.channel_shown[static_cast<std::size_t>(analysis::index_of(c))]) continue;
        const auto& info = analysis::channel_info(c);
        // A move to the first sample, then a draw (or mark) at every sample.
        std::vector<long> samples{span.first};
        for (long i = span.first; i <= span.last; ++i) samples.push_back(i);
        for (long sample : samples) {
          ASSERT_LT(k, drawn.size()) << what << " " << info.caption;
          const chart::ChartItem& item = drawn[k++];
          EXPECT_EQ(item.layer, layer);
          const double x = model_x(d, sample, now.x_channel, overlay) - offset;
          const double y = info.y_factor * (d.*info.array).get(sample);
          ASSERT_NEAR(item.x, x, 1e-9 * (1 + std::abs(x))) << what << " " << info.caption << " sample " << sample;
          ASSERT_NEAR(item.y, y, 1e-9 * (1 + std::abs(y))) << what << " " << info.caption << " sample " << sample;
        }
      }
    };
    for (int t = 1; t <= 2; ++t) {
      const auto& target = plot.plan.trace[static_cast<std::size_t>(t - 1)];
      if (!target.drawn) continue;
      check_span(model[target.data_set - 1].data, analysis::trace_samples(state.log, plot, t), target.layer,
                 "trace set " + std::to_string(t));
    }
    for (const analysis::ExtraLap& extra : overlay ? plot.extra_laps : std::vector<analysis::ExtraLap>{}) {
      if (!analysis::lap_problem(state.log, extra.lap).empty()) continue;
      const std::uint8_t set = extra.lap.set_letter == "A" ? kDataSetA : kDataSetB;
      check_span(model[set - 1].data, analysis::lap_span(state.log, plot, extra.lap), 1, "added lap");
    }
    EXPECT_EQ(k, drawn.size());
  }

  void check_captions() {
    const Units u = shown_units();
    EXPECT_EQ(find<QLabel>("Label8")->text(), u.mph ? "(MPH)" : "(KMH)");
    EXPECT_EQ(find<QLabel>("Label9")->text(), u.psi ? "(psi)" : "(Bar)");
    for (const char* name : {"Label10", "Label11"}) EXPECT_EQ(find<QLabel>(name)->text(), u.degc ? "(degC)" : "(degF)");
    const auto x = static_cast<XChannel>(find<QComboBox>("ComboBox3")->currentIndex());
    std::string want = analysis::x_channel_items()[static_cast<std::size_t>(x)];
    if (x == XChannel::Time) want = "Time(s)";
    if (x == XChannel::Distance) want = state.distance_in_feet ? "Distance(ft)" : "Distance(m)";
    if (x == XChannel::Speed) want = u.mph ? "Speed(MPH)" : "Speed(KMH)";
    if (x == XChannel::OilPressure) want = u.psi ? "Oil Pressure(psi)" : "Oil Pressure(Bar)";
    if (x == XChannel::OilTemp) want = u.degc ? "Oil Temp(degC)" : "Oil Temp(degF)";
    if (x == XChannel::WaterTemp) want = u.degc ? "Water Temp(degC)" : "Water Temp(degF)";
    EXPECT_EQ(chart().Scale1X().Caption(), want);
    EXPECT_EQ(group("RadioGroup11")->itemIndex(), state.distance_in_feet ? 1 : 0);
  }

  // A label is drawn exactly when it has a caption and labels are shown.
  void check_labels() {
    const bool shown = group("RadioGroup14")->itemIndex() != 0;
    for (int i = 1; i <= chart::kTextLabelCount; ++i) {
      const bool drawn = chart().TextLabel(i).Mode != chart::TTxtLblMode::tlOff;
      EXPECT_EQ(drawn, shown && !form.labels().label(i).caption.empty()) << "label " << i;
    }
  }

  void check_kept(const Kept& kept, const Snapshot& before) {
    const Snapshot after = snapshot();
    if (kept.labels) {
      EXPECT_EQ(after.label_count, before.label_count);
      EXPECT_EQ(after.labels, before.labels);
    }
    if (kept.markers) EXPECT_EQ(after.markers, before.markers);
    if (kept.window) {
      EXPECT_EQ(after.window[0], before.window[0]);
      EXPECT_EQ(after.window[1], before.window[1]);
    }
  }

  void check_messages(const Step& step) {
    for (const std::string& text : ui.texts()) EXPECT_TRUE(step.may_say.count(text) != 0) << "unexplained: " << text;
  }

  unsigned seed;
  long steps;
  std::mt19937 random;
  kv::test::TempDir dir;
  ScriptedUi ui;
  ProgramState state;
  TForm10 form;
  std::array<ModelSet, 2> model;
};

TEST_F(PlotWindowModel, RandomUserSessionsKeepTheWindowsInvariants) {
  form.show();
  ui.clear();
  for (long n = 1; n <= steps && !HasFailure(); ++n) {
    const Snapshot before = snapshot();
    const Step step = act();
    SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(n) + ": " + step.what);
    check_messages(step);
    ui.clear();
    check_kept(step.kept, before);
    check_arrays();
    check_curves();
    check_captions();
    check_labels();
  }
}

}  // namespace
}  // namespace kv
