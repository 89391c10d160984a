#include <algorithm>

#include "logdata/decoder.h"

namespace kv {
namespace {

constexpr int kMinWindow = 5;
constexpr int kMaxWindow = 25;
constexpr long kHeldStart = 11;  // slow channels hold their first reading from here
constexpr int kSlowWindow = 25;
constexpr int kFastWindow = 15;

}  // namespace

std::optional<std::string> PolynomialSmooth(const TVector* source, long first, long last, int window,
                                            TVector* destination) {
  if (source == nullptr || destination == nullptr) {
    return "PolynomialSmooth: either SourceVec or DestVec is undefined";
  }
  const long length = source->NrOfElem();
  first = std::clamp(first, 1L, std::max(length, 1L));
  last = std::clamp(last, 1L, std::max(length, 1L));
  if (first > last) std::swap(first, last);
  if (length < 1 || last - first < window) {
    return "PolynomialSmooth: specified range for smoothing is smaller than the length of the polynomial";
  }
  if (window < kMinWindow || window > kMaxWindow) return "PolynomialSmooth: length of polynomial is out of range";
  if (window % 2 == 0) return "PolynomialSmooth: length of polynomial must be odd";

  const long count = last - first + 1;
  if (destination->NrOfElem() < count) destination->setNrOfElem(count);
  // The published quadratic smoothing weights: c_j = 3m^2 + 3m - 1 - 5j^2.
  const long m = window / 2;
  double weight[kMaxWindow / 2 + 1];
  for (long j = 0; j <= m; ++j) weight[j] = static_cast<double>(3 * m * m + 3 * m - 1 - 5 * j * j);
  const double normaliser = static_cast<double>((2 * m + 3) * (2 * m + 1) * (2 * m - 1) / 3);

  // Element k of a vector lives at data()[k - 1]. Source values are read
  // afresh for every window: when source and destination are one array the
  // left half of each window already holds smoothed values.
  const double* x = source->data();
  double* y = destination->data();
  auto at = [](long k) { return static_cast<std::size_t>(k - 1); };
  for (long d = first + m; d <= last - m; ++d) {
    double sum = weight[0] * x[at(d)];
    for (long j = 1; j <= m; ++j) sum += weight[j] * (x[at(d - j)] + x[at(d + j)]);
    y[at(d - first + 1)] = sum / normaliser;
  }
  for (long k = 1; k <= m; ++k) y[at(k)] = y[at(m + 1)];
  for (long k = count - m + 1; k <= count; ++k) y[at(k)] = y[at(count - m)];
  return std::nullopt;
}

void smooth_data_packets(Dataset& d, long samples) {
  for (TVector* ch : {&d.ch_water_temp, &d.ch_oil_temp, &d.ch_fuel, &d.ch_battery}) {
    const double start = ch->get(kHeldStart);
    for (long i = 1; i <= kHeldStart; ++i) ch->set(i, start);
  }
  // A slow channel that no packet has sized may be shorter than the log; it
  // is then left as it is.
  const std::pair<TVector*, int> passes[] = {
      {&d.ch_water_temp, kSlowWindow}, {&d.ch_oil_temp, kSlowWindow}, {&d.ch_oil_pressure, kSlowWindow},
      {&d.ch_rpm, kFastWindow},        {&d.ch_speed, kFastWindow},    {&d.ch_battery, kSlowWindow},
      {&d.ch_fuel, kSlowWindow}};
  for (const auto& [ch, window] : passes) PolynomialSmooth(ch, 1, samples, window, ch);

  for (const auto& [ch, window] : passes) {
    for (long i = 1; i <= samples; ++i) {
      if (ch->get(i) < 0) ch->set(i, 0);
    }
  }
}

}  // namespace kv
