// The summaries' helper thread: batches of jobs shared between the thread
// that needs their results and the helper. Run under a thread sanitizer as
// well, these show data races the picture tests cannot.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "chart/helper_thread.h"

namespace kv::chart {
namespace {

// Each job counts its runs and writes a result the caller reads back.
struct Squares : JobBatch {
  explicit Squares(std::size_t n) : runs(n), result(n, 0), work(n, 0) {}
  void run(std::size_t job) override {
    runs[job].fetch_add(1, std::memory_order_relaxed);
    // Uneven work, so that both threads take part and finish out of order.
    std::size_t sum = 0;
    for (std::size_t i = 0; i < 2000 * (job % 7 + 1); ++i) sum += i % (job + 2);
    work[job] = sum;
    result[job] = job * job;
  }
  std::vector<std::atomic<int>> runs;
  std::vector<std::size_t> result;
  std::vector<std::size_t> work;
};

TEST(HelperThread, EveryJobRunsOnceAndItsResultIsSeenByTheThreadThatNeedsIt) {
  HelperThread helper;
  for (std::size_t n : {0u, 1u, 2u, 3u, 17u, 64u, 5u, 200u, 2u}) {
    for (int repeat = 0; repeat < 20; ++repeat) {
      Squares batch(n);
      helper.start(batch, n);
      EXPECT_EQ(helper.busy(), n > 0);
      // The last job first, as a picture may need a late run's summary
      // before its helper has reached it.
      for (std::size_t job = n; job-- > 0;) {
        helper.need(job);
        EXPECT_EQ(batch.result[job], job * job) << n << " jobs, job " << job;
      }
      helper.finish();
      EXPECT_FALSE(helper.busy());
      for (std::size_t job = 0; job < n; ++job) EXPECT_EQ(batch.runs[job].load(), 1) << n << " jobs, job " << job;
    }
  }
  // A batch left unfinished is finished before the helper goes.
  auto last = std::make_unique<Squares>(50);
  {
    HelperThread leaving;
    leaving.start(*last, 50);
  }
  for (std::size_t job = 0; job < 50; ++job) EXPECT_EQ(last->runs[job].load(), 1);
}

// A job that throws (memory running out while a summary is built) must
// neither end the program on the helper thread nor leave finish() waiting
// for it: whoever needs that job gets the exception, the others run.
struct Throwing : JobBatch {
  explicit Throwing(std::size_t n) : runs(n) {}
  void run(std::size_t job) override {
    runs[job].fetch_add(1, std::memory_order_relaxed);
    if (job % 4 == 1) throw std::runtime_error("no memory for job " + std::to_string(job));
  }
  std::vector<std::atomic<int>> runs;
};

TEST(HelperThread, AJobThatThrowsReachesTheThreadThatNeedsItAndTheBatchStillEnds) {
  HelperThread helper;
  for (int repeat = 0; repeat < 50; ++repeat) {
    Throwing batch(12);
    helper.start(batch, 12);
    helper.need(0);
    EXPECT_THROW(helper.need(5), std::runtime_error);
    helper.finish();
    for (std::size_t job = 0; job < 12; ++job) EXPECT_EQ(batch.runs[job].load(), 1) << job;
    Squares next(8);
    helper.start(next, 8);
    helper.need(7);
    EXPECT_EQ(next.result[7], 49u);
    helper.finish();
  }
}

}  // namespace
}  // namespace kv::chart
