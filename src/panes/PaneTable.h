#pragma once

#include <string>
#include <vector>

namespace qm {

// A column of a pane table: its title in the pane's language and its width, either a share
// of the table's window width (1 / widthDivisor) or a fixed number of pixels.
struct PaneColumn {
    std::string title;
    int widthDivisor = 1; // used when widthPixels is 0
    int widthPixels = 0;
};

// One report-mode table of an analysis pane, exactly as the pane shows it: every row has one
// text per column.
struct PaneTable {
    std::string tag;   // "Parameters", "Mark", "List" or "Table", whatever the language
    std::string title; // text of the group box around the table; empty when there is none
    std::vector<PaneColumn> columns;
    std::vector<std::vector<std::string>> rows;

    std::vector<std::string> ColumnTitles() const {
        std::vector<std::string> titles;
        for (const PaneColumn& c : columns)
            titles.push_back(c.title);
        return titles;
    }
};

} // namespace qm
