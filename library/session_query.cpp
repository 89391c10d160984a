#include "library/session_query.h"

namespace kv::library {

std::vector<std::size_t> select_rows(const std::vector<SessionRow>&, const SessionFilter&, const SortOrder&) {
  return {};
}
bool row_matches(const SessionRow&, const SessionFilter&) { return true; }
std::optional<double> field_number(const std::string&) { return std::nullopt; }
std::vector<ScatterPoint> scatter_points(const std::vector<SessionRow>&, const std::vector<std::size_t>&,
                                         const ScatterAxis&, LapMeasure) {
  return {};
}
std::vector<DayBest> best_per_day(const std::vector<SessionRow>&, const std::vector<std::size_t>&, LapMeasure) {
  return {};
}
std::optional<double> lap_measure(const SessionRow&, LapMeasure) { return std::nullopt; }

}  // namespace kv::library
