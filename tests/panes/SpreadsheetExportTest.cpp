#include <gtest/gtest.h>

#include <algorithm>

#include "app/ProjectFile.h"
#include "base/CsvText.h"
#include "panes/SpreadsheetExport.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

TEST(SpreadsheetExport, GermanAndEnglishSettingsReadBackAsTheTable) {
    const auto elements = LoadProject(test::SourcePath("samples/sample.f71")).elements;
    ASSERT_EQ(elements.size(), 3u);
    const auto pane = MakeAnalysisPane(PaneSection::Level, 500, "dBuV");
    pane->ShowFile(elements[2]);
    const PaneTable& table = *SpreadsheetTable(*pane);
    struct Locale {
        char separator, decimalMark;
    };
    for (const Locale locale : {Locale{';', ','}, Locale{',', '.'}}) {
        const std::string text = SpreadsheetText(table, locale.separator, locale.decimalMark);
        ASSERT_TRUE(text.starts_with(kUtf8Bom));
        EXPECT_EQ(text.find("\r\r"), std::string::npos);
        const auto records = ParseCsv(text, locale.separator);
        ASSERT_TRUE(records);
        ASSERT_EQ(records->size(), table.rows.size() + 1); // one header row
        EXPECT_EQ((*records)[0], table.ColumnTitles());
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
                std::string back = (*records)[r + 1][c];
                if (locale.decimalMark == ',' && back.find_first_of("0123456789") == 0)
                    std::replace(back.begin(), back.end(), ',', '.');
                EXPECT_EQ(back, table.rows[r][c]) << r << ' ' << c;
            }
        }
        if (locale.decimalMark == ',') {
            EXPECT_EQ((*records)[1][1], "48,25"); // the first channel's frequency
        }
    }
    const auto spectrum = MakeAnalysisPane(PaneSection::Spectrum, 500, "dBuV");
    spectrum->ShowFile(elements[0]);
    EXPECT_EQ(SpreadsheetTable(*spectrum)->tag, "List");
}

} // namespace
} // namespace qm
