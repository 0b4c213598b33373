#include "cli/CliTables.h"

#include <ostream>

#include "cli/Cli.h"
#include "res/StringTable.h"

namespace qm::cli {

namespace {

void PrintLine(std::ostream& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i)
        out << (i ? "\t" : "") << Escaped(cells[i]);
    out << '\n';
}

// The block tag, in the current language where the string table has the word.
std::string TagText(const std::string& tag) {
    if (tag == "Parameters")
        return Tr(txt::kParameters);
    if (tag == "Mark")
        return Tr(txt::kMark);
    if (tag == "List")
        return Tr(txt::kList);
    return tag;
}

} // namespace

void PrintTable(std::ostream& out, const PaneTable& table) {
    out << '[' << TagText(table.tag) << "]\n";
    PrintLine(out, table.ColumnTitles());
    for (const auto& row : table.rows)
        PrintLine(out, row);
}

void WriteTablesJson(JsonWriter& json, const std::vector<PaneTable>& tables) {
    json.Key("tables").BeginArray();
    for (const PaneTable& table : tables) {
        json.BeginObject().Key("tag").String(table.tag);
        json.Key("columns").BeginArray();
        for (const std::string& title : table.ColumnTitles())
            json.String(title);
        json.EndArray().Key("rows").BeginArray();
        for (const auto& row : table.rows)
            json.Cells(row);
        json.EndArray().EndObject();
    }
    json.EndArray();
}

} // namespace qm::cli
