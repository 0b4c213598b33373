#include "chart/SectionChart.h"

#include "chart/BarChart.h"
#include "chart/CEndAnalyzer.h"
#include "chart/CSpecAnalyzer.h"
#include "panes/MeasurementCompare.h"

namespace qm {

bool HasChart(PaneSection section) {
    return section == PaneSection::Tilt || section == PaneSection::Scan ||
           section == PaneSection::Spectrum || section == PaneSection::Limit;
}

std::unique_ptr<CInstrument> MakeChart(std::optional<PaneSection> section) {
    std::unique_ptr<CInstrument> chart;
    switch (section.value_or(PaneSection::Level)) {
    case PaneSection::Tilt:
        chart = std::make_unique<CTiltAnalyzer>();
        break;
    case PaneSection::Scan:
        chart = std::make_unique<CScanAnalyzer>();
        break;
    case PaneSection::Spectrum:
        chart = std::make_unique<CSpecAnalyzer>();
        break;
    case PaneSection::Limit:
        chart = std::make_unique<CLimitAnalyzer>();
        break;
    case PaneSection::Level:
    case PaneSection::Hum:
        chart = std::make_unique<CEndAnalyzer>();
        break;
    }
    chart->SetKindName();
    return chart;
}

void ShowOnChart(CInstrument& chart, const _tagFileDataExt& file) {
    chart.SetData(file);
    chart.RefreshTexts();
}

QImage RenderSectionChart(PaneSection section, const _tagFileDataExt& file, int width, int height,
                          const ChartPictureOptions& options) {
    if (!HasChart(section))
        return {};
    std::unique_ptr<CInstrument> chart = MakeChart(section);
    chart->SetMessageSink(options.messages);
    // No window: no render thread; the frame is composed on request.
    chart->Create(nullptr, {0, 0, width, height});
    chart->SetChartStyle(options.style);
    ShowOnChart(*chart, file);
    chart->Resize(0, 0, width, height);
    CMyDevGDI* surface = chart->Surface();
    if (options.marker)
        surface->SetMarkerPosition(0, *options.marker);
    if (!options.outlinedBars.empty())
        surface->Update([&options](CDevGDI::State& s) { s.outlinedBars = options.outlinedBars; });
    return chart->DrawFrame();
}

QImage RenderComparisonChart(PaneSection section, const _tagFileDataExt& a,
                             const _tagFileDataExt& b, const QString& labelA, const QString& labelB,
                             int width, int height, ChartStyle style) {
    CSpecAnalyzer chart;
    chart.Create(nullptr, {0, 0, width, height});
    chart.SetChartStyle(style);
    chart.RefreshTexts();
    chart.SetData(a);
    SpectrumOverlay overlay;
    overlay.baseLabel = labelA;
    overlay.label = labelB;
    if (section == PaneSection::Spectrum) {
        overlay.values = SpectrumTracesOf(MeasurementFile(b)).trace0;
        chart.SetOverlay(overlay);
        return chart.DrawFrame();
    }
    MeasurementCompare::Series scans = MeasurementCompare(a, b).ScanSeries();
    // Scans have no sweep: no MHz ticks under them.
    chart.Surface()->Update([](CDevGDI::State& s) { s.xFirst = s.xLast = 0; });
    overlay.values = std::move(scans.b);
    return chart.Surface()->DrawSpectrumFrame(scans.a, {}, &overlay);
}

} // namespace qm
