// The clear chart style: what it adds agrees with the pane beside the chart, and it is drawn
// only when asked for.
#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "app/ProjectFile.h"
#include "chart/BarChart.h"
#include "chart/CSpecAnalyzer.h"
#include "chart/SectionChart.h"
#include "panes/AnalysisPane.h"
#include "panes/PaneText.h"
#include "res/StringTable.h"
#include "support/TestSupport.h"

namespace qm::test {
namespace {

constexpr int kWidth = 640, kHeight = 360;
constexpr COLORREF kFrameColour = 0xDCDCDC;

std::vector<_tagFileDataExt> Sample() {
    return LoadProject(SourcePath("samples/sample.f71")).elements;
}

// The pane of the section showing the file.
std::unique_ptr<AnalysisPane> PaneOf(PaneSection section, const _tagFileDataExt& file) {
    auto pane = MakeAnalysisPane(section, kLanguageEnglish, "dBuV");
    pane->ShowFileAt({file}, 0, {});
    return pane;
}

std::string Cell(const PaneTable& table, const std::string& rowTitle) {
    for (const auto& row : table.rows)
        if (row.size() > 1 && row[0] == rowTitle)
            return row[1];
    return "?";
}

std::unique_ptr<CInstrument> Chart(PaneSection section, const _tagFileDataExt& file,
                                   ChartStyle style) {
    std::unique_ptr<CInstrument> chart = MakeChart(section);
    chart->Create(nullptr, {0, 0, kWidth, kHeight});
    chart->SetChartStyle(style);
    ShowOnChart(*chart, file);
    chart->Resize(0, 0, kWidth, kHeight);
    return chart;
}

// The strip under the plot area, where only the clear style writes the x axis.
QRect UnderThePlot() {
    return {CInstrument::kLeftMargin + 1, kHeight - CInstrument::kBottomMargin + 2,
            kWidth - CInstrument::kLeftMargin - CInstrument::kRightMargin - 2, 14};
}

TEST(ClearStyle, TheTimeIsTheFilesAndTheXAxisIsLabelledOnlyInTheClearStyle) {
    const _tagFileDataExt file = Sample()[0];
    for (PaneSection section :
         {PaneSection::Tilt, PaneSection::Scan, PaneSection::Limit, PaneSection::Spectrum}) {
        const auto pane = PaneOf(section, file);
        const std::string fileDate = Cell(*pane->Table("Parameters"), Tr(kIdsFileDate, 500));
        struct Case {
            ChartStyle style;
            bool timeIsTheFiles;
            bool labelsUnderThePlot;
        };
        for (const Case& c :
             {Case{ChartStyle::Classic, false, false}, Case{ChartStyle::Clear, true, true}}) {
            // Drawn in the other style first: a chart follows a change of style.
            const auto chart =
                Chart(section, file,
                      c.style == ChartStyle::Clear ? ChartStyle::Classic : ChartStyle::Clear);
            chart->SetChartStyle(c.style);
            const QString time = chart->Surface()->GetState().textBoxes[2].text;
            EXPECT_EQ(time.toStdString() == fileDate, c.timeIsTheFiles)
                << TreeValue(section) << " " << time.toStdString();
            const QImage frame = chart->DrawFrame();
            EXPECT_EQ(!BoundsOf(frame, kFrameColour, UnderThePlot()).isEmpty(),
                      c.labelsUnderThePlot)
                << TreeValue(section);
        }
    }
}

TEST(ClearStyle, BarsCarryTheChannelsOfThePanesListAndTheSweepEndsAreThePanesFrequencies) {
    const _tagFileDataExt file = Sample()[0];
    const MeasurementFile measurement(file);
    struct Case {
        PaneSection section;
        std::vector<ChannelBar> bars;
    };
    const Case cases[] = {{PaneSection::Scan, ScanBars(measurement)},
                          {PaneSection::Limit, LimitBars(measurement)},
                          {PaneSection::Tilt, TiltBars(measurement).bars}};
    for (const Case& c : cases) {
        const auto pane = PaneOf(c.section, file);
        const PaneTable& list = *pane->Table("List");
        std::size_t column = 0;
        while (column < list.columns.size() && list.columns[column].title != Tr(kIdsChannel, 500))
            ++column;
        ASSERT_LT(column, list.columns.size()) << TreeValue(c.section);
        ASSERT_FALSE(c.bars.empty());
        ASSERT_EQ(list.rows.size(), c.bars.size()) << TreeValue(c.section);
        for (std::size_t k = 0; k < c.bars.size(); ++k)
            EXPECT_EQ(std::to_string(c.bars[k].channel), list.rows[k][column])
                << TreeValue(c.section) << " bar " << k;
    }

    // The spectrum's ticks run from the pane's first point to its last.
    auto pane = PaneOf(PaneSection::Spectrum, file);
    const auto chart = Chart(PaneSection::Spectrum, file, ChartStyle::Clear);
    const CDevGDI::State s = chart->Surface()->GetState();
    const int last = static_cast<CSpecAnalyzer&>(*chart).PointCount() - 1;
    ASSERT_GT(last, 0);
    const std::string frequency = Tr(kIdsFrequency, 500);
    pane->MarkerMoved(0);
    EXPECT_EQ(QString::asprintf("%.2f", s.xFirst).toStdString(),
              Cell(*pane->Table("Mark"), frequency));
    pane->MarkerMoved(last);
    EXPECT_EQ(QString::asprintf("%.2f", s.xLast).toStdString(),
              Cell(*pane->Table("Mark"), frequency));
}

} // namespace
} // namespace qm::test
