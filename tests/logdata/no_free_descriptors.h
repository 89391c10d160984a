#pragma once
// Makes every file open fail, whoever runs the test (root included): while
// the guard lives, the process may hold no more descriptors than it already
// does. Looking a file up (stat) still works, so a file can exist and yet be
// impossible to open. The sanitizers' type checks need descriptors the first
// time they meet a type, so run the operation once before taking them away.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace kv::test {

class NoFreeDescriptors {
 public:
  NoFreeDescriptors() {
    ::getrlimit(RLIMIT_NOFILE, &saved_);
    // A new descriptor takes the lowest free number, so every number below
    // it is in use.
    const int lowest_free = ::open("/", O_RDONLY | O_CLOEXEC);
    if (lowest_free >= 0) ::close(lowest_free);
    rlimit none = saved_;
    none.rlim_cur = static_cast<rlim_t>(lowest_free < 0 ? 0 : lowest_free);
    ::setrlimit(RLIMIT_NOFILE, &none);
  }
  ~NoFreeDescriptors() { ::setrlimit(RLIMIT_NOFILE, &saved_); }
  NoFreeDescriptors(const NoFreeDescriptors&) = delete;
  NoFreeDescriptors& operator=(const NoFreeDescriptors&) = delete;

 private:
  rlimit saved_{};
};

}  // namespace kv::test
