#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Comma-separated text as spreadsheets read and write it: a field holding the separator, a
// quote or a line break goes in quotes, with its quotes doubled.
std::string CsvField(std::string_view text, char separator);
// One record, without its line end.
std::string CsvRecord(const std::vector<std::string>& cells, char separator);

// Reads records separated by LF or CR LF; a leading UTF-8 byte-order mark is skipped and a
// final line end ends the last record. nullopt when a quoted field is never closed or a
// quote is followed by something other than a separator or line end.
std::optional<std::vector<std::vector<std::string>>> ParseCsv(std::string_view text,
                                                              char separator);

// The UTF-8 byte-order mark.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

} // namespace qm
