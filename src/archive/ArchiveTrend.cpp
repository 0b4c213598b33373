#include "archive/ArchiveTrend.h"

#include <cmath>
#include <cstdlib>

#include "limits/LimitCheck.h"
#include "measurement/MeasurementFile.h"
#include "panes/PaneText.h"

namespace qm {

namespace {

struct Pick {
    const char* section = "";
    const std::optional<std::string>* value = nullptr;
};

Pick PickValue(const ArchivedChannel& c, TrendQuantity quantity) {
    switch (quantity) {
    case TrendQuantity::Level:
        if (c.level)
            return {"level", &c.level};
        if (c.scanLevel)
            return {"scan", &c.scanLevel};
        if (c.tiltLevel)
            return {"tilt", &c.tiltLevel};
        return {};
    case TrendQuantity::Audio:
        if (c.audio)
            return {"level", &c.audio};
        if (c.scanAudio)
            return {"scan", &c.scanAudio};
        return {};
    case TrendQuantity::Mer:
        return c.mer ? Pick{"level", &c.mer} : Pick{};
    case TrendQuantity::Ber: {
        const bool cable = c.type == "DVB-C" || c.type == "DIGI";
        const auto& ber = cable ? c.preBer : c.postBer;
        return ber ? Pick{"level", &ber} : Pick{};
    }
    }
    return {};
}

} // namespace

bool ParseTrendQuantity(const std::string& text, TrendQuantity& quantity) {
    for (const TrendQuantity q :
         {TrendQuantity::Level, TrendQuantity::Mer, TrendQuantity::Ber, TrendQuantity::Audio})
        if (text == TrendQuantityName(q)) {
            quantity = q;
            return true;
        }
    return false;
}

const char* TrendQuantityName(TrendQuantity quantity) {
    switch (quantity) {
    case TrendQuantity::Level:
        return "level";
    case TrendQuantity::Mer:
        return "mer";
    case TrendQuantity::Ber:
        return "ber";
    case TrendQuantity::Audio:
        return "audio";
    }
    return "";
}

std::optional<double> TrendValue(const std::string& text) {
    const std::string number =
        !text.empty() && (text[0] == '<' || text[0] == '>') ? text.substr(1) : text;
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (number.empty() || *end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

ArchiveResult ArchiveTrend(Archive& archive, const std::string& site, std::uint32_t frequency,
                           TrendQuantity quantity, std::vector<TrendPoint>& points) {
    points.clear();
    std::vector<ChannelHistory> history;
    const ArchiveResult result = archive.History(site, frequency, history);
    if (!result.Ok())
        return result;
    points.reserve(history.size());
    for (ChannelHistory& h : history) {
        TrendPoint p;
        const Pick pick = PickValue(h.channel, quantity);
        p.channel = h.channel.channel;
        p.type = h.channel.type;
        p.section = pick.section;
        p.text = pick.value ? **pick.value : kNoValue;
        p.value = pick.value ? TrendValue(**pick.value) : std::nullopt;
        p.measurement = std::move(h.measurement);
        points.push_back(std::move(p));
    }
    return result;
}

TrendBounds TrendLimits(const _tagFileDataExt& element, std::uint32_t frequency,
                        TrendQuantity quantity, const LimitProfile& profile) {
    const MeasurementFile file(element);
    if (!file.HasLayout())
        return {};
    for (int i = 0; i < file.ValidEntryCount(); ++i) {
        const auto entry = file.Entry(i);
        if (!entry || entry->frequency != frequency)
            continue;
        const ChannelLimits* limits = LimitsForEntry(file.Kind(), *entry, profile);
        if (!limits)
            return {};
        const bool analogue = entry->type == 0;
        switch (quantity) {
        case TrendQuantity::Level:
            return {limits->levelMin, limits->levelMax};
        case TrendQuantity::Mer:
            return analogue ? TrendBounds{} : TrendBounds{limits->merMin, std::nullopt};
        case TrendQuantity::Ber:
            return analogue ? TrendBounds{} : TrendBounds{std::nullopt, limits->berMax};
        case TrendQuantity::Audio:
            return {};
        }
    }
    return {};
}

bool ParseFrequencyMHz(const std::string& text, std::uint32_t& frequency) {
    char* end = nullptr;
    const double mhz = std::strtod(text.c_str(), &end);
    if (text.empty() || *end || !(mhz > 0) || mhz > 4.0e7)
        return false;
    frequency = static_cast<std::uint32_t>(std::lround(mhz * 100));
    return true;
}

} // namespace qm
