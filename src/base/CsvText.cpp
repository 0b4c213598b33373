#include "base/CsvText.h"

namespace qm {

std::string CsvField(std::string_view text, char separator) {
    if (text.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvRecord(const std::vector<std::string>& cells, char separator) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i)
            line += separator;
        line += CsvField(cells[i], separator);
    }
    return line;
}

std::optional<std::vector<std::vector<std::string>>> ParseCsv(std::string_view text,
                                                              char separator) {
    if (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    std::size_t i = 0;
    const auto endRecord = [&] {
        record.push_back(std::move(field));
        field.clear();
        records.push_back(std::move(record));
        record.clear();
    };
    while (i < text.size()) {
        if (text[i] == '"') {
            // A quoted field: up to the lone closing quote.
            for (++i;; ++i) {
                if (i >= text.size())
                    return std::nullopt;
                if (text[i] != '"') {
                    field += text[i];
                } else if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    break;
                }
            }
            ++i;
            if (i < text.size() && text[i] != separator && text[i] != '\n' &&
                !(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
                return std::nullopt;
            continue;
        }
        if (text[i] == separator) {
            record.push_back(std::move(field));
            field.clear();
            ++i;
        } else if (text[i] == '\n' ||
                   (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            i += text[i] == '\r' ? 2 : 1;
            endRecord();
        } else {
            field += text[i++];
        }
    }
    if (!field.empty() || !record.empty())
        endRecord();
    return records;
}

} // namespace qm
