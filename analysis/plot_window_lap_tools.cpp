// The plot window's lap tools: the time slip of the two overlaid laps on a
// layer of its own, the sector and lap statistics tables on the Lap Times
// page, and the histogram tab.
#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QScrollArea>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "analysis/lap_tools_panel.h"
#include "analysis/overlay_laps.h"
#include "analysis/plot_window.h"
#include "chart/plotchart.h"

namespace kv {

using namespace analysis;

namespace {

constexpr int kSlipLayer = 3;
constexpr chart::TColor kSlipColour = 0x0080FF;   // orange: apart from every channel's colour
constexpr chart::TColor kSlip1Colour = 0xFF8000;  // azure, for the first selection against an added lap
constexpr chart::TColor kSlipZeroColour = chart::clGray;
constexpr int kSlipLineWidth = 2;
constexpr double kSlipMinHalfRange = 0.1;  // s: a flat slip still gets a readable scale
constexpr double kSlipHeadroom = 1.1;
constexpr const char* kSlipCaption = "Slip (s)";
constexpr int kSlipCaptionX = -5;
constexpr int kSlipCaptionY = -17;
constexpr const char* kHistogramTab = "Histogram";
constexpr std::array<chart::TColor, 2> kSeriesColours = {chart::clBlue, chart::clRed};

// The chart's style of the items added from now on, put back when done.
class ChartStyleScope {
 public:
  explicit ChartStyleScope(chart::TPlotChart& chart)
      : chart_(chart),
        layer_(chart.ActiveLayer()),
        colour_(chart.DataColor()),
        pen_(chart.PenStyle()),
        width_(chart.LineWidth()) {}
  ~ChartStyleScope() {
    chart_.SetActiveLayer(layer_);
    chart_.SetDataColor(colour_);
    chart_.SetPenStyle(pen_);
    chart_.SetLineWidth(width_);
  }
  ChartStyleScope(const ChartStyleScope&) = delete;
  ChartStyleScope& operator=(const ChartStyleScope&) = delete;

 private:
  chart::TPlotChart& chart_;
  int layer_;
  chart::TColor colour_;
  chart::TPenStyle pen_;
  int width_;
};

void show_scale(chart::TScaleProps& scale, bool on) {
  if (scale.Visible() != on) scale.SetVisible(on);
}

std::string lap_name(const OverlaySlot& slot) {
  return "Lap " + std::to_string(slot.lap.lap) + " S" + std::to_string(slot.lap.session) + " (" +
         slot.lap.set_letter + ")";
}

}  // namespace

void TForm10::build_lap_tools() {
  slip_box_ = new QCheckBox("Time Slip", this);
  slip_box_->setObjectName("TimeSlip");
  slip_box_->setToolTip("Each lap minus the reference lap at each distance: rising where the lap loses time");
  slip_box_->setEnabled(false);
  // The curves are rebuilt so that a slip switched off leaves nothing behind.
  connect(slip_box_, &QCheckBox::toggled, this, &TForm10::refresh_engine_data);
  build_lap_legend_box();
  if (auto* plot_column = qobject_cast<QBoxLayout*>(right_panels_[0]->layout())) {
    auto* row = new QHBoxLayout;
    row->addWidget(slip_box_);
    row->addStretch(1);
    plot_column->addLayout(row);
  }
  auto& slip_scale = PlotChart1->ScaleY(kSlipLayer);
  slip_scale.SetScaleLocation(chart::TScaleLocation::slRight);
  slip_scale.SetColorScale(kSlipColour);
  slip_scale.SetCaption(kSlipCaption);
  // Above the scale, as the second axis has its caption.
  slip_scale.SetCaptionPosX(kSlipCaptionX);
  slip_scale.SetCaptionPosY(kSlipCaptionY);
  slip_scale.SetCaptionAlignment(chart::TAlignment::taRightJustify);
  slip_scale.SetCaptionAnchor(chart::TCaptionAnchor::uaSclTopLft);
  connect(PlotChart1, &chart::TPlotChart::OnRangeChanged, this, [this](int layer) {
    if (layer == 1) follow_slip_window();
  });

  // Below whatever the Lap Times page holds, scrolling when the page is short.
  auto* tools = new QWidget(this);
  auto* tools_column = new QVBoxLayout(tools);
  sector_panel_ = new SectorPanel(tools);
  stats_panel_ = new LapStatsPanel(tools);
  tools_column->addWidget(sector_panel_);
  tools_column->addWidget(stats_panel_);
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("LapToolsScroll");
  scroll->setWidgetResizable(true);
  scroll->setWidget(tools);
  QGroupBox* lap_page = right_panels_[1];
  if (lap_page->layout() == nullptr) new QVBoxLayout(lap_page);
  lap_page->layout()->addWidget(scroll);
  connect(sector_panel_, &SectorPanel::applied, this, &TForm10::apply_sector_boundaries);
  connect(stats_panel_, &LapStatsPanel::saveRequested, this, &TForm10::save_lap_stats);

  histogram_panel_ = new HistogramPanel(this);
  histogram_panel_->hide();
  sides_[1]->layout()->addWidget(histogram_panel_);
  histogram_tab_ = TabControl2->addTab(kHistogramTab);
  connect(histogram_panel_, &HistogramPanel::changed, this, &TForm10::refresh_histogram);
  connect(TabControl2, &QTabBar::currentChanged, this, &TForm10::show_histogram_tab);
}

void TForm10::show_histogram_tab(int index) {
  const bool histogram = index == histogram_tab_;
  if (histogram) {
    for (QGroupBox* p : right_panels_) p->hide();
  }
  histogram_panel_->setVisible(histogram);
  if (histogram) refresh_histogram();
}

std::future<TForm10::LapToolFigures> TForm10::lap_tool_figures_later() const {
  std::vector<double> boundaries = lap_tools::sector_boundaries(lap_tool_settings_, state_.config.config_image);
  // Where no thread can be had, the figures are worked out when asked for.
  return std::async(std::launch::async | std::launch::deferred,
                    [&log = state_.log, boundaries = std::move(boundaries)]() mutable {
                      lap_tools::SectorTable sectors = lap_tools::sector_table(log, boundaries);
                      return LapToolFigures{std::move(sectors), lap_tools::lap_stats_table(log), std::move(boundaries)};
                    });
}

void TForm10::refresh_lap_tools() { refresh_lap_tools(lap_tool_figures_later().get()); }

void TForm10::refresh_lap_tools(const LapToolFigures& figures) {
  if (draw_time_slip()) PlotChart1->Redisplay();
  show_lap_legend();
  refresh_lap_marker_values();
  show_sector_table(figures.boundaries, figures.sectors);
  stats_panel_->show_rows(figures.stats, state_.log.shown_units);
  refresh_histogram();
}

void TForm10::redraw_lap_tools() {
  if (draw_time_slip()) PlotChart1->Redisplay();
  refresh_lap_marker_values();  // the slip reference may have changed
  if (histogram_panel_->range() == HistogramRange::visible_window) refresh_histogram();
}

// ---- time slip ----

std::optional<lap_tools::LapRef> TForm10::overlay_lap(std::size_t slot) const {
  const OverlaySlot& s = plot_.overlay[slot];
  if (!s.chosen) return std::nullopt;
  const Dataset& data = state_.log.dataset(s.lap.set_letter == "A" ? kDataSetA : kDataSetB);
  if (data.decoded_valid != 1) return std::nullopt;
  return lap_tools::LapRef{&data, {s.lap.first_sample, s.lap.last_sample}, s.lap.lap_time};
}

void TForm10::find_slip_laps() {
  overlaid_ = overlaid_laps(state_.log, plot_);
  // In the unit the x axis shows the lap distance in.
  const double factor = state_.distance_in_feet ? kFeetPerMetre : 1.0;
  const bool on_distance = plot_.settings.x_channel == XChannel::Distance;
  slips_ = on_distance ? overlay_slips(state_.log, overlaid_, plot_.slip_reference, factor) : OverlaySlips{};
}

bool TForm10::slip_possible() const { return !slips_.curves.empty(); }

bool TForm10::slip_shown() const {
  return slip_box_->isChecked() && std::any_of(slips_.curves.begin(), slips_.curves.end(),
                                               [](const LapSlipCurve& c) { return !c.curve.empty(); });
}

void TForm10::follow_slip_window() {
  if (!slip_shown()) return;
  auto& chart = *PlotChart1;
  const double low = chart.ScaleX(1).RangeLow();
  const double high = chart.ScaleX(1).RangeHigh();
  const auto& slip_x = chart.ScaleX(kSlipLayer);
  if (slip_x.RangeLow() == low && slip_x.RangeHigh() == high) return;
  const auto& slip_y = chart.ScaleY(kSlipLayer);
  chart.SetLayerRange(kSlipLayer, low, slip_y.RangeLow(), high, slip_y.RangeHigh());
}

// A selection's slip in a colour of the slip's own, an added lap's in its
// lap's colour and pen.
LapStyle TForm10::slip_style(std::size_t lap) const {
  const OverlaidLap& l = overlaid_[lap];
  if (!l.added) return {l.name == "Sel 1" ? kSlip1Colour : kSlipColour, chart::TPenStyle::psSolid};
  // The added laps close the list, in their order.
  const std::size_t extra = lap + plot_.extra_laps.size() - overlaid_.size();
  if (lap + plot_.extra_laps.size() < overlaid_.size() || extra >= plot_.extra_laps.size()) {
    return {kSlipColour, chart::TPenStyle::psSolid};
  }
  return extra_lap_palette()[plot_.extra_laps[extra].style % kMaxExtraLaps];
}

bool TForm10::draw_time_slip() {
  plot_.settings = settings();
  find_slip_laps();
  slip_box_->setEnabled(slip_possible());
  chart::TPlotChart& chart = *PlotChart1;
  // The scale only with a curve: a lap without samples leaves nothing to scale.
  const bool shown = slip_shown();
  show_scale(chart.ScaleY(kSlipLayer), shown);
  if (!shown) return false;

  double largest = kSlipMinHalfRange;
  double longest = 0;
  for (const LapSlipCurve& c : slips_.curves) {
    for (const auto& p : c.curve) largest = std::max(largest, std::abs(p.slip));
    if (!c.curve.empty()) longest = std::max(longest, c.curve.back().distance);
  }
  const ChartStyleScope keep(chart);
  chart.SetActiveLayer(kSlipLayer);
  chart.SetLineWidth(1);
  chart.SetDataColor(kSlipZeroColour);
  chart.SetPenStyle(chart::TPenStyle::psDash);
  chart.AddMoveTo(0.0, 0.0);
  chart.AddDrawTo(longest, 0.0);
  chart.SetLineWidth(kSlipLineWidth);
  for (const LapSlipCurve& c : slips_.curves) {
    if (c.curve.empty()) continue;
    const LapStyle style = slip_style(c.lap);
    chart.SetDataColor(style.colour);
    chart.SetPenStyle(style.pen);
    chart.AddMoveTo(c.curve.front().distance, c.curve.front().slip);
    for (const auto& p : c.curve) chart.AddDrawTo(p.distance, p.slip);
  }
  // The same distances as the laps' layer, its own seconds around zero.
  const double half = largest * kSlipHeadroom;
  chart.SetLayerRange(kSlipLayer, chart.ScaleX(1).RangeLow(), -half, chart.ScaleX(1).RangeHigh(), half);
  return true;
}

std::string TForm10::slip_readout_line(double x) const {
  // Two laps: the one slip stands on a line of its own; more laps carry
  // theirs on their reading lines.
  if (!slip_shown() || slips_.curves.size() != 1) return {};
  const auto slip = lap_tools::slip_at(slips_.curves.front().curve, x);
  return slip ? lap_tools::slip_text(*slip) : std::string();
}

// ---- sectors and statistics ----

void TForm10::refresh_sector_table() {
  const std::vector<double> boundaries =
      lap_tools::sector_boundaries(lap_tool_settings_, state_.config.config_image);
  show_sector_table(boundaries, lap_tools::sector_table(state_.log, boundaries));
}

void TForm10::show_sector_table(const std::vector<double>& boundaries, const lap_tools::SectorTable& table) {
  sector_panel_->show_boundaries(boundaries, state_.distance_in_feet);
  sector_panel_->show_table(table);
}

void TForm10::apply_sector_boundaries() {
  lap_tool_settings_.sector_boundaries = sector_panel_->typed_boundaries();
  refresh_sector_table();
}

void TForm10::save_lap_stats() { lap_tools::save_lap_stats(state_.log, state_.dialogs.csv, ui_); }

// ---- histogram ----

std::vector<HistogramSeries> TForm10::histogram_series() const {
  const lap_tools::HistogramChannel channel = histogram_panel_->channel();
  const HistogramRange range = histogram_panel_->range();
  std::vector<std::string> names;
  std::vector<std::vector<double>> values;
  if (range == HistogramRange::overlay_laps) {
    for (std::size_t slot = 0; slot < plot_.overlay.size(); ++slot) {
      if (const auto lap = overlay_lap(slot)) {
        names.push_back(lap_name(plot_.overlay[slot]));
        values.push_back(lap_tools::channel_values(*lap->data, channel, lap->samples));
      }
    }
  } else if (range == HistogramRange::visible_window) {
    // What each drawn trace set shows within its own layer's x window, on
    // whatever the x axis holds.
    for (int t = 1; t <= 2; ++t) {
      const TraceSetPlan& target = plot_.plan.trace[static_cast<std::size_t>(t - 1)];
      const Dataset& data = state_.log.dataset(target.data_set);
      if (!target.drawn || data.decoded_valid != 1) continue;
      const SampleSpan span = trace_samples(state_.log, plot_, t);
      const LayerRange window = port_->layer_range(target.layer);
      const bool overlay = plot_.settings.plot_mode == PlotMode::LapOverlay;
      names.push_back(overlay ? lap_name(plot_.overlay[static_cast<std::size_t>(t - 1)])
                              : target.data_set == kDataSetA ? "Data A" : "Data B");
      values.push_back(lap_tools::channel_values(data, channel, {span.first, span.last},
                                                 {&data.ch_work, span.x_offset, window.x_low, window.x_high}));
    }
  } else {
    for (std::uint8_t set : {kDataSetA, kDataSetB}) {
      const Dataset& data = state_.log.dataset(set);
      if (data.decoded_valid != 1) continue;
      names.push_back(set == kDataSetA ? "Data A" : "Data B");
      values.push_back(lap_tools::channel_values(data, channel, lap_tools::all_samples(data)));
    }
  }
  lap_tools::LapToolSettings chosen = lap_tool_settings_;
  chosen.histogram_channel = channel;
  chosen.histogram_bin_width = histogram_panel_->bin_width();
  std::vector<lap_tools::Histogram> histograms =
      lap_tools::time_histograms(values, channel, lap_tools::histogram_bin_width(chosen));
  std::vector<HistogramSeries> series;
  for (std::size_t k = 0; k < names.size(); ++k) {
    series.push_back({std::move(names[k]), kSeriesColours[k % kSeriesColours.size()], std::move(histograms[k])});
  }
  return series;
}

void TForm10::refresh_histogram() {
  if (histogram_panel_->isHidden()) return;  // drawn when its tab is shown
  histogram_panel_->show_series(histogram_series());
}

}  // namespace kv
