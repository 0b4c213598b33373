#include "channels/CellEditRules.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/TextTrim.h"
#include "channels/ChannelRowTexts.h"
#include "channels/ChannelValueTables.h"
#include "channels/DecimalText.h"
#include "res/TextCodec.h"

namespace qm {

namespace {

// Plan limits the rules enforce (10 kHz units, kS/s).
constexpr std::int64_t kMinFrequency = 500;    // 5.00 MHz
constexpr std::int64_t kMaxFrequency = 105200; // 1052.00 MHz
constexpr std::int64_t kMaxAudio1 = 999;       // 9.99 MHz
constexpr std::int64_t kMinBandwidth = 600;    // 6.00 MHz
constexpr std::int64_t kMinBandwidthT2 = 500;  // 5.00 MHz, DVB-T2 in kind 2
constexpr std::int64_t kMaxBandwidth = 800;    // 8.00 MHz
constexpr std::int64_t kMinSymbolRate = 2000;  // 2.000 MS/s
constexpr std::int64_t kMaxSymbolRate = 7000;  // 7.000 MS/s
constexpr std::size_t kNameLength = 3;

// Picture carrier of an analogue channel against the centre of a digital one: 8 MHz channels
// (sound at 6.50 as digital, 8.00 as TV) are 2.75 MHz apart, 6 MHz channels 1.75 MHz.
constexpr std::uint16_t kDigital8 = 650, kTv8 = 800, kShift8 = 275;
constexpr std::uint16_t kDigital6 = 450, kTv6 = 600, kShift6 = 175;

std::uint16_t Clamp16(std::int64_t v, std::int64_t lo, std::int64_t hi) {
    return static_cast<std::uint16_t>(std::clamp(v, lo, hi));
}

} // namespace

CellEditOutcome CCellEditRules::EditFinished(std::size_t row, int column, const std::string& text) {
    m_outcome = CellEditOutcome{};
    m_kind = m_plan.Kind();
    if (column == kColId || !m_grid.Contains(row, column) || m_grid.RecordOf(row) >= m_plan.Count())
        return m_outcome;
    m_outcome.applied = true;
    m_row = row;
    m_record = m_grid.RecordOf(row);
    m_grid.SetCell(row, column, text);
    m_grid.SetCurrent(row, column);
    const CommonChannel before = Record();

    switch (column) {
    case kColEia:
        EditEia(text);
        break;
    case kColName:
        EditName(text);
        break;
    case kColType:
        EditType(text);
        break;
    case kColFreq:
        EditFrequency(text);
        break;
    case kColAudioBw:
        EditAudioBw(text);
        break;
    case kColEnable:
        EditEnable(text);
        break;
    case kColTilt:
        EditTilt(text);
        break;
    case kColModulation:
        EditModulation(text);
        break;
    case kColSymbolRate:
        EditSymbolRate(text);
        break;
    case kColStandard:
        EditStandard(text);
        break;
    default:
        EditTerrestrial(column, text);
        break;
    }

    if (std::memcmp(&before, &Record(), sizeof before) != 0)
        m_outcome.changedRecords.push_back(m_record);
    if (m_outcome.refill) {
        m_outcome.cells.clear();
        m_grid.Fill(m_plan);
    } else {
        // Only texts that differ from what a cell shows are news to the user.
        std::erase_if(m_outcome.cells, [&](const CellTextChange& c) {
            return m_grid.Cell(c.row, c.column) == c.text;
        });
        for (const CellTextChange& c : m_outcome.cells)
            m_grid.SetCell(c.row, c.column, c.text);
    }
    m_outcome.keepsTypedText =
        !m_outcome.refill &&
        std::none_of(m_outcome.cells.begin(), m_outcome.cells.end(),
                     [&](const CellTextChange& c) { return c.column == column; });
    return m_outcome;
}

CommonChannel& CCellEditRules::Record() {
    return m_plan.At(m_record);
}

void CCellEditRules::Show(int column, std::string text) {
    if (column >= m_grid.ColumnCount())
        return;
    for (CellTextChange& c : m_outcome.cells) {
        if (c.column == column) {
            c.text = std::move(text);
            return;
        }
    }
    m_outcome.cells.push_back({m_row, column, std::move(text)});
}

void CCellEditRules::ShowRecord(int column) {
    Show(column, ChannelCellText(m_kind, Record(), m_row, column));
}

void CCellEditRules::EditEia(const std::string& text) {
    const std::int64_t n = DecimalText(text).Scaled(0);
    if (text.empty() || n < 0 || n > 255) {
        Error(txt::kEiaRange);
        ShowRecord(kColEia);
        return;
    }
    for (std::size_t i = 0; i < m_plan.Count(); ++i) {
        if (i != m_record && m_plan.At(i).Eia(m_kind) == n) {
            Error(txt::kEiaInUse);
            ShowRecord(kColEia);
            return;
        }
    }
    Record().SetEia(m_kind, static_cast<std::uint8_t>(n));
}

void CCellEditRules::EditName(const std::string& text) {
    // Measured in stored bytes: a character that takes two bytes in the code page must not
    // push the name past its 4-byte field.
    std::string name = Utf8ToAnsi(Trim(text));
    if (name.empty() || name.size() > kNameLength) {
        Error(txt::kNameLength);
        ShowRecord(kColName);
        return;
    }
    name.insert(0, kNameLength - name.size(), ' ');
    for (std::size_t i = 0; i < m_plan.Count(); ++i) {
        if (i != m_record && m_plan.At(i).Name(m_kind) == name) {
            Notice(txt::kNameExists);
            Refill();
            return;
        }
    }
    Record().SetName(m_kind, name);
}

void CCellEditRules::EditType(const std::string& text) {
    CommonChannel& r = Record();
    const std::uint8_t old = r.Type(m_kind);
    const int code = TableCode(TypeTable(m_kind), text);
    const bool toTv = code == kTypeTv;
    const bool toDigital = code > 0 && IsDigitalType(m_kind, static_cast<std::uint8_t>(code));
    if (!toTv && !toDigital) {
        Refill();
        return;
    }

    // Frequencies from files are unchecked: the shift saturates at both ends of the 32-bit
    // range instead of wrapping into an absurd value.
    const auto shift = [&r](std::int64_t by) {
        r.SetFrequency(static_cast<std::uint32_t>(std::clamp<std::int64_t>(
            std::int64_t{r.Frequency()} + by, 0, std::numeric_limits<std::uint32_t>::max())));
    };
    bool moved = false;
    if (toTv && IsDigitalType(m_kind, old)) {
        if (r.AudioBw() == kDigital8) {
            shift(kShift8);
            r.SetAudioBw(kTv8);
            moved = true;
        } else if (r.AudioBw() == kDigital6) {
            shift(kShift6);
            r.SetAudioBw(kTv6);
            moved = true;
        }
    } else if (toDigital && old == kTypeTv) {
        if (r.AudioBw() == kTv8) {
            shift(-kShift8);
            r.SetAudioBw(kDigital8);
            moved = true;
        } else if (r.AudioBw() == kTv6) {
            shift(-kShift6);
            r.SetAudioBw(kDigital6);
            moved = true;
        }
    }
    if (moved) {
        Show(kColFreq, FormatHundredths(r.Frequency()));
        Show(kColAudioBw, FormatHundredths(r.AudioBw()));
    }
    for (int c = kColModulation; c < m_grid.ColumnCount(); ++c)
        Show(c, kNotApplicable);

    switch (code) {
    case kTypeTv:
        break;
    case kTypeDvbC:
        r.SetModulation(0);
        r.SetStandard(m_kind, 0);
        if (IsKind(m_kind, MeterKind::T2))
            r.SetSymbolRate(*DefaultSymbolRate(0, false));
        Show(kColModulation, TableText(ModulationTable(m_kind), 0));
        Show(kColSymbolRate, FormatThousandths(r.SymbolRate()));
        Show(kColStandard, TableText(StandardTable(), 0));
        break;
    case kTypeDvbT:
    case kTypeDvbT2:
        r.SetConstellation(0);
        r.SetGuard(0);
        r.SetFft(0);
        r.SetCodeRate(0);
        Show(kColConstellation, TableText(ConstellationTable(), 0));
        Show(kColGuard, TableText(GuardTable(), 0));
        Show(kColFft, TableText(FftTable(), 0));
        Show(kColCodeRate, TableText(CodeRateTable(static_cast<std::uint8_t>(code)), 0));
        if (code == kTypeDvbT) {
            r.SetHierarchy(0);
            Show(kColHierarchy, TableText(HierarchyTable(), 0));
        }
        break;
    default:
        break;
    }
    r.SetType(m_kind, static_cast<std::uint8_t>(code));
}

void CCellEditRules::EditFrequency(const std::string& text) {
    CommonChannel& r = Record();
    std::int64_t f = DecimalText(text).Scaled(2);
    const std::uint8_t type = r.Type(m_kind);
    if (type == kTypeTv) {
        r.SetFrequency(static_cast<std::uint32_t>(std::clamp(f, kMinFrequency, kMaxFrequency)));
    } else if (IsDigitalType(m_kind, type)) {
        // The whole band, centre +- half the bandwidth, stays within 5.00-1052.00 MHz.
        const std::int64_t h = r.AudioBw() / 2;
        if (f < kMinFrequency + h)
            f = kMinFrequency + h;
        else if (f + h >= kMaxFrequency)
            f = kMaxFrequency - h;
        r.SetFrequency(static_cast<std::uint32_t>(f));
    }
    ShowRecord(kColFreq);
}

void CCellEditRules::EditAudioBw(const std::string& text) {
    CommonChannel& r = Record();
    const std::int64_t v = DecimalText(text).Scaled(2);
    const std::uint8_t type = r.Type(m_kind);
    std::int64_t lo = 0, hi = kMaxAudio1;
    if (type == kTypeTv) {
        lo = 0;
        hi = kMaxAudio1;
    } else if (type == kTypeDvbC || (!IsKind(m_kind, MeterKind::Compact) && type == kTypeDvbT)) {
        lo = kMinBandwidth;
        hi = kMaxBandwidth;
    } else if (IsKind(m_kind, MeterKind::T2) && type == kTypeDvbT2) {
        lo = kMinBandwidthT2;
        hi = kMaxBandwidth;
    } else {
        // Rows of other types keep their value, and the cell shows it again.
        ShowRecord(kColAudioBw);
        return;
    }
    r.SetAudioBw(Clamp16(v, lo, hi));
    if (IsKind(m_kind, MeterKind::T2))
        ShowRecord(kColAudioBw);
    else if (v < lo || v > hi)
        Refill();
}

void CCellEditRules::EditEnable(const std::string& text) {
    CommonChannel& r = Record();
    if (text == "N") {
        r.SetFlags(m_kind, 0);
    } else if (text == "Y") {
        r.SetFlags(m_kind, static_cast<std::uint8_t>(r.Flags(m_kind) | kChannelEnabled));
    } else {
        ShowRecord(kColEnable);
        return;
    }
    // Tilt follows: cleared with the channel, and shown again if the flags now make it "Y".
    const std::string tilt = ChannelCellText(m_kind, r, m_row, kColTilt);
    if (m_grid.Cell(m_row, kColTilt) != tilt)
        Show(kColTilt, tilt);
}

void CCellEditRules::EditTilt(const std::string& text) {
    CommonChannel& r = Record();
    if (text != "Y" && text != "N") {
        ShowRecord(kColTilt);
        return;
    }
    int tilts = 0;
    for (std::size_t i = 0; i < m_plan.Count(); ++i)
        tilts += ShowsTilt(m_plan.At(i).Flags(m_kind)) ? 1 : 0;
    const bool enabled = ShowsEnabled(r.Flags(m_kind));
    const auto clearTilt = [&] {
        r.SetFlags(m_kind, static_cast<std::uint8_t>(r.Flags(m_kind) & ~kChannelTilt));
    };

    if (IsKind(m_kind, MeterKind::T2) && !enabled) {
        Error(txt::kTiltNeedsEnable);
        Refill();
        return;
    }
    if (text == "N") {
        clearTilt();
        return;
    }
    if (tilts >= kMaxTiltChannels) {
        Notice(txt::kTiltMax);
        Refill();
        return;
    }
    if (!enabled) {
        Error(txt::kTiltNeedsEnable);
        Refill();
        return;
    }
    r.SetFlags(m_kind, static_cast<std::uint8_t>(r.Flags(m_kind) | kChannelTilt));
}

void CCellEditRules::EditModulation(const std::string& text) {
    CommonChannel& r = Record();
    const int code = TableCode(ModulationTable(m_kind), text);
    if (r.Type(m_kind) != kTypeDvbC || code < 0) {
        ShowRecord(kColModulation);
        return;
    }
    r.SetModulation(static_cast<std::uint8_t>(code));
    if (auto rate = DefaultSymbolRate(r.Standard(m_kind), text == "256QAM")) {
        r.SetSymbolRate(*rate);
        Show(kColSymbolRate, FormatThousandths(*rate));
    }
}

void CCellEditRules::EditSymbolRate(const std::string& text) {
    CommonChannel& r = Record();
    if (r.Type(m_kind) != kTypeDvbC) {
        Show(kColSymbolRate, kNotApplicable);
        return;
    }
    // Compared on the exact decimal: 7.0005 lies above 7.000 although it truncates to 7000.
    const DecimalText value(text);
    const std::int64_t rate = value.Scaled(3);
    const bool inRange =
        value.HasNumber() && rate >= kMinSymbolRate &&
        (rate < kMaxSymbolRate || (rate == kMaxSymbolRate && !value.HasMoreDigits(3)));
    if (!inRange) {
        Error(txt::kRateRange);
        Refill();
        return;
    }
    r.SetSymbolRate(static_cast<std::uint16_t>(rate));
}

void CCellEditRules::EditStandard(const std::string& text) {
    CommonChannel& r = Record();
    const int code = TableCode(StandardTable(), text);
    // Like the mode, only DVB-C rows have a standard: on another row the new rate would show
    // in a cell that reads "---" again at the next refill.
    if (r.Type(m_kind) != kTypeDvbC || code < 0) {
        ShowRecord(kColStandard);
        return;
    }
    // The modulation is taken from what the row shows.
    const bool qam256 = m_grid.Cell(m_row, kColModulation) == "256QAM";
    const std::uint16_t rate = *DefaultSymbolRate(static_cast<std::uint8_t>(code), qam256);
    r.SetStandard(m_kind, static_cast<std::uint8_t>(code));
    r.SetSymbolRate(rate);
    Show(kColSymbolRate, FormatThousandths(rate));
}

void CCellEditRules::EditTerrestrial(int column, const std::string& text) {
    CommonChannel& r = Record();
    const std::uint8_t type = r.Type(m_kind);
    if (column == kColCodeRate && IsKind(m_kind, MeterKind::T2) && type != kTypeDvbT &&
        type != kTypeDvbT2) {
        Refill();
        return;
    }
    ValueTable table;
    switch (column) {
    case kColConstellation:
        table = ConstellationTable();
        break;
    case kColGuard:
        table = GuardTable();
        break;
    case kColFft:
        table = FftTable();
        break;
    case kColCodeRate:
        // The DVB-T table for every row but DVB-T2 rows, which show their code rate in the
        // DVB-T2 table: looking it up in the DVB-T one would store another rate than chosen.
        table = CodeRateTable(type);
        break;
    default:
        table = HierarchyTable();
        break;
    }
    const int code = TableCode(table, text);
    if (code < 0) {
        ShowRecord(column);
        return;
    }
    const auto value = static_cast<std::uint8_t>(code);
    switch (column) {
    case kColConstellation:
        r.SetConstellation(value);
        break;
    case kColGuard:
        r.SetGuard(value);
        break;
    case kColFft:
        r.SetFft(value);
        break;
    case kColCodeRate:
        r.SetCodeRate(value);
        break;
    default:
        r.SetHierarchy(value);
        break;
    }
}

} // namespace qm
