#include <gtest/gtest.h>

#include "base/CsvText.h"
#include "channels/CellEditRules.h"
#include "channels/PlanCsv.h"
#include "measurement/SampleGenerator.h"
#include "res/StringTable.h"

namespace qm {
namespace {

CChannelPlanList SamplePlan(int kind) {
    CChannelPlanList plan;
    plan.SetKind(kind);
    for (const auto& entry : SamplePlanEntries(kind, 0))
        plan.Append(RecordFromEntry(kind, entry));
    return plan;
}

// The CSV with one cell replaced.
std::string WithCell(const std::string& csv, std::size_t row, std::size_t column,
                     const std::string& text) {
    auto records = *ParseCsv(csv, ',');
    records[row][column] = text;
    std::string out;
    for (const auto& r : records)
        out += CsvRecord(r, ',') + "\r\n";
    return out;
}

TEST(PlanCsv, ExportedPlansOfEveryKindReadBackToTheSameGrid) {
    SetLanguageBase(kLanguageChinese); // headings stay English
    for (int kind : {0, 1, 2}) {
        const CChannelPlanList plan = SamplePlan(kind);
        const std::string csv = ExportPlanCsv(plan);
        EXPECT_TRUE(csv.starts_with("ID,EIA CH,STD CH,Type,Freq,")) << csv.substr(0, 60);
        const PlanCsvImport back = ImportPlanCsv(csv, kind);
        ASSERT_TRUE(back.plan) << kind << ": row " << back.problem->row << " "
                               << back.problem->column << " " << back.problem->reason;
        EXPECT_EQ(back.plan->Count(), plan.Count());
        EXPECT_EQ(ExportPlanCsv(*back.plan), csv);
        // A spreadsheet's BOM, LF line ends and semicolons read the same.
        std::string semicolons = std::string(kUtf8Bom);
        const auto records = ParseCsv(csv, ',');
        for (const auto& r : *records)
            semicolons += CsvRecord(r, ';') + "\n";
        ASSERT_TRUE(ImportPlanCsv(semicolons, kind).plan);
        EXPECT_FALSE(ImportPlanCsv(csv, (kind + 1) % 3).plan); // headings of another kind
    }
    SetLanguageBase(kLanguageEnglish);
}

// A standard, typed after the symbol rate, would set the rate to its default.
TEST(PlanCsv, EveryStandardKeepsTheSymbolRateOfItsRow) {
    for (int kind : {0, 1, 2}) {
        CChannelPlanList plan;
        plan.SetKind(kind);
        const std::uint16_t rates[] = {5000, 6500, 2500}; // J83.A, J83.B, J83.C
        for (std::uint8_t standard = 0; standard < 3; ++standard) {
            CommonChannel c;
            c.SetType(kind, kTypeDvbC);
            c.SetEia(kind, static_cast<std::uint8_t>(standard + 1));
            c.SetName(kind, " C" + std::to_string(standard)); // as typed
            c.SetFrequency(47400 + 800 * standard);
            c.SetAudioBw(800);
            c.SetStandard(kind, standard);
            c.SetSymbolRate(rates[standard]);
            plan.Append(c);
        }
        const std::string csv = ExportPlanCsv(plan);
        const PlanCsvImport back = ImportPlanCsv(csv, kind);
        ASSERT_TRUE(back.plan) << kind << ": " << back.problem->reason;
        EXPECT_EQ(ExportPlanCsv(*back.plan), csv) << kind;
        // A rate out of range is still the refused cell, not the standard typed before it.
        const PlanCsvImport refused = ImportPlanCsv(WithCell(csv, 2, 9, "7.5"), kind);
        ASSERT_FALSE(refused.plan);
        EXPECT_EQ(refused.problem->row, 2u);
        EXPECT_EQ(refused.problem->message->id, txt::kRateRange);
    }
}

TEST(PlanCsv, TheFirstRefusedCellIsReportedByRowAndColumn) {
    const std::string csv = ExportPlanCsv(SamplePlan(1));
    struct Case {
        std::size_t row, column;
        std::string text, heading;
        int messageId; // 0: a reason without a message
    };
    const Case cases[] = {
        {3, 1, "300", "EIA CH", txt::kEiaRange},
        {3, 1, "", "EIA CH", txt::kEiaRange},
        {2, 2, "ABCD", "STD CH", txt::kNameLength},
        {4, 4, "474,25", "Freq", 0}, // a decimal comma is no number here
        {2, 3, "PAL", "Type", 0},
        {5, 6, "maybe", "Enable", 0},
    };
    for (const Case& c : cases) {
        const PlanCsvImport r = ImportPlanCsv(WithCell(csv, c.row, c.column, c.text), 1);
        ASSERT_FALSE(r.plan) << c.heading << " '" << c.text << "'";
        EXPECT_EQ(r.problem->row, c.row);
        EXPECT_EQ(r.problem->column, c.heading);
        EXPECT_EQ(r.problem->text, c.text);
        EXPECT_EQ(r.problem->message ? r.problem->message->id : 0, c.messageId) << c.heading;
    }
    // The same EIA channel twice: the second row is refused.
    const std::string eia2 = ParseCsv(csv, ',')->at(2).at(1);
    const PlanCsvImport twice = ImportPlanCsv(WithCell(csv, 5, 1, eia2), 1);
    ASSERT_FALSE(twice.plan);
    EXPECT_EQ(twice.problem->row, 5u);
    EXPECT_EQ(twice.problem->message->id, txt::kEiaInUse);
    // Rows of the wrong width and plans too large are refused before any cell.
    EXPECT_EQ(ImportPlanCsv(csv + "1,2\r\n", 1).problem->reason, "the row has 2 cells, not 16");
    EXPECT_FALSE(ImportPlanCsv("ID\r\n", 1).plan);
    EXPECT_FALSE(ImportPlanCsv(csv.substr(0, csv.find('\n') + 1), 1).plan); // no channels
    EXPECT_FALSE(ImportPlanCsv("\"ID,EIA CH", 1).plan);
}

TEST(CsvText, QuotesWhatNeedsQuotesAndReadsItBack) {
    const std::vector<std::string> cells = {"a", "b;c", "say \"hi\"", "two\r\nlines", ""};
    EXPECT_EQ(CsvRecord(cells, ';'), "a;\"b;c\";\"say \"\"hi\"\"\";\"two\r\nlines\";");
    const auto back = ParseCsv(CsvRecord(cells, ';') + "\r\nx\n", ';');
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[0], cells);
    EXPECT_FALSE(ParseCsv("\"a\"b", ','));
}

} // namespace
} // namespace qm
