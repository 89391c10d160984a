#include "analysis/lap_tools_panel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <sstream>

#include "analysis/measured_cell_delegate.h"
#include "analysis/x_axis.h"
#include "chart/plotchart.h"
#include "chart/qt_paint_helpers.h"

namespace kv::analysis {
namespace {

constexpr int kTimeDecimals = 2;
constexpr int kPercentDecimals = 1;
constexpr double kMaxBoundary = 100000.0 * kFeetPerMetre;  // in either unit
constexpr double kMaxBinWidth = 10000.0;
constexpr int kTableMinHeight = 80;
constexpr int kTableMaxHeight = 600;
constexpr int kRowPadding = 6;
// The best time of a sector within its set, and over both sets.
const QColor kBestInSet(200, 240, 200);
const QColor kBestOverall(255, 215, 0);
// A lap left out of the bests.
const QColor kLeftOut(150, 150, 150);

QString seconds_text(const std::optional<double>& seconds) {
  return seconds ? QString::number(*seconds, 'f', kTimeDecimals) : QString();
}

// A number field that shows "." whatever the desktop's locale.
QDoubleSpinBox* number_field(const QString& name, double high, QWidget* parent) {
  auto* field = new QDoubleSpinBox(parent);
  field->setObjectName(name);
  field->setLocale(QLocale::c());
  field->setRange(0.0, high);
  field->setDecimals(1);
  return field;
}

QTableWidget* read_only_table(const char* name, QWidget* parent) {
  auto* table = new QTableWidget(parent);
  table->setObjectName(name);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setItemDelegate(new MeasuredCellDelegate(table));
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + kRowPadding);
  table->setMinimumHeight(kTableMinHeight);
  return table;
}

// Tall enough for every row (the page scrolls), up to a limit.
void fit_rows(QTableWidget& table) {
  int height = 2 * table.frameWidth() + table.horizontalHeader()->sizeHint().height();
  for (int r = 0; r < table.rowCount(); ++r) height += table.rowHeight(r);
  height += table.horizontalScrollBar()->sizeHint().height();  // room for a scroll bar when wide
  table.setMinimumHeight(std::clamp(height, kTableMinHeight, kTableMaxHeight));
}

void set_cell(QTableWidget& table, int row, int column, const QString& text) {
  table.setItem(row, column, new QTableWidgetItem(text));
}

QString set_letter(std::uint8_t set) { return set == kDataSetB ? "B" : "A"; }

QString gap_text(const lap_tools::TheoreticalBest& best) {
  return best.gain ? QString::number(*best.gain, 'f', kTimeDecimals) : QString();
}

// Where a scale and its caption go: the values below, centred, the percentage
// at the left with its caption above it.
struct ScalePlace {
  chart::TScaleLocation location;
  int caption_x;
  int caption_y;
  chart::TAlignment alignment;
  chart::TCaptionAnchor anchor;
};
constexpr ScalePlace kValueScale{chart::TScaleLocation::slBottom, 0, 17, chart::TAlignment::taCenter,
                                 chart::TCaptionAnchor::uaSclCenter};
constexpr ScalePlace kPercentScale{chart::TScaleLocation::slLeft, -5, -17, chart::TAlignment::taLeftJustify,
                                   chart::TCaptionAnchor::uaSclTopLft};

void place_scale(chart::TScaleProps& scale, const ScalePlace& place) {
  scale.SetScaleLocation(place.location);
  scale.SetCaptionPosX(place.caption_x);
  scale.SetCaptionPosY(place.caption_y);
  scale.SetCaptionAlignment(place.alignment);
  scale.SetCaptionAnchor(place.anchor);
  scale.SetVisible(true);
}

}  // namespace

// ---- sectors ----

SectorPanel::SectorPanel(QWidget* parent) : QGroupBox("Sector Times", parent) {
  setObjectName("SectorTimes");
  auto* column = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  unit_label_ = new QLabel(this);
  unit_label_->setObjectName("SectorBoundaryUnit");
  row->addWidget(unit_label_);
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    fields_[k] = number_field(QString("SectorBoundary%1").arg(k + 1), kMaxBoundary, this);
    row->addWidget(fields_[k]);
  }
  auto* apply = new QPushButton("Apply", this);
  apply->setObjectName("ApplySectors");
  connect(apply, &QPushButton::clicked, this, &SectorPanel::applied);
  row->addWidget(apply);
  row->addStretch(1);
  column->addLayout(row);
  table_ = read_only_table("SectorTable", this);
  column->addWidget(table_, 1);
}

void SectorPanel::show_boundaries(const std::vector<double>& metres, bool in_feet) {
  unit_per_metre_ = in_feet ? kFeetPerMetre : 1.0;
  unit_label_->setText(in_feet ? "Sector boundaries (ft, 0 = off):" : "Sector boundaries (m, 0 = off):");
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    shown_metres_[k] = k < metres.size() ? metres[k] : 0.0;
    fields_[k]->setValue(shown_metres_[k] * unit_per_metre_);
    shown_values_[k] = fields_[k]->value();
  }
}

std::vector<double> SectorPanel::typed_boundaries() const {
  std::vector<double> metres;
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    const double typed = fields_[k]->value();
    metres.push_back(typed == shown_values_[k] ? shown_metres_[k] : typed / unit_per_metre_);
  }
  return metres;
}

void SectorPanel::show_table(const lap_tools::SectorTable& table) {
  // Set, lap, session, lap time, the sectors, then the gap of the summary rows.
  constexpr int kFirstSector = 4;
  const int sectors = std::clamp(table.sector_count, 1, lap_tools::kMaxSectors);
  QStringList headers = {"Data", "Lap", "Session", "Lap Time"};
  for (int s = 1; s <= sectors; ++s) headers << QString("Sector %1").arg(s);
  headers << "Gap to Fastest";
  const int gap_column = kFirstSector + sectors;
  if (shown_table_ == table) {
    // Only the left-out laps' tips speak of distances: the cells and their
    // column widths stay as they are.
    if (shown_unit_per_metre_ != unit_per_metre_) retell_left_out(table);
    return;
  }
  shown_table_ = table;
  shown_unit_per_metre_ = unit_per_metre_;

  struct Summary {
    QString caption;
    const lap_tools::TheoreticalBest* best;
  };
  std::vector<Summary> summaries;
  for (std::uint8_t set : {kDataSetA, kDataSetB}) {
    const bool has_laps = std::any_of(table.rows.begin(), table.rows.end(),
                                      [set](const lap_tools::SectorRow& r) { return r.lap.set == set; });
    if (has_laps) summaries.push_back({"Best " + set_letter(set), &table.per_set[set == kDataSetB ? 1 : 0]});
  }
  if (summaries.size() > 1) summaries.push_back({"Best A+B", &table.both});

  table_->clear();
  table_->setColumnCount(static_cast<int>(headers.size()));
  table_->setHorizontalHeaderLabels(headers);
  table_->setRowCount(static_cast<int>(table.rows.size() + summaries.size()));
  int row = 0;
  for (const lap_tools::SectorRow& r : table.rows) {
    set_cell(*table_, row, 0, set_letter(r.lap.set));
    set_cell(*table_, row, 1, QString::number(r.lap.lap));
    set_cell(*table_, row, 2, QString::number(r.lap.session));
    set_cell(*table_, row, 3, seconds_text(r.lap.lap_time()));
    for (int s = 0; s < sectors; ++s) {
      const auto k = static_cast<std::size_t>(s);
      set_cell(*table_, row, kFirstSector + s, seconds_text(r.sector[k]));
      QTableWidgetItem* cell = table_->item(row, kFirstSector + s);
      if (r.best_overall[k]) {
        cell->setBackground(kBestOverall);
      } else if (r.best_in_set[k]) {
        cell->setBackground(kBestInSet);
      }
    }
    if (!r.in_bests) grey_out(row, left_out_text(r.lap_metres, table.typical_metres[r.lap.set == kDataSetB ? 1 : 0]));
    ++row;
  }
  QFont bold = table_->font();
  bold.setBold(true);
  for (const Summary& s : summaries) {
    set_cell(*table_, row, 0, s.caption);
    set_cell(*table_, row, 1, "Theoretical");
    set_cell(*table_, row, 3, seconds_text(s.best->theoretical));
    for (int k = 0; k < sectors; ++k) {
      set_cell(*table_, row, kFirstSector + k, seconds_text(s.best->best_sector[static_cast<std::size_t>(k)]));
    }
    set_cell(*table_, row, gap_column, gap_text(*s.best));
    for (int c = 0; c < table_->columnCount(); ++c) {
      if (QTableWidgetItem* cell = table_->item(row, c)) cell->setFont(bold);
    }
    ++row;
  }
  table_->resizeColumnsToContents();
  fit_rows(*table_);
}

QString SectorPanel::left_out_text(double lap_metres, double typical_metres) const {
  const QString unit = unit_per_metre_ == 1.0 ? "m" : "ft";
  const auto shown = [this, &unit](double metres) {
    return QString::number(metres * unit_per_metre_, 'f', 0) + " " + unit;
  };
  return QString("Not counted in the bests: the lap covered %1, the set's laps about %2 "
                 "(an out-lap, in-lap or partial lap)")
      .arg(shown(lap_metres), shown(typical_metres));
}

void SectorPanel::retell_left_out(const lap_tools::SectorTable& table) {
  shown_unit_per_metre_ = unit_per_metre_;
  const int rows = std::min(static_cast<int>(table.rows.size()), table_->rowCount());
  for (int row = 0; row < rows; ++row) {
    const lap_tools::SectorRow& r = table.rows[static_cast<std::size_t>(row)];
    if (r.in_bests) continue;
    const QString reason = left_out_text(r.lap_metres, table.typical_metres[r.lap.set == kDataSetB ? 1 : 0]);
    for (int c = 0; c < table_->columnCount(); ++c) {
      if (QTableWidgetItem* cell = table_->item(row, c)) cell->setToolTip(reason);
    }
  }
}

void SectorPanel::grey_out(int row, const QString& reason) {
  for (int c = 0; c < table_->columnCount(); ++c) {
    QTableWidgetItem* cell = table_->item(row, c);
    if (cell == nullptr) continue;
    cell->setForeground(kLeftOut);
    cell->setToolTip(reason);
  }
}

// ---- lap statistics ----

LapStatsPanel::LapStatsPanel(QWidget* parent) : QGroupBox("Lap Statistics", parent) {
  setObjectName("LapStatistics");
  auto* column = new QVBoxLayout(this);
  constexpr const char* kNames[] = {"LapStatsA", "LapStatsB"};
  for (std::size_t k = 0; k < tables_.size(); ++k) {
    column->addWidget(new QLabel(k == 0 ? "Data A" : "Data B", this));
    tables_[k] = read_only_table(kNames[k], this);
    column->addWidget(tables_[k], 1);
  }
  auto* save = new QPushButton(lap_tools::lap_stats_text::kTitle, this);
  save->setObjectName("SaveLapStats");
  connect(save, &QPushButton::clicked, this, &LapStatsPanel::saveRequested);
  auto* row = new QHBoxLayout;
  row->addWidget(save);
  row->addStretch(1);
  column->addLayout(row);
}

namespace {

using TableRows = std::vector<QStringList>;

void fill_table(QTableWidget& table, const QStringList& headers, const TableRows& rows) {
  table.clear();
  table.setRowCount(static_cast<int>(rows.size()));
  table.setColumnCount(static_cast<int>(headers.size()));
  table.setHorizontalHeaderLabels(headers);
  for (int r = 0; r < table.rowCount(); ++r) {
    const QStringList& fields = rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < fields.size(); ++c) set_cell(table, r, c, fields[c]);
  }
  table.resizeColumnsToContents();
  fit_rows(table);
}

// The same rows and columns with other figures (a unit switch): only the
// cells that differ change, and only their columns are sized again, which
// spares laying out the text of every other cell.
void update_table(QTableWidget& table, const QStringList& headers, const TableRows& rows) {
  std::vector<bool> changed(static_cast<std::size_t>(headers.size()), false);
  for (int c = 0; c < headers.size(); ++c) {
    QTableWidgetItem* head = table.horizontalHeaderItem(c);
    if (head == nullptr || head->text() == headers[c]) continue;
    head->setText(headers[c]);
    changed[static_cast<std::size_t>(c)] = true;
  }
  for (int r = 0; r < table.rowCount(); ++r) {
    const QStringList& fields = rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < headers.size(); ++c) {
      QTableWidgetItem* cell = table.item(r, c);
      if (c >= fields.size()) {
        if (cell == nullptr) continue;
        delete table.takeItem(r, c);
      } else if (cell == nullptr) {
        set_cell(table, r, c, fields[c]);
      } else if (cell->text() != fields[c]) {
        cell->setText(fields[c]);
      } else {
        continue;
      }
      changed[static_cast<std::size_t>(c)] = true;
    }
  }
  for (int c = 0; c < headers.size(); ++c) {
    if (changed[static_cast<std::size_t>(c)]) table.resizeColumnToContents(c);
  }
}

bool same_shape(const QTableWidget& table, const QStringList& headers, const TableRows& rows) {
  if (table.columnCount() != headers.size() || table.rowCount() != static_cast<int>(rows.size())) return false;
  for (int c = 0; c < headers.size(); ++c) {
    if (table.horizontalHeaderItem(c) == nullptr) return false;
  }
  return true;
}

}  // namespace

void LapStatsPanel::show_rows(const std::vector<lap_tools::LapStatsRow>& rows, const HeldUnits& units) {
  // The tables show the figures exactly as the saved file holds them.
  const auto split = [](const std::string& line) {
    QStringList fields = QString::fromStdString(line).split(',');
    fields.removeFirst();  // the set, which the table stands for
    return fields;
  };
  // Every re-plot hands the figures over again; most often they are the same,
  // which the figures tell without writing them out.
  if (shown_rows_ == rows && shown_units_ == units) return;
  shown_rows_ = rows;
  shown_units_ = units;
  std::string text = lap_tools::lap_stats_csv(rows, units);
  if (shown_text_ == text) return;
  shown_text_ = text;
  const QStringList headers = split(lap_tools::lap_stats_header(units));
  std::array<TableRows, 2> per_table;
  std::istringstream lines(std::move(text));
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    per_table[line.front() == 'B' ? 1 : 0].push_back(split(line));
  }
  for (std::size_t k = 0; k < tables_.size(); ++k) {
    if (same_shape(*tables_[k], headers, per_table[k])) {
      update_table(*tables_[k], headers, per_table[k]);
    } else {
      fill_table(*tables_[k], headers, per_table[k]);
    }
  }
}

// ---- histogram ----

HistogramPanel::HistogramPanel(QWidget* parent) : QGroupBox("Histogram", parent) {
  setObjectName("HistogramArea");
  auto* column = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  channel_ = new QComboBox(this);
  channel_->setObjectName("HistogramChannel");
  for (const auto& info : lap_tools::kHistogramChannels) channel_->addItem(info.caption);
  range_ = new QComboBox(this);
  range_->setObjectName("HistogramRange");
  range_->addItems({"All Data", "Overlay Laps", "Visible Window"});
  width_ = number_field("HistogramBinWidth", kMaxBinWidth, this);
  width_->setSpecialValueText("Auto");  // 0: the channel's own width
  row->addWidget(new QLabel("Channel:", this));
  row->addWidget(channel_);
  row->addWidget(new QLabel("Range:", this));
  row->addWidget(range_);
  row->addWidget(new QLabel("Bin Width:", this));
  row->addWidget(width_);
  row->addStretch(1);
  column->addLayout(row);

  auto* body = new QHBoxLayout;
  chart_ = new chart::TPlotChart(this);
  chart_->setObjectName("HistogramChart");
  chart_->SetRims(60, 20, 15, 45);
  chart_->setMinimumSize(400, 300);
  place_scale(chart_->Scale1X(), kValueScale);
  place_scale(chart_->Scale1Y(), kPercentScale);
  chart_->Scale1Y().SetCaption("% of time");
  body->addWidget(chart_, 3);
  table_ = read_only_table("HistogramTable", this);
  body->addWidget(table_, 1);
  column->addLayout(body, 1);

  connect(channel_, &QComboBox::currentIndexChanged, this, &HistogramPanel::changed);
  connect(range_, &QComboBox::currentIndexChanged, this, &HistogramPanel::changed);
  connect(width_, &QDoubleSpinBox::valueChanged, this, &HistogramPanel::changed);
}

HistogramPanel::~HistogramPanel() = default;

lap_tools::HistogramChannel HistogramPanel::channel() const {
  const int index = std::max(channel_->currentIndex(), 0);
  return lap_tools::kHistogramChannels[static_cast<std::size_t>(index)].id;
}

HistogramRange HistogramPanel::range() const { return static_cast<HistogramRange>(std::max(range_->currentIndex(), 0)); }

std::optional<double> HistogramPanel::bin_width() const {
  return width_->value() > 0.0 ? std::optional<double>(width_->value()) : std::nullopt;
}

void HistogramPanel::show_series(const std::vector<HistogramSeries>& series) {
  chart_->Scale1X().SetCaption(lap_tools::histogram_channel(channel()).caption);
  fill_table(series);
  draw_bars(series);
}

void HistogramPanel::draw_bars(const std::vector<HistogramSeries>& series) {
  chart_->ClearItems();
  double x_low = 0.0, x_high = 1.0, y_high = 1.0;
  bool first = true;
  for (const HistogramSeries& s : series) {
    for (const auto& bin : s.histogram.bins) {
      x_low = first ? bin.low : std::min(x_low, bin.low);
      x_high = first ? bin.high : std::max(x_high, bin.high);
      y_high = std::max(y_high, bin.percent);
      first = false;
    }
  }
  // Side by side within each bin: every series gets its share of the width.
  const double share = series.empty() ? 1.0 : 1.0 / static_cast<double>(series.size());
  constexpr int kBarLine = 2;
  chart_->SetLineWidth(kBarLine);
  for (std::size_t k = 0; k < series.size(); ++k) {
    chart_->SetDataColor(series[k].colour);
    for (const auto& bin : series[k].histogram.bins) {
      const double width = bin.high - bin.low;
      const double left = bin.low + width * share * static_cast<double>(k);
      const double right = left + width * share;
      chart_->AddMoveTo(left, 0.0);
      chart_->AddDrawTo(left, bin.percent);
      chart_->AddDrawTo(right, bin.percent);
      chart_->AddDrawTo(right, 0.0);
    }
  }
  // A little room beside the outer bars and above the highest.
  constexpr double kHeadroom = 1.1;
  constexpr double kSideRoom = 0.03;
  const double side = (x_high - x_low) * kSideRoom;
  chart_->SetLayerRange(1, x_low - side, 0.0, x_high + side, y_high * kHeadroom);
  chart_->Redisplay();
}

void HistogramPanel::fill_table(const std::vector<HistogramSeries>& series) {
  // One row per bin over the union of the series' bins, all on one grid.
  double low = 0.0, high = 0.0, width = 0.0;
  bool any = false;
  for (const HistogramSeries& s : series) {
    if (s.histogram.bins.empty()) continue;
    low = any ? std::min(low, s.histogram.bins.front().low) : s.histogram.bins.front().low;
    high = any ? std::max(high, s.histogram.bins.back().high) : s.histogram.bins.back().high;
    width = s.histogram.bin_width;  // one grid for all series
    any = true;
  }
  QStringList headers = {"From", "To"};
  for (const HistogramSeries& s : series) headers << QString::fromStdString(s.name) + " %";
  table_->clear();
  table_->setColumnCount(static_cast<int>(headers.size()));
  table_->setHorizontalHeaderLabels(headers);
  // Each series' column in its bars' colour: the chart's legend.
  for (std::size_t k = 0; k < series.size(); ++k) {
    table_->horizontalHeaderItem(static_cast<int>(k) + 2)->setForeground(chart::qcolor(series[k].colour));
  }
  const int rows = any && width > 0.0 ? static_cast<int>(std::lround((high - low) / width)) : 0;
  table_->setRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    const double from = low + width * r;
    set_cell(*table_, r, 0, QString::number(from, 'g', 6));
    set_cell(*table_, r, 1, QString::number(from + width, 'g', 6));
    for (std::size_t k = 0; k < series.size(); ++k) set_cell(*table_, r, static_cast<int>(k) + 2, "0.0");
  }
  for (std::size_t k = 0; k < series.size(); ++k) {
    for (const auto& bin : series[k].histogram.bins) {
      const long r = std::lround((bin.low - low) / width);
      if (r < 0 || r >= rows) continue;
      set_cell(*table_, static_cast<int>(r), static_cast<int>(k) + 2, QString::number(bin.percent, 'f', kPercentDecimals));
    }
  }
  table_->resizeColumnsToContents();
}

}  // namespace kv::analysis
