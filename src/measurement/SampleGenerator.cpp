#include "measurement/SampleGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "measurement/MeasurementFile.h"

namespace qm {

namespace {

// Signal type codes of the entry layouts.
constexpr std::uint8_t kTypeTv = 0, kTypeDvbC = 1, kTypeDvbT = 2, kTypeDvbT2 = 3;

// Small deterministic generator so every run gives the same bytes.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : m_state(seed * 2654435761u + 12345u) {}
    // Uniform in [-1, 1].
    double Noise() {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<double>(m_state >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

private:
    std::uint32_t m_state;
};

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

void PutName(std::uint8_t* p, const std::string& name) {
    // Three characters, left-padded with spaces, then the terminating NUL.
    std::string padded = name.substr(0, 3);
    padded.insert(0, 3 - padded.size(), ' ');
    std::memcpy(p, padded.data(), 3);
    p[3] = 0;
}

struct Channel {
    std::uint32_t frequency;
    std::uint16_t audioBw;
    std::uint8_t type;
    std::string name;
    bool enabled = true;
    bool tilt = false;
};

// A European cable plan: band I and III analogue channels, hyperband analogue channels,
// DVB-C 256QAM in the S-band and UHF, and on terrestrial meters DVB-T / DVB-T2 multiplexes.
std::vector<Channel> BuildPlan(int kind) {
    std::vector<Channel> plan;
    auto tv = [&](double mhz, const std::string& name) {
        plan.push_back({static_cast<std::uint32_t>(std::lround(mhz * 100)), 550, kTypeTv, name});
    };
    auto digital = [&](double mhz, std::uint8_t type, const std::string& name) {
        plan.push_back({static_cast<std::uint32_t>(std::lround(mhz * 100)), 800, type, name});
    };
    tv(48.25, "E2");
    tv(55.25, "E3");
    tv(62.25, "E4");
    for (int e = 5; e <= 12; ++e)
        tv(175.25 + 7.0 * (e - 5), "E" + std::to_string(e));
    for (int s = 11; s <= 20; ++s)
        tv(231.25 + 7.0 * (s - 11), "S" + std::to_string(s));
    for (int s = 21; s <= 28; ++s)
        digital(306.0 + 8.0 * (s - 21), kTypeDvbC, "S" + std::to_string(s));
    for (int ch = 21; ch <= 40; ++ch)
        digital(474.0 + 8.0 * (ch - 21), kTypeDvbC, std::to_string(ch));
    if (!IsKind(kind, MeterKind::Compact)) {
        for (int ch : {44, 47, 51, 55})
            digital(474.0 + 8.0 * (ch - 21), kTypeDvbT, std::to_string(ch));
    }
    if (IsKind(kind, MeterKind::T2)) {
        for (int ch : {58, 61, 64})
            digital(474.0 + 8.0 * (ch - 21), kTypeDvbT2, std::to_string(ch));
    }
    return plan;
}

// Marks up to twelve pilots spread over the band and disables one channel to show gaps.
void MarkPilots(std::vector<Channel>& plan) {
    const int n = static_cast<int>(plan.size());
    const int pilots = std::min(n, 12);
    for (int k = 0; k < pilots; ++k) {
        int i = pilots == 1 ? 0 : static_cast<int>(std::lround(k * (n - 1.0) / (pilots - 1.0)));
        plan[static_cast<std::size_t>(i)].tilt = true;
    }
    if (n > 8 && !plan[3].tilt)
        plan[3].enabled = false;
}

std::vector<std::uint8_t> EncodeEntry(int kind, const Channel& c, std::uint8_t eia) {
    const std::uint8_t flags = c.tilt ? 0xC0 : c.enabled ? 0x80 : 0x00;
    std::vector<std::uint8_t> e(static_cast<std::size_t>(EntrySize(kind)), 0);
    Put32(&e[0], c.frequency);
    Put16(&e[4], c.audioBw);
    if (c.type == kTypeDvbC)
        Put16(&e[8], 6952); // J.83 A, 256QAM
    if (IsKind(kind, MeterKind::Compact)) {
        e[10] = c.type;
        e[11] = eia;
        e[12] = flags;
        e[13] = c.type == kTypeDvbC ? 5 : 0; // "256QAM" in the kind 0/1 table
        PutName(&e[14], c.name);
        e[18] = 0; // J83.A
        return e;
    }
    e[10] = eia;
    e[11] = flags;
    e[12] = c.type;
    if (c.type == kTypeDvbC)
        e[13] = IsKind(kind, MeterKind::T2) ? 4 : 5; // "256QAM" in each kind's table
    if (c.type == kTypeDvbT) {
        e[15] = 2; // 64QAM
        e[16] = 3; // 1/4
        e[17] = 1; // 8K
        e[18] = 1; // 2/3
        e[19] = 0; // NONE
    } else if (c.type == kTypeDvbT2) {
        e[15] = 3; // 256QAM
        e[16] = 6; // 19/256
        e[17] = 5; // 32K
        e[18] = 2; // 2/3
    }
    PutName(&e[20], c.name);
    return e;
}

std::vector<Channel> PlanForVariant(int kind, int variant) {
    std::vector<Channel> plan = BuildPlan(kind);
    if (variant > 0) {
        const std::size_t keep = std::max<std::size_t>(
            5, plan.size() -
                   std::min<std::size_t>(plan.size(), 12u * static_cast<std::size_t>(variant)));
        // Keep both ends of the band so each variant still spans analogue and digital.
        std::vector<Channel> shorter(plan.begin(),
                                     plan.begin() + static_cast<std::ptrdiff_t>(keep / 2));
        shorter.insert(shorter.end(), plan.end() - static_cast<std::ptrdiff_t>(keep - keep / 2),
                       plan.end());
        plan = std::move(shorter);
    }
    MarkPilots(plan);
    return plan;
}

void PutS16(std::uint8_t* p, int v) {
    Put16(p, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
}

// Tenths of a dB: the cable network's level at a frequency, rising with a real slope.
int CableLevel(std::uint32_t frequency, Lcg& rng) {
    const double mhz = frequency / 100.0;
    return static_cast<int>(
        std::lround(10.0 * (66.0 + 8.0 * (mhz - 47.0) / (862.0 - 47.0)) + 10.0 * rng.Noise()));
}

// A DVB-C channel of bandwidth 8 MHz with its neighbours, as the meter's sweep sees it.
double SpectrumLevel(double mhz, double centre, Lcg& rng) {
    double level = 22.0 + 1.5 * rng.Noise(); // noise floor
    for (double c : {centre - 8.0, centre, centre + 8.0}) {
        const double off = std::fabs(mhz - c);
        const double top = c == centre ? 58.0 : 54.0;
        if (off < 3.6)
            level = std::max(level, top + 0.8 * rng.Noise());
        else if (off < 4.2)
            level = std::max(level, top - (off - 3.6) * 55.0 + rng.Noise());
    }
    return level;
}

} // namespace

std::vector<std::vector<std::uint8_t>> SamplePlanEntries(int kind, int variant) {
    std::vector<std::vector<std::uint8_t>> entries;
    std::vector<Channel> plan = PlanForVariant(kind, variant);
    for (std::size_t i = 0; i < plan.size(); ++i)
        entries.push_back(EncodeEntry(kind, plan[i], static_cast<std::uint8_t>(i + 2)));
    return entries;
}

_tagFileDataExt MakeSampleMeasurement(int kind, int variant, const std::string& name) {
    _tagFileDataExt e;
    e.kind = static_cast<std::uint8_t>(kind);
    std::uint8_t* f = e.file.data();
    Lcg rng(static_cast<std::uint32_t>(kind * 1000 + variant));

    // Header.
    std::memcpy(f, name.data(), std::min<std::size_t>(name.size(), 9));
    Put16(f + 10, 2026);
    Put16(f + 12, static_cast<std::uint32_t>(1 + variant % 12));
    Put16(f + 14, static_cast<std::uint32_t>(1 + (variant * 7) % 28));
    char time[11];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", 8 + variant % 10, (variant * 13) % 60,
                  (variant * 29) % 60);
    std::memcpy(f + 16, time, std::strlen(time));
    f[29] = kFlagLevel | kFlagTilt | kFlagScan | kFlagSpectrum | kFlagHum | kFlagLimit;

    std::vector<Channel> plan = PlanForVariant(kind, 0);
    f[27] = static_cast<std::uint8_t>(plan.size());
    const std::size_t es = static_cast<std::size_t>(EntrySize(kind));
    for (std::size_t i = 0; i < plan.size(); ++i) {
        std::vector<std::uint8_t> entry =
            EncodeEntry(kind, plan[i], static_cast<std::uint8_t>(i + 2));
        std::memcpy(f + 32 + i * es, entry.data(), es);
    }

    std::uint8_t* s = f + SectionBase(kind);
    int enabledOrdinal = 0, tiltOrdinal = 0, humRows = 0;
    for (std::size_t i = 0; i < plan.size() && i < kMaxRecords; ++i) {
        const Channel& c = plan[i];
        if (!c.enabled && !c.tilt)
            continue;
        const bool analogue = c.type == kTypeTv;
        const int level = CableLevel(c.frequency, rng) - (analogue ? 0 : 100);
        const int audio = level - 100 - static_cast<int>(std::lround(5 * rng.Noise()));

        // Level record: MER around the 30 dB and 32 dB display thresholds for digital channels.
        std::uint8_t* lr = s + 340 + 10 * i;
        lr[0] = kMeasuredMark;
        PutS16(lr + 2, level);
        if (analogue) {
            PutS16(lr + 4, audio);
        } else {
            static const int kMer[] = {300, 301, 320, 321, 345, 362, 288, 334};
            PutS16(lr + 4, kMer[i % 8]);
            static const std::uint16_t kPre[] = {0x1F05, 0x00FF, 0,      0x2306,
                                                 0x4A04, 0xFFFF, 0x1207, 0};
            static const std::uint16_t kPost[] = {0, 0x0B08, 0, 0x00FF, 0x1506, 0xFFFF, 0, 0x3109};
            Put16(lr + 6, kPre[i % 8]);
            Put16(lr + 8, kPost[i % 8]);
        }

        // Scan record at the plan index.
        std::uint8_t* sr = s + 1964 + 4 * i;
        PutS16(sr, level + static_cast<int>(std::lround(3 * rng.Noise())));
        PutS16(sr + 2, analogue ? audio : 0);

        // Limit record at the enabled ordinal.
        std::uint8_t* lim = s + 5164 + 4 * static_cast<std::size_t>(enabledOrdinal);
        Put16(lim, static_cast<std::uint16_t>(level));
        Put16(lim + 2, analogue ? static_cast<std::uint16_t>(audio) : 0);
        ++enabledOrdinal;

        // Hum: a few tenths of a percent on the analogue channels.
        if (analogue && humRows < 12) {
            std::uint8_t* hr = s + 3884 + 8 * i;
            hr[0] = kMeasuredMark;
            PutS16(hr + 2, 2 + humRows % 4);
            PutS16(hr + 4, 18 + static_cast<int>(std::lround(8 * rng.Noise())));
            PutS16(hr + 6, 4 + humRows % 3);
            ++humRows;
        }

        // Tilt pilots with the network's slope.
        if (c.tilt && tiltOrdinal < kMaxTiltLevels) {
            PutS16(s + 1940 + 2 * static_cast<std::size_t>(tiltOrdinal),
                   CableLevel(c.frequency, rng));
            ++tiltOrdinal;
        }
    }
    s[88] = static_cast<std::uint8_t>(tiltOrdinal);
    s[104] = static_cast<std::uint8_t>(std::min(enabledOrdinal, kMaxRecords));
    s[105] = 0;

    // Spectrum: 315 points, 12.5 MHz around the DVB-C channel at 474 MHz, with a MAX trace.
    const int points = 315;
    const std::uint32_t centre = 47400;
    s[120] = static_cast<std::uint8_t>(points >> 8);
    s[121] = static_cast<std::uint8_t>(points & 0xFF);
    s[127] = static_cast<std::uint8_t>(centre >> 16);
    s[128] = static_cast<std::uint8_t>(centre >> 8);
    s[129] = static_cast<std::uint8_t>(centre);
    s[130] = 2;
    s[131] = 1;
    s[132] = 0;
    const double span = SpanMHz(2, 0), start = centre / 100.0 - span / 2;
    for (int i = 0; i < points; ++i) {
        const double mhz = start + i * span / (points - 1);
        const double v = SpectrumLevel(mhz, centre / 100.0, rng);
        const double peak = v + 1.0 + std::fabs(rng.Noise());
        Put16(s + 2604 + 2 * i, static_cast<std::uint16_t>(std::lround(v * 10)));
        Put16(s + 3244 + 2 * i, static_cast<std::uint16_t>(std::lround(peak * 10)));
    }
    s[137] = 1; // 50 Hz mains
    return e;
}

std::vector<_tagFileDataExt> MakeSampleSet(int kind, int count) {
    std::vector<_tagFileDataExt> set;
    for (int i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "FILE%03d", i + 1);
        set.push_back(MakeSampleMeasurement(kind, i, name));
    }
    return set;
}

} // namespace qm
