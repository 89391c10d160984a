#include "chart/helper_thread.h"

namespace kv::chart {

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
  for (std::size_t j = 0; j < count; ++j) done_[j].store(0, std::memory_order_relaxed);
  next_.store(0, std::memory_order_relaxed);
  batch_ = &batch;
  count_ = count;
  static const bool two_cores = std::thread::hardware_concurrency() > 1;
  if (!two_cores || count < 2) return;
  if (!thread_.joinable()) thread_ = std::thread([this] { helper_loop(); });
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
  batch_->run(job);
  done_[job].store(1, std::memory_order_release);
  done_[job].notify_all();
  return true;
}

void HelperThread::need(std::size_t job) {
  if (batch_ == nullptr || job >= count_) return;
  while (done_[job].load(std::memory_order_acquire) == 0)
    if (!claim_and_run()) done_[job].wait(0, std::memory_order_acquire);
}

void HelperThread::finish() {
  if (batch_ == nullptr) return;
  for (std::size_t job = 0; job < count_; ++job) need(job);
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
