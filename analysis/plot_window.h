#pragma once
// The "View Data" window: the analysis workspace for datasets A and B. Two
// tab strips each show one panel: on the left the file, data select, view,
// marker and option panels, on the right the plot, the lap times and the two
// notes pages. The work is done by the plain functions of this folder; the
// handlers here read the controls and show the results.
#include <QWidget>
#include <array>
#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "analysis/lap_overlay.h"
#include "analysis/overlay_laps.h"
#include "analysis/overlay_slips.h"
#include "analysis/markers.h"
#include "analysis/plot_building.h"
#include "analysis/lap_tools/lap_tools.h"
#include "analysis/plot_chart_port.h"
#include "analysis/plot_files/label_store.h"
#include "analysis/plot_files/unit_switches.h"
#include "analysis/plot_state.h"
#include "config/config_state.h"
#include "logdata/log_state.h"
#include "ui/dialog_defaults.h"
#include "ui/ui.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabBar;
class QTableWidget;

namespace kv::chart {
class TColorPick;
class TNumEdit;
class TPlotChart;
}  // namespace kv::chart

namespace kv {

namespace analysis {
class HistogramPanel;
class LapStatsPanel;
class RadioGroup;
class SectorPanel;
struct HistogramSeries;
struct XAxisView;
}  // namespace analysis

// The program-wide pieces the plot window works on.
struct PlotWindowState {
  LogState& log;
  DialogDefaults& dialogs;
  bool& distance_in_feet;    // the distance switch's unit
  const ConfigState& config;  // its split distances are the default sector boundaries
};

class TForm10 : public QWidget {
  Q_OBJECT
 public:
  TForm10(PlotWindowState state, Ui& ui, QWidget* parent = nullptr);
  ~TForm10() override;

  // Handlers, one per event, public so the shell and the tests drive them.
  void setup_form_10();
  void activate_form_10();
  void close_plot_data();
  void back_to_logger();
  void tabPlotOptions(int index);
  void tabViewOptions(int index);
  void change_x_axis();
  void change_data_axis();
  void loadDataSetA();
  void loadDataSetB();
  void change_axis_mode();
  void copy_data_axisBA();
  void change_grid_mode();
  void reload_engine_data();
  void refresh_engine_data();
  void redraw_engine_data();
  void clear_plot_data();
  void change_display_mode();
  void change_view_mode();
  void enable_line_display(int trace_set);
  void onoffButton(int trace_set);
  void get_cursor_position(bool in_chart, Qt::KeyboardModifiers shift, double x, double y);

  // Lap times and lap overlay (plot_window_laps.cpp).
  void process_A_laptimes();
  void process_B_laptimes();
  void update_lap_combo();
  void lapPlotUpdate();
  void update_lap_info();

  // Added laps (plot_window_more_laps.cpp): an item of the "Add Lap" list,
  // "Fastest of each session", "Remove Lap" on the legend's current entry,
  // an item of the slip reference list (0: the fastest lap).
  void add_lap(int index);
  void add_fastest_laps();
  void remove_lap();
  void choose_slip_reference(int index);

  // Cursor read-out, markers, statistics, zoom (plot_window_tools.cpp).
  void set_cursor_down();
  void enable_on_plot_cursor_pos();
  void cursorControl();
  void update_markers();
  void clear_markers();
  void enable_markers(bool on);
  void update_stats(std::uint8_t data_set, int trace_set, int layer);
  void change_mouse_mode();
  void zoom_in();
  void zoom_out();
  void zoomFull();
  void change_cursor_mode();
  const std::string& cursor_readout() const { return cursor_readout_; }

  chart::TPlotChart& chart() { return *PlotChart1; }
  const analysis::PlotState& plot_state() const { return plot_; }
  analysis::PlotState& plot_state() { return plot_; }
  // The settings as the controls hold them now.
  analysis::PlotSettings settings() const;

 signals:
  void backRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // The pointer leaving the chart's widget reports as leaving the chart.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // plot_window_layout.cpp builds the frame, plot_window_panels.cpp the panels.
  void build();
  QWidget* build_left_side();
  QWidget* build_right_side();
  QGroupBox* build_plot_area();
  QWidget* build_legend(int trace_set);
  QGroupBox* build_load_print();
  QGroupBox* build_data_select();
  QWidget* build_trace_look(int trace_set);
  QGroupBox* build_zoom_pan();
  QGroupBox* build_cursor_panel();
  QGroupBox* build_statistics();
  QGroupBox* build_option_panel();
  QGroupBox* build_grid_controls();
  QGroupBox* build_lap_area();
  QWidget* build_lap_column(std::uint8_t data_set);
  QGroupBox* build_overlay_lists();
  QWidget* build_more_laps(QWidget* parent);
  void build_lap_legend_box();
  void fill_add_lap_list();
  void replot_with_laps();
  void show_lap_legend();
  // `readout` with the overlaid laps' lines at `x`.
  std::string overlay_readout(std::string readout, double x) const;
  void show_lap_marker_values(double x1, double x2);
  // The laps' values at the markers where they stand, after a re-plot.
  void refresh_lap_marker_values();
  QGroupBox* build_markers();
  QWidget* build_zoom_buttons();
  void build_readout_box();
  void connect_tool_handlers();
  QGroupBox* panel(const char* name, const char* caption);
  QPushButton* button(const char* name, const char* caption, void (TForm10::*handler)());
  void connect_handlers();

  void load_data_set(std::uint8_t which);
  void replot_after_load(std::uint8_t which, bool decoded);
  void drop_curves_before_replot();
  void after_load();
  void show_x_axis(const analysis::XAxisView& view);
  void enable_stats(bool on);
  void show_dataset_names();
  void show_unit_labels();
  // The grid of the settings on the chart, shown at its next picture.
  void set_grid();
  void set_all_plot_captions();
  analysis::PlotState& current_plot();  // with the settings the controls hold
  analysis::PlotHooks plot_hooks();
  void process_laptimes(std::uint8_t data_set);
  void rebuild_lap_table(std::uint8_t data_set);
  void zoom_layers(bool in);
  void refresh_stats();
  void show_marker_values(const std::array<analysis::MarkerPoint, 2>& markers);
  void refresh_stats_when_window_moved();

  PlotWindowState state_;
  Ui& ui_;
  analysis::PlotState plot_;

  std::array<QWidget*, 2> sides_{};  // the left and right tab strips with their panels
  QTabBar* TabControl1 = nullptr;
  QTabBar* TabControl2 = nullptr;
  std::array<QGroupBox*, 5> left_panels_{};
  std::array<QGroupBox*, 4> right_panels_{};
  chart::TPlotChart* PlotChart1 = nullptr;
  std::unique_ptr<analysis::PlotChartPort> port_;

  std::array<QCheckBox*, analysis::kChannelCount> channel_boxes_{};
  std::array<std::array<chart::TColorPick*, analysis::kChannelCount>, 2> colour_picks_{};
  QLabel* Label7 = nullptr;
  QLabel* Label12 = nullptr;
  QLabel* Label8 = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Label10 = nullptr;
  QLabel* Label11 = nullptr;
  std::array<analysis::RadioGroup*, 2> line_types_{};  // RadioGroup7, RadioGroup8
  std::array<QCheckBox*, 2> trace_on_{};              // CheckBox13, CheckBox14
  QComboBox* ComboBox3 = nullptr;

  analysis::RadioGroup* RadioGroup2 = nullptr;
  QCheckBox* CheckBox12 = nullptr;
  QCheckBox* CheckBox11 = nullptr;
  QPushButton* match_scaling_ = nullptr;
  QPushButton* restore_scaling_ = nullptr;
  analysis::RadioGroup* RadioGroup1 = nullptr;

  analysis::RadioGroup* RadioGroup10 = nullptr;
  QComboBox* ComboBox4 = nullptr;
  analysis::RadioGroup* RadioGroup12 = nullptr;
  analysis::RadioGroup* RadioGroup13 = nullptr;
  QCheckBox* CheckBox17 = nullptr;
  std::array<QLineEdit*, 2> stats_results_{};  // Edit72, Edit73
  QLabel* Label121 = nullptr;
  QLabel* Label122 = nullptr;

  analysis::RadioGroup* RadioGroup4 = nullptr;
  analysis::RadioGroup* RadioGroup5 = nullptr;
  analysis::RadioGroup* RadioGroup6 = nullptr;
  analysis::RadioGroup* RadioGroup11 = nullptr;
  analysis::RadioGroup* RadioGroup3 = nullptr;
  analysis::RadioGroup* RadioGroup9 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QComboBox* ComboBox2 = nullptr;

  std::array<QWidget*, 2> legends_{};
  std::array<QLineEdit*, 2> source_names_{};  // Edit147, Edit148
  std::array<QCheckBox*, 2> legend_on_{};     // CheckBox8, CheckBox18
  QLabel* StaticText4 = nullptr;

  // Lap times page: per dataset the grid (StringGrid1, StringGrid2) in its
  // group (GroupBox10, GroupBox2), the fastest lap's four boxes and unit.
  std::array<QGroupBox*, 2> lap_groups_{};
  std::array<QTableWidget*, 2> lap_grids_{};
  std::array<std::array<QLineEdit*, 4>, 2> fastest_boxes_{};
  std::array<QLabel*, 2> fastest_units_{};  // Label141, Label5
  QComboBox* ComboBox7 = nullptr;
  QComboBox* ComboBox5 = nullptr;
  std::vector<analysis::OverlayItem> overlay_items_;
  QComboBox* add_lap_list_ = nullptr;
  QListWidget* lap_legend_ = nullptr;
  QPushButton* remove_lap_ = nullptr;
  QComboBox* slip_reference_list_ = nullptr;
  QLabel* chart_lap_legend_ = nullptr;
  QLabel* lap_marker_values_ = nullptr;

  // Markers, labels and the read-out box.
  QLabel* StaticText5 = nullptr;
  QLabel* Label13 = nullptr;
  QLabel* Label6 = nullptr;
  std::array<chart::TNumEdit*, 6> marker_boxes_{};  // NumEdit5, 6, 8, 10, 9, 7
  QPushButton* reset_markers_ = nullptr;
  analysis::RadioGroup* RadioGroup14 = nullptr;
  QLineEdit* Edit74 = nullptr;
  std::string cursor_readout_;
  // The x windows the "In Window" statistics were taken over, per layer.
  std::array<analysis::LayerRange, analysis::kPlotLayers> stats_window_{};
  // ---- lap tools (plot_window_lap_tools.cpp) ----
 public:
  // Recomputes the time slip, the sector and statistics tables and the
  // histogram from the datasets and overlay slots: after every full re-plot.
  void refresh_lap_tools();
  // The cursor read-out's line "Slip: %+.2f s" at lap distance `x` (layer 1
  // units), or empty while no slip is drawn or `x` lies beyond a lap.
  std::string slip_readout_line(double x) const;
  void apply_sector_boundaries();
  void save_lap_stats();
  void refresh_histogram();

 private:
  void build_lap_tools();
  // Re-adds the slip after the curves were rebuilt; refreshes a histogram of the visible window.
  void redraw_lap_tools();
  // Adds the slip curve to the chart when it is to be shown; true when it did.
  bool draw_time_slip();
  void find_slip_laps();
  bool slip_possible() const;
  bool slip_shown() const;
  analysis::LapStyle slip_style(std::size_t lap) const;
  // The slip layer shares layer 1's distance window: it takes layer 1's x
  // range at every change of it (zoom, pan, zoom box, matched scaling).
  void follow_slip_window();
  std::optional<lap_tools::LapRef> overlay_lap(std::size_t slot) const;
  // What the Lap Times page's tables show: worked out from the log and the
  // sector boundaries alone.
  struct LapToolFigures {
    lap_tools::SectorTable sectors;
    std::vector<lap_tools::LapStatsRow> stats;
    std::vector<double> boundaries;  // the sectors' ends, in metres
  };
  // Works the figures out on another thread while the caller re-plots. The
  // log must not change until the caller has them.
  std::future<LapToolFigures> lap_tool_figures_later() const;
  void refresh_lap_tools(const LapToolFigures& figures);
  void refresh_sector_table();
  void show_sector_table(const std::vector<double>& boundaries, const lap_tools::SectorTable& table);
  std::vector<analysis::HistogramSeries> histogram_series() const;
  void show_histogram_tab(int index);

  QCheckBox* slip_box_ = nullptr;
  // The laps of the Lap Overlay and their slips, as of the last re-plot.
  std::vector<analysis::OverlaidLap> overlaid_;
  analysis::OverlaySlips slips_;
  analysis::SectorPanel* sector_panel_ = nullptr;
  analysis::LapStatsPanel* stats_panel_ = nullptr;
  analysis::HistogramPanel* histogram_panel_ = nullptr;
  int histogram_tab_ = -1;
  lap_tools::LapToolSettings lap_tool_settings_;
  // ---- units, configuration and label files, labels, export
  // (plot_window_files.cpp, plot_window_labels.cpp) ----
 public:
  void change_mph_kmh();
  void change_degC_degF();
  void change_psi_bar();
  void change_metre_feet();
  void load_cfg_data();
  void save_cfg_data();
  void clear_labels();
  void clear_last_label();
  void save_lab_data();
  void load_lab_data();
  void SavePlotClipBoardBitmap();
  void SavePlotFileBitmap();
  void PrintPlot();
  // "Save Report": the session report of the loaded sets as a PDF.
  void save_report();
  void copy_A_Notes();
  void copy_B_Notes();
  const plot_files::LabelStore& labels() const { return labels_; }

 private:
  class Applier;
  void connect_file_handlers();
  void build_notes_panels();
  void copy_notes(std::uint8_t data_set);
  void copy_decoded_notes();
  QWidget* build_config_buttons();
  QGroupBox* build_label_group();
  QGroupBox* build_export_group();
  void change_unit(plot_files::UnitSwitch which, const analysis::RadioGroup* group);
  void synchronise_unit_switches();
  void apply_cfg(bool loaded_by_button);
  void prepare_chart_labels();
  void show_labels();
  // The cursor read-out a "Set Label" click pins onto the chart.
  std::string current_readout() const;

  plot_files::LabelStore labels_;
};

}  // namespace kv
