// The configure window against an emulated instrument on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "config/config_exchange.h"
#include "config/config_file.h"
#include "config/config_widgets.h"
#include "config/configure_window.h"
#include "config/odometer_password.h"
#include "config/password_window.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

using config::IntField;

const ConfigBytes kFreshImage{0x00, 0x00, 0x07, 0x00, 0x00, 0xFF, 0x03, 0xF4, 0x01, 0xE8, 0x03, 0xDC, 0x05,
                              0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE8, 0x03, 0x00, 0x3C, 0xE8, 0x03, 0x00,
                              0x00, 0x05, 0x14, 0x69, 0x1E, 0x6E, 0x05, 0x41, 0x01, 0x04, 0xE8, 0x03, 0x20,
                              0x03, 0xE8, 0x03, 0xDC, 0x05, 0xD0, 0x07, 0xB8, 0x0B, 0xA0, 0x0F, 0xE2, 0x32};

// The factory image with a few of the instrument's own values.
ConfigBytes instrument_image() {
  ConfigBytes image = kFreshImage;
  image[0] = 0x99;
  image[3] = 0xEE;  // vehicle weight 750
  image[4] = 0x02;
  image[13] = 0x12;  // carried words
  image[18] = 0x34;
  image[25] = 0x39;  // odometer 12345
  image[26] = 0x30;
  image[33] = 70;    // shift peak 7000
  return image;
}

emu::Instrument unit_with(const ConfigBytes& image, std::uint8_t minor = 19) {
  emu::Instrument unit;
  unit.version_minor = minor;
  std::copy(image.begin(), image.end(), unit.config.begin());
  return unit;
}

class ConfigureWindowTest : public ::testing::Test {
 protected:
  explicit ConfigureWindowTest(emu::Instrument unit = unit_with(instrument_image()))
      : instrument(std::move(unit)) {
    EXPECT_TRUE(instrument.open(serial, ui));
  }

  QLineEdit* edit(const char* name) { return window.findChild<QLineEdit*>(name); }
  std::string text(const char* name) { return edit(name)->text().toStdString(); }
  emu::Instrument unit() { return instrument.emulator().instrument(); }
  std::string last_message() const { return ui.messages().empty() ? "" : ui.messages().back().text; }

  ConfigState config;
  SerialState serial;
  DialogDefault config_dialog = DialogDefaults::in_folder(".").config;
  ScriptedUi ui;
  TForm3 window{{config, serial, config_dialog}, ui};
  test::EmulatorFixture instrument;
};

TEST_F(ConfigureWindowTest, ReadConfigFillsTheWindow) {
  bool locked_while_reading = true;
  ui.on_pump = [&] { locked_while_reading &= !window.findChild<QWidget*>("BitBtn6")->isEnabled(); };
  window.get_config_data();
  EXPECT_TRUE(locked_while_reading);
  EXPECT_TRUE(window.findChild<QWidget*>("BitBtn6")->isEnabled());
  EXPECT_EQ(last_message(), config::exchange_text::kDownloaded);
  EXPECT_EQ(ui.messages().back().kind, MsgKind::Information);
  EXPECT_EQ(text("veh_weight"), "750");
  EXPECT_EQ(text("odometer_value"), "12345");
  EXPECT_EQ(text("shift_value_peak"), "7000");
  EXPECT_EQ(text("Edit1"), "3");
  EXPECT_EQ(text("Edit2"), "19");
  EXPECT_EQ(config.config_image, instrument_image());
}

class SevenGearInstrumentTest : public ConfigureWindowTest {
 protected:
  static ConfigBytes seven_gears() {
    ConfigBytes image = kFreshImage;
    image[50] = 0x72;
    return image;
  }
  SevenGearInstrumentTest() : ConfigureWindowTest(unit_with(seven_gears(), 29)) {}
};

TEST_F(SevenGearInstrumentTest, ReadOfSevenGearsAsksToCheckRanges) {
  window.get_config_data();
  EXPECT_EQ(last_message(), config::exchange_text::kDownloadedCheck);
  EXPECT_EQ(text("num_gear_value"), "6");
  EXPECT_EQ(text("Edit2"), "29");
}

// A blank instrument holds 0xFF in every byte.
class BlankInstrumentTest : public ConfigureWindowTest {
 protected:
  static ConfigBytes all_ones() {
    ConfigBytes image;
    image.fill(0xFF);
    return image;
  }
  BlankInstrumentTest() : ConfigureWindowTest(unit_with(all_ones())) {}
  bool red(const char* name) { return edit(name)->palette().color(QPalette::Base) == QColor(Qt::red); }
};

TEST_F(BlankInstrumentTest, OutOfRangeValuesAreShownWholeAndRed) {
  window.get_config_data();
  EXPECT_EQ(last_message(), config::exchange_text::kDownloadedCheck);
  const std::pair<const char*, const char*> shown[] = {
      {"speedo_cal_value", "65535"}, {"gear_cal_value", "65535"}, {"veh_weight", "65535"},
      {"split_1_distance", "65535"}, {"fuel_level_value", "255"},  {"display_brightness", "255"},
      {"pulses_engine_cycle", "15"}, {"shift_value_delta", "25500"}, {"odometer_value", "65535"},
  };
  for (const auto& [name, value] : shown) EXPECT_EQ(text(name), value) << name;
  for (const char* name : {"speedo_cal_value", "fuel_level_value", "display_brightness", "pulses_engine_cycle",
                           "shift_value_delta"}) {
    EXPECT_TRUE(red(name)) << name;
  }

  // Typing is still held to the field's length: it can shorten a long value
  // but never lengthen it, and a fresh entry stops at the limit.
  QLineEdit* speedo = edit("speedo_cal_value");
  speedo->end(false);
  QTest::keyClicks(speedo, "7");
  EXPECT_EQ(text("speedo_cal_value"), "65535");
  QTest::keyClick(speedo, Qt::Key_Backspace);
  QTest::keyClicks(speedo, "7");
  EXPECT_EQ(text("speedo_cal_value"), "6553");
  speedo->selectAll();
  QTest::keyClicks(speedo, "123456");
  EXPECT_EQ(text("speedo_cal_value"), "1234");
  EXPECT_FALSE(red("speedo_cal_value"));
  QTest::keyClicks(edit("display_brightness"), "5");  // a one-digit field: the digit replaces it
  EXPECT_EQ(text("display_brightness"), "5");
}

// What the window shows while the message that closes a read or load is up.
struct ShownAtMessage {
  std::string message, speedo, version;
  bool speedo_red = false, unlocked = false;
};

TEST_F(BlankInstrumentTest, ReadAndLoadShowTheNewImageBeforeTheirMessage) {
  ShownAtMessage seen;
  ui.on_message = [&](const RecordedMessage& message) {
    seen = {message.text, text("speedo_cal_value"), text("Edit2"), red("speedo_cal_value"),
            window.findChild<QWidget*>("BitBtn3")->isEnabled()};
  };
  window.get_config_data();
  EXPECT_EQ(seen.message, config::exchange_text::kDownloadedCheck);
  EXPECT_EQ(seen.speedo, "65535");
  EXPECT_TRUE(seen.speedo_red);
  EXPECT_EQ(seen.version, "19");
  EXPECT_TRUE(seen.unlocked);

  // A file with the speedo factor 0x07D0 = 2000 and the gear count 7.
  test::TempDir dir;
  std::string lines;
  for (int offset = 0; offset < 52; ++offset) lines += offset == 19 ? "D0\r\n" : offset == 20 ? "07\r\n" : "FF\r\n";
  test::write_file(dir.file("blank.kvc"), lines);
  ui.queue_file(dir.file("blank.kvc"));
  window.load_config_data();
  EXPECT_EQ(seen.message, config::file_text::kLoadedCheck);
  EXPECT_EQ(seen.speedo, "2000");
  EXPECT_FALSE(seen.speedo_red);
  EXPECT_EQ(seen.version, "");  // a load clears the version
  EXPECT_TRUE(seen.unlocked);
}

TEST_F(ConfigureWindowTest, WriteConfigWithoutPasswordSkipsOdometerAndCarriedWords) {
  edit("veh_weight")->selectAll();
  QTest::keyClicks(edit("veh_weight"), "1200");
  window.set_config_data();
  EXPECT_EQ(last_message(), link_text::kConfigUploaded);

  const auto traffic = instrument.emulator().traffic();
  EXPECT_EQ(traffic.commands.at('w'), 43);
  for (std::uint8_t address : traffic.written_addresses) {
    EXPECT_TRUE(address != 204 && !(address >= 217 && address <= 222) && address != 229 && address != 230)
        << int(address);
  }
  const auto held = unit().config;
  const ConfigBytes sent = config.config_image;
  for (std::size_t offset = 1; offset < 52; ++offset) {
    const bool kept = (offset >= 13 && offset <= 18) || offset == 25 || offset == 26;
    EXPECT_EQ(held[offset], kept ? instrument_image()[offset] : sent[offset]) << offset;
  }
  EXPECT_EQ(held[3] | held[4] << 8, 1200);
  EXPECT_EQ(held[0], 0x99);
}

TEST_F(ConfigureWindowTest, WriteConfigWithPasswordWritesTheOdometer) {
  window.check_password(true);
  ASSERT_TRUE(window.password_dialog().isVisible());
  EXPECT_FALSE(window.isEnabled());
  auto* entry = window.password_dialog().findChild<QLineEdit*>("MaskEdit1");
  QTest::keyClicks(entry, config::kOdometerPassword);
  window.password_dialog().check_password();
  EXPECT_TRUE(window.isEnabled());
  EXPECT_FALSE(edit("odometer_value")->isReadOnly());
  EXPECT_TRUE(window.findChild<QCheckBox*>("CheckBox1")->isChecked());

  edit("odometer_value")->selectAll();
  QTest::keyClicks(edit("odometer_value"), "777");
  window.set_config_data();
  EXPECT_EQ(last_message(), link_text::kConfigUploaded);
  EXPECT_EQ(instrument.emulator().traffic().commands.at('w'), 45);
  EXPECT_EQ(unit().config[25] | unit().config[26] << 8, 777);
}

TEST_F(ConfigureWindowTest, RefusedAcknowledgementStopsTheWrite) {
  instrument.emulator().update([](emu::Instrument& i) { i.faults.nack_address = 0xE0; });
  window.set_config_data();
  ASSERT_FALSE(ui.messages().empty());
  EXPECT_EQ(last_message(), link_text::kPacketProblem);
  EXPECT_EQ(ui.messages().back().kind, MsgKind::Error);
  EXPECT_EQ(ui.messages().back().buttons, kOk | kCancel);
  EXPECT_EQ(instrument.emulator().traffic().written_addresses.back(), 0xE0);
}

TEST_F(ConfigureWindowTest, InstrumentFallingSilentStopsTheWrite) {
  ui.on_pump = [this] { instrument.emulator().update([](emu::Instrument& i) { i.faults.silent = true; }); };
  window.set_config_data();
  EXPECT_EQ(last_message(), link_text::kPacketProblem);
}

TEST_F(ConfigureWindowTest, OutOfRangeFieldBlocksTheWriteBeforeAnyTraffic) {
  edit("speedo_cal_value")->selectAll();
  QTest::keyClick(edit("speedo_cal_value"), Qt::Key_Backspace);
  EXPECT_EQ(text("speedo_cal_value"), "0");  // refilled at once
  edit("veh_weight")->end(false);
  QTest::keyClick(edit("veh_weight"), Qt::Key_Backspace);
  QTest::keyClicks(edit("veh_weight"), "12");
  EXPECT_EQ(text("veh_weight"), "12");  // the refilled 0 is replaced, not followed
  window.set_config_data();
  EXPECT_EQ(ui.texts(), std::vector<std::string>{config::exchange_text::kNotInRange});
  EXPECT_EQ(instrument.emulator().traffic().commands.count('p'), 0u);
}

class OldInstrumentTest : public ConfigureWindowTest, public ::testing::WithParamInterface<int> {
 protected:
  OldInstrumentTest() : ConfigureWindowTest(unit_with(instrument_image(), static_cast<std::uint8_t>(GetParam()))) {}
};

TEST_P(OldInstrumentTest, VersionOutsideTheWindowIsRefused) {
  const ConfigBytes before = config.config_image;
  window.get_config_data();
  window.set_config_data();
  ASSERT_EQ(ui.messages().size(), 2u);
  for (const auto& message : ui.messages()) {
    EXPECT_EQ(message.text, link_text::kConfigVersion);
    EXPECT_EQ(message.buttons, kAbort);
  }
  EXPECT_EQ(config.config_image, before);
  EXPECT_EQ(instrument.emulator().traffic().commands.count('w'), 0u);
}

INSTANTIATE_TEST_SUITE_P(Versions, OldInstrumentTest, ::testing::Values(18, 30));

TEST_F(ConfigureWindowTest, WrongPasswordAndClosedDialogUntickFactorySet) {
  auto* factory = window.findChild<QCheckBox*>("CheckBox1");
  TForm12& dialog = window.password_dialog();
  auto* entry = dialog.findChild<QLineEdit*>("MaskEdit1");
  EXPECT_EQ(entry->maxLength(), 8);
  EXPECT_EQ(entry->echoMode(), QLineEdit::Password);

  factory->click();
  ASSERT_TRUE(dialog.isVisible());
  QTest::keyClicks(entry, "Tarnip");
  dialog.check_password();
  EXPECT_EQ(last_message(), config::password_text::kIncorrect);
  EXPECT_EQ(ui.messages().back().kind, MsgKind::Error);
  EXPECT_FALSE(factory->isChecked());
  EXPECT_TRUE(edit("odometer_value")->isReadOnly());
  EXPECT_FALSE(config.odometer_write_enabled);
  EXPECT_TRUE(window.isEnabled());

  window.check_password(true);
  dialog.close();
  EXPECT_FALSE(factory->isChecked());
  EXPECT_TRUE(window.isEnabled());
  EXPECT_EQ(ui.messages().size(), 1u);

  // A correct password, then a later visit to the dialog that is closed,
  // takes the permission away again.
  window.check_password(true);
  QTest::keyClicks(entry, "tarnip");
  dialog.check_password();
  EXPECT_EQ(last_message(), config::password_text::kEnabled);
  window.check_password(true);
  dialog.close();
  EXPECT_FALSE(config.odometer_write_enabled);
  EXPECT_TRUE(edit("odometer_value")->isReadOnly());
}

TEST_F(ConfigureWindowTest, TypingIntoTheFields) {
  QLineEdit* gears = edit("num_gear_value");
  QTest::keyClicks(gears, "7");
  EXPECT_EQ(gears->text(), "6");
  EXPECT_EQ(gears->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
  QTest::keyClicks(gears, "x1");
  EXPECT_EQ(gears->text(), "2");
  QTest::keyClicks(gears, "4");
  EXPECT_EQ(edit("gear_5_value")->palette().color(QPalette::Base), QColor(180, 180, 180));
  EXPECT_EQ(edit("gear_4_value")->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));

  QLineEdit* ratio = edit("gear_1_value");
  ratio->selectAll();
  QTest::keyClicks(ratio, "41");
  EXPECT_EQ(ratio->displayText(), "4.100");
  window.setup_configure_form();
  EXPECT_EQ(config.config_image[48] | config.config_image[49] << 8, 4100);

  QLineEdit* peak = edit("shift_value_peak");
  peak->selectAll();
  QTest::keyClicks(peak, "2000");
  EXPECT_EQ(peak->palette().color(QPalette::Base), QColor(Qt::red));
  peak->selectAll();
  peak->insert("12a");  // pasted past the key filter
  emit peak->textEdited(peak->text());
  EXPECT_EQ(peak->palette().color(QPalette::Base), QColor(Qt::red));
  EXPECT_TRUE(config.config_range_error);
}

TEST_F(ConfigureWindowTest, DisplaysFollowTheFields) {
  QLineEdit* start = edit("accel_start_speed");
  start->selectAll();
  QTest::keyClicks(start, "60");
  EXPECT_EQ(window.findChild<QLabel*>("accel_text")->text(), "?? Start == Stop ??");
  for (const char* name : {"split_1_distance", "split_2_distance", "split_3_distance"}) {
    edit(name)->selectAll();
    QTest::keyClicks(edit(name), "0");
  }
  EXPECT_EQ(window.findChild<QLabel*>("split_text")->text(), "Split 1 distance = 0 which disables the option");
  window.set_config_data();  // neither blocks a write
  EXPECT_EQ(last_message(), link_text::kConfigUploaded);
}

TEST_F(ConfigureWindowTest, PortThatCannotOpenClearsTheSelection) {
  window.change_serial_port(2);
  EXPECT_EQ(last_message(), "Cannot Open COM Port 3");
  EXPECT_EQ(serial.port_open, 0);
  window.get_config_data();
  EXPECT_EQ(last_message(), link_text::kSelectPort);
  EXPECT_EQ(ui.messages().back().kind, MsgKind::Warning);
}

TEST_F(ConfigureWindowTest, NavigationSignals) {
  int menu = 0, help = 0, exits = 0;
  QObject::connect(&window, &TForm3::mainMenuRequested, [&] { ++menu; });
  QObject::connect(&window, &TForm3::helpRequested, [&] { ++help; });
  QObject::connect(&window, &TForm3::programExitRequested, [&] { ++exits; });
  window.show();
  QTest::mouseClick(window.findChild<QWidget*>("BitBtn7"), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  window.show();
  QTest::mouseClick(window.findChild<QWidget*>("BitBtn1"), Qt::LeftButton);
  window.show();
  window.close();
  EXPECT_EQ(std::make_tuple(menu, help, exits), std::make_tuple(1, 1, 1));
  EXPECT_EQ(window.windowTitle(), "Configuration");
}

}  // namespace
}  // namespace kv
