#pragma once
// Draws the display list into a 32-bit image.
//
// RasterSink is the plain way: every item through walk_items(). The fast
// renderer gets the same picture at a cost of pixels rather than samples:
// the list comes in runs (consecutive items of one kind, layer and style,
// between move-tos, marks and style changes); within a run of draw-tos whose X
// only grows (or only shrinks), the points that land in one pixel column
// draw exactly the vertical span between their lowest and highest pixel,
// joined to the neighbouring columns by the segment from the column's last
// point to the next column's first. Column boundaries are found by binary
// search and each column's lowest and highest Y come from a min/max pyramid,
// so a frame costs a few operations per column. A curve added whole from
// arrays brings its pyramid along (the store builds it while copying the
// points in); any other run drawn by columns gets one built at the first
// picture after it was added, by two threads while the picture is drawn,
// each run waiting for its own before it is drawn.
// Solid pens give the identical picture; a dotted run is walked once per
// column instead of once per sample, so its dots fall differently.
#include <array>
#include <cstdint>
#include <vector>

#include "chart/chart_items.h"
#include "chart/chart_mapping.h"
#include "chart/helper_thread.h"
#include "chart/item_walk.h"
#include "chart/pixel_raster.h"

namespace kv::chart {

// Stored colours as drawn: scheme colours as the desktop paints them, or
// black ink on white paper for black-on-white output.
struct InkRule {
  bool mono = false;
  SchemeColors scheme = kStandardScheme;
  TColor ink(TColor c) const { return mono ? clBlack : plain_color(c, scheme); }
  TColor paper(TColor c) const { return mono ? clWhite : plain_color(c, scheme); }
  std::uint32_t argb(TColor c) const { return argb_of(ink(c)); }
};

class RasterSink : public ItemSink {
 public:
  RasterSink(const PixelCanvas& canvas, InkRule ink) : canvas_(canvas), ink_(ink) {}
  void polyline(std::span<const PixelPoint> points, const ItemStyle& style) override;
  void mark(PixelPoint p, const ItemStyle& style, int mark_type) override;

 private:
  PixelCanvas canvas_;
  InkRule ink_;
};

class FastItemRenderer {
 public:
  FastItemRenderer() = default;
  FastItemRenderer(const FastItemRenderer&) = delete;
  FastItemRenderer& operator=(const FastItemRenderer&) = delete;
  ~FastItemRenderer() { finish_summaries(); }

  // Brings the run table up to date with the store (only the items added
  // since the last call are looked at).
  void prepare(const ItemStore& store);
  // Prepares and starts building the summaries the next render() needs,
  // on the helper thread as well, so that they are ready sooner. The store
  // must not change until render() or finish_summaries().
  void start_summaries(const ItemStore& store);
  // Returns once no thread works on the summaries any more.
  void finish_summaries();
  void reset();
  void render(const ItemStore& store, const PixelCanvas& canvas, const std::array<LayerMap, kLayerCount>& maps,
              InkRule ink);
  // What the run table and the summaries hold on to.
  std::size_t memory_bytes() const;

 private:
  // One run of the store, with what drawing it needs.
  struct Piece {
    std::uint32_t begin;
    std::uint32_t end;  // exclusive
    std::uint32_t style;
    ItemKind kind;
    std::uint8_t layer;
    std::uint8_t pen_layer = 1;
    std::int64_t pen_item = -1;  // item whose point the run starts from
    // A run that may be drawn by columns: its summary among the store's
    // curves, or else among those built here at the first render().
    int curve = -1;
    int summary = -1;
  };
  // Builds the summaries from `base` on, a job each.
  struct SummaryJobs : JobBatch {
    FastItemRenderer* renderer = nullptr;
    const ItemPoint* points = nullptr;
    std::size_t base = 0;
    void run(std::size_t job) override;
  };
  struct RunContext;

  Piece make_piece(const ItemStore& store, std::size_t run);
  // The summary of `piece` once built, or null when it is drawn point by point.
  const RunSummary* summary_of(const ItemStore& store, const Piece& piece);
  void draw_run(const RunContext& rc, const Piece& piece, const RunSummary* summary) const;
  void draw_run_plain(const RunContext& rc, const Piece& piece) const;
  void draw_run_by_columns(const RunContext& rc, const Piece& piece, const RunSummary& summary) const;
  void draw_marks(const RunContext& rc, const Piece& piece) const;

  std::vector<Piece> pieces_;
  std::vector<RunSummary> summaries_;  // the first summary_count_ are in use
  std::size_t summary_count_ = 0;
  std::size_t summaries_built_ = 0;  // summaries_[0 .. summaries_built_) are up to date
  SummaryJobs jobs_;
  HelperThread helper_;
  std::size_t prepared_ = 0;
  std::uint64_t generation_ = 0;
  std::int64_t last_pen_item_ = -1;
  std::uint8_t last_pen_layer_ = 1;
};

}  // namespace kv::chart
