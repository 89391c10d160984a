#include "emulator/emulator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>

#include "emulator/protocol_engine.h"
#include "link/port_path.h"

namespace kv::emu {
namespace {

using Clock = std::chrono::steady_clock;

// A byte on the line, delivered once its ten bit times (8N1) have passed.
struct TimedByte {
  Clock::time_point due;
  std::uint8_t value;
};

constexpr int kIdlePollMs = 100;

// The instrument answers within microseconds; on a busy machine the serving
// thread could otherwise wait longer than the program's 50 ms read time-out.
// Raising its priority needs privileges, so a refusal is simply ignored.
void favour_this_thread() {
  constexpr int kHigherPriority = -10;
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kHigherPriority);
}
constexpr int kBitsPerByte = 10;

}  // namespace

struct Emulator::Impl {
  explicit Impl(Instrument initial) : instrument(std::move(initial)) {}
  ~Impl() {
    if (master >= 0) ::close(master);
    if (slave >= 0) ::close(slave);
    if (!link_path.empty()) std::filesystem::remove(link_path, ignored);
  }

  Clock::duration byte_time() const {
    if (instrument.pacing_baud <= 0) return Clock::duration::zero();
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
        static_cast<double>(kBitsPerByte) / instrument.pacing_baud));
  }

  // The line is shared: every byte, in or out, takes its turn on the clock.
  Clock::time_point schedule(Clock::time_point now, Clock::duration each) {
    line_clock = std::max(line_clock, now) + each;
    return line_clock;
  }

  void receive(Clock::time_point now) {
    std::uint8_t buffer[512];
    const ssize_t n = ::read(master, buffer, sizeof buffer);
    if (n <= 0) return;
    std::lock_guard lock(mutex);
    const auto each = byte_time();
    for (ssize_t i = 0; i < n; ++i) incoming.push_back({schedule(now, each), buffer[i]});
  }

  void process_due(Clock::time_point now) {
    std::lock_guard lock(mutex);
    const auto each = byte_time();
    while (!incoming.empty() && incoming.front().due <= now) {
      const auto in = incoming.front();
      incoming.pop_front();
      for (std::uint8_t out : engine.on_byte(in.value, instrument, traffic)) {
        outgoing.push_back({schedule(in.due, each), out});
      }
    }
  }

  void send_due(Clock::time_point now) {
    std::uint8_t buffer[4096];
    std::size_t count = 0;
    {
      std::lock_guard lock(mutex);
      while (count < sizeof buffer && count < outgoing.size() && outgoing[count].due <= now) {
        buffer[count] = outgoing[count].value;
        ++count;
      }
    }
    if (count == 0) return;
    const ssize_t n = ::write(master, buffer, count);
    // A full pseudo-terminal (nobody reading) must not turn the loop into a
    // busy wait: wait for room instead of for the due time.
    output_blocked = n <= 0;
    if (n <= 0) return;
    std::lock_guard lock(mutex);
    outgoing.erase(outgoing.begin(), outgoing.begin() + n);
  }

  // How long to wait for input before the next queued byte falls due.
  timespec poll_timeout(Clock::time_point now) {
    std::lock_guard lock(mutex);
    Clock::duration wait = std::chrono::milliseconds(kIdlePollMs);
    if (!incoming.empty()) wait = std::min(wait, incoming.front().due - now);
    if (!outgoing.empty() && !output_blocked) wait = std::min(wait, outgoing.front().due - now);
    const auto ns = std::max<long long>(0, std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count());
    return timespec{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
  }

  bool has_output() {
    std::lock_guard lock(mutex);
    return !outgoing.empty() && outgoing.front().due <= Clock::now();
  }

  // One turn of the serving loop: wait for input or for the next due byte.
  void serve_once() {
    const auto now = Clock::now();
    pollfd fd{master, static_cast<short>(POLLIN | (has_output() ? POLLOUT : 0)), 0};
    const timespec timeout = poll_timeout(now);
    ::ppoll(&fd, 1, &timeout, nullptr);
    const auto after = Clock::now();
    if (fd.revents & POLLOUT) output_blocked = false;
    if (fd.revents & POLLIN) receive(after);
    process_due(after);
    send_due(after);
  }

  mutable std::mutex mutex;
  Instrument instrument;
  Traffic traffic;
  ProtocolEngine engine;
  std::deque<TimedByte> incoming;
  std::deque<TimedByte> outgoing;
  bool output_blocked = false;
  Clock::time_point line_clock{};

  int master = -1;
  int slave = -1;
  std::string slave_path;
  std::filesystem::path link_path;
  std::string link_error;
  std::error_code ignored;
  std::atomic<bool> running{false};
  std::thread thread;
};

Emulator::Emulator(Instrument instrument) : impl_(std::make_unique<Impl>(std::move(instrument))) {}

Emulator::~Emulator() { stop(); }

bool Emulator::open() {
  if (impl_->master >= 0) return true;
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0) return false;
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    ::close(master);
    return false;
  }
  const char* name = ::ptsname(master);
  if (name == nullptr) {
    ::close(master);
    return false;
  }
  impl_->slave_path = name;
  // Holding the slave open keeps the master readable while the program has
  // the port closed, and raw mode stops the line discipline from echoing.
  const int slave = ::open(name, O_RDWR | O_NOCTTY);
  if (slave < 0) {
    ::close(master);
    return false;
  }
  termios tio{};
  ::tcgetattr(slave, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(slave, TCSANOW, &tio);
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  impl_->master = master;
  impl_->slave = slave;
  return true;
}

std::string Emulator::device_path() const { return impl_->slave_path; }

std::string Emulator::link_error() const { return impl_->link_error; }

bool Emulator::link_as_com(int port_number) {
  if (!open()) return false;
  const std::string folder_name = emulator_link_folder();
  const std::filesystem::path folder = folder_name;
  std::error_code ec;
  std::filesystem::create_directories(folder.parent_path(), ec);
  // Private from the start: the program trusts no folder others may write to.
  if (::mkdir(folder_name.c_str(), 0700) != 0 && errno != EEXIST) return false;
  if (const auto problem = link_folder_problem(folder_name, ::geteuid())) {
    impl_->link_error = "the folder " + folder_name + ": " + *problem;
    return false;
  }
  const auto link = folder / ("COM" + std::to_string(port_number));
  std::filesystem::remove(link, ec);
  std::filesystem::create_symlink(impl_->slave_path, link, ec);
  if (ec) return false;
  impl_->link_path = link;
  return true;
}

void Emulator::start() {
  if (impl_->running || !open()) return;
  impl_->running = true;
  impl_->thread = std::thread([this] {
    // Paced bytes are due every few dozen microseconds; the default timer
    // slack would make each wait late.
    ::prctl(PR_SET_TIMERSLACK, 1000UL);
    favour_this_thread();
    while (impl_->running) impl_->serve_once();
  });
}

void Emulator::stop() {
  impl_->running = false;
  if (impl_->thread.joinable()) impl_->thread.join();
}

void Emulator::serve(const std::function<bool()>& keep_going) {
  if (!open()) return;
  ::prctl(PR_SET_TIMERSLACK, 1000UL);
  while (keep_going()) impl_->serve_once();
}

Instrument Emulator::instrument() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->instrument;
}

void Emulator::update(const std::function<void(Instrument&)>& change) {
  std::lock_guard lock(impl_->mutex);
  change(impl_->instrument);
}

Traffic Emulator::traffic() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->traffic;
}

void Emulator::reset_traffic() {
  std::lock_guard lock(impl_->mutex);
  impl_->traffic = {};
}

}  // namespace kv::emu
