#pragma once
// Turns a dataset's raw log image into its channel arrays and lap table:
// validates and counts the packets, decodes them with their scaling, derives
// time, distance, lap, session and lap time per sample, and smooths the
// analogue channels.
#include <cstdint>
#include <optional>
#include <string>

#include "logdata/log_state.h"
#include "ui/ui.h"

namespace kv {

namespace decode_text {
inline constexpr const char* kNoValidData = "No Valid Data Found";
// An image decoded with a zero distance scale would turn every distance into
// a division by zero; the image itself stays valid and can still be saved.
inline constexpr const char* kZeroPulses = "Problem Processing Korvanta Data Error: Pulses per Mile is 0";
}  // namespace decode_text

// "Problem Processing Korvanta Data Error: t%d.b%d"
std::string packet_error_text(int type, int length);
// "Processed %d bytes of Data"
std::string processed_text(std::uint32_t used_bytes);

// Decodes the current dataset's image, positions 0 … used_bytes - 2, with
// the calibration and units of the instrument that recorded it, and reports
// the outcome. A decode that fails empties the dataset's packet
// counts, channel arrays and lap table. Returns the dataset's decoded_valid.
// `smooth` false leaves the analogue channels as decoded: a reader that needs
// only laps, times and distances (which are never smoothed) saves the time.
bool process_data_packets(LogState& log, Ui& ui, bool smooth = true);

// Smooths the analogue channels of a dataset holding `samples` samples
// (called by the decoder when there are more than 25).
void smooth_data_packets(Dataset& data, long samples);

// Savitzky-Golay smoothing with a quadratic polynomial over source elements
// first … last into destination elements 1 … last - first + 1. Source and
// destination may be the same array: every result is then written back before
// the next window is computed. Returns the refusal text, or nothing on success.
std::optional<std::string> PolynomialSmooth(const TVector* source, long first, long last, int window,
                                            TVector* destination);

}  // namespace kv
