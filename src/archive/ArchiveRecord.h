#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "measurement/FileDataExt.h"

namespace qm {

// What the level, scan and tilt panes show for one channel of a measurement, by frequency;
// an empty value is one the pane shows as "---" (or a section the file does not hold).
struct ArchivedChannel {
    std::uint32_t frequency = 0; // hundredths of a MHz
    int channel = 0;
    std::string type;
    // The level pane's columns.
    std::optional<std::string> level, audio, mer, preBer, postBer;
    // The scan pane's video/power and audio, the tilt pane's level.
    std::optional<std::string> scanLevel, scanAudio, tiltLevel;
};

// The facts kept about one measurement file.
struct ArchiveEntry {
    std::string hash; // Sha256Hex of the meter kind byte and the file's bytes
    std::string site; // the file's name as the meter gives it ("CABLE01"), as the tree shows it
    int kind = 0;
    std::string fileDate;   // the header's date and time as the panes show them
    std::string measuredAt; // "YYYY-MM-DD HH:MM:SS" when the header reads as a date, else empty
    std::string addedAt;    // UTC, "YYYY-MM-DD HH:MM:SS"
    std::string technician;
    std::string source; // the project file or upload it came from
};

// One measurement as the archive stores it: its facts, the file's bytes exactly as the meter
// sent them (9238 or 10598; 10598 for an unknown kind) and its channel values.
struct ArchiveItem {
    ArchiveEntry entry;
    std::vector<std::uint8_t> bytes;
    std::vector<ArchivedChannel> channels;
};

// Builds the item of a loaded element. addedAt empty means now.
ArchiveItem MakeArchiveItem(const _tagFileDataExt& element, const std::string& technician,
                            const std::string& source, const std::string& addedAt = {});

// The loaded element of stored bytes: nullopt when kind and size do not belong together.
std::optional<_tagFileDataExt> ElementFromArchive(int kind, const std::vector<std::uint8_t>& bytes);

// The header's three date numbers and time text as a sortable "YYYY-MM-DD HH:MM:SS": the year is
// the number above 31, first or last; with the year last, a first number above 12 is the day
// (D/M/Y), a second one above 12 the day of M/D/Y, and D/M/Y is taken when both fit. Empty when
// the numbers make no calendar date.
std::string MeasuredAtText(int first, int second, int third, const std::string& timeText);

// The current time in UTC as "YYYY-MM-DD HH:MM:SS".
std::string UtcNowText();

// "YYYY-MM-DD" read strictly; false for anything else (February 30th included).
bool ParseIsoDate(const std::string& text, int& year, int& month, int& day);

} // namespace qm
