// Limit profile text through the profile reader. A refused profile names a line of the text
// (or the section it misses); a profile that loads, written back and read again, is the same
// profile and judges every sample file the same, and each of its verdicts agrees with its
// margin (a value equal to a limit passes).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "limits/LimitCheck.h"
#include "limits/LimitProfile.h"
#include "measurement/MeasurementFile.h"
#include "measurement/SampleGenerator.h"

namespace {

std::string Number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

void Section(std::string& text, const std::string& name,
             const std::vector<std::pair<const char*, double>>& entries) {
    text += "[" + name + "]\n";
    for (const auto& [key, value] : entries)
        text += std::string(key) + " = " + Number(value) + "\n";
}

void Digital(std::string& text, const std::string& name, const qm::ChannelLimits& l) {
    Section(text, name,
            {{"LevelMin", l.levelMin},
             {"LevelMax", l.levelMax},
             {"MerMin", l.merMin},
             {"BerMax", l.berMax}});
}

// The profile as a file of the documented layout, every number exact.
std::string Written(const qm::LimitProfile& p) {
    std::string text = "[Profile]\nName = " + p.name + "\n";
    Section(text, "TV",
            {{"LevelMin", p.tv.levelMin},
             {"LevelMax", p.tv.levelMax},
             {"VideoAudioMin", p.tv.videoAudioMin},
             {"VideoAudioMax", p.tv.videoAudioMax}});
    for (const auto& [order, limits] : p.cable)
        Digital(text,
                order == qm::kOrderQpsk    ? std::string("DVB-C QPSK")
                : order == qm::kOrderCofdm ? std::string("DVB-C COFDM")
                                           : "DVB-C " + std::to_string(order) + "QAM",
                limits);
    Digital(text, "DVB-T", p.terrestrial);
    Digital(text, "DVB-T2", p.terrestrial2);
    Section(text, "File",
            {{"TiltMax", p.tiltMax}, {"AdjacentMax", p.adjacentMax}, {"HumMax", p.humMax}});
    return text;
}

// A verdict and its margin, the verdict checked against the margin (a value on a limit passes).
void Add(std::vector<double>& all, const qm::ValueCheck& v) {
    if (v.margin && (std::isnan(*v.margin) || (v.verdict == qm::Verdict::Pass && *v.margin < 0) ||
                     (v.verdict == qm::Verdict::Fail && *v.margin >= 0)))
        __builtin_trap();
    all.push_back(static_cast<double>(v.verdict));
    all.push_back(v.margin.value_or(-1e300));
}

// Every verdict on every sample file, with its margin.
std::vector<double> Judged(const qm::LimitProfile& profile) {
    static const std::vector<qm::_tagFileDataExt> samples = [] {
        std::vector<qm::_tagFileDataExt> files;
        for (int kind = 0; kind <= 2; ++kind)
            files.push_back(qm::MakeSampleMeasurement(kind, kind, "SAMPLE"));
        return files;
    }();
    std::vector<double> all;
    for (const qm::_tagFileDataExt& element : samples) {
        const qm::FileCheck check = qm::CheckFile(qm::MeasurementFile(element), profile);
        for (const qm::SectionCheck& section : check.sections) {
            for (const qm::ValueCheck& v : section.fileValues)
                Add(all, v);
            for (const qm::ChannelCheck& channel : section.channels)
                for (const qm::ValueCheck& v : channel.values)
                    Add(all, v);
        }
        all.push_back(static_cast<double>(check.verdict));
    }
    return all;
}

// "line N: ..." with N a line of the text, or a section that is missing, or the size.
bool NamesWhere(const std::string& error, std::string_view text) {
    if (error.starts_with("the profile has no section [") || error.starts_with("the profile is"))
        return true;
    unsigned long line = 0;
    if (std::sscanf(error.c_str(), "line %lu: ", &line) != 1 || !error.starts_with("line "))
        return false;
    std::size_t lines = 1;
    for (const char c : text)
        lines += c == '\n';
    return line >= 1 && line <= lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const qm::ProfileResult first = qm::ParseLimitProfile(text);
    if (!first.profile) {
        if (!NamesWhere(first.error, text))
            __builtin_trap();
        return 0;
    }
    const std::string written = Written(*first.profile);
    const qm::ProfileResult again = qm::ParseLimitProfile(written);
    // Every number is written exactly, so the same text is the same profile.
    if (!again.profile || Written(*again.profile) != written ||
        Judged(*first.profile) != Judged(*again.profile))
        __builtin_trap();
    return 0;
}
