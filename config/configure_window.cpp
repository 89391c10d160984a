#include "config/configure_window.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStackedLayout>
#include <QTabBar>
#include <QVBoxLayout>

#include "config/config_exchange.h"
#include "config/config_file.h"
#include "config/config_widgets.h"
#include "config/password_window.h"
#include "link/serial_state.h"

namespace kv {

using namespace config;

namespace {

constexpr const char* kTabNames[] = {"General", "Alarms", "Display", "Shift Lights", "Timers",
                                     "Gears",   "Fuel",   "Calibrate", "Logger"};
constexpr const char* kPanelNames[] = {"General", "Alarms", "Display", "ShiftLights", "Timers",
                                       "Gears",   "Fuel",   "Calibrate", "Logger"};
constexpr const char* kChoiceNames[] = {"fuel_level_sender", "shift_light_mode", "mph_kmh_sel", "RadioGroup1",
                                        "RadioGroup2",       "RadioGroup3",      "RadioGroup4", "RadioGroup5"};
constexpr const char* kTickNames[] = {"lap_function_enable", "accel_function_enable", "trip_function_enable",
                                      "max_function_enable", "CheckBox2",             "CheckBox3"};
constexpr const char* kRatioMask = "9.999;0";  // unfilled digits show as 0
constexpr int kPortCount = 4;

// The ratio field shows every blank of the text as 0.
std::string ratio_display(std::string text) {
  for (char& c : text) {
    if (c == ' ') c = '0';
  }
  return text;
}

}  // namespace

TForm3::TForm3(ConfigureWindowState state, Ui& ui, QWidget* parent)
    : NavigableWindow(parent), state_(state), ui_(ui), form_(state.config), key_filter_(new IntKeyFilter(this)) {
  setObjectName("TForm3");
  setWindowTitle("Configuration");

  tabs_ = new QTabBar(this);
  tabs_->setObjectName("TabControl1");
  for (const char* name : kTabNames) tabs_->addTab(name);
  connect(tabs_, &QTabBar::currentChanged, this, &TForm3::config_tab_change);

  pages_ = new QWidget(this);
  stack_ = new QStackedLayout(pages_);
  panels_ = {build_general(), build_alarms(),    build_display(),   build_shift_lights(), build_timers(),
             build_gears(),   build_fuel(),      build_calibrate(), build_logger()};
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    panels_[i]->setObjectName(kPanelNames[i]);
    stack_->addWidget(panels_[i]);
  }

  auto* left = new QVBoxLayout;
  left->addWidget(tabs_);
  left->addWidget(pages_, 1);
  auto* main = new QHBoxLayout(this);
  main->addLayout(left, 1);
  side_ = build_side_buttons();
  main->addWidget(side_);

  password_ = std::make_unique<TForm12>(form_, ui_);
  connect(password_.get(), &TForm12::passwordClosed, this, &TForm3::password_closed);

  form_.set_image_shown_listener([this] { show_outcome(); });
  config_tab_change(0);
  form_.setup();
  refresh();
  setFixedSize(sizeHint());
}

TForm3::~TForm3() = default;

// ---- activation, navigation ----

void TForm3::setup_configure_form() { activate(); }

void TForm3::activated() {
  const int port = state_.serial.selected_port;
  serial_group_->setItemIndex(port >= 1 && port <= kPortCount ? port - 1 : -1);
  form_.setup();
  refresh();
}

std::vector<QWidget*> TForm3::busy_controls() const { return {pages_, side_, tabs_}; }

void TForm3::back_to_main() { go_to_main_menu(); }

void TForm3::view_help() { go_to_help(); }

void TForm3::config_tab_change(int index) {
  // The stack hides every other panel and gives the chosen one the page.
  if (index >= 0 && index < static_cast<int>(panels_.size())) stack_->setCurrentIndex(index);
}

void TForm3::change_serial_port(int item_index) {
  if (!select_port(state_.serial, item_index, ui_)) serial_group_->setItemIndex(-1);
}

// ---- instrument and file ----

void TForm3::get_config_data() {
  run_locked([this] { config::get_config_data(form_, state_.serial.link, ui_); });
}

void TForm3::set_config_data() {
  run_locked([this] { config::set_config_data(form_, state_.serial.link, ui_); });
}

void TForm3::load_config_data() {
  run_locked([this] { config::load_config_data(form_, state_.config_dialog, ui_); });
}

void TForm3::save_config_data() {
  run_locked([this] { config::save_config_data(form_, state_.config_dialog, ui_); });
}

void TForm3::run_locked(const std::function<void()>& operation) {
  lock_.emplace(busy_controls());
  operation();
  show_outcome();
}

void TForm3::show_outcome() {
  lock_.reset();
  refresh();
}

// ---- odometer password ----

void TForm3::check_password(bool ticked) {
  if (form_.set_factory_set(ticked)) {
    setEnabled(false);
    password_->show();
  }
  refresh();
}

void TForm3::password_closed() {
  setEnabled(true);
  setup_configure_form();
}

// ---- widgets <- model ----

void TForm3::refresh() {
  for (const auto& desc : kIntFields) {
    QLineEdit* edit = ints_[static_cast<int>(desc.id)];
    const FieldState& field = form_.field(desc.id);
    set_text_kept(edit, field.text);
    paint_field(edit, field.colour);
  }
  for (const auto& desc : kRatioFields) {
    QLineEdit* edit = ratios_[static_cast<int>(desc.id)];
    const FieldState& field = form_.field(desc.id);
    const QString shown = QString::fromStdString(ratio_display(field.text));
    if (edit->displayText() != shown) edit->setText(shown);
    paint_field(edit, field.colour);
  }
  for (int i = 0; i < kChoiceCount; ++i) choices_[i]->setItemIndex(form_.item(static_cast<Choice>(i)));
  for (int i = 0; i < kTickCount; ++i) ticks_[i]->setChecked(form_.ticked(static_cast<Tick>(i)));
  ticks_[static_cast<int>(Tick::CheckBox3)]->setEnabled(form_.auto_save_enabled());
  ints_[static_cast<int>(IntField::odometer_value)]->setReadOnly(form_.odometer_read_only());
  factory_set_->setChecked(form_.factory_set());
  set_text_kept(version_major_, form_.version_major());
  set_text_kept(version_minor_, form_.version_minor());
  split_text_->setText(QString::fromStdString(form_.split_text()));
  lap_text_->setText(QString::fromStdString(form_.lap_text()));
  accel_text_->setText(QString::fromStdString(form_.accel_text()));
  paint_field(panel2_, form_.panel2_colour());
  for (QLabel* unit : accel_units_) unit->setText(QString::fromStdString(form_.speed_unit_label()));
}

// ---- control factories ----

QLineEdit* TForm3::int_edit(IntField field) {
  const IntFieldSpec& desc = spec_of(field);
  auto* edit = new QLineEdit(this);
  edit->setObjectName(desc.name);
  set_typing_limit(edit, desc.max_length);
  edit->setAlignment(Qt::AlignRight);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(desc.max_length + 2, '0')) + 12);
  edit->installEventFilter(key_filter_);
  connect(edit, &QLineEdit::textEdited, this, [this, field, edit](const QString& text) {
    form_.edit(field, text.toStdString());
    refresh();
    // A cleared field is refilled with "0"; selecting it lets the next digit
    // replace it rather than follow it.
    if (text.isEmpty()) edit->selectAll();
  });
  ints_[static_cast<int>(field)] = edit;
  return edit;
}

QLineEdit* TForm3::ratio_edit(RatioField field) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(spec_of(field).name);
  edit->setInputMask(kRatioMask);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("0.0000") + 16);
  connect(edit, &QLineEdit::textEdited, this, [this, field, edit] {
    form_.edit(field, edit->displayText().toStdString());
    refresh();
  });
  ratios_[static_cast<int>(field)] = edit;
  return edit;
}

RadioGroup* TForm3::choice_group(Choice choice, const QString& caption, const QStringList& items, int columns) {
  auto* group = new RadioGroup(caption, items, columns, this);
  group->setObjectName(kChoiceNames[static_cast<int>(choice)]);
  connect(group, &RadioGroup::itemClicked, this, [this, choice](int item) {
    form_.select(choice, item);
    refresh();
  });
  choices_[static_cast<int>(choice)] = group;
  return group;
}

QCheckBox* TForm3::tick_box(Tick box, const QString& caption) {
  auto* check = new QCheckBox(caption, this);
  check->setObjectName(kTickNames[static_cast<int>(box)]);
  connect(check, &QCheckBox::clicked, this, [this, box](bool ticked) {
    form_.tick(box, ticked);
    refresh();
  });
  ticks_[static_cast<int>(box)] = check;
  return check;
}

}  // namespace kv
