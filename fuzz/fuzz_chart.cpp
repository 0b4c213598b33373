// A measurement element through the chart conversions and every chart controller: data, texts,
// one frame at a small size and a few drags, the marker followed by the section's pane.
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FuzzElement.h"
#include "FuzzedDataProvider.h"
#include "chart/ChartConversion.h"
#include "chart/IMarkerReceiver.h"
#include "chart/IMessageSink.h"
#include "chart/SectionChart.h"
#include "panes/AnalysisPane.h"
#include "res/StringTable.h"

namespace {

class PaneReceiver : public qm::IMarkerReceiver {
public:
    explicit PaneReceiver(qm::AnalysisPane& pane) : m_pane(pane) {}
    void MarkerMoved(long position) override { m_pane.MarkerMoved(position); }

private:
    qm::AnalysisPane& m_pane;
};

class QuietSink : public qm::IMessageSink {
public:
    void ShowError(const std::string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qm;
    const _tagFileDataExt element = fuzz::ElementFrom(data, size);
    FuzzedDataProvider extra(data, size);
    const int width = extra.ConsumeIntegralInRange(1, 200);
    const int height = extra.ConsumeIntegralInRange(1, 150);
    std::vector<int> drags;
    while (drags.size() < 4 && extra.remaining_bytes() > 0)
        drags.push_back(extra.ConsumeIntegralInRange(-1000, 1000));
    if (drags.empty())
        drags = {0, 40, 100};

    const MeasurementFile file(element);
    ScanBars(file);
    LimitBars(file);
    TiltBars(file);
    SpectrumTracesOf(file);

    QuietSink sink;
    const std::pair<int, PaneSection> sections[] = {{600, PaneSection::Tilt},
                                                    {700, PaneSection::Scan},
                                                    {800, PaneSection::Spectrum},
                                                    {1000, PaneSection::Limit},
                                                    {500, PaneSection::Level}};
    for (const auto& [value, section] : sections) {
        auto pane = MakeAnalysisPane(section, kLanguageEnglish, "dBuV");
        pane->ShowFile(element);
        PaneReceiver receiver(*pane);
        auto chart = MakeChart(section);
        chart->SetKindName();
        chart->SetMarkerReceiver(&receiver);
        chart->SetMessageSink(&sink);
        chart->Create(nullptr, {0, 0, width, height});
        chart->SetData(element);
        chart->RefreshTexts();
        // A frame covers the whole view, however little of it the plot area gets.
        const QImage frame = chart->DrawFrame();
        if (!frame.isNull() && (frame.width() != width || frame.height() != height))
            __builtin_trap();
        for (int x : drags)
            chart->OnDrag(x, height / 2);
        chart->DrawFrame();
        chart->SetMarkerReceiver(nullptr);
    }
    return 0;
}
