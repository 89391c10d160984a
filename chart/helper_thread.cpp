#include "chart/helper_thread.h"

#include <system_error>

namespace kv::chart {

namespace {
constexpr int kPending = 0;
constexpr int kRan = 1;
constexpr int kThrew = 2;
}  // namespace

HelperThread::~HelperThread() {
  finish();
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void HelperThread::start(JobBatch& batch, std::size_t count) {
  finish();
  if (count == 0) return;
  if (done_capacity_ < count) {
    done_ = std::make_unique<std::atomic<int>[]>(count);
    done_capacity_ = count;
  }
  for (std::size_t j = 0; j < count; ++j) done_[j].store(kPending, std::memory_order_relaxed);
  next_.store(0, std::memory_order_relaxed);
  failure_ = nullptr;
  batch_ = &batch;
  count_ = count;
  static const bool two_cores = std::thread::hardware_concurrency() > 1;
  if (!two_cores || count < 2) return;
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread([this] { helper_loop(); });
    } catch (const std::system_error&) {
      return;  // no thread to be had: this one runs every job
    }
  }
  {
    // The lock hands batch_, count_ and the cleared flags to the helper.
    const std::lock_guard lock(mutex_);
    visit_owed_ = true;
  }
  wake_.notify_one();
}

bool HelperThread::claim_and_run() {
  const std::size_t job = next_.fetch_add(1, std::memory_order_relaxed);
  if (job >= count_) return false;
  int outcome = kRan;
  try {
    batch_->run(job);
  } catch (...) {
    // Kept for the thread that needs this job; marking the job done keeps
    // finish() from waiting for it for ever.
    const std::lock_guard lock(mutex_);
    if (!failure_) failure_ = std::current_exception();
    outcome = kThrew;
  }
  done_[job].store(outcome, std::memory_order_release);
  done_[job].notify_all();
  return true;
}

bool HelperThread::wait_for(std::size_t job) {
  int state = kPending;
  while ((state = done_[job].load(std::memory_order_acquire)) == kPending)
    if (!claim_and_run()) done_[job].wait(kPending, std::memory_order_acquire);
  return state == kRan;
}

void HelperThread::need(std::size_t job) {
  if (batch_ == nullptr || job >= count_) return;
  if (wait_for(job)) return;
  const std::lock_guard lock(mutex_);
  std::rethrow_exception(failure_);
}

void HelperThread::finish() {
  if (batch_ == nullptr) return;
  for (std::size_t job = 0; job < count_; ++job) wait_for(job);
  {
    std::unique_lock lock(mutex_);
    visit_owed_ = false;  // a helper that has not woken yet need not come
    idle_.wait(lock, [this] { return !in_batch_; });
  }
  batch_ = nullptr;
  count_ = 0;
}

void HelperThread::helper_loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || visit_owed_; });
    if (stop_) return;
    visit_owed_ = false;
    in_batch_ = true;
    lock.unlock();
    while (claim_and_run()) {
    }
    lock.lock();
    in_batch_ = false;
    idle_.notify_all();
  }
}

}  // namespace kv::chart
