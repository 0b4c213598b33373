#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "measurement/MeasurementFile.h"

namespace qm {

// A column of a pane table: its title in the pane's language and its width, either a share
// of the table's window width (1 / widthDivisor) or a fixed number of pixels.
struct PaneColumn {
    std::string title;
    int widthDivisor = 1; // used when widthPixels is 0
    int widthPixels = 0;
};

// What a cell shows of its channel, for judging it where it stands.
enum class CellQuantity { Level, Audio, Mer, PreBer, PostBer, Hum, Hum1, Hum2 };

// The value behind one cell's text. Cells of names, numbers and types carry no quantity.
struct CellSource {
    std::optional<CellQuantity> quantity;
    std::optional<double> value; // dBuV, dB or percent, as shown; empty where "---" is shown
    std::uint16_t berCode = 0;   // BER cells: the meter's code
    double berBelow = 0;         // BER cells: the ratio the code "below the range" stands for
};

// The channel a row shows and what each of its cells shows, cell for cell like the texts.
struct RowSource {
    int planIndex = -1; // -1: the row names no channel
    EntryInfo entry;
    int chartPoint = -1; // the row's bar in the pane's chart (its marker position); -1 for none
    std::vector<CellSource> cells;
};

// One report-mode table of an analysis pane, exactly as the pane shows it: every row has one
// text per column.
struct PaneTable {
    std::string tag;   // "Parameters", "Mark", "List" or "Table", whatever the language
    std::string title; // text of the group box around the table; empty when there is none
    std::vector<PaneColumn> columns;
    std::vector<std::vector<std::string>> rows;
    // One per row in the tables whose values are judged (the tilt, scan and limit lists, the
    // level and hum tables); empty in the others.
    std::vector<RowSource> sources;

    std::vector<std::string> ColumnTitles() const {
        std::vector<std::string> titles;
        for (const PaneColumn& c : columns)
            titles.push_back(c.title);
        return titles;
    }
};

} // namespace qm
