#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qm {

// Coded values of the channel fields with their texts; the texts are both what the grid shows
// and what its drop-down lists offer. A table's index is the stored code.
using ValueTable = std::span<const char* const>;

ValueTable TypeTable(int kind);       // kind 0: TV, DVB-C; kinds 1 and 2: also DVB-T, DVB-T2
ValueTable ModulationTable(int kind); // DVB-C modulation: kinds 0 and 1 share one, kind 2 its own
ValueTable StandardTable();           // J.83 annex
ValueTable ConstellationTable();      // DVB-T/T2
ValueTable GuardTable();
ValueTable FftTable();
ValueTable CodeRateTable(std::uint8_t type); // the DVB-T2 table for DVB-T2 entries, else DVB-T
ValueTable HierarchyTable();

// Text of a code; a code outside the table gives an empty text.
std::string TableText(ValueTable table, unsigned code);
// Code of a text (exact match); -1 when the table has no such text.
int TableCode(ValueTable table, std::string_view text);

// Signal types the kind offers other than TV: DVB-C (kind 0), DVB-C and DVB-T (kind 1),
// DVB-C, DVB-T and DVB-T2 (kind 2).
bool IsDigitalType(int kind, std::uint8_t type);

// Default DVB-C symbol rate in kS/s for a J.83 standard code, by whether the modulation is
// 256QAM; none for a code outside the standard table.
std::optional<std::uint16_t> DefaultSymbolRate(std::uint8_t standard, bool qam256);

// Stored hundredths (frequency, Audio1/BW) as "%.2f" and thousandths (symbol rate) as "%.3f",
// computed exactly on the integer value.
std::string FormatHundredths(std::uint32_t value);
std::string FormatThousandths(std::uint32_t value);

} // namespace qm
