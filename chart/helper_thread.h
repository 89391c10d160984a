#pragma once
// A second thread for batches of independent jobs. The thread that starts a
// batch takes part in it and asks for the jobs in the order it needs their
// results, so a helper that is slow to wake or busy elsewhere only means
// less help: each job runs exactly once, on whichever thread claims it
// first, and what it computes does not depend on which thread that was.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace kv::chart {

class JobBatch {
 public:
  // Called once for each job, from either thread; jobs must not touch each
  // other's data.
  virtual void run(std::size_t job) = 0;

 protected:
  ~JobBatch() = default;
};

class HelperThread {
 public:
  HelperThread() = default;
  ~HelperThread();
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  // Hands out jobs 0 .. count - 1 of `batch`, which must outlive finish().
  // The helper thread is started at the first batch, and never on a
  // machine with one core.
  void start(JobBatch& batch, std::size_t count);
  // Returns once `job` has run, running unclaimed jobs here meanwhile.
  // Throws what a job of the batch threw, should `job` have thrown.
  void need(std::size_t job);
  // Returns once every job has run and the helper has let go of the batch;
  // throws nothing.
  void finish();
  bool busy() const { return batch_ != nullptr; }

 private:
  void helper_loop();
  bool claim_and_run();  // false once every job is claimed
  bool wait_for(std::size_t job);  // false when the job threw

  JobBatch* batch_ = nullptr;
  std::size_t count_ = 0;
  std::atomic<std::size_t> next_{0};
  std::unique_ptr<std::atomic<int>[]> done_;  // 0 until the job has run, 2 if it threw
  std::size_t done_capacity_ = 0;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  bool visit_owed_ = false;  // the helper has not yet looked at this batch
  bool in_batch_ = false;    // the helper may be claiming jobs
  bool stop_ = false;
  std::exception_ptr failure_;  // the first a job of this batch threw
  std::thread thread_;
};

}  // namespace kv::chart
