#include "analysis/plot_files/label_store.h"

#include <algorithm>

namespace kv::plot_files {
namespace {

const PlotLabel kParked{};
constexpr int kZoomOff = 0;

}  // namespace

const PlotLabel& LabelStore::label(int index) const {
  if (index < kFirstLabel || index > kMaxLabels) return kParked;
  return labels_[static_cast<std::size_t>(index - 1)];
}

void LabelStore::set_label(int index, PlotLabel label) {
  if (index < kFirstLabel || index > kMaxLabels) return;
  labels_[static_cast<std::size_t>(index - 1)] = std::move(label);
}

bool LabelStore::place(double x, double y, std::string caption) {
  if (full()) return false;
  set_label(label_count_, {x, y, std::move(caption)});
  ++label_count_;
  return true;
}

void LabelStore::clear_last() {
  if (label_count_ > kNoLabelPlaced) --label_count_;
  set_label(label_count_, {});
}

void LabelStore::clear_all() {
  labels_.fill({});
  label_count_ = kNoLabelPlaced;
}

std::vector<int> LabelStore::visible_labels() const {
  std::vector<int> visible;
  for (int i = kFirstLabel; i <= kMaxLabels; ++i) {
    // A parked label, or one placed without a caption, would be an empty box.
    if (!label(i).caption.empty()) visible.push_back(i);
  }
  return visible;
}

std::vector<PlotLabel> LabelStore::in_use() const {
  return {labels_.begin(), labels_.begin() + (label_count_ - 1)};
}

void LabelStore::set_count_from_file(long long count) {
  label_count_ = static_cast<int>(std::clamp<long long>(count, kNoLabelPlaced - 1, kMaxLabels) + 1);
}

std::vector<int> labels_to_draw(const LabelStore& labels, int label_mode) {
  if (label_mode == static_cast<int>(LabelMode::Off)) return {};
  return labels.visible_labels();
}

bool place_label_on_click(LabelStore& labels, int label_mode, int zoom_mode, double mouse_x, double mouse_y,
                          const std::string& readout, const std::string& user_text, Ui& ui) {
  const bool placing = label_mode == static_cast<int>(LabelMode::SetLabel) ||
                       label_mode == static_cast<int>(LabelMode::SetText);
  if (zoom_mode != kZoomOff || !placing) return false;
  if (labels.full()) {
    ui.information(kLabelsFull);
    return true;
  }
  labels.place(mouse_x, mouse_y, label_mode == static_cast<int>(LabelMode::SetLabel) ? readout : user_text);
  return true;
}

}  // namespace kv::plot_files
