// The download window's controls: names, captions and hints, and their layout.
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "logdata/download_window.h"

namespace kv {
namespace {

struct DataSetButtons {
  const char* load_name;
  const char* save_name;
  const char* excel_name;
  const char* notes_name;
  const char* field_name;
  const char* group;
  const char* load;
  const char* save;
  const char* excel;
  const char* notes;
  void (TForm2::*on_load)();
  void (TForm2::*on_save)();
  void (TForm2::*on_excel)();
  void (TForm2::*on_notes)();
};

const DataSetButtons kButtonsA{"BitBtn4", "BitBtn5", "BitBtn6", "BitBtn11", "Edit3", "Data Set A Options",
                               "Load Data Set A", "Save Data Set A", "Save Data A Excel", "Edit Data A Notes",
                               &TForm2::load_log_dataSetA, &TForm2::save_log_dataSetA, &TForm2::save_csv_dataSetA,
                               &TForm2::edit_session_A_notes};
const DataSetButtons kButtonsB{"BitBtn8", "BitBtn12", "BitBtn13", "BitBtn14", "Edit4", "Data Set B Options",
                               "Load Data Set B", "Save Data Set B", "Save Data B Excel", "Edit Data B Notes",
                               &TForm2::load_log_dataSetB, &TForm2::save_log_dataSetB, &TForm2::save_csv_dataSetB,
                               &TForm2::edit_session_B_notes};

constexpr const char* kLoadHint = "Load a previous data logged session.";
constexpr const char* kSaveHint = "Save the data file for later analysis.";
constexpr const char* kExcelHint = "Save the file in Excel spreadsheet format.";
constexpr const char* kNotesHint = "Enter your vehicle setup.";

constexpr int kFigureWidth = 46;
constexpr int kBarHeight = 20;

void compact(QGridLayout* layout) {
  layout->setContentsMargins(6, 4, 6, 4);
  layout->setSpacing(3);
}

QLineEdit* read_only_field(QWidget* parent, const char* name) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  field->setReadOnly(true);
  return field;
}

}  // namespace

QPushButton* TForm2::button(const char* name, const char* caption, const char* hint, void (TForm2::*handler)()) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(name);
  b->setToolTip(hint);
  connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
  buttons_.push_back(b);
  return b;
}

void TForm2::build() {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  grid->addWidget(build_download_group(), 0, 0);
  grid->addWidget(build_port_group(), 0, 1);
  grid->addWidget(build_data_set_group(kv::kDataSetA), 1, 0);
  grid->addWidget(build_data_set_group(kv::kDataSetB), 1, 1);
  grid->addWidget(build_memory_group(), 2, 0);
  grid->addWidget(build_analysis_group(), 2, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  grid->addWidget(build_bar(ProgressBar1, "ProgressBar1", "Download Progress", "Indication of Download progress."), 3,
                  0, 1, 2);
  grid->addWidget(build_bar(ProgressBar2, "ProgressBar2", "Memory Usage", "Korvanta internal memory usage."), 4, 0, 1,
                  2);
  ProgressBar2->setRange(0, 100);
  ProgressBar1->setRange(0, 1);
}

QGroupBox* TForm2::build_download_group() {
  auto* group = new QGroupBox("Download Control", this);
  auto* layout = new QGridLayout(group);
  compact(layout);
  ComboBox1 = new QComboBox(group);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->addItems({"A", "B"});
  ComboBox1->setCurrentIndex(0);
  layout->addWidget(button("BitBtn3", "Download", "Start the data download from the Korvanta.",
                           &TForm2::get_log_dataSet),
                    0, 0);
  layout->addWidget(new QLabel("from Korvanta", group), 0, 1);
  layout->addWidget(new QLabel("to Data Set", group), 1, 1);
  layout->addWidget(ComboBox1, 1, 0);
  layout->addWidget(button("BitBtn2", "Dump", "Dump all memory from Korvanta.", &TForm2::set_dump_flag), 2, 0);
  layout->addWidget(button("BitBtn10", "Clear", "Clear the memory on the Korvanta.", &TForm2::clear_log_pointers), 2,
                    1);
  // Not one of the locked buttons: it is the one control a running download
  // leaves enabled.
  BitBtn15 = new QPushButton("Cancel", group);
  BitBtn15->setObjectName("BitBtn15");
  BitBtn15->setToolTip("Stop the download, keeping the pages already read.");
  BitBtn15->setEnabled(false);
  connect(BitBtn15, &QPushButton::clicked, this, &TForm2::cancel_download);
  layout->addWidget(BitBtn15, 3, 0);
  return group;
}

QGroupBox* TForm2::build_port_group() {
  Serial_COM_group = new QGroupBox("Serial Port", this);
  Serial_COM_group->setObjectName("Serial_COM_group");
  Serial_COM_group->setToolTip("Select the COM port the Korvanta is connected to.");
  auto* layout = new QGridLayout(Serial_COM_group);
  compact(layout);
  port_buttons_ = new QButtonGroup(Serial_COM_group);
  for (int item = 0; item < 4; ++item) {
    auto* radio = new QRadioButton(QString("COM %1").arg(item + 1), Serial_COM_group);
    radio->setObjectName(QString("COM%1").arg(item + 1));
    port_buttons_->addButton(radio, item);
    layout->addWidget(radio, item / 2, item % 2);
  }
  connect(port_buttons_, &QButtonGroup::idClicked, this, [this](int item) { change_serial_port(item); });
  return Serial_COM_group;
}

QGroupBox* TForm2::build_memory_group() {
  auto* group = new QGroupBox("Korvanta Memory", this);
  auto* layout = new QGridLayout(group);
  compact(layout);
  Edit1 = read_only_field(group, "Edit1");
  Edit2 = read_only_field(group, "Edit2");
  for (QLineEdit* field : {Edit1, Edit2}) {
    field->setFixedWidth(kFigureWidth);
    field->setAlignment(Qt::AlignRight);
  }
  layout->addWidget(new QLabel("Percent Memory Usage", group), 0, 0);
  layout->addWidget(Edit1, 0, 1);
  layout->addWidget(new QLabel("%", group), 0, 2);
  layout->addWidget(new QLabel("Total Memory Available", group), 1, 0);
  layout->addWidget(Edit2, 1, 1);
  layout->addWidget(new QLabel("Mbits", group), 1, 2);
  return group;
}

QGroupBox* TForm2::build_data_set_group(std::uint8_t which) {
  const DataSetButtons& set = which == kv::kDataSetA ? kButtonsA : kButtonsB;
  auto* group = new QGroupBox(set.group, this);
  auto* layout = new QGridLayout(group);
  compact(layout);
  layout->addWidget(button(set.load_name, set.load, kLoadHint, set.on_load), 0, 0);
  layout->addWidget(button(set.save_name, set.save, kSaveHint, set.on_save), 1, 0);
  layout->addWidget(button(set.excel_name, set.excel, kExcelHint, set.on_excel), 2, 0);
  layout->addWidget(button(set.notes_name, set.notes, kNotesHint, set.on_notes), 3, 0);
  QLineEdit* field = read_only_field(group, set.field_name);
  field->setText("No Data");
  layout->addWidget(field, 4, 0);
  (which == kv::kDataSetA ? Edit3 : Edit4) = field;
  return group;
}

QGroupBox* TForm2::build_analysis_group() {
  auto* group = new QGroupBox("Data Analysis", this);
  auto* layout = new QGridLayout(group);
  compact(layout);
  layout->addWidget(button("BitBtn7", "View Data", "Display the data plots for further analysis.",
                           &TForm2::view_plot_data),
                    0, 0, 1, 2);
  layout->addWidget(button("BitBtn9", "Help", "Help, having problems with the data download !", &TForm2::view_help),
                    1, 0);
  layout->addWidget(button("BitBtn1", "Main Menu", "Back to Main Menu.", &TForm2::back_to_main), 1, 1);
  layout->addWidget(button("BitBtn16", "Session Library", "Find, open and compare every session kept.",
                           &TForm2::open_library),
                    2, 0, 1, 2);
  return group;
}

QWidget* TForm2::build_bar(QProgressBar*& bar, const char* name, const char* caption, const char* hint) {
  auto* box = new QWidget(this);
  auto* layout = new QGridLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setVerticalSpacing(1);
  bar = new QProgressBar(box);
  bar->setObjectName(name);
  bar->setToolTip(hint);
  bar->setTextVisible(false);
  bar->setFixedHeight(kBarHeight);
  layout->addWidget(new QLabel("0%", box), 0, 0, Qt::AlignLeft);
  layout->addWidget(new QLabel(caption, box), 0, 1, Qt::AlignHCenter);
  layout->addWidget(new QLabel("100%", box), 0, 2, Qt::AlignRight);
  layout->addWidget(bar, 1, 0, 1, 3);
  return box;
}

int TForm2::checked_port_item() const { return port_buttons_->checkedId(); }

}  // namespace kv
