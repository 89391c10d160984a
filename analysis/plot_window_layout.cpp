// The plot window's frame: the two tab strips with their panels, the chart
// and the legend under it.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

#include "analysis/plot_window.h"
#include "chart/plotchart.h"
#include "chart/plotchart_design.h"

namespace kv {
namespace {

constexpr const char* kLeftTabs[] = {"File", "Data", "View", "Marker", "Option"};
constexpr const char* kRightTabs[] = {"Plot Data", "Lap Times", "Data A Notes", "Data B Notes"};

struct PanelName {
  const char* name;
  const char* caption;
};
constexpr PanelName kRightPanels[] = {{"PlotArea", "Plot"},
                                      {"LapArea", "Lap Times"},
                                      {"DataASetup", "Data A Notes and Car Setup"},
                                      {"DataBSetup", "Data B Notes and Car Setup"}};

struct LegendNames {
  const char* caption_name;
  const char* caption;
  const char* on_box;
  const char* source;
  const char* design_text;
};
constexpr LegendNames kLegends[] = {{"StaticText1", "Data A", "CheckBox8", "Edit147", "No Data"},
                                    {"StaticText2", "Data B", "CheckBox18", "Edit148", " No Data"}};

constexpr int kMargin = 4;
constexpr int kSourceNameWidth = 200;

}  // namespace

QGroupBox* TForm10::panel(const char* name, const char* caption) {
  auto* group = new QGroupBox(caption, this);
  group->setObjectName(name);
  return group;
}

QPushButton* TForm10::button(const char* name, const char* caption, void (TForm10::*handler)()) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(name);
  if (handler != nullptr) connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
  return b;
}

void TForm10::build() {
  auto* main = new QHBoxLayout(this);
  main->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  sides_ = {build_left_side(), build_right_side()};
  main->addWidget(sides_[0]);
  main->addWidget(sides_[1], 1);
}

// A column with a tab strip on top; the panels go below it.
template <std::size_t N>
static QVBoxLayout* tab_column(QWidget* side, QTabBar*& tabs, const char* name, const char* const (&captions)[N]) {
  auto* column = new QVBoxLayout(side);
  column->setContentsMargins(0, 0, 0, 0);
  tabs = new QTabBar(side);
  tabs->setObjectName(name);
  for (const char* tab : captions) tabs->addTab(tab);
  column->addWidget(tabs);
  return column;
}

QWidget* TForm10::build_left_side() {
  auto* side = new QWidget(this);
  QVBoxLayout* column = tab_column(side, TabControl1, "TabControl1", kLeftTabs);
  left_panels_ = {build_load_print(), build_data_select(), build_zoom_pan(), build_cursor_panel(),
                  build_option_panel()};
  int width = TabControl1->sizeHint().width();
  for (QGroupBox* p : left_panels_) {
    column->addWidget(p, 1);
    width = std::max(width, p->sizeHint().width());
  }
  // One width for every panel, so the chart does not jump when the tab changes.
  side->setFixedWidth(width);
  return side;
}

QWidget* TForm10::build_right_side() {
  auto* side = new QWidget(this);
  QVBoxLayout* column = tab_column(side, TabControl2, "TabControl2", kRightTabs);
  right_panels_[0] = build_plot_area();
  right_panels_[1] = build_lap_area();
  for (std::size_t i = 2; i < right_panels_.size(); ++i) {
    right_panels_[i] = panel(kRightPanels[i].name, kRightPanels[i].caption);
  }
  for (QGroupBox* p : right_panels_) column->addWidget(p, 1);
  return side;
}

QGroupBox* TForm10::build_plot_area() {
  QGroupBox* area = panel(kRightPanels[0].name, kRightPanels[0].caption);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(2, 2, 2, 2);
  PlotChart1 = new chart::TPlotChart(area);
  chart::apply_plot_window_design(*PlotChart1);
  // The design size is the smallest; the chart grows with the window.
  PlotChart1->setMinimumSize(chart::kPlotChartWidth, chart::kPlotChartHeight);
  PlotChart1->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  PlotChart1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  port_ = std::make_unique<analysis::PlotChartPort>(*PlotChart1);
  layout->addWidget(PlotChart1, 1);

  auto* legend_row = new QHBoxLayout;
  legend_row->addWidget(new QLabel("View:", area));
  StaticText4 = new QLabel("Plot All", area);
  StaticText4->setObjectName("StaticText4");
  legend_row->addWidget(StaticText4);
  legend_row->addSpacing(2 * kMargin);
  for (int t = 1; t <= 2; ++t) legend_row->addWidget(build_legend(t));
  legend_row->addStretch(1);
  layout->addLayout(legend_row);
  return area;
}

QWidget* TForm10::build_legend(int trace_set) {
  const LegendNames& names = kLegends[trace_set - 1];
  const auto k = static_cast<std::size_t>(trace_set - 1);
  auto* group = new QWidget(this);
  group->setObjectName(QString("Legend%1").arg(trace_set == 1 ? 'A' : 'B'));
  auto* row = new QHBoxLayout(group);
  row->setContentsMargins(0, 0, 0, 0);
  auto* caption = new QLabel(names.caption, group);
  caption->setObjectName(names.caption_name);
  legend_on_[k] = new QCheckBox(group);
  legend_on_[k]->setObjectName(names.on_box);
  legend_on_[k]->setChecked(true);
  source_names_[k] = new QLineEdit(names.design_text, group);
  source_names_[k]->setObjectName(names.source);
  source_names_[k]->setReadOnly(true);
  source_names_[k]->setFixedWidth(kSourceNameWidth);
  row->addWidget(caption);
  row->addWidget(legend_on_[k]);
  row->addWidget(source_names_[k]);
  group->hide();  // until the dataset is decoded
  legends_[k] = group;
  return group;
}

}  // namespace kv
