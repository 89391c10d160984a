#include "ui/controls_lock.h"

namespace kv {

ControlsLock::ControlsLock(const std::vector<QWidget*>& controls) {
  for (QWidget* control : controls) {
    if (control == nullptr || !control->isEnabled()) continue;
    control->setEnabled(false);
    disabled_.emplace_back(control);
  }
}

ControlsLock::~ControlsLock() {
  for (const auto& control : disabled_) {
    if (control) control->setEnabled(true);
  }
}

}  // namespace kv
