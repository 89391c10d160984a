#pragma once
// TForm3 "Configuration": the instrument's settings on nine tabs, read from
// and written to the instrument, loaded from and saved to files. The widgets
// mirror a ConfigForm, which holds the values, colours and rules.
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "config/config_form.h"
#include "config/config_state.h"
#include "link/serial_state.h"
#include "ui/controls_lock.h"
#include "ui/dialog_defaults.h"
#include "ui/navigable_window.h"
#include "ui/ui.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedLayout;
class QTabBar;

namespace kv {

namespace config {
class RadioGroup;
class IntKeyFilter;
}  // namespace config
class TForm12;

// The pieces of the program state the window works on.
struct ConfigureWindowState {
  ConfigState& config;
  SerialState& serial;
  DialogDefault& config_dialog;  // the configuration files' folder and name
};

class TForm3 : public NavigableWindow {
  Q_OBJECT
 public:
  TForm3(ConfigureWindowState state, Ui& ui, QWidget* parent = nullptr);
  ~TForm3() override;

  config::ConfigForm& form() { return form_; }
  TForm12& password_dialog() { return *password_; }

  // Handlers, public so that the shell and tests can drive them.
  void setup_configure_form();
  void get_config_data();
  void set_config_data();
  void load_config_data();
  void save_config_data();
  void change_serial_port(int item_index);
  void config_tab_change(int index);
  void check_password(bool ticked);
  void back_to_main();
  void view_help();

 protected:
  void activated() override;

 private:
  // configure_panels.cpp builds the tabs' contents.
  QWidget* build_general();
  QWidget* build_alarms();
  QWidget* build_display();
  QWidget* build_shift_lights();
  QWidget* build_timers();
  QWidget* build_gears();
  QWidget* build_fuel();
  QWidget* build_calibrate();
  QWidget* build_logger();
  QWidget* build_side_buttons();
  QLineEdit* int_edit(config::IntField field);
  QLineEdit* ratio_edit(config::RatioField field);
  config::RadioGroup* choice_group(config::Choice choice, const QString& caption, const QStringList& items, int columns = 1);
  QCheckBox* tick_box(config::Tick box, const QString& caption);

  void password_closed();
  void refresh();
  // Controls a running transfer or file operation must not be pressed again.
  std::vector<QWidget*> busy_controls() const;
  // Runs a transfer or file operation with those controls locked, then shows
  // the outcome. A read or load unlocks and shows its image before its
  // closing message.
  void run_locked(const std::function<void()>& operation);
  void show_outcome();

  ConfigureWindowState state_;
  Ui& ui_;
  config::ConfigForm form_;
  config::IntKeyFilter* key_filter_ = nullptr;
  std::array<QLineEdit*, config::kIntFieldCount> ints_{};
  std::array<QLineEdit*, config::kRatioFieldCount> ratios_{};
  std::array<config::RadioGroup*, config::kChoiceCount> choices_{};
  std::array<QCheckBox*, config::kTickCount> ticks_{};
  std::array<QWidget*, 9> panels_{};
  QStackedLayout* stack_ = nullptr;
  QWidget* pages_ = nullptr;
  QWidget* side_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QLineEdit* version_major_ = nullptr;
  QLineEdit* version_minor_ = nullptr;
  QCheckBox* factory_set_ = nullptr;
  QLabel* split_text_ = nullptr;
  QLabel* lap_text_ = nullptr;
  QLabel* accel_text_ = nullptr;
  QFrame* panel2_ = nullptr;
  std::array<QLabel*, 2> accel_units_{};
  config::RadioGroup* serial_group_ = nullptr;
  std::unique_ptr<TForm12> password_;
  std::optional<ControlsLock> lock_;
};

}  // namespace kv
