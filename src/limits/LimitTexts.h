#pragma once

#include <string>
#include <vector>

#include "limits/LimitCheck.h"
#include "res/StringTable.h"

namespace qm {

// Texts of the verdicts in either language (languageBase as the string table's).
std::string VerdictWord(Verdict verdict, int languageBase);
std::string QuantityName(Quantity quantity, int languageBase);
std::string SectionName(PaneSection section, int languageBase); // "Level Analysis", ...
// A checked value and its margin as shown: "54.3", "2.0E-05", "1.25%"; "---" without one.
std::string CheckValueText(const ValueCheck& check);
std::string MarginText(const ValueCheck& check); // "+3.2 dB", "-0.5%", "+1.3 dec"
// "23 of 25 channels pass, worst margin -1.2 dB".
std::string SummaryLine(int passCount, int channelCount, std::optional<double> worstMargin,
                        int languageBase);
// The marks before a failing cell and before a section's summary line.
inline constexpr const char* kFailMark = "\u2717 ";
inline constexpr const char* kPassMark = "\u2713 ";
// The tip of a failing cell, one line per failing value: "Level: 54.3  60.0 .. 77.0  -5.7 dB".
std::string CellMarkText(const ValueCheck& check, int languageBase);
// A section's summary under its pane: the mark, the channel counts with the worst margin and
// each file value ("; Tilt 3.5 (<= 6.0): pass").
std::string SectionSummaryText(const SectionCheck& check, int languageBase);
// The whole-file line: "Verdict: FAIL - 23 of 25 channels pass, worst margin -1.2 dB".
std::string VerdictLine(const FileCheck& check, int languageBase);

// The line of a report over several files: "Verdict: FAIL - 2 of 3 files pass, worst margin
// -1.2 dB".
std::string ReportVerdictLine(Verdict verdict, int passFiles, int files,
                              std::optional<double> worstMargin, int languageBase);

// The verdict table of a file: a title row, then one row per checked value (section, No,
// channel, frequency, type, value name, measured, limit, margin, verdict).
std::vector<std::vector<std::string>> VerdictTable(const FileCheck& check, int languageBase);

} // namespace qm
