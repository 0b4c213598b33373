#include "panes/SpectrumPane.h"

#include <algorithm>

#include "panes/PaneText.h"

namespace qm {

SpectrumPane::SpectrumPane(int languageBase, std::string levelUnit)
    : AnalysisPane(languageBase, std::move(levelUnit)) {
    AddChartTables({T(txt::kFrequency), T(txt::kLevel), T(txt::kMax)});
}

SpectrumPane::Sweep SpectrumPane::TableSweep() const {
    Sweep s;
    s.points = File().SpectrumPointCount();
    s.span = SpanMHz(File().SpanCode(), File().FixedSpanFlag());
    s.centre = File().SpectrumCentre() / 100.0;
    s.start = s.centre - s.span / 2;
    // One point (or none) has no step: every frequency is the start.
    s.step = s.points >= 2 ? s.span / (s.points - 1) : 0.0;
    return s;
}

std::string SpectrumPane::PointLevel(int i) const {
    const auto raw = File().SpectrumPoint(i);
    return raw ? Tenths(KindLevel(*raw, File().Kind())) : std::string();
}

std::string SpectrumPane::MaxLevel(int i) const {
    if (File().MaxFlag() == 0)
        return kNoValue;
    const auto raw = File().MaxPoint(i);
    return raw ? Tenths(KindLevel(*raw, File().Kind())) : std::string();
}

void SpectrumPane::Fill() {
    if (!File().HasLayout())
        return;
    const Sweep s = TableSweep();
    PaneTable& parameters = *MutableTable("Parameters");
    AddFileRows(parameters);
    parameters.rows.push_back({T(txt::kSpan), Format("%.2fMHz", s.span)});
    parameters.rows.push_back(
        {T(txt::kStepFreq), s.points >= 2 ? Format("%.2fKHz", s.step * 1000) : kNoValue});
    parameters.rows.push_back({T(txt::kCenterFreq), Format("%.2fMHz", s.centre)});
    const int maxFlag = File().MaxFlag();
    parameters.rows.push_back({T(txt::kMax), maxFlag == 0   ? T(txt::kAnswerNo)
                                             : maxFlag == 1 ? T(txt::kYes)
                                                            : std::string()});

    MutableTable("Mark")->rows = {{T(txt::kFrequency), Format("%.2fMHz", s.start)},
                                  {T(txt::kLevel), PointLevel(0)}};

    PaneTable& list = *MutableTable("List");
    const int rows = std::min(s.points, kMaxSpectrumPoints);
    for (int i = 0; i < rows; ++i)
        list.rows.push_back({Format("%.2f", s.start + i * s.step), PointLevel(i), MaxLevel(i)});
}

void SpectrumPane::FillMark(long position) {
    if (!File().HasLayout() || position < 0 || position >= kMaxSpectrumPoints)
        return;
    const Sweep s = TableSweep();
    const int c = static_cast<int>(position);
    MutableTable("Mark")->rows = {{T(txt::kFrequency), Format("%.2f", s.start + c * s.step)},
                                  {T(txt::kLevel), PointLevel(c)},
                                  {T(txt::kMax), MaxLevel(c)}};
}

std::string SpectrumPane::ExportText() const {
    if (!File().HasLayout())
        return {};
    // The export's axis comes from the span code alone: the fixed-span flag is not consulted.
    const double span = SpanMHz(File().SpanCode(), 0);
    const double centre = File().SpectrumCentre() / 100.0;
    const double start = centre - span / 2;
    std::string text = File().FileName() + "\r\n";
    text += Format("Central Freq:,%.2f MHz\r\n", centre);
    text += "Freq(MHz),Level\n";
    for (int i = 0; i < kExportPoints; ++i)
        text += Format("%.2f,", start + i * span / (kExportPoints - 1)) + PointLevel(i) + "\n";
    return text;
}

} // namespace qm
