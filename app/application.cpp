#include "app/application.h"

#include <QApplication>
#include <QWidget>
#include <ctime>

#include "analysis/plot_window.h"
#include "app/file_drop.h"
#include "app/main_menu.h"
#include "app/text_windows.h"
#include "calculator/calculator.h"
#include "config/configure_window.h"
#include "library_ui/library_window.h"
#include "library_ui/session_archiver.h"
#include "logdata/download_window.h"
#include "notes/logger_notes.h"

namespace kv {

Application::Application(ProgramState& state, Ui& person)
    : state_(state), ui_(person), library_access_(state.library_folder, ui_) {
  Ui& ui = ui_;
  // The main menu first: the serial port, the datasets and the dialog
  // defaults exist (in the state) before any other window.
  form1_ = std::make_unique<TForm1>(state);
  form2_ = std::make_unique<TForm2>(DownloadWindowState{state.log, state.serial, state.dialogs}, ui);
  form3_ = std::make_unique<TForm3>(ConfigureWindowState{state.config, state.serial, state.dialogs.config}, ui);
  form4_ = std::make_unique<TForm4>(ui);
  form6_ = std::make_unique<TForm6>();
  form7_ = std::make_unique<TForm7>();
  form8_ = std::make_unique<TForm8>();
  form9_ = std::make_unique<TForm9>();
  form11_ = std::make_unique<TForm11>(NotesWindowState{state.log, state.dialogs}, ui);
  // The plot window last: it draws the datasets the others fill.
  form10_ = std::make_unique<TForm10>(
      PlotWindowState{state.log, state.dialogs, state.distance_in_feet, state.config}, ui);
  form13_ = std::make_unique<TForm13>(
      LibraryWindowState{state.log, state.dialogs, state.library_folder, library_access_, state.library_folder_file}, ui_);
  wire_main_menu();
  wire_log_windows();
  wire_configure_and_calculator();
  wire_plot_window();
  wire_file_drops();
  wire_library();
}

Application::~Application() = default;

void Application::start() { form1_->show(); }

void Application::start_with(const StartFiles& files) {
  if (files.log_a || files.log_b) {
    form10_->show();
    if (files.log_a) ui_.load_given(*files.log_a, [this] { form10_->loadDataSetA(); });
    if (files.log_b) ui_.load_given(*files.log_b, [this] { form10_->loadDataSetB(); });
  }
  if (files.config) {
    form3_->show();
    ui_.load_given(*files.config, [this] { form3_->load_config_data(); });
  }
  if (files.setup) {
    form11_->open_for(kDataSetA);
    ui_.load_given(*files.setup, [this] { form11_->load_setup_data(); });
  }
  // Every window may have refused its file; the program still starts.
  const bool any_shown = form10_->isVisible() || form3_->isVisible() || form11_->isVisible();
  if (!any_shown) form1_->show();
}

void Application::wire_main_menu() {
  QObject::connect(form1_.get(), &TForm1::downloadRequested, form2_.get(), &QWidget::show);
  QObject::connect(form1_.get(), &TForm1::configureRequested, form3_.get(), &QWidget::show);
  QObject::connect(form1_.get(), &TForm1::calculatorRequested, form4_.get(), &QWidget::show);
  QObject::connect(form1_.get(), &TForm1::aboutRequested, form6_.get(), &QWidget::show);
  QObject::connect(form6_.get(), &TTextWindow::backRequested, form1_.get(), &QWidget::show);
  QObject::connect(form1_.get(), &TForm1::programEnded, [this] { end_program(); });
}

void Application::wire_log_windows() {
  QObject::connect(form2_.get(), &TForm2::mainMenuRequested, form1_.get(), &QWidget::show);
  QObject::connect(form2_.get(), &TForm2::helpRequested, form7_.get(), &QWidget::show);
  QObject::connect(form7_.get(), &TTextWindow::backRequested, form2_.get(), &QWidget::show);
  QObject::connect(form2_.get(), &TForm2::notesRequested, form11_.get(),
                   [this](std::uint8_t which) { form11_->open_for(which); });
  QObject::connect(form11_.get(), &TForm11::backRequested, form2_.get(), &QWidget::show);
  QObject::connect(form2_.get(), &TForm2::programExitRequested, form1_.get(), &QWidget::close);
}

void Application::wire_configure_and_calculator() {
  QObject::connect(form3_.get(), &TForm3::mainMenuRequested, form1_.get(), &QWidget::show);
  QObject::connect(form3_.get(), &TForm3::helpRequested, form8_.get(), &QWidget::show);
  QObject::connect(form8_.get(), &TTextWindow::backRequested, form3_.get(), &QWidget::show);
  QObject::connect(form3_.get(), &TForm3::programExitRequested, form1_.get(), &QWidget::close);
  QObject::connect(form4_.get(), &TForm4::mainMenuRequested, form1_.get(), &QWidget::show);
  QObject::connect(form4_.get(), &TForm4::helpRequested, form9_.get(), &QWidget::show);
  QObject::connect(form9_.get(), &TTextWindow::backRequested, form4_.get(), &QWidget::show);
  QObject::connect(form4_.get(), &TForm4::programExitRequested, form1_.get(), &QWidget::close);
}

void Application::wire_plot_window() {
  QObject::connect(form2_.get(), &TForm2::viewDataRequested, form10_.get(), [this] {
    form2_->hide();
    form10_->show();
  });
  QObject::connect(form10_.get(), &TForm10::backRequested, form2_.get(), [this] {
    form10_->hide();
    form2_->show();
  });
}

std::string Application::shown_windows() const {
  std::string text;
  for (const QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible()) text += "window: " + window->windowTitle().toStdString() + "\n";
  }
  text += "A: " + state_.log.dataset(kDataSetA).name_text + "\n";
  text += "B: " + state_.log.dataset(kDataSetB).name_text + "\n";
  return text;
}

void Application::wire_file_drops() {
  new LogFileDrop(*form2_, [this](const std::string& path, bool right_half) {
    ui_.load_given(path, [this, right_half] {
      if (right_half) form2_->load_log_dataSetB();
      else form2_->load_log_dataSetA();
    });
  });
  new LogFileDrop(*form10_, [this](const std::string& path, bool right_half) {
    ui_.load_given(path, [this, right_half] {
      if (right_half) form10_->loadDataSetB();
      else form10_->loadDataSetA();
    });
  });
}

void Application::show_library(QWidget* opener) {
  opener->hide();
  library_opener_ = opener;
  form13_->show();
}

void Application::wire_library() {
  QObject::connect(form1_.get(), &TForm1::libraryRequested, form13_.get(), [this] { show_library(form1_.get()); });
  QObject::connect(form2_.get(), &TForm2::libraryRequested, form13_.get(), [this] { show_library(form2_.get()); });
  QObject::connect(form13_.get(), &TForm13::backRequested, form1_.get(), [this] {
    if (library_opener_ != nullptr) library_opener_->show();
  });
  QObject::connect(form13_.get(), &TForm13::sessionOpened, form2_.get(), &TForm2::show_dataset_names);
  // Every download that put pages into a set is kept at once; a library
  // that cannot take it leaves the download in memory, as without one.
  QObject::connect(form2_.get(), &TForm2::downloadKept, form13_.get(), [this](std::uint8_t which) {
    archive_download(library_access_, state_.log.dataset(which), std::time(nullptr));
  });
  // Leaving the notes window is where a set's sheet and notes settle.
  QObject::connect(form11_.get(), &TForm11::backRequested, form13_.get(), [this] {
    for (auto& data : state_.log.datasets) update_library_copy(library_access_, data);
  });
}

void Application::end_program() {
  ended_ = true;
  for (QWidget* window : std::initializer_list<QWidget*>{form2_.get(), form3_.get(), form4_.get(), form6_.get(),
                                                         form7_.get(), form8_.get(), form9_.get(), form11_.get(),
                                                         form10_.get(), form13_.get()}) {
    window->hide();
  }
  QCoreApplication::quit();
}

}  // namespace kv
