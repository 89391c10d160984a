// The item store across the sizes where it leaves the heap for its own
// mapping and grows that mapping. Built twice: with the system's page
// remapping and with the portable copying that other systems use.
#include <gtest/gtest.h>

#include <limits>
#include <new>
#include <vector>

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

bool same_item(const ChartItem& a, const ChartItem& b) {
  return a.x == b.x && a.y == b.y && a.style == b.style && a.kind == b.kind && a.layer == b.layer &&
         a.mark_type == b.mark_type;
}

// A curve added from two arrays holds what as many single adds hold, joins
// a run of the same items before it, and a refill of the same size takes
// no more memory.
TEST(ItemStore, CurveFromArraysHoldsWhatSingleAddsHold) {
  const std::vector<double> x{0.5, 1.5, 2.5, -4.0};
  const std::vector<double> y{10, -20, 0.1, 7};
  const ChartItem draw{0, 0, 3, ItemKind::DrawTo, 2, 0};
  const ChartItem mark{0, 0, 3, ItemKind::Mark, 2, 0};
  ItemStore bulk, single;
  for (ItemStore* s : {&bulk, &single}) s->add({9, 9, 3, ItemKind::MoveTo, 2, 0});
  bulk.add({1, 1, 3, ItemKind::DrawTo, 2, 0});
  bulk.add_samples(draw, x.data(), y.data(), x.size(), 0.25, 3.0);
  bulk.add_samples(mark, x.data(), y.data(), x.size(), 0.0, -1.0);
  bulk.add_samples(mark, x.data(), y.data(), 0, 0.0, 1.0);
  single.add({1, 1, 3, ItemKind::DrawTo, 2, 0});
  for (std::size_t i = 0; i < x.size(); ++i) single.add({x[i] - 0.25, 3.0 * y[i], 3, ItemKind::DrawTo, 2, 0});
  for (std::size_t i = 0; i < x.size(); ++i) single.add({x[i], -1.0 * y[i], 3, ItemKind::Mark, 2, 0});
  ASSERT_EQ(bulk.size(), single.size());
  for (std::size_t i = 0; i < bulk.size(); ++i) EXPECT_TRUE(same_item(bulk[i], single[i])) << i;
  EXPECT_EQ(bulk.runs().size(), 3u);  // move-to, draw-tos, marks

  std::vector<double> long_x(250'000), long_y(250'000, 1.0);
  for (std::size_t i = 0; i < long_x.size(); ++i) long_x[i] = static_cast<double>(i);
  bulk.clear();
  bulk.add_samples(draw, long_x.data(), long_y.data(), long_x.size(), 0, 1);
  const std::size_t capacity = bulk.capacity();
  EXPECT_EQ(capacity % static_cast<std::size_t>(bulk.alloc_size()), 0u);
  bulk.clear();
  bulk.add_samples(draw, long_x.data(), long_y.data(), long_x.size(), 0, 1);
  EXPECT_EQ(bulk.capacity(), capacity);
  EXPECT_EQ(bulk[249'999].x, 249'999.0);
}

// A count no memory could hold is refused before anything is read or
// written, also when adding it to what is stored would wrap round.
TEST(ItemStore, CurveTooLongForTheStoreIsRefusedAndLeavesItAsItWas) {
  ItemStore s;
  s.add({1, 2, 0, ItemKind::MoveTo, 1, 0});
  s.add({3, 4, 0, ItemKind::DrawTo, 1, 0});
  const ChartItem draw{0, 0, 1, ItemKind::DrawTo, 1, 0};
  for (const std::size_t count : {std::numeric_limits<std::size_t>::max() - 1, std::size_t{0xFFFF'FFFF}}) {
    EXPECT_THROW(s.add_samples(draw, nullptr, nullptr, count, 0, 1), std::bad_alloc) << count;
    EXPECT_EQ(s.size(), 2u);
    EXPECT_EQ(s.runs().size(), 2u);
    EXPECT_TRUE(s.curves().empty());
  }
}

// The plot window picks a colour after another; a re-plot starts the table
// afresh with the style in use, so it does not grow with every pick.
TEST(ItemStore, StyleTableStartsAfreshWithTheStyleInUse) {
  ItemStore s;
  for (TColor c = 0; c < 100; ++c) s.style_id({c, TPenStyle::psSolid, 1, 0});
  const ItemStyle in_use{clRed, TPenStyle::psDot, 1, 0};
  s.reset_styles(in_use);
  EXPECT_EQ(s.style_id(in_use), 0u);
  EXPECT_EQ(s.style_id({clBlue, TPenStyle::psSolid, 1, 0}), 1u);
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
