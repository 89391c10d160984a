#pragma once
// Every window centres itself on the screen when it is activated.
class QWidget;

namespace kv {

struct Placement {
  int left;
  int top;
};

// (screen - window) / 2 in each direction, truncated toward zero.
constexpr Placement centred_placement(int screen_width, int screen_height, int window_width, int window_height) {
  return {(screen_width - window_width) / 2, (screen_height - window_height) / 2};
}

void centre_on_screen(QWidget& window);

}  // namespace kv
