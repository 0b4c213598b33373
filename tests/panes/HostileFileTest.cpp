// Files whose counts break every bound of the layout: the panes show what the bytes allow and
// never read outside the element.
#include <gtest/gtest.h>

#include <limits>

#include <random>

#include "panes/AnalysisPane.h"
#include "res/StringTable.h"

namespace qm {
namespace {

constexpr PaneSection kSections[] = {PaneSection::Level,    PaneSection::Tilt, PaneSection::Scan,
                                     PaneSection::Spectrum, PaneSection::Hum,  PaneSection::Limit};

void Exercise(const _tagFileDataExt& e) {
    for (PaneSection section : kSections) {
        auto pane = MakeAnalysisPane(section, kLanguageEnglish, "dBuV");
        pane->ShowFile(e);
        for (const PaneTable& t : pane->Tables()) {
            EXPECT_LE(t.rows.size(), 320u);
            for (const auto& row : t.rows)
                EXPECT_EQ(row.size(), t.columns.size());
        }
        for (long pos : {-100000L, -1L, 0L, 1L, 11L, 12L, 159L, 160L, 169L, 170L, 255L, 319L, 320L,
                         65535L, std::numeric_limits<long>::max()})
            pane->MarkerMoved(pos);
        pane->ExportCsv();
    }
}

TEST(HostileFile, EveryByteSetInEveryKind) {
    for (int kind : {0, 1, 2, 3, 255}) {
        _tagFileDataExt e;
        e.file.fill(0xFF);
        e.kind = static_cast<std::uint8_t>(kind);
        SCOPED_TRACE(kind);
        Exercise(e);
    }
}

TEST(HostileFile, RandomElements) {
    std::mt19937 random(7100);
    for (int n = 0; n < 60; ++n) {
        _tagFileDataExt e;
        for (auto& b : e.file)
            b = static_cast<std::uint8_t>(random());
        e.kind = static_cast<std::uint8_t>(n % 4);
        Exercise(e);
    }
}

TEST(HostileFile, SpectrumOfAFullFileShowsItsStoredPointsOnly) {
    _tagFileDataExt e;
    e.file.fill(0xFF);
    e.kind = 2;
    auto pane = MakeAnalysisPane(PaneSection::Spectrum, kLanguageEnglish, "dBuV");
    pane->ShowFile(e);
    EXPECT_EQ(pane->Table("List")->rows.size(), 320u);
    EXPECT_EQ(pane->Table("List")->rows[0][1], "-0.1");
}

TEST(AnalysisPane, FactoryAndWindowMessages) {
    EXPECT_EQ(SectionFromTreeValue(600), PaneSection::Tilt);
    EXPECT_EQ(SectionFromTreeValue(1000), PaneSection::Limit);
    EXPECT_FALSE(SectionFromTreeValue(650));
    for (PaneSection section : kSections) {
        auto pane = MakeAnalysisPane(section, kLanguageEnglish, "dBmV");
        EXPECT_EQ(pane->Section(), section);
        EXPECT_EQ(pane->LevelUnit(), "dBmV");
        EXPECT_EQ(pane->HasChart(), pane->Table("Mark") != nullptr);
        // An index outside the loaded files shows nothing.
        EXPECT_FALSE(pane->ShowFileAt({}, 0));
        EXPECT_FALSE(pane->HasFile());
        EXPECT_EQ(pane->ExportCsv(), "");
    }
}

} // namespace
} // namespace qm
