#include "chart/scale_props.h"

namespace kv::chart {

void TScaleProps::set_range(double low, double high) {
  low_ = low;
  high_ = high;
  notify();
}

}  // namespace kv::chart
