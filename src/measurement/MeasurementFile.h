#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "measurement/FileDataExt.h"
#include "measurement/MeterKind.h"

namespace qm {

// Section flags of a measurement file (header byte 29).
inline constexpr std::uint8_t kFlagLevel = 0x80;
inline constexpr std::uint8_t kFlagTilt = 0x40;
inline constexpr std::uint8_t kFlagScan = 0x20;
inline constexpr std::uint8_t kFlagSpectrum = 0x10;
inline constexpr std::uint8_t kFlagHum = 0x08;
inline constexpr std::uint8_t kFlagLimit = 0x04;

// Channel entry flags byte.
inline constexpr std::uint8_t kEntryEnabled = 0x80;
inline constexpr std::uint8_t kEntryTilt = 0x40;

// Bounds the layout gives every derived index.
inline constexpr int kMaxPlanEntries = 170;
inline constexpr int kMaxRecords = 160; // level, scan, hum records; limit ordinals
inline constexpr int kMaxTiltLevels = 12;
inline constexpr int kMaxSpectrumPoints = 320;

// Mark byte of a level or hum record that holds a result.
inline constexpr std::uint8_t kMeasuredMark = 0x55;

// Special BER codes.
inline constexpr std::uint16_t kBerBelowLimit = 0x0000;
inline constexpr std::uint16_t kBerBelow1E3 = 0x00FF;
inline constexpr std::uint16_t kBerUnlock = 0xFFFF;

int EntrySize(int kind);   // 20 for kind 0, 28 otherwise
int SectionBase(int kind); // 32 + 170 * EntrySize(kind)
// File size of a kind: 9238 for kind 0, 10598 for kinds 1 and 2, 0 for any other kind.
std::size_t FileSize(int kind);
// Span in MHz: 40 when the fixed-span flag is set, else the span code table; 0 for codes
// outside the table.
double SpanMHz(int code, int fixedSpanFlag);

// The fields of a channel plan entry that the analysis reads.
struct EntryInfo {
    std::uint32_t frequency = 0; // hundredths of a MHz
    std::uint8_t channelNumber = 0;
    std::uint8_t flags = 0;
    std::uint8_t type = 0;
    std::uint8_t modulation = 0;    // DVB-C modulation code, in the kind's table
    std::uint8_t constellation = 0; // DVB-T/T2 constellation code; 0 in compact entries
};

struct LevelRecord {
    std::uint8_t mark = 0;
    std::int16_t level = 0;  // video carrier or channel power, tenths of a dB
    std::int16_t second = 0; // audio carrier (analogue) or MER (digital), tenths of a dB
    std::uint16_t ber1 = 0;  // "PRE-BER/CBER" code
    std::uint16_t ber2 = 0;  // "POST-BER/VBER/LBER" code
    bool Measured() const { return mark == kMeasuredMark; }
};

struct LevelPair {
    std::uint16_t video = 0; // raw 16 bits: signedness depends on the section and kind
    std::uint16_t audio = 0;
};

struct HumRecord {
    std::uint8_t mark = 0;
    std::int16_t lpf = 0;    // tenths of a percent, negative: no value
    std::int16_t mains1 = 0; // 50 Hz (60 Hz), hundredths of a percent
    std::int16_t mains2 = 0; // 100 Hz (120 Hz), hundredths of a percent
    bool Measured() const { return mark == kMeasuredMark; }
};

// A decoded BER code.
struct Ber {
    enum class Kind { BelowLimit, Below1E3, Unlock, Value } kind = Kind::Value;
    double mantissa = 0; // (code >> 8) / 10
    int exponent = 0;    // code & 0xFF
    double Value() const;
    // "%.1fE-%d" for plain values, "<1.0E-3" and "Unlock" for those codes; empty for
    // BelowLimit, whose text depends on the signal type.
    std::string Text() const;
};
Ber DecodeBer(std::uint16_t code);

// Read-only view of one loaded element with every accessor bounded by the layout: whatever
// counts the file holds, nothing outside the element's file bytes is ever addressed. Readers
// of kinds other than 0, 1 and 2 get the header only (the measurement area has no layout).
class MeasurementFile {
public:
    explicit MeasurementFile(const _tagFileDataExt& element) : m_e(element) {}

    int Kind() const { return m_e.kind; }
    bool HasLayout() const { return IsKnownKind(m_e.kind); }
    const _tagFileDataExt& Element() const { return m_e; }

    // Header.
    std::string FileName() const;     // offset 0, at most 10 bytes, up to the first NUL
    std::string DateTimeText() const; // "%d-%d-%d " then the time text (at most 11 bytes)
    int ChannelCount() const;         // raw byte 27, 0-255
    int ValidEntryCount() const;      // channel count bounded to 170
    std::uint8_t SectionFlags() const;

    // Channel plan area; i must be below ValidEntryCount().
    std::optional<EntryInfo> Entry(int i) const;
    // Any of the 170 slots of the channel plan area, in use or not: the level and hum records
    // are read together with the slot of their plan index.
    std::optional<EntryInfo> PlanSlot(int slot) const;
    std::vector<int> EnabledList() const; // plan indexes of enabled entries, in plan order
    std::vector<int> TiltList() const;    // plan indexes of tilt entries, in plan order

    // Measurement-area parameters as stored (unbounded counts).
    int TiltCount() const;
    int ScanCount() const;
    int ScanStart() const;
    int SpectrumPointCount() const;       // big-endian 16 bits
    std::uint32_t SpectrumCentre() const; // big-endian 24 bits, hundredths of a MHz
    int SpanCode() const;
    int MaxFlag() const;
    int FixedSpanFlag() const;
    int MainsFlag() const;

    // Records; nullopt when the index is outside the layout's bound.
    std::optional<LevelRecord> Level(int planIndex) const;        // planIndex < 160
    std::optional<LevelPair> Scan(int planIndex) const;           // planIndex < 160
    std::optional<HumRecord> Hum(int planIndex) const;            // planIndex < 160
    std::optional<LevelPair> Limit(int enabledOrdinal) const;     // ordinal < 160
    std::optional<std::int16_t> TiltLevel(int tiltOrdinal) const; // ordinal < 12
    std::optional<std::uint16_t> SpectrumPoint(int i) const;      // i < 320
    std::optional<std::uint16_t> MaxPoint(int i) const;           // i < 320

    // Tilt in tenths of a dB: level[count - 1] - level[1] (level 0 minus level 1 for a count of
    // 1); nullopt when the count is 0 or breaks the bound of 12 levels.
    std::optional<int> TiltValue() const;

    // Byte access bounded by the file's size for its kind; 0 outside it.
    std::uint8_t U8(std::size_t fileOffset) const;
    std::uint16_t U16(std::size_t fileOffset) const; // little-endian
    std::uint16_t U16BE(std::size_t fileOffset) const;
    bool InFile(std::size_t fileOffset, std::size_t size) const;

private:
    std::size_t Base() const { return static_cast<std::size_t>(SectionBase(Kind())); }
    const _tagFileDataExt& m_e;
};

} // namespace qm
