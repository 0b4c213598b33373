#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPageSize>

#include "app/ProjectFile.h"
#include "chart/SectionChart.h"
#include "limits/LimitCheck.h"
#include "limits/LimitProfile.h"
#include "report/AcceptanceReport.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "test_report";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    return app;
}

int RedPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() == 255 && c.green() == 48 && c.blue() == 48;
        }
    return n;
}

TEST(ReportCharts, FailingBarsAreOutlinedAndNothingChangesWithoutAProfile) {
    App();
    const ProjectLoad load = LoadProject(test::SourcePath("samples/sample.f71"));
    ASSERT_EQ(load.elements.size(), 3u);
    const _tagFileDataExt& cable = load.elements[0];
    // A profile every level fails: every bar outlined.
    LimitProfile strict = DefaultProfile();
    strict.tv.levelMin = strict.tv.levelMax = 0;
    for (auto& [order, limits] : strict.cable)
        limits.levelMin = limits.levelMax = 0;
    for (PaneSection section : {PaneSection::Tilt, PaneSection::Scan, PaneSection::Limit}) {
        // (The chart's clock text makes two frames differ; the outline colour tells.)
        EXPECT_EQ(RedPixels(RenderSectionChart(section, cable, 800, 500)), 0);
        ChartPictureOptions options;
        options.outlinedBars = FailingBars(CheckSection(MeasurementFile(cable), strict, section));
        const QImage outlined = RenderSectionChart(section, cable, 800, 500, options);
        EXPECT_GT(RedPixels(outlined), 100) << TreeValue(section);
    }
    EXPECT_TRUE(RenderSectionChart(PaneSection::Level, cable, 800, 500).isNull());
}

TEST(ReportPage, LetterWhereTheLocaleUsesIt) {
    EXPECT_EQ(ReportPageSize("en_US.UTF-8").id(), QPageSize::Letter);
    EXPECT_EQ(ReportPageSize("fr_CA").id(), QPageSize::Letter);
    EXPECT_EQ(ReportPageSize("en_GB.UTF-8").id(), QPageSize::A4);
    EXPECT_EQ(ReportPageSize("zh_CN.UTF-8").id(), QPageSize::A4);
    EXPECT_EQ(ReportPageSize("C").id(), QPageSize::A4);
}

} // namespace
} // namespace qm
