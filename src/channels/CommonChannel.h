#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/MeterKind.h"

namespace qm {

// The largest channel-plan entry (MeterKind.h has each kind's).
inline constexpr std::size_t kExtendedEntrySize = TraitsOf(MeterKind::Terrestrial).entrySize;

// Flags byte of an entry.
inline constexpr std::uint8_t kChannelEnabled = 0x80;
inline constexpr std::uint8_t kChannelTilt = 0x40;

// Signal type codes.
inline constexpr std::uint8_t kTypeTv = 0;
inline constexpr std::uint8_t kTypeDvbC = 1;
inline constexpr std::uint8_t kTypeDvbT = 2;
inline constexpr std::uint8_t kTypeDvbT2 = 3;

// 20 for kind 0, 28 for every other kind (LayoutEntrySize).
std::size_t ChannelEntrySize(int kind);

// One channel of a plan as the program holds it and as channel-plan files store it: a status
// byte (always 0) and the channel entry in the kind's layout from offset 1. A compact entry
// fills offsets 1-20 and leaves 21-28 zero. Multi-byte fields are little-endian.
#pragma pack(push, 1)
struct CommonChannel {
    std::uint8_t status = 0;
    std::uint8_t entry[kExtendedEntrySize] = {};

    // Fields at the same place in both layouts.
    std::uint32_t Frequency() const; // 10 kHz units
    void SetFrequency(std::uint32_t value);
    std::uint16_t AudioBw() const; // 10 kHz units: sound carrier offset (TV) or bandwidth
    void SetAudioBw(std::uint16_t value);
    std::uint16_t SymbolRate() const; // kS/s
    void SetSymbolRate(std::uint16_t value);
    std::uint8_t Modulation() const { return entry[13]; } // DVB-C modulation code
    void SetModulation(std::uint8_t value) { entry[13] = value; }

    // Fields whose place depends on the layout.
    std::uint8_t Type(int kind) const;
    void SetType(int kind, std::uint8_t value);
    std::uint8_t Eia(int kind) const;
    void SetEia(int kind, std::uint8_t value);
    std::uint8_t Flags(int kind) const;
    void SetFlags(int kind, std::uint8_t value);
    std::uint8_t Standard(int kind) const; // J.83 standard code
    void SetStandard(int kind, std::uint8_t value);

    // DVB-T/T2 fields of the extended layout (kinds 1 and 2 only).
    std::uint8_t Constellation() const { return entry[15]; }
    void SetConstellation(std::uint8_t value) { entry[15] = value; }
    std::uint8_t Guard() const { return entry[16]; }
    void SetGuard(std::uint8_t value) { entry[16] = value; }
    std::uint8_t Fft() const { return entry[17]; }
    void SetFft(std::uint8_t value) { entry[17] = value; }
    std::uint8_t CodeRate() const { return entry[18]; }
    void SetCodeRate(std::uint8_t value) { entry[18] = value; }
    std::uint8_t Hierarchy() const { return entry[19]; }
    void SetHierarchy(std::uint8_t value) { entry[19] = value; }

    // The channel name as stored (ANSI bytes): up to the first NUL, at most 3 characters even
    // when the 4-byte field holds no NUL.
    std::string Name(int kind) const;
    // Writes at most 3 characters and a terminating NUL; the rest of the field becomes 0.
    void SetName(int kind, std::string_view ansi);

    // Offset of the name field within the entry.
    static std::size_t NameOffset(int kind);
};
#pragma pack(pop)
static_assert(sizeof(CommonChannel) == 29, "a channel record is 29 bytes in files");

// Record from a received entry of the kind's layout (20 or 28 bytes; a shorter span is read as
// if zero-padded). For a compact entry the name is copied as text (at most 3 characters and a
// NUL) and byte 19 is dropped; an extended entry is copied unchanged.
CommonChannel RecordFromEntry(int kind, std::span<const std::uint8_t> entry);

// The inverse: the entry of the kind's layout. For kind 0 the 20 bytes are rebuilt field by
// field (name as text, byte 19 = 0); for other kinds record offsets 1-28 are copied unchanged.
std::vector<std::uint8_t> EntryFromRecord(int kind, const CommonChannel& record);
// Same into a buffer; writes min(out.size(), ChannelEntrySize(kind)) bytes.
void WriteEntry(int kind, const CommonChannel& record, std::span<std::uint8_t> out);

} // namespace qm
