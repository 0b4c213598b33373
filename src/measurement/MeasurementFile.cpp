#include "measurement/MeasurementFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "measurement/MeterKind.h"

namespace qm {

namespace {

// Header field offsets.
constexpr std::size_t kOffName = 0, kNameSize = 10;
constexpr std::size_t kOffDate = 10;
constexpr std::size_t kOffTime = 16, kTimeSize = 11;
constexpr std::size_t kOffChannelCount = 27;
constexpr std::size_t kOffSectionFlags = 29;
constexpr std::size_t kOffPlan = 32;

// Measurement-area offsets, relative to the section base.
constexpr std::size_t kOffTiltCount = 88;
constexpr std::size_t kOffScanCount = 104;
constexpr std::size_t kOffScanStart = 105;
constexpr std::size_t kOffSpecN = 120;
constexpr std::size_t kOffSpecCentre = 127;
constexpr std::size_t kOffSpanCode = 130;
constexpr std::size_t kOffMaxFlag = 131;
constexpr std::size_t kOffFixedSpan = 132;
constexpr std::size_t kOffMains = 137;
constexpr std::size_t kOffLevel = 340, kLevelSize = 10;
constexpr std::size_t kOffTiltLevels = 1940;
constexpr std::size_t kOffScan = 1964, kScanSize = 4;
constexpr std::size_t kOffSpectrum = 2604;
constexpr std::size_t kOffMaxTrace = 3244;
constexpr std::size_t kOffHum = 3884, kHumSize = 8;
constexpr std::size_t kOffLimit = 5164, kLimitSize = 4;

bool InRange(int i, int bound) {
    return i >= 0 && i < bound;
}

} // namespace

int EntrySize(int kind) {
    return static_cast<int>(LayoutEntrySize(kind));
}

int SectionBase(int kind) {
    return 32 + kMaxPlanEntries * EntrySize(kind);
}

std::size_t FileSize(int kind) {
    return KindFileSize(kind);
}

// The element holds the kind byte and the largest file.
static_assert(kElementSize == 1 + TraitsOf(MeterKind::T2).fileSize);
static_assert(kElementSize == 1 + TraitsOf(MeterKind::Terrestrial).fileSize);

double SpanMHz(int code, int fixedSpanFlag) {
    if (fixedSpanFlag != 0)
        return 40.0;
    static constexpr double kSpans[] = {2.5, 6.25, 12.5, 25.0, 62.5, 1047.0};
    return InRange(code, 6) ? kSpans[code] : 0.0;
}

double Ber::Value() const {
    return mantissa * std::pow(10.0, -exponent);
}

std::string Ber::Text() const {
    switch (kind) {
    case Kind::BelowLimit:
        return {};
    case Kind::Below1E3:
        return "<1.0E-3";
    case Kind::Unlock:
        return "Unlock";
    case Kind::Value:
        break;
    }
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.1fE-%d", mantissa, exponent);
    return buf;
}

Ber DecodeBer(std::uint16_t code) {
    Ber b;
    if (code == kBerBelowLimit)
        b.kind = Ber::Kind::BelowLimit;
    else if (code == kBerBelow1E3)
        b.kind = Ber::Kind::Below1E3;
    else if (code == kBerUnlock)
        b.kind = Ber::Kind::Unlock;
    b.mantissa = (code >> 8) / 10.0;
    b.exponent = code & 0xFF;
    return b;
}

// Every byte read goes through these three; they are the one place where the element's
// bounds are enforced.
bool MeasurementFile::InFile(std::size_t fileOffset, std::size_t size) const {
    std::size_t limit = HasLayout() ? FileSize(Kind()) : kOffPlan; // header only otherwise
    return fileOffset <= limit && size <= limit - fileOffset;
}

std::uint8_t MeasurementFile::U8(std::size_t off) const {
    return InFile(off, 1) ? m_e.file[off] : 0;
}

std::uint16_t MeasurementFile::U16(std::size_t off) const {
    if (!InFile(off, 2))
        return 0;
    return static_cast<std::uint16_t>(m_e.file[off] | (m_e.file[off + 1] << 8));
}

std::uint16_t MeasurementFile::U16BE(std::size_t off) const {
    if (!InFile(off, 2))
        return 0;
    return static_cast<std::uint16_t>((m_e.file[off] << 8) | m_e.file[off + 1]);
}

std::string MeasurementFile::FileName() const {
    std::string name;
    for (std::size_t i = 0; i < kNameSize && m_e.file[kOffName + i] != 0; ++i)
        name += static_cast<char>(m_e.file[kOffName + i]);
    return name;
}

std::string MeasurementFile::DateTimeText() const {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d-%d-%d ", U16(kOffDate), U16(kOffDate + 2),
                  U16(kOffDate + 4));
    std::string text = buf;
    for (std::size_t i = 0; i < kTimeSize && m_e.file[kOffTime + i] != 0; ++i)
        text += static_cast<char>(m_e.file[kOffTime + i]);
    return text;
}

int MeasurementFile::ChannelCount() const {
    return m_e.file[kOffChannelCount];
}

int MeasurementFile::ValidEntryCount() const {
    return HasLayout() ? std::min(ChannelCount(), kMaxPlanEntries) : 0;
}

std::uint8_t MeasurementFile::SectionFlags() const {
    return m_e.file[kOffSectionFlags];
}

std::optional<EntryInfo> MeasurementFile::Entry(int i) const {
    if (!InRange(i, ValidEntryCount()))
        return std::nullopt;
    return PlanSlot(i);
}

std::optional<EntryInfo> MeasurementFile::PlanSlot(int i) const {
    if (!HasLayout() || !InRange(i, kMaxPlanEntries))
        return std::nullopt;
    const std::size_t off = kOffPlan + static_cast<std::size_t>(i * EntrySize(Kind()));
    EntryInfo e;
    e.frequency =
        static_cast<std::uint32_t>(U16(off)) | (static_cast<std::uint32_t>(U16(off + 2)) << 16);
    if (IsKind(Kind(), MeterKind::Compact)) {
        e.type = U8(off + 10);
        e.channelNumber = U8(off + 11);
        e.flags = U8(off + 12);
        e.modulation = U8(off + 13);
    } else {
        e.channelNumber = U8(off + 10);
        e.flags = U8(off + 11);
        e.type = U8(off + 12);
        e.modulation = U8(off + 13);
        e.constellation = U8(off + 15);
    }
    return e;
}

std::vector<int> MeasurementFile::EnabledList() const {
    std::vector<int> list;
    for (int i = 0; i < ValidEntryCount(); ++i)
        if (Entry(i)->flags & kEntryEnabled)
            list.push_back(i);
    return list;
}

std::vector<int> MeasurementFile::TiltList() const {
    std::vector<int> list;
    for (int i = 0; i < ValidEntryCount(); ++i)
        if (Entry(i)->flags & kEntryTilt)
            list.push_back(i);
    return list;
}

int MeasurementFile::TiltCount() const {
    return U8(Base() + kOffTiltCount);
}
int MeasurementFile::ScanCount() const {
    return U8(Base() + kOffScanCount);
}
int MeasurementFile::ScanStart() const {
    return U8(Base() + kOffScanStart);
}
int MeasurementFile::SpectrumPointCount() const {
    return U16BE(Base() + kOffSpecN);
}

std::uint32_t MeasurementFile::SpectrumCentre() const {
    const std::size_t off = Base() + kOffSpecCentre;
    return (static_cast<std::uint32_t>(U8(off)) << 16) |
           (static_cast<std::uint32_t>(U8(off + 1)) << 8) | U8(off + 2);
}

int MeasurementFile::SpanCode() const {
    return U8(Base() + kOffSpanCode);
}
int MeasurementFile::MaxFlag() const {
    return U8(Base() + kOffMaxFlag);
}
int MeasurementFile::FixedSpanFlag() const {
    return U8(Base() + kOffFixedSpan);
}
int MeasurementFile::MainsFlag() const {
    return U8(Base() + kOffMains);
}

std::optional<LevelRecord> MeasurementFile::Level(int planIndex) const {
    if (!HasLayout() || !InRange(planIndex, kMaxRecords))
        return std::nullopt;
    const std::size_t off = Base() + kOffLevel + kLevelSize * static_cast<std::size_t>(planIndex);
    LevelRecord r;
    r.mark = U8(off);
    r.level = static_cast<std::int16_t>(U16(off + 2));
    r.second = static_cast<std::int16_t>(U16(off + 4));
    r.ber1 = U16(off + 6);
    r.ber2 = U16(off + 8);
    return r;
}

std::optional<LevelPair> MeasurementFile::Scan(int planIndex) const {
    if (!HasLayout() || !InRange(planIndex, kMaxRecords))
        return std::nullopt;
    const std::size_t off = Base() + kOffScan + kScanSize * static_cast<std::size_t>(planIndex);
    return LevelPair{U16(off), U16(off + 2)};
}

std::optional<HumRecord> MeasurementFile::Hum(int planIndex) const {
    if (!HasLayout() || !InRange(planIndex, kMaxRecords))
        return std::nullopt;
    const std::size_t off = Base() + kOffHum + kHumSize * static_cast<std::size_t>(planIndex);
    HumRecord r;
    r.mark = U8(off);
    r.lpf = static_cast<std::int16_t>(U16(off + 2));
    r.mains1 = static_cast<std::int16_t>(U16(off + 4));
    r.mains2 = static_cast<std::int16_t>(U16(off + 6));
    return r;
}

std::optional<LevelPair> MeasurementFile::Limit(int enabledOrdinal) const {
    if (!HasLayout() || !InRange(enabledOrdinal, kMaxRecords))
        return std::nullopt;
    const std::size_t off =
        Base() + kOffLimit + kLimitSize * static_cast<std::size_t>(enabledOrdinal);
    return LevelPair{U16(off), U16(off + 2)};
}

std::optional<std::int16_t> MeasurementFile::TiltLevel(int tiltOrdinal) const {
    if (!HasLayout() || !InRange(tiltOrdinal, kMaxTiltLevels))
        return std::nullopt;
    return static_cast<std::int16_t>(
        U16(Base() + kOffTiltLevels + 2 * static_cast<std::size_t>(tiltOrdinal)));
}

std::optional<std::uint16_t> MeasurementFile::SpectrumPoint(int i) const {
    if (!HasLayout() || !InRange(i, kMaxSpectrumPoints))
        return std::nullopt;
    return U16(Base() + kOffSpectrum + 2 * static_cast<std::size_t>(i));
}

std::optional<std::uint16_t> MeasurementFile::MaxPoint(int i) const {
    if (!HasLayout() || !InRange(i, kMaxSpectrumPoints))
        return std::nullopt;
    return U16(Base() + kOffMaxTrace + 2 * static_cast<std::size_t>(i));
}

std::optional<int> MeasurementFile::TiltValue() const {
    // A count of 1 still subtracts the second slot; a count of 0 or above 12 names no slot.
    const auto last = TiltLevel(TiltCount() - 1);
    const auto second = TiltLevel(1);
    if (!last || !second)
        return std::nullopt;
    return *last - *second;
}

} // namespace qm
