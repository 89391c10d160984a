#pragma once
// The twenty text boxes a user pins onto the plot, and `label_count`, the
// index of the next one to place (1 … 21). The window copies the labels onto
// the chart's text labels after every change and draws only the visible ones.
#include <array>
#include <string>
#include <vector>

#include "analysis/plot_files/lab_format.h"
#include "ui/ui.h"

namespace kv::plot_files {

// A parked label sits at -1, -1 with no caption and is not drawn.
struct PlotLabel {
  double x = -1;
  double y = -1;
  std::string caption;  // UTF-8, lines separated by line feeds
  bool parked() const { return x == -1 && y == -1 && caption.empty(); }
  bool operator==(const PlotLabel&) const = default;
};

inline constexpr int kFirstLabel = 1;
inline constexpr int kNoLabelPlaced = 1;
inline constexpr int kAllLabelsPlaced = kMaxLabels + 1;

class LabelStore {
 public:
  int label_count() const { return label_count_; }
  // Labels 1 … 20; any other index reads as a parked label.
  const PlotLabel& label(int index) const;
  bool full() const { return label_count_ > kMaxLabels; }

  // Places the next label; false (and nothing changes) when all are used.
  bool place(double x, double y, std::string caption);
  // "Clear Last": steps back one label (never below 1) and parks the label
  // it then points at.
  void clear_last();
  // "Clear All", also run by every full re-plot.
  void clear_all();

  // The labels with a caption to draw, in index order.
  std::vector<int> visible_labels() const;
  // Labels 1 … label_count - 1, as the file keeps them.
  std::vector<PlotLabel> in_use() const;

  // A label file's contents: its count (kept within 1 … 21 so the next
  // placement and "Clear Last" always reach a label) and its labels from 1 on.
  void set_label(int index, PlotLabel label);
  void set_count_from_file(long long count);

 private:
  std::array<PlotLabel, kMaxLabels> labels_{};
  int label_count_ = kNoLabelPlaced;
};

// The "Labels" group's items.
enum class LabelMode : int { Off = 0, View = 1, SetLabel = 2, SetText = 3 };

// The labels the chart shows: none while the group is at "Off", else every
// label with a caption.
std::vector<int> labels_to_draw(const LabelStore& labels, int label_mode);

inline constexpr const char* kLabelsFull = "Maximum of 20 labels and text boxes!";

// A click on the chart: with "Zoom and Pan" at "Off" and "Set Label" or "Set
// Text" chosen, places the readout or the user's text at the pointer. Returns
// whether the chart must redisplay.
bool place_label_on_click(LabelStore& labels, int label_mode, int zoom_mode, double mouse_x, double mouse_y,
                          const std::string& readout, const std::string& user_text, Ui& ui);

}  // namespace kv::plot_files
