#pragma once
// Disables a window's controls while an operation pumps the message loop, so
// a second press cannot start another operation half way through the first.
#include <QPointer>
#include <QWidget>
#include <vector>

namespace kv {

class ControlsLock {
 public:
  explicit ControlsLock(const std::vector<QWidget*>& controls);
  ~ControlsLock();
  ControlsLock(const ControlsLock&) = delete;
  ControlsLock& operator=(const ControlsLock&) = delete;

 private:
  std::vector<QPointer<QWidget>> disabled_;
};

}  // namespace kv
