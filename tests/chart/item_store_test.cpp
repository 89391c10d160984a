// The item store across the sizes where it leaves the heap for its own
// mapping and grows that mapping. Built twice: with the system's page
// remapping and with the portable copying that other systems use.
#include <gtest/gtest.h>

#include "chart/chart_items.h"

namespace kv::chart {
namespace {

ChartItem numbered(std::size_t i) {
  const double v = static_cast<double>(i);
  return ChartItem{v, -v, static_cast<std::uint32_t>(i % 5), static_cast<ItemKind>(i % 3),
                   static_cast<std::uint8_t>(1 + i % kLayerCount), static_cast<std::uint8_t>(i % 7)};
}

bool holds_numbered(const ItemStore& s, std::size_t count) {
  if (s.size() != count) return false;
  for (std::size_t i = 0; i < count; ++i) {
    const ChartItem want = numbered(i);
    const ChartItem& got = s[i];
    if (got.x != want.x || got.y != want.y || got.style != want.style || got.kind != want.kind ||
        got.layer != want.layer || got.mark_type != want.mark_type)
      return false;
  }
  return true;
}

TEST(ItemStore, KeepsEveryItemWhileItsMemoryGrows) {
  // 400,000 items are 9.6 MB: the heap first, then several mapping sizes.
  constexpr std::size_t kCount = 400'000;
  for (const int alloc_size : {1, 1000, kMaxAllocSize}) {
    ItemStore s;
    s.set_alloc_size(alloc_size);
    for (std::size_t i = 0; i < kCount; ++i) s.add(numbered(i));
    EXPECT_TRUE(holds_numbered(s, kCount)) << alloc_size;
    const std::size_t capacity = s.capacity();
    s.clear();
    for (std::size_t i = 0; i < kCount / 2; ++i) s.add(numbered(i));
    EXPECT_TRUE(holds_numbered(s, kCount / 2)) << alloc_size;
    EXPECT_EQ(s.capacity(), capacity);  // refilling reuses the memory
  }
}

TEST(ItemStore, BuildsTheGrowthItWasAskedFor) {
#ifdef KV_ITEM_BUFFER_PORTABLE
  EXPECT_FALSE(ItemBuffer::remaps_in_place());
#elif defined(__linux__)
  EXPECT_TRUE(ItemBuffer::remaps_in_place());
#endif
}

}  // namespace
}  // namespace kv::chart
