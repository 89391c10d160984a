#pragma once
// The plot window with its real controls and chart, offscreen: 600 samples
// (60 s) per dataset; A has five 10 s laps ending at 12, 22 … s.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include "analysis/plot_window.h"
#include "app/program_state.h"
#include "analysis/radio_group.h"
#include "chart/plotchart.h"
#include "tests/analysis/sample_data.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"
#include "tests/support/find_child.h"

namespace kv::test {

class LappedPlotWindowTest : public ::testing::Test {
 protected:
  LappedPlotWindowTest() : state(dir.path().string()), form({state.log, state.dialogs, state.distance_in_feet, state.config}, ui) {
    Dataset& a = state.log.dataset(kDataSetA);
    analysis::test::fill_dataset(a, 600, 5);
    for (std::size_t k = 0; k < a.lap_table.size(); ++k) {
      LapRecord& r = a.lap_table[k];
      r = {12.0 + 10.0 * static_cast<double>(k), static_cast<std::uint8_t>(k + 1), 10.0f, 500.0f, 1, 0, {}};
    }
    a.name_text = "Memory A";
    analysis::test::fill_dataset(state.log.dataset(kDataSetB), 600, 0, 100);
  }
  ~LappedPlotWindowTest() override { form.hide(); }

  template <typename T>
  T* find(const char* name) {
    return test::find_child<T>(form, name);
  }
  QString text(const char* name) { return find<QLineEdit>(name)->text(); }
  analysis::RadioGroup* group(const char* name) { return find<analysis::RadioGroup>(name); }
  chart::TPlotChart& chart() { return form.chart(); }
  void pick(const char* list, int index) {
    auto* combo = find<QComboBox>(list);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  void move_to(double x, double y) { emit chart().OnMouseMoveInChart(true, {}, x, y); }

  TempDir dir;
  ScriptedUi ui;
  ProgramState state;
  TForm10 form;
};

}  // namespace kv::test
