#include <gtest/gtest.h>

#include <string>

#include "app/ProjectFile.h"
#include "limits/LimitProfile.h"
#include "panes/PaneTestElement.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::BinPath;
using test::RunProcess;
using test::SourcePath;

const std::string kSample = SourcePath("samples/sample.f71");

// Runs one of poppler's tools on a PDF; empty output when the tool is missing.
std::string Poppler(const std::string& tool, const std::vector<std::string>& args) {
    const auto r = RunProcess("/usr/bin/" + tool, args);
    return r.exitCode == 0 ? r.out : std::string();
}

std::string LastLine(const std::string& text) {
    const std::size_t end = text.find_last_not_of('\n');
    const std::size_t start = text.find_last_of('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

TEST(CheckCli, PrintsTheVerdictTableAndExitsThreeOnAFailure) {
    const auto r = RunProcess(BinPath("qm7100"), {"check", kSample, "0"});
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_NE(r.out.find("[File]\nCABLE01\n"), std::string::npos);
    EXPECT_NE(r.out.find("Section\tNo\tCH\tFreq(MHz)\tType\tValue\tMeasured\tLimit\tMargin\t"
                         "Verdict\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\tTV\tLevel\t65.1\t60.0 .. 77.0\t+5.1 dB\tpass\n"), std::string::npos);
    EXPECT_EQ(LastLine(r.out).rfind("Verdict: FAIL - ", 0), 0u) << LastLine(r.out);

    // A file that meets every limit passes: exit 0.
    test::TempDir dir;
    test::PaneTestElement t(1);
    t.Put8(29, kFlagLevel);
    t.Entry(0, 4825, 2, 0, kEntryEnabled);
    t.Level(0, kMeasuredMark, 700, 580);
    ASSERT_EQ(SaveProject(dir.File("ok.f71"), {t.e}), ProjectStatus::Ok);
    const auto pass = RunProcess(BinPath("qm7100"), {"check", dir.File("ok.f71"), "0"});
    EXPECT_EQ(pass.exitCode, 0) << pass.err << pass.out;
    EXPECT_EQ(LastLine(pass.out), "Verdict: PASS - 1 of 1 channels pass, worst margin +2.0 dB");

    // A faulty profile stops the check: no table, the line named, the default not used.
    test::WriteFile(dir.File("bad.ini"), "[Profile]\nName = x\n[TV]\nLevelMin = low\n");
    const auto bad =
        RunProcess(BinPath("qm7100"), {"check", kSample, "0", "--profile", dir.File("bad.ini")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("bad.ini: line 4: LevelMin is not a number: 'low'"), std::string::npos)
        << bad.err;
    EXPECT_EQ(RunProcess(BinPath("qm7100"), {"check", kSample}).exitCode, 2);
}

TEST(ReportCli, WritesAReadableHtmlAndPdf) {
    test::TempDir dir;
    const auto html = RunProcess(BinPath("qm7100"), {"report", kSample, dir.File("r.html")});
    ASSERT_EQ(html.exitCode, 0) << html.err;
    // The HTML is well-formed XML (XHTML), with one chapter per file and the pictures inside.
    const auto parsed = RunProcess("/usr/bin/xmllint", {"--noout", dir.File("r.html")});
    EXPECT_EQ(parsed.exitCode, 0) << parsed.err;
    const std::string text = test::ReadFile(dir.File("r.html"));
    EXPECT_NE(text.find("Verdict: FAIL - 21 of 48 channels pass, worst margin -2.2 dB"),
              std::string::npos);
    std::size_t chapters = 0;
    for (std::size_t at = text.find("<h1>"); at != std::string::npos;
         at = text.find("<h1>", at + 1))
        ++chapters;
    EXPECT_EQ(chapters, 3u);
    EXPECT_NE(text.find("src=\"data:image/png;base64,iVBOR"), std::string::npos);

    const auto pdf =
        RunProcess(BinPath("qm7100"), {"--lang", "zh", "report", kSample, "1", dir.File("r.pdf")});
    ASSERT_EQ(pdf.exitCode, 0) << pdf.err;
    EXPECT_EQ(test::ReadFile(dir.File("r.pdf")).rfind("%PDF-", 0), 0u);
    const std::string info = Poppler("pdfinfo", {dir.File("r.pdf")});
    if (info.empty())
        GTEST_SKIP() << "poppler-utils are not installed";
    const std::size_t pages = info.find("Pages:");
    ASSERT_NE(pages, std::string::npos);
    EXPECT_GE(std::stoi(info.substr(pages + 6)), 2);
    const std::string words = Poppler("pdftotext", {dir.File("r.pdf"), "-"});
    EXPECT_NE(words.find("结论："), std::string::npos) << words.substr(0, 400);
    EXPECT_NE(words.find("验收报告"), std::string::npos);
    // The pane's own Chinese words (an unlocked channel's BER) stay readable.
    EXPECT_NE(words.find("失锁"), std::string::npos);

    // A name that is neither: refused, nothing written.
    const auto odd = RunProcess(BinPath("qm7100"), {"report", kSample, dir.File("r.txt")});
    EXPECT_EQ(odd.exitCode, 1);
    EXPECT_NE(odd.err.find("must end in .pdf or .html"), std::string::npos);
    EXPECT_EQ(RunProcess(BinPath("qm7100"), {"report", kSample, "7", dir.File("x.pdf")}).exitCode,
              2);
}

// The text of each page of a PDF; empty when poppler is missing.
std::vector<std::string> PdfPages(const std::string& path) {
    std::vector<std::string> pages;
    const std::string text = Poppler("pdftotext", {"-layout", path, "-"});
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\f', at);
        pages.push_back(text.substr(at, end == std::string::npos ? end : end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return pages;
}

TEST(ReportCli, DetailsOnTheFirstPageAndEveryPageNamed) {
    test::TempDir dir;
    test::WriteFile(dir.File("site.ini"), "[Report]\nCompany = Kabelnetz Nord\nSite = Hafen 12\n"
                                          "Customer = Wohnbau eG\nOrder = WO-17\n");
    struct Run {
        std::vector<std::string> options;
        std::string firstPage; // a text on the first page
        bool named;            // company and site in every header
    };
    const Run runs[] = {
        {{}, "CABLE01", false},
        {{"--details", dir.File("site.ini"), "--technician", "A. Meyer", "--order", "WO-18"},
         "WO-18",
         true},
    };
    for (const Run& run : runs) {
        std::vector<std::string> args = {"report", kSample, dir.File("r.pdf")};
        args.insert(args.end(), run.options.begin(), run.options.end());
        const auto r = RunProcess(BinPath("qm7100"), args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::vector<std::string> pages = PdfPages(dir.File("r.pdf"));
        if (pages.empty())
            GTEST_SKIP() << "poppler-utils are not installed";
        EXPECT_NE(pages[0].find(run.firstPage), std::string::npos) << pages[0];
        const std::string count = std::to_string(pages.size());
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const std::string& page = pages[i];
            EXPECT_NE(page.find("Page " + std::to_string(i + 1) + " of " + count),
                      std::string::npos)
                << i;
            EXPECT_NE(page.find("sample.f71"), std::string::npos) << i;
            EXPECT_EQ(page.find("Kabelnetz Nord") != std::string::npos, run.named) << i;
            EXPECT_EQ(page.find("Hafen 12") != std::string::npos, run.named) << i;
            // Headings wrap between words, never inside one.
            for (const char* cut : {"Freque ", "Verdic ", "POST- "})
                EXPECT_EQ(page.find(cut), std::string::npos) << cut << " on page " << i + 1;
        }
        if (run.named) {
            for (const char* field :
                 {"Wohnbau eG", "A. Meyer", "Technician", "Customer", "Verdict: FAIL - 0 of 3 "})
                EXPECT_NE(pages[0].find(field), std::string::npos) << field;
            EXPECT_EQ(pages[0].find("WO-17"), std::string::npos); // the option wins
        }
    }

    // A details file or logo that cannot be read stops the report before anything is written.
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--details", dir.File("none.ini")},
          std::vector<std::string>{"--logo", dir.File("site.ini")}}) {
        std::vector<std::string> args = {"report", kSample, dir.File("bad.pdf")};
        args.insert(args.end(), bad.begin(), bad.end());
        const auto r = RunProcess(BinPath("qm7100"), args);
        EXPECT_EQ(r.exitCode, 1) << bad[0];
        EXPECT_NE(r.err.find(bad[1]), std::string::npos) << r.err;
        EXPECT_TRUE(test::ReadFile(dir.File("bad.pdf")).empty());
    }
    EXPECT_EQ(
        RunProcess(BinPath("qm7100"), {"report", kSample, dir.File("x.pdf"), "--company"}).exitCode,
        2);
}

} // namespace
} // namespace qm
