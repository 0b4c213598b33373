#include "channels/CommonChannel.h"

#include <algorithm>
#include <cstring>

namespace qm {

namespace {

// Compact entry (kind 0).
constexpr std::size_t kCompactType = 10;
constexpr std::size_t kCompactEia = 11;
constexpr std::size_t kCompactFlags = 12;
constexpr std::size_t kCompactName = 14;
constexpr std::size_t kCompactStandard = 18;
// Bytes 0-13 (frequency up to modulation) lie at the same places in both layouts.
constexpr std::size_t kCommonHead = 14;

// Extended entry (kinds 1 and 2).
constexpr std::size_t kExtendedEia = 10;
constexpr std::size_t kExtendedFlags = 11;
constexpr std::size_t kExtendedType = 12;
constexpr std::size_t kExtendedStandard = 14;
constexpr std::size_t kExtendedName = 20;

constexpr std::size_t kNameField = 4;
constexpr std::size_t kNameChars = 3;

std::uint32_t GetLE(const std::uint8_t* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

void PutLE(std::uint8_t* p, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

bool Compact(int kind) {
    return IsKind(kind, MeterKind::Compact);
}

// Name text of a 4-byte field: up to the first NUL, never more than 3 characters.
std::size_t NameLength(const std::uint8_t* field) {
    std::size_t n = 0;
    while (n < kNameChars && field[n] != 0)
        ++n;
    return n;
}

// Copies a name as NUL-terminated text into a zeroed field.
void CopyName(const std::uint8_t* from, std::uint8_t* to) {
    std::memcpy(to, from, NameLength(from));
}

} // namespace

std::size_t ChannelEntrySize(int kind) {
    return LayoutEntrySize(kind);
}

std::uint32_t CommonChannel::Frequency() const {
    return GetLE(entry, 4);
}
void CommonChannel::SetFrequency(std::uint32_t value) {
    PutLE(entry, value, 4);
}
std::uint16_t CommonChannel::AudioBw() const {
    return static_cast<std::uint16_t>(GetLE(entry + 4, 2));
}
void CommonChannel::SetAudioBw(std::uint16_t value) {
    PutLE(entry + 4, value, 2);
}
std::uint16_t CommonChannel::SymbolRate() const {
    return static_cast<std::uint16_t>(GetLE(entry + 8, 2));
}
void CommonChannel::SetSymbolRate(std::uint16_t value) {
    PutLE(entry + 8, value, 2);
}

std::uint8_t CommonChannel::Type(int kind) const {
    return entry[Compact(kind) ? kCompactType : kExtendedType];
}
void CommonChannel::SetType(int kind, std::uint8_t value) {
    entry[Compact(kind) ? kCompactType : kExtendedType] = value;
}
std::uint8_t CommonChannel::Eia(int kind) const {
    return entry[Compact(kind) ? kCompactEia : kExtendedEia];
}
void CommonChannel::SetEia(int kind, std::uint8_t value) {
    entry[Compact(kind) ? kCompactEia : kExtendedEia] = value;
}
std::uint8_t CommonChannel::Flags(int kind) const {
    return entry[Compact(kind) ? kCompactFlags : kExtendedFlags];
}
void CommonChannel::SetFlags(int kind, std::uint8_t value) {
    entry[Compact(kind) ? kCompactFlags : kExtendedFlags] = value;
}
std::uint8_t CommonChannel::Standard(int kind) const {
    return entry[Compact(kind) ? kCompactStandard : kExtendedStandard];
}
void CommonChannel::SetStandard(int kind, std::uint8_t value) {
    entry[Compact(kind) ? kCompactStandard : kExtendedStandard] = value;
}

std::size_t CommonChannel::NameOffset(int kind) {
    return Compact(kind) ? kCompactName : kExtendedName;
}

std::string CommonChannel::Name(int kind) const {
    const std::uint8_t* field = entry + NameOffset(kind);
    return std::string(reinterpret_cast<const char*>(field), NameLength(field));
}

void CommonChannel::SetName(int kind, std::string_view ansi) {
    std::uint8_t* field = entry + NameOffset(kind);
    std::memset(field, 0, kNameField);
    std::memcpy(field, ansi.data(), std::min(ansi.size(), kNameChars));
}

CommonChannel RecordFromEntry(int kind, std::span<const std::uint8_t> entry) {
    std::uint8_t padded[kExtendedEntrySize] = {};
    std::memcpy(padded, entry.data(), std::min(entry.size(), ChannelEntrySize(kind)));
    CommonChannel record;
    if (!Compact(kind)) {
        std::memcpy(record.entry, padded, kExtendedEntrySize);
        return record;
    }
    std::memcpy(record.entry, padded, kCommonHead);
    CopyName(padded + kCompactName, record.entry + kCompactName);
    record.entry[kCompactStandard] = padded[kCompactStandard];
    return record;
}

void WriteEntry(int kind, const CommonChannel& record, std::span<std::uint8_t> out) {
    std::uint8_t bytes[kExtendedEntrySize] = {};
    if (Compact(kind)) {
        std::memcpy(bytes, record.entry, kCommonHead);
        CopyName(record.entry + kCompactName, bytes + kCompactName);
        bytes[kCompactStandard] = record.entry[kCompactStandard];
    } else {
        std::memcpy(bytes, record.entry, kExtendedEntrySize);
    }
    std::memcpy(out.data(), bytes, std::min(out.size(), ChannelEntrySize(kind)));
}

std::vector<std::uint8_t> EntryFromRecord(int kind, const CommonChannel& record) {
    std::vector<std::uint8_t> bytes(ChannelEntrySize(kind));
    WriteEntry(kind, record, bytes);
    return bytes;
}

} // namespace qm
