// The clear chart style: what it adds agrees with the pane beside the chart, and only it
// draws it.
#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "app/ProjectFile.h"
#include "chart/CSpecAnalyzer.h"
#include "chart/SectionChart.h"
#include "panes/AnalysisPane.h"
#include "panes/PaneText.h"
#include "res/StringTable.h"
#include "support/TestSupport.h"

namespace qm::test {
namespace {

constexpr int kWidth = 640, kHeight = 360;

struct Shown {
    std::unique_ptr<AnalysisPane> pane;
    std::unique_ptr<CInstrument> chart;
    // The value of a description/value row of one of the pane's tables.
    std::string Row(const char* tag, int titleId) const {
        for (const auto& row : pane->Table(tag)->rows)
            if (row.size() > 1 && row[0] == Tr(titleId, kLanguageEnglish))
                return row[1];
        return "?";
    }
};

// The sample's first file in the section's pane and chart; the chart was drawn in the other
// style before, so that it has to follow a change.
Shown Show(PaneSection section, ChartStyle style) {
    const _tagFileDataExt file = LoadProject(SourcePath("samples/sample.f71")).elements.at(0);
    Shown s{MakeAnalysisPane(section, kLanguageEnglish, "dBuV"), MakeChart(section)};
    s.pane->ShowFileAt({file}, 0, {});
    s.chart->Create(nullptr, {0, 0, kWidth, kHeight});
    s.chart->SetChartStyle(style == ChartStyle::Clear ? ChartStyle::Classic : ChartStyle::Clear);
    ShowOnChart(*s.chart, file);
    s.chart->Resize(0, 0, kWidth, kHeight);
    s.chart->SetChartStyle(style);
    return s;
}

TEST(ClearStyle, TheTimeIsTheFilesAndTheXAxisIsLabelledOnlyInTheClearStyle) {
    const QRect underThePlot(CInstrument::kLeftMargin + 1, kHeight - CInstrument::kBottomMargin + 2,
                             kWidth - CInstrument::kLeftMargin - CInstrument::kRightMargin - 2, 14);
    for (PaneSection section :
         {PaneSection::Tilt, PaneSection::Scan, PaneSection::Limit, PaneSection::Spectrum})
        for (ChartStyle style : {ChartStyle::Classic, ChartStyle::Clear}) {
            const Shown s = Show(section, style);
            const bool clear = style == ChartStyle::Clear;
            const QString time = s.chart->Surface()->GetState().textBoxes[2].text;
            EXPECT_EQ(time.toStdString() == s.Row("Parameters", txt::kFileDate), clear)
                << TreeValue(section) << " " << time.toStdString();
            EXPECT_EQ(!BoundsOf(s.chart->DrawFrame(), 0xDCDCDC, underThePlot).isEmpty(), clear)
                << TreeValue(section);
        }
}

TEST(ClearStyle, BarsCarryTheChannelsOfThePanesListAndTheSweepEndsAreThePanesFrequencies) {
    for (PaneSection section : {PaneSection::Scan, PaneSection::Limit, PaneSection::Tilt}) {
        const Shown s = Show(section, ChartStyle::Clear);
        const PaneTable& list = *s.pane->Table("List");
        const std::vector<std::string> titles = list.ColumnTitles();
        const auto column = static_cast<std::size_t>(
            std::find(titles.begin(), titles.end(), Tr(txt::kChannel, kLanguageEnglish)) -
            titles.begin());
        ASSERT_LT(column, titles.size());
        // The bars the chart draws carry the channels the pane lists.
        const MeasurementFile file(LoadProject(SourcePath("samples/sample.f71")).elements.at(0));
        const std::vector<ChannelBar> bars = section == PaneSection::Scan    ? ScanBars(file)
                                             : section == PaneSection::Limit ? LimitBars(file)
                                                                             : TiltBars(file).bars;
        ASSERT_EQ(list.rows.size(), bars.size()) << TreeValue(section);
        for (std::size_t k = 0; k < bars.size(); ++k)
            EXPECT_EQ(std::to_string(bars[k].channel), list.rows[k][column]) << k;
    }
    // The spectrum's ticks run from the pane's first point to its last.
    const Shown s = Show(PaneSection::Spectrum, ChartStyle::Clear);
    const CDevGDI::State state = s.chart->Surface()->GetState();
    s.pane->MarkerMoved(0);
    EXPECT_EQ(QString::asprintf("%.2f", state.xFirst).toStdString(),
              s.Row("Mark", txt::kFrequency));
    s.pane->MarkerMoved(static_cast<CSpecAnalyzer&>(*s.chart).PointCount() - 1);
    EXPECT_EQ(QString::asprintf("%.2f", state.xLast).toStdString(), s.Row("Mark", txt::kFrequency));
}

} // namespace
} // namespace qm::test
