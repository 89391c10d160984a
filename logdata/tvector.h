#pragma once
// The program's growable vector of doubles, addressed 1 … NrOfElem. Reads
// outside that range yield 0 and writes there are ignored, so a channel can be
// indexed with any sample number without a bounds check at every caller.
#include <cstddef>
#include <vector>

namespace kv {

class TVector {
 public:
  TVector() = default;
  explicit TVector(long count) { setNrOfElem(count); }

  long NrOfElem() const { return static_cast<long>(elems_.size()); }
  // Same size or below 1: nothing happens. Otherwise old elements keep their
  // values and new ones are 0.
  void setNrOfElem(long count);
  // Drops every element: what setNrOfElem cannot do.
  void clear() { elems_.clear(); }

  double get(long index) const {
    return in_range(index) ? elems_[static_cast<std::size_t>(index - 1)] : 0.0;
  }
  void set(long index, double value) {
    if (in_range(index)) elems_[static_cast<std::size_t>(index - 1)] = value;
  }
  double operator[](long index) const { return get(index); }

  // Contiguous storage of elements 1 … NrOfElem, for bulk readers.
  const double* data() const { return elems_.data(); }
  double* data() { return elems_.data(); }

  bool operator==(const TVector& other) const = default;

 private:
  bool in_range(long index) const { return index >= 1 && index <= NrOfElem(); }
  std::vector<double> elems_;
};

}  // namespace kv
