#pragma once
// Min and max over index ranges of a run's Y values, and whether the run's
// X only grows or only shrinks: what drawing a run by pixel columns needs.
// A pyramid is built either at once over points already stored, or step by
// step while a whole curve is being copied in, from the points just written,
// so that the curve is read from memory only once.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv::chart {

struct ItemPoint {
  double x;
  double y;
};
static_assert(sizeof(ItemPoint) == 16);

// Shorter runs are drawn point by point; a pyramid would not pay.
inline constexpr std::size_t kPyramidMinPoints = 64;

class MinMaxPyramid {
 public:
  struct Bounds {
    double low;
    double high;
  };
  // Entries of a level joined into one entry of the level above.
  static constexpr std::size_t kBlock = 4;
  // Builds every level over the Y values of a run of `n` points and
  // returns +1 / -1 when X never shrinks / never grows, 0 when the pyramid
  // is of no use (X goes both ways, a coordinate is NaN, or the run is
  // shorter than kPyramidMinPoints).
  int build(const ItemPoint* points, std::size_t n);

  // The same in steps: begin(n) once (it may throw std::bad_alloc), take()
  // whenever more of the run's points are written, finish() when all `n`
  // are; `points` is the run's first point each time. The result is that
  // of build() over the same points.
  void begin(std::size_t n);
  void take(const ItemPoint* points, std::size_t ready);
  int finish(const ItemPoint* points);

  Bounds query(const ItemPoint* points, std::size_t first, std::size_t last) const;  // inclusive
  // Starts loading what a query ending near `index` will read.
  void prefetch(std::size_t index) const {
    for (std::size_t k = 0; k < used_; ++k) {
      index /= kBlock;
      if (index < size_[k]) __builtin_prefetch(level(k) + index);
    }
  }
  std::size_t memory_bytes() const { return storage_.capacity() * sizeof(Bounds); }
  // Gives the levels' memory back; the next build takes it again.
  void release() {
    std::vector<Bounds>().swap(storage_);
    used_ = 0;
  }

  // Whether a run's X only grows or only shrinks and its Y holds no NaN,
  // as far as it was read.
  struct Order {
    bool grows = true;
    bool shrinks = true;
    bool numbers = true;
    double prev = 0;

    void take(double x, double y) {
      // Each comparison of a NaN is false, so a NaN X clears both; & rather
      // than && keeps the loop free of branches on the flags.
      grows &= x >= prev;
      shrinks &= x <= prev;
      numbers &= y == y;
      prev = x;
    }
    bool useful() const { return numbers && (grows || shrinks); }
    int direction() const { return !numbers ? 0 : grows ? 1 : shrinks ? -1 : 0; }
  };

 private:
  // Four entries per step up from at most 2^32 items.
  static constexpr std::size_t kMaxLevels = 17;
  const Bounds* level(std::size_t index) const { return storage_.data() + offset_[index]; }

  // All levels one after the other, level 0 (blocks of 4 items) first. It
  // only grows until release(), so that rebuilding after a re-plot
  // allocates nothing.
  std::vector<Bounds> storage_;
  std::array<std::size_t, kMaxLevels> offset_{};
  std::array<std::size_t, kMaxLevels> size_{};
  std::size_t used_ = 0;
  // While building: the run's length, the level-0 entries made so far and
  // the X order of the points they cover.
  std::size_t n_ = 0;
  std::size_t blocks_done_ = 0;
  Order order_;
  bool useful_ = false;
};

// The toolkit's painting code (and, it seems, the system between time
// slices) may leave the upper halves of the wide vector registers in use,
// and on some processors plain SSE code then runs at a fraction of its
// speed until they are cleared. Clearing them costs one instruction where
// the processor has it, so long loops call this every few thousand items.
void leave_wide_vector_state();

// A run's pyramid and X direction, for points begin .. end - 1 of the list.
struct RunSummary {
  MinMaxPyramid pyramid;
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
  int x_direction = 0;  // +1 / -1: X never shrinks / grows; 0: drawn point by point
};

}  // namespace kv::chart
