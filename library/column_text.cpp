#include "library/session_query.h"

namespace kv::library {

std::vector<ColumnKey> all_columns() { return {}; }
std::string column_caption(const ColumnKey&) { return {}; }
std::string cell_text(const SessionRow&, const ColumnKey&) { return {}; }
std::optional<ColumnKey> column_by_name(const std::string&) { return std::nullopt; }
std::string column_name(const ColumnKey&) { return {}; }

}  // namespace kv::library
