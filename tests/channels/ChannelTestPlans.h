#pragma once

#include <cstdint>
#include <string>

#include "channels/ChannelPlanList.h"
#include "channels/CommonChannel.h"

namespace qm::test {

// A channel record built field by field for the rule and display tests.
struct ChannelSpec {
    std::uint8_t type = kTypeTv;
    std::uint32_t freq = 47125; // 10 kHz
    std::uint16_t bw = 650;
    std::uint8_t eia = 1;
    std::string name = "  1";
    std::uint8_t flags = kChannelEnabled;
    std::uint16_t rate = 6875;
    std::uint8_t modulation = 0;
    std::uint8_t standard = 0;
};

inline CommonChannel MakeChannel(int kind, const ChannelSpec& s) {
    CommonChannel r;
    r.SetType(kind, s.type);
    r.SetFrequency(s.freq);
    r.SetAudioBw(s.bw);
    r.SetEia(kind, s.eia);
    r.SetName(kind, s.name);
    r.SetFlags(kind, s.flags);
    r.SetSymbolRate(s.rate);
    r.SetModulation(s.modulation);
    r.SetStandard(kind, s.standard);
    return r;
}

// A plan of `count` enabled TV channels with EIA numbers 1.. and names "  1", "  2", ...
inline CChannelPlanList MakeTvPlan(int kind, int count) {
    CChannelPlanList plan;
    plan.SetKind(kind);
    for (int i = 0; i < count; ++i) {
        ChannelSpec s;
        s.eia = static_cast<std::uint8_t>(i + 1);
        s.name = std::string(i + 1 < 10 ? "  " : " ") + std::to_string(i + 1);
        s.freq = static_cast<std::uint32_t>(4725 + 800 * i);
        s.bw = 800;
        plan.Append(MakeChannel(kind, s));
    }
    return plan;
}

} // namespace qm::test
