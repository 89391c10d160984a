#pragma once
// A window test's way to reach a control by its object name: a missing
// control fails the test where it is asked for, not at a null dereference.
#include <gtest/gtest.h>

#include <QObject>

namespace kv::test {

template <typename T>
T* find_child(const QObject& parent, const char* name) {
  auto* child = parent.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

}  // namespace kv::test
