#pragma once
// What the chart keeps from one picture to the next so that drawing an
// unchanged picture again allocates nothing.
#include "chart/area_paint.h"
#include "chart/margin_cache.h"

namespace kv::chart {

struct PictureCache {
  MarginCache margins;
  GridScratch grid;
};

}  // namespace kv::chart
