#include "limits/LimitTexts.h"

#include <map>
#include <string>
#include <vector>

#include "panes/PaneText.h"
#include "res/StringTable.h"

namespace qm {

std::string VerdictWord(Verdict verdict, int base) {
    switch (verdict) {
    case Verdict::Pass:
        return Tr(txt::kPass, base);
    case Verdict::Fail:
        return Tr(txt::kFAIL, base);
    case Verdict::NotMeasured:
        return Tr(txt::kNotMeasured, base);
    case Verdict::NotChecked:
        return Tr(txt::kNotChecked, base);
    }
    return {};
}

std::string QuantityName(Quantity quantity, int base) {
    switch (quantity) {
    case Quantity::Level:
        return Tr(txt::kArchiveLevel, base);
    case Quantity::VideoAudio:
        return Tr(txt::kVideoAudioDifference, base);
    case Quantity::Mer:
        return "MER";
    case Quantity::Ber:
        return "BER";
    case Quantity::Adjacent:
        return Tr(txt::kAdjacentDifference, base);
    case Quantity::Tilt:
        return Tr(txt::kTilt, base);
    case Quantity::Hum:
        return Tr(txt::kHumLPF, base);
    case Quantity::Hum1:
        return Tr(txt::kHumMains, base);
    case Quantity::Hum2:
        return Tr(txt::kHum2xMains, base);
    }
    return {};
}

std::string SectionName(PaneSection section, int base) {
    static const std::map<PaneSection, int> ids = {
        {PaneSection::Level, txt::kLevelAnalysis}, {PaneSection::Tilt, txt::kTiltAnalysis},
        {PaneSection::Scan, txt::kScanAnalysis},   {PaneSection::Spectrum, txt::kSpectrumAnalysis},
        {PaneSection::Hum, txt::kHumAnalysis},     {PaneSection::Limit, txt::kLimitAnalysis}};
    return Tr(ids.at(section), base);
}

namespace {
bool IsHum(Quantity q) {
    return q == Quantity::Hum || q == Quantity::Hum1 || q == Quantity::Hum2;
}

// Fills a text's integer placeholders: "%d" takes the next value, "%1$d" and "%2$d" a given one,
// so that a translation may put them in its own order. Done here rather than by printf, whose
// numbered placeholders not every C library honours.
std::string FillNumbers(const std::string& pattern, const std::vector<int>& values) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        const char c = pattern[i + 1];
        std::size_t index = values.size();
        if (c == 'd') {
            index = next++;
            i += 1;
        } else if (c >= '1' && c <= '9' && i + 3 < pattern.size() && pattern[i + 2] == '$' &&
                   pattern[i + 3] == 'd') {
            index = static_cast<std::size_t>(c - '1');
            i += 3;
        } else if (c == '%') {
            out += '%';
            i += 1;
            continue;
        } else {
            out += '%';
            continue;
        }
        if (index < values.size())
            out += std::to_string(values[index]);
    }
    return out;
}
} // namespace

std::string CheckValueText(const ValueCheck& check) {
    if (!check.value)
        return kNoValue;
    if (check.quantity == Quantity::Ber)
        return Format("%.1E", *check.value);
    if (IsHum(check.quantity))
        return Format("%.2f%%", *check.value);
    return Format("%.1f", *check.value);
}

std::string MarginText(const ValueCheck& check) {
    if (!check.margin)
        return kNoValue;
    if (check.quantity == Quantity::Ber)
        return Format("%+.1f dec", *check.margin);
    if (IsHum(check.quantity))
        return Format("%+.2f%%", *check.margin);
    return Format("%+.1f dB", *check.margin);
}

std::string SummaryLine(int passCount, int channelCount, std::optional<double> worstMargin,
                        int base) {
    std::string line = FillNumbers(Tr(txt::kChannelsPass, base), {passCount, channelCount});
    if (worstMargin)
        line += Format(Tr(txt::kWorstMargin, base).c_str(), *worstMargin);
    return line;
}

std::string CellMarkText(const ValueCheck& v, int base) {
    return QuantityName(v.quantity, base) + (base == kLanguageChinese ? "：" : ": ") +
           CheckValueText(v) + "  " + v.limitText + "  " + MarginText(v);
}

std::string SectionSummaryText(const SectionCheck& check, int base) {
    std::string line = check.verdict == Verdict::Fail ? kFailMark : kPassMark;
    line += SummaryLine(check.passCount, check.channelCount, check.worstMargin, base);
    // Chinese lines take full-width marks.
    const bool zh = base == kLanguageChinese;
    for (const ValueCheck& v : check.fileValues)
        line += (zh ? "；" : "; ") + QuantityName(v.quantity, base) + " " + CheckValueText(v) +
                (zh ? "（" : " (") + v.limitText + (zh ? "）：" : "): ") +
                VerdictWord(v.verdict, base);
    return line;
}

std::string VerdictLine(const FileCheck& check, int base) {
    // The file's verdict stands out in capitals, as a signed report shows it.
    const std::string shown = check.verdict == Verdict::Pass && base != kLanguageChinese
                                  ? std::string("PASS")
                                  : VerdictWord(check.verdict, base);
    return Tr(txt::kLimitVerdict, base) + (base == kLanguageChinese ? "" : " ") + shown +
           (base == kLanguageChinese ? "——" : " - ") +
           SummaryLine(check.passCount, check.channelCount, check.worstMargin, base);
}

std::string ReportVerdictLine(Verdict verdict, int passFiles, int files,
                              std::optional<double> worstMargin, int base) {
    const std::string shown = verdict == Verdict::Pass && base != kLanguageChinese
                                  ? std::string("PASS")
                                  : VerdictWord(verdict, base);
    std::string line = Tr(txt::kLimitVerdict, base) + (base == kLanguageChinese ? "" : " ") +
                       shown + (base == kLanguageChinese ? "——" : " - ") +
                       FillNumbers(Tr(txt::kReportFilesPass, base), {passFiles, files});
    if (worstMargin)
        line += Format(Tr(txt::kWorstMargin, base).c_str(), *worstMargin);
    return line;
}

std::vector<std::vector<std::string>> VerdictTable(const FileCheck& check, int base) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> titles;
    for (int t : {txt::kSection, txt::kLimitNo, txt::kCH, txt::kFreqMHz, txt::kLimitType,
                  txt::kLimitValue, txt::kLimitMeasured, txt::kLimit, txt::kMargin, txt::kVerdict})
        titles.push_back(Tr(t, base));
    rows.push_back(std::move(titles));
    for (const SectionCheck& s : check.sections) {
        const std::string section = SectionName(s.section, base);
        for (const ValueCheck& v : s.fileValues)
            rows.push_back({section, "", "", "", "", QuantityName(v.quantity, base),
                            CheckValueText(v), v.limitText, MarginText(v),
                            VerdictWord(v.verdict, base)});
        for (const ChannelCheck& c : s.channels)
            for (const ValueCheck& v : c.values)
                rows.push_back({section, Format("%d", c.row + 1), Format("%d", c.channelNumber),
                                Format("%.2f", c.frequencyMHz), c.typeText,
                                QuantityName(v.quantity, base), CheckValueText(v), v.limitText,
                                MarginText(v), VerdictWord(v.verdict, base)});
    }
    return rows;
}

} // namespace qm
