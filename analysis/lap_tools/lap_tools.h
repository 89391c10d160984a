#pragma once
// Lap analysis beside the lap table: where a driver gains and loses time.
// Everything here is plain data and functions over the datasets; the plot
// window holds the controls, keeps a LapToolSettings while the program runs
// and draws what these return. Nothing here reads or writes a file of the
// program's own kinds or changes a message of them; "Save Lap Stats" is a
// file kind of its own.
//
// How the plot window uses them:
//
// Laps. A lap is a LapRef: dataset, sample range, recorded lap time.
//   lap_ref(dataset, record) gives the lap overlay's range of a lap record;
//   laps_of(log) lists every lap of the decoded sets (A's first) with set,
//   record, lap and session, as the sector and statistics tables show them.
//
// Time slip (two laps, e.g. the two overlay slots, from either set):
//   LapTrace t1(lap1, k, TraceSmoothing::light), t2(...);
//                                // k: the x axis' distance unit per metre
//                                // (ch_lap_odo always holds metres)
//   time_slip_curve(t1, t2)   -> an even grid of points (distance, s) for
//                                their own layer; positive where lap 2 is
//                                slower
//   slip_at(curve, cursor_x)  -> the read-out's value on the same curve;
//                                slip_text(value) gives "Slip: %+.2f s"
//
// Sector times and theoretical best:
//   sector_table(log, sector_boundaries(settings, config.config_image))
//   -> one row per lap with up to four sector times (missing where the lap
//      does not reach a boundary), best-sector flags per set and over both,
//      and per set and over both the theoretical best, the fastest lap
//      (the lap table's rule) and the gain between them, over the laps
//      near their set's typical lap distance (the others are marked).
//   Boundaries are metres; the window shows them in its distance unit.
//
// Per-lap statistics: lap_stats_table(log) -> one row per lap; the
//   "Save Lap Stats" button calls save_lap_stats(log, dialog_defaults.csv, ui).
//
// Histogram: time_histograms(series, channel, width) over one
//   channel_values(dataset, channel, samples) per series: all_samples(),
//   an overlay slot's range, or, for the visible window, each drawn trace
//   set's samples with an XWindow of its x copy (ch_work), its x offset and
//   its own layer's x range. All series share one grid of bins.
//   Bars: bins[i].low … bins[i].high, height bins[i].percent (each series'
//   add up to 100).
#include "analysis/lap_tools/fastest_lap.h"
#include "analysis/lap_tools/histogram.h"
#include "analysis/lap_tools/lap_ref.h"
#include "analysis/lap_tools/lap_stats.h"
#include "analysis/lap_tools/lap_stats_csv.h"
#include "analysis/lap_tools/lap_tool_settings.h"
#include "analysis/lap_tools/lap_trace.h"
#include "analysis/lap_tools/sector_times.h"
#include "analysis/lap_tools/time_slip.h"
