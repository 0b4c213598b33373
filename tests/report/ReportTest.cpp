#include <filesystem>
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPageSize>
#include <algorithm>
#include <cstdio>

#include "app/ProjectFile.h"
#include "chart/SectionChart.h"
#include "limits/LimitCheck.h"
#include "limits/LimitProfile.h"
#include "report/AcceptanceReport.h"
#include "report/ReportDetails.h"
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

ReportInput SampleInput() {
    ReportInput input;
    input.files = LoadProject(test::SourcePath("samples/sample.f71")).elements;
    input.profile = DefaultProfile();
    input.projectName = "sample.f71";
    return input;
}

void SavePicture(const std::string& path, const char* format) {
    QImage image(300, 100, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    ASSERT_TRUE(image.save(QString::fromStdString(path), format));
}

TEST(ReportWrite, StoppedAtAnyStepLeavesTheOldFileAsItWas) {
    App();
    test::TempDir dir;
    ReportInput input = SampleInput();
    input.details.company = "Kabelnetz Nord"; // with the first page: one step more
    for (const char* name : {"r.pdf", "r.html"}) {
        const std::string path = dir.File(name);
        test::WriteFile(path, "old report");
        int total = 0;
        std::string error;
        ASSERT_TRUE(WriteReport(input, path, error, [&total](int, int all) {
            total = all;
            return true;
        })) << error;
        ASSERT_GT(total, 3) << name;
        for (int stopAt : {0, 1, total / 2, total}) {
            test::WriteFile(path, "old report");
            std::vector<int> seen;
            EXPECT_FALSE(WriteReport(input, path, error,
                                     [&](int done, int all) {
                                         seen.push_back(done);
                                         EXPECT_EQ(all, total);
                                         return done < stopAt;
                                     }))
                << name << " " << stopAt;
            EXPECT_EQ(error, "The report was cancelled.");
            EXPECT_EQ(test::ReadFile(path), "old report") << name << " " << stopAt;
            EXPECT_EQ(seen.back(), stopAt) << name;
            EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        }
        ASSERT_TRUE(WriteReport(input, path, error)) << error; // asked or not
        EXPECT_NE(test::ReadFile(path), "old report");
    }
    EXPECT_EQ(test::FolderNames(dir.Path()).size(), 2u); // no temporary file left behind
}

TEST(ReportWrite, ALogoThatIsNoPictureIsRefusedAndNothingWritten) {
    App();
    test::TempDir dir;
    SavePicture(dir.File("logo.png"), "PNG");
    if (QImageReader::supportedImageFormats().contains("jpeg"))
        SavePicture(dir.File("logo.jpg"), "JPEG");
    SavePicture(dir.File("logo.gif.png"), "BMP"); // a bitmap under a PNG name
    test::WriteFile(dir.File("logo.svg"),
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"60\" height=\"20\">"
                    "<rect width=\"60\" height=\"20\" fill=\"#0b4f8a\"/></svg>");
    test::WriteFile(dir.File("text.png"), "not a picture at all");
    test::WriteFile(dir.File("cut.png"), test::ReadFile(dir.File("logo.png")).substr(0, 40));
    const struct {
        const char* logo;
        bool readable;
    } cases[] = {{"logo.png", true},      {"logo.jpg", true},  {"logo.svg", true},
                 {"logo.gif.png", false}, {"text.png", false}, {"cut.png", false},
                 {"missing.png", false}};
    ReportInput input = SampleInput();
    input.files.resize(1);
    // Drawings need the SVG picture plugin and photographs the JPEG one, which a build may lack
    // (the Windows build has neither).
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    for (const auto& c : cases) {
        if ((!formats.contains("svg") && std::string(c.logo) == "logo.svg") ||
            (!formats.contains("jpeg") && std::string(c.logo) == "logo.jpg"))
            continue;
        input.details.logo = dir.File(c.logo);
        std::string error;
        const std::string out = dir.File("out.pdf");
        EXPECT_EQ(WriteReport(input, out, error), c.readable) << c.logo << ": " << error;
        EXPECT_EQ(test::ReadFile(out).empty(), !c.readable) << c.logo;
        if (!c.readable) {
            EXPECT_EQ(error.rfind(dir.File(c.logo) + ": The logo cannot be read (", 0), 0u)
                << error;
        }
        std::remove(out.c_str());
        // Fitted to the box, proportions kept, drawings rendered at the box's size.
        std::string reason;
        const QImage fitted = LoadReportLogo(dir.File(c.logo), 150, 150, reason);
        EXPECT_EQ(fitted.isNull(), !c.readable) << c.logo;
        if (c.readable && std::string(c.logo) == "logo.svg") {
            EXPECT_EQ(fitted.size(), QSize(150, 50));
        }
    }
}

TEST(ReportHtml, DetailsAreTextWhateverTheyHold) {
    App();
    test::TempDir dir;
    ReportInput input = SampleInput();
    input.files.resize(1);
    const std::string plain = ReportHtml(input);
    // Without details: the chapter comes first, no first page.
    EXPECT_EQ(plain.find("<h1>"), plain.find("<h1>Acceptance report</h1>"));
    EXPECT_EQ(plain.find("Signature: ____________________<br/>"), std::string::npos);
    const struct {
        std::string ReportDetails::*field;
        std::string typed;
        std::string shown;
    } cases[] = {
        {&ReportDetails::company, "A&B <b>Kabel</b>", "A&amp;B &lt;b&gt;Kabel&lt;/b&gt;"},
        {&ReportDetails::site, "\"Hafen\" 12\x01", "&quot;Hafen&quot; 12 "},
        {&ReportDetails::notes, "line one\nline two", "line one<br/>line two"},
        {&ReportDetails::title, "Abnahme </title><script>",
         "<h1>Abnahme &lt;/title&gt;&lt;script&gt;"},
    };
    for (const auto& c : cases) {
        ReportInput detailed = input;
        detailed.details.*c.field = c.typed;
        test::WriteFile(dir.File("r.html"), ReportHtml(detailed));
        const std::string html = test::ReadFile(dir.File("r.html"));
        EXPECT_NE(html.find(c.shown), std::string::npos) << c.typed;
        EXPECT_EQ(html.find(c.typed), std::string::npos) << c.typed;
#ifndef _WIN32
        const auto parsed = test::RunProcess("/usr/bin/xmllint", {"--noout", dir.File("r.html")});
        EXPECT_EQ(parsed.exitCode, 0) << c.typed << parsed.err;
#endif
        // The first page comes first, with the signatures; the chapter follows.
        EXPECT_LT(html.find("Signature: ____________________<br/>"),
                  html.rfind("<h1>Acceptance report</h1>"));
    }
}

TEST(ReportDetailsFile, KeysAsTheOptionsAndALogoBesideTheFile) {
    test::TempDir dir;
    test::WriteFile(dir.File("site.ini"), "[Report]\ncompany = Kabelnetz Nord\nSite=Hafen 12\n"
                                          "Logo = logo.png\nNotes = first line\n[Other]\n"
                                          "Customer = not this one\n");
    ReportDetails d;
    d.customer = "kept";
    d.title = "kept too";
    std::string error;
    ASSERT_TRUE(ReadReportDetails(dir.File("site.ini"), d, error)) << error;
    EXPECT_EQ(d.company, "Kabelnetz Nord");
    EXPECT_EQ(d.site, "Hafen 12");
    // Beside the file, whichever separator the system writes.
    EXPECT_TRUE(std::filesystem::path(d.logo) == std::filesystem::path(dir.File("logo.png")))
        << d.logo;
    EXPECT_EQ(d.notes, "first line");
    EXPECT_EQ(d.customer, "kept");
    EXPECT_EQ(d.title, "kept too");
    test::WriteFile(dir.File("abs.ini"), "[Report]\nLogo = /srv/logo.svg\n");
    ASSERT_TRUE(ReadReportDetails(dir.File("abs.ini"), d, error));
    EXPECT_EQ(d.logo, "/srv/logo.svg");
    EXPECT_FALSE(ReadReportDetails(dir.File("none.ini"), d, error));
    EXPECT_EQ(error, dir.File("none.ini") + ": No such file or directory");
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
