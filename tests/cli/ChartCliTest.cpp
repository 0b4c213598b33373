#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/ProjectFile.h"
#include "measurement/MeasurementFile.h"
#include "measurement/SampleGenerator.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::BinPath;
using test::ReadFile;
using test::RunProcess;
using test::SourcePath;

std::uint32_t Be32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(
        static_cast<unsigned char>(b[at]) << 24 | static_cast<unsigned char>(b[at + 1]) << 16 |
        static_cast<unsigned char>(b[at + 2]) << 8 | static_cast<unsigned char>(b[at + 3]));
}

std::uint32_t Le32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(
        static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
        static_cast<unsigned char>(b[at + 2]) << 16 | static_cast<unsigned char>(b[at + 3]) << 24);
}

// Width and height of a PNG file, or 0 x 0 when it is none.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        return {0, 0};
    return {Be32(bytes, 16), Be32(bytes, 20)};
}

// A project of a kind 1 sample, a kind 2 sample whose tilt count disagrees with its plan, and
// a kind 0 sample.
std::string MakeProject(const test::TempDir& dir) {
    _tagFileDataExt refused = MakeSampleMeasurement(2, 1, "BADTILT");
    const std::size_t tiltCount = 1 + static_cast<std::size_t>(SectionBase(2)) + 88;
    refused.Bytes()[tiltCount] = static_cast<std::uint8_t>(refused.Bytes()[tiltCount] + 1);
    const std::string path = dir.File("charts.f71");
    EXPECT_EQ(SaveProject(path, {MakeSampleMeasurement(1, 0, "CABLE"), refused,
                                 MakeSampleMeasurement(0, 2, "OLD")}),
              ProjectStatus::Ok);
    return path;
}

TEST(ChartCli, DrawsEveryChartSectionOfTheSampleProject) {
    test::TempDir dir;
    const std::string sample = SourcePath("samples/sample.f71");
    const auto tree = RunProcess(BinPath("qm7100"), {"tree", sample});
    ASSERT_EQ(tree.exitCode, 0) << tree.err;
    int drawn = 0;
    for (int index = 0; index < 3; ++index) {
        for (const char* section : {"tilt", "scan", "spectrum", "limit"}) {
            const std::string out = dir.File(std::string(section) + ".png");
            const auto r = RunProcess(BinPath("qm7100"),
                                      {"chart", sample, std::to_string(index), section, out});
            ASSERT_EQ(r.exitCode, 0) << section << ": " << r.err;
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(PngSize(ReadFile(out)), std::make_pair(800u, 500u)) << section;
            ++drawn;
        }
    }
    EXPECT_EQ(drawn, 12);
}

TEST(ChartCli, TakesSizeMarkerAndBitmapOutput) {
    test::TempDir dir;
    const std::string project = MakeProject(dir);
    const std::string png = dir.File("small.png");
    auto r = RunProcess(BinPath("qm7100"), {"chart", project, "0", "spectrum", png, "--size",
                                            "320x200", "--marker", "100"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(PngSize(ReadFile(png)), std::make_pair(320u, 200u));

    const std::string bmp = dir.File("scan.BMP");
    r = RunProcess(BinPath("qm7100"), {"chart", project, "2", "scan", bmp, "--size", "640x480"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string bytes = ReadFile(bmp);
    ASSERT_GE(bytes.size(), 26u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Le32(bytes, 18), 640u);
    EXPECT_EQ(Le32(bytes, 22), 480u);

    // A marker beyond the last point draws the chart without a marker.
    r = RunProcess(BinPath("qm7100"), {"chart", project, "0", "tilt", png, "--marker", "999"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST(ChartCli, DrawsTwoMeasurementsInOneChart) {
    test::TempDir dir;
    const std::string project = MakeProject(dir);
    for (const char* section : {"scan", "spectrum"}) {
        const std::string out = dir.File(std::string(section) + ".png");
        const auto r =
            RunProcess(BinPath("qm7100"), {"chart", project, "0", section, out, "--compare",
                                           project, "2", "--size", "400x300"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(PngSize(ReadFile(out)), std::make_pair(400u, 300u));
    }
}

TEST(ChartCli, RefusedTiltCountIsReportedAfterDrawingTheEmptyChart) {
    test::TempDir dir;
    const std::string project = MakeProject(dir);
    const std::string out = dir.File("tilt.png");
    const auto r = RunProcess(BinPath("qm7100"), {"chart", project, "1", "tilt", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Tilt channel num is incorrect\n");
    EXPECT_EQ(PngSize(ReadFile(out)), std::make_pair(800u, 500u));
}

TEST(ChartCli, RejectsWhatItCannotDraw) {
    test::TempDir dir;
    const std::string project = MakeProject(dir);
    const std::string out = dir.File("x.png");
    const struct {
        std::vector<std::string> args;
        int exit;
    } cases[] = {
        {{"chart", project, "0", "level", out}, 1},
        {{"chart", project, "0", "hum", out}, 1},
        {{"chart", project, "0", "noise", out}, 2},
        {{"chart", project, "3", "scan", out}, 2},
        {{"chart", project, "x", "scan", out}, 2},
        {{"chart", project, "0", "scan", out, "--size", "800"}, 2},
        {{"chart", project, "0", "scan", out, "--size", "0x500"}, 2},
        {{"chart", project, "0", "scan", out, "--size", "100000x500"}, 2},
        {{"chart", project, "0", "scan", out, "--marker", "-1"}, 2},
        {{"chart", project, "0", "scan", out, "--marker"}, 2},
        {{"chart", project, "0", "scan"}, 2},
        {{"chart", dir.File("missing.f71"), "0", "scan", out}, 1},
        {{"chart", project, "0", "scan", dir.File("no/such/dir/x.png")}, 1},
        {{"chart", project, "0", "scan", out, "--compare", project}, 2},
        {{"chart", project, "0", "tilt", out, "--compare", project, "2"}, 2},
        {{"chart", project, "0", "scan", out, "--compare", project, "2", "--marker", "1"}, 2},
        {{"chart", project, "0", "scan", out, "--compare", project, "3"}, 2},
    };
    for (const auto& c : cases) {
        const auto r = RunProcess(BinPath("qm7100"), c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args[3] << " " << r.err;
        EXPECT_FALSE(r.err.empty());
    }
}

} // namespace
} // namespace qm
