#pragma once
// The desktop scheme's colours as the current widget palette paints them.
// The colour selector's swatches and everything the chart draws go through
// this one rule, so a trace shows in the colour its selector shows.
#include <QColor>

#include "chart/chart_types.h"

class QPalette;

namespace kv::chart {

SchemeColors scheme_colors(const QPalette& palette);

// A stored colour as it shows on this desktop.
QColor resolve_color(TColor color, const QPalette& palette);

}  // namespace kv::chart
