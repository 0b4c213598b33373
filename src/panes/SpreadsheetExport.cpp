#include "panes/SpreadsheetExport.h"

#include <algorithm>

#include "base/CsvText.h"
#include "base/JsonWriter.h"

namespace qm {

std::string SpreadsheetText(const PaneTable& table, char separator, char decimalMark) {
    std::string text(kUtf8Bom);
    text += CsvRecord(table.ColumnTitles(), separator) + "\r\n";
    for (std::vector<std::string> row : table.rows) {
        for (std::string& cell : row) {
            if (IsPlainDecimal(cell))
                std::replace(cell.begin(), cell.end(), '.', decimalMark);
        }
        text += CsvRecord(row, separator) + "\r\n";
    }
    return text;
}

const PaneTable* SpreadsheetTable(const AnalysisPane& pane) {
    return pane.HasChart() ? pane.Table("List") : pane.Table("Table");
}

} // namespace qm
