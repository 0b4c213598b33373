#include "limits/LimitTexts.h"

#include <map>
#include <string>
#include <vector>

#include "panes/PaneText.h"
#include "res/StringTable.h"

namespace qm {

namespace {

const std::map<std::string, std::string>& Chinese() {
    static const std::map<std::string, std::string> texts = {
        {"pass", "合格"},
        {"FAIL", "不合格"},
        {"not measured", "未测量"},
        {"not checked", "未检查"},
        {"Level", "电平"},
        {"V/A difference", "图像/伴音差"},
        {"MER", "MER"},
        {"BER", "BER"},
        {"Adjacent difference", "相邻频道差"},
        {"Tilt", "斜率"},
        {"Hum LPF", "交流声 LPF"},
        {"Hum mains", "交流声 电源频率"},
        {"Hum 2x mains", "交流声 二次谐波"},
        {"Section", "分析"},
        {"No", "序号"},
        {"CH", "频道"},
        {"Freq(MHz)", "频率(MHz)"},
        {"Type", "类型"},
        {"Value", "项目"},
        {"Measured", "测量值"},
        {"Limit", "限值"},
        {"Margin", "余量"},
        {"Verdict", "结论"},
        {"Verdict:", "结论："},
        {"%d of %d channels pass", "%2$d 个频道中 %1$d 个合格"},
        {", worst margin %+.1f dB", "，最差余量 %+.1f dB"},
        {"Profile", "限值配置"},
        {"Limit profile", "限值配置"},
        {"None", "无"},
        {"Limits", "限值"},
        {"Other file...", "其他文件..."},
        {"The limit profile cannot be used.", "无法使用该限值配置。"},
        {"No measurement file is loaded.", "没有载入测量文件。"},
        {"The report could not be written.", "无法写入报告。"},
        {"Report", "报告"},
        {"Acceptance report", "验收报告"},
        {"File", "文件"},
        {"Project", "工程"},
        {"Channels", "频道"},
        {"Date", "日期"},
        {"Meter", "仪表"},
        {"Summary", "结论汇总"},
        {"Level table", "电平表"},
        {"Hum table", "交流声表"},
        {"Limit table", "限值表"},
        {"Tilt", "斜率"},
        {"Scan", "扫描"},
        {"Spectrum", "频谱"},
        {"Limits of the profile", "配置的限值"},
        {"Signal", "信号"},
        {"Level min", "最小电平"},
        {"Level max", "最大电平"},
        {"MER min", "最小 MER"},
        {"BER max", "最大 BER"},
        {"V/A min", "最小图像/伴音差"},
        {"V/A max", "最大图像/伴音差"},
        {"Page %1 of %2", "第 %1 页，共 %2 页"},
        {"Checked against", "检查依据"},
        {"Signature", "签名"},
        {"Levels in dBuV; a value equal to a limit passes.", "电平单位 dBuV；等于限值即为合格。"},
        {"%d of %d files pass", "%2$d 个文件中 %1$d 个合格"},
        {"Company", "公司"},
        {"Site", "现场地址"},
        {"Customer", "客户"},
        {"Work order", "工单号"},
        {"Technician", "技术员"},
        {"Notes", "备注"},
        {"Title", "标题"},
        {"Logo", "标志"},
        {"Files", "测量文件"},
        {"Report date", "报告日期"},
        {"Profile source", "配置来源"},
        {"Shipped with the program", "程序自带"},
        {"The logo cannot be read", "无法读取标志图片"},
        {"The report was cancelled.", "报告已取消。"},
        {"Report details", "报告信息"},
        {"Browse...", "浏览..."},
        {"Writing the report...", "正在生成报告..."},
    };
    return texts;
}

} // namespace

std::string LimitText(const std::string& english, int languageBase) {
    if (languageBase != kLanguageChinese)
        return english;
    const auto found = Chinese().find(english);
    return found == Chinese().end() ? english : found->second;
}

std::string VerdictWord(Verdict verdict, int base) {
    switch (verdict) {
    case Verdict::Pass:
        return LimitText("pass", base);
    case Verdict::Fail:
        return LimitText("FAIL", base);
    case Verdict::NotMeasured:
        return LimitText("not measured", base);
    case Verdict::NotChecked:
        return LimitText("not checked", base);
    }
    return {};
}

std::string QuantityName(Quantity quantity, int base) {
    switch (quantity) {
    case Quantity::Level:
        return LimitText("Level", base);
    case Quantity::VideoAudio:
        return LimitText("V/A difference", base);
    case Quantity::Mer:
        return "MER";
    case Quantity::Ber:
        return "BER";
    case Quantity::Adjacent:
        return LimitText("Adjacent difference", base);
    case Quantity::Tilt:
        return LimitText("Tilt", base);
    case Quantity::Hum:
        return LimitText("Hum LPF", base);
    case Quantity::Hum1:
        return LimitText("Hum mains", base);
    case Quantity::Hum2:
        return LimitText("Hum 2x mains", base);
    }
    return {};
}

std::string SectionName(PaneSection section, int base) {
    static const std::map<PaneSection, int> ids = {
        {PaneSection::Level, 5512},    {PaneSection::Tilt, 5507}, {PaneSection::Scan, 5510},
        {PaneSection::Spectrum, 5508}, {PaneSection::Hum, 5511},  {PaneSection::Limit, 5509}};
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
    std::string line =
        FillNumbers(LimitText("%d of %d channels pass", base), {passCount, channelCount});
    if (worstMargin)
        line += Format(LimitText(", worst margin %+.1f dB", base).c_str(), *worstMargin);
    return line;
}

std::string CellMarkText(const ValueCheck& v, int base) {
    return QuantityName(v.quantity, base) + ": " + CheckValueText(v) + "  " + v.limitText + "  " +
           MarginText(v);
}

std::string SectionSummaryText(const SectionCheck& check, int base) {
    std::string line = check.verdict == Verdict::Fail ? kFailMark : kPassMark;
    line += SummaryLine(check.passCount, check.channelCount, check.worstMargin, base);
    for (const ValueCheck& v : check.fileValues)
        line += "; " + QuantityName(v.quantity, base) + " " + CheckValueText(v) + " (" +
                v.limitText + "): " + VerdictWord(v.verdict, base);
    return line;
}

std::string VerdictLine(const FileCheck& check, int base) {
    // The file's verdict stands out in capitals, as a signed report shows it.
    const std::string shown = check.verdict == Verdict::Pass && base != kLanguageChinese
                                  ? std::string("PASS")
                                  : VerdictWord(check.verdict, base);
    return LimitText("Verdict:", base) + (base == kLanguageChinese ? "" : " ") + shown + " - " +
           SummaryLine(check.passCount, check.channelCount, check.worstMargin, base);
}

std::string ReportVerdictLine(Verdict verdict, int passFiles, int files,
                              std::optional<double> worstMargin, int base) {
    const std::string shown = verdict == Verdict::Pass && base != kLanguageChinese
                                  ? std::string("PASS")
                                  : VerdictWord(verdict, base);
    std::string line = LimitText("Verdict:", base) + (base == kLanguageChinese ? "" : " ") + shown +
                       " - " +
                       FillNumbers(LimitText("%d of %d files pass", base), {passFiles, files});
    if (worstMargin)
        line += Format(LimitText(", worst margin %+.1f dB", base).c_str(), *worstMargin);
    return line;
}

std::vector<std::vector<std::string>> VerdictTable(const FileCheck& check, int base) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> titles;
    for (const char* t : {"Section", "No", "CH", "Freq(MHz)", "Type", "Value", "Measured", "Limit",
                          "Margin", "Verdict"})
        titles.push_back(LimitText(t, base));
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
