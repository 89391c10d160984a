#pragma once
// The about window and the three help windows: a read-only text and a "Back"
// button that returns to the window they were opened from.
#include <QWidget>

#include "app/help_texts.h"

class QLabel;
class QPlainTextEdit;

namespace kv {

// A read-only text with "Back"; Back and the close box both hide it and ask
// for its parent to be shown.
class TTextWindow : public QWidget {
  Q_OBJECT
 public:
  TTextWindow(const char* name, const char* caption, const TextLines& text, QSize size, QWidget* parent = nullptr);
  QPlainTextEdit* memo() const { return memo_; }
  void go_back();

 signals:
  void backRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  QPlainTextEdit* memo_;
};

class TForm7 : public TTextWindow {  // "Log Download Help"
  Q_OBJECT
 public:
  explicit TForm7(QWidget* parent = nullptr);
};

class TForm8 : public TTextWindow {  // "Setup Help"
  Q_OBJECT
 public:
  explicit TForm8(QWidget* parent = nullptr);
};

class TForm9 : public TTextWindow {  // "Calcultor Help"
  Q_OBJECT
 public:
  explicit TForm9(QWidget* parent = nullptr);
};

// "About Korvanta Tools": the about text, a compatibility notice and the
// version.
class TForm6 : public TTextWindow {
  Q_OBJECT
 public:
  explicit TForm6(QWidget* parent = nullptr);
  void setup_form6();
  QString version_caption() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* version_label_;
};

}  // namespace kv
