#pragma once

#include <optional>
#include <string>
#include <vector>

#include "limits/LimitProfile.h"
#include "measurement/MeasurementFile.h"
#include "panes/AnalysisPane.h"

namespace qm {

// "---" and values the profile has no limit for are never a pass.
enum class Verdict { Pass, Fail, NotMeasured, NotChecked };

enum class Quantity { Level, VideoAudio, Mer, Ber, Adjacent, Tilt, Hum, Hum1, Hum2 };

// The verdict on one value.
struct ValueCheck {
    Quantity quantity = Quantity::Level;
    int column = -1; // column of the pane's table that shows the value; -1 for file values
    Verdict verdict = Verdict::NotMeasured;
    std::optional<double> value; // dB, dBuV, percent or a BER ratio; empty when not measured
    // Distance to the nearest limit, positive inside: dB for levels, MER and differences,
    // percent for hum, decades for BER. Empty when there is no value or no limit.
    std::optional<double> margin;
    std::string limitText; // "60.0 to 77.0", ">= 27.0", "<= 2.0E-4"
};

// The verdicts on one row of a pane's table.
struct ChannelCheck {
    int row = 0;         // row of the pane's list or table
    int planIndex = -1;  // the channel's slot in the file's plan
    int chartPoint = -1; // the channel's bar in the pane's chart; -1 where the pane has none
    int channelNumber = 0;
    double frequencyMHz = 0;
    std::string typeText; // "TV", "DVB-C 64QAM", "DVB-T", ...
    std::vector<ValueCheck> values;
    Verdict verdict = Verdict::NotMeasured;
    // The combined verdict of the checks shown in a column (NotChecked when there are none).
    Verdict ColumnVerdict(int column) const;
};

struct SectionCheck {
    PaneSection section = PaneSection::Level;
    std::vector<ChannelCheck> channels;
    std::vector<ValueCheck> fileValues; // the tilt of the tilt section
    Verdict verdict = Verdict::NotMeasured;
    int channelCount = 0;              // rows with a channel
    int passCount = 0;                 // channels whose verdict is Pass
    std::optional<double> worstMargin; // dB quantities only
    // The check of a pane row, or nullptr.
    const ChannelCheck* AtRow(int row) const;
};

struct FileCheck {
    std::vector<SectionCheck> sections; // the file's sections with verdicts, in tree order
    Verdict verdict = Verdict::NotMeasured;
    int channelCount = 0; // distinct plan channels seen in any section
    int passCount = 0;    // of them, those that fail nowhere and pass somewhere
    std::optional<double> worstMargin;
    const SectionCheck* Section(PaneSection section) const;
};

// Judges the rows of a pane's table as they stand: every cell by the quantity its source says
// it shows, each verdict on the column of its cell. kind is the file's meter kind.
SectionCheck CheckTable(const PaneTable& table, PaneSection section, int kind,
                        const LimitProfile& profile);
// The verdicts on what a pane shows (nothing before it showed a file; the spectrum has none).
SectionCheck CheckPane(const AnalysisPane& pane, const LimitProfile& profile);

// Judges one measurement file by a profile: the level, tilt, scan, hum and limit sections
// the file holds, each as its pane shows it.
FileCheck CheckFile(const MeasurementFile& file, const LimitProfile& profile);
SectionCheck CheckSection(const MeasurementFile& file, const LimitProfile& profile,
                          PaneSection section);

// The sections of the file that have verdicts, in tree order.
std::vector<PaneSection> JudgedSections(const MeasurementFile& file);
// The file's verdict and counts from the verdicts of its sections.
FileCheck CombineSections(std::vector<SectionCheck> sections);

// The chart bars of the section's failing channels: the bars a chart outlines.
std::vector<int> FailingBars(const SectionCheck& section);

// Combines verdicts: any fail fails, else any pass passes, else not measured.
Verdict Combine(Verdict a, Verdict b);

} // namespace qm

namespace qm {

// The profile's limits for a channel of the plan, as the checks above take them; nullptr when
// the profile has none for its class.
const ChannelLimits* LimitsForEntry(int kind, const EntryInfo& entry, const LimitProfile& profile);

} // namespace qm
