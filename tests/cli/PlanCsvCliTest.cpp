#include <gtest/gtest.h>

#include <utility>

#include "base/CsvText.h"
#include "channels/ChannelPlanFile.h"
#include "measurement/SampleGenerator.h"
#include "support/JsonReader.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::BinPath;
using test::ReadFile;
using test::RunProcess;

std::string WriteSamplePlan(const test::TempDir& dir, int kind) {
    std::vector<CommonChannel> records;
    for (const auto& entry : SamplePlanEntries(kind, 0))
        records.push_back(RecordFromEntry(kind, entry));
    const std::string path = dir.File("plan.f71CH");
    EXPECT_EQ(SaveChannelPlanFile(path, kind, records), PlanFileStatus::Ok);
    return path;
}

TEST(PlanCsvCli, ExportImportRoundTripAndABadCellWritesNothing) {
    test::TempDir dir;
    const std::string plan = WriteSamplePlan(dir, 2);
    const std::string csv = dir.File("plan.csv"), copy = dir.File("copy.f71CH");
    ASSERT_EQ(RunProcess(BinPath("qm7100"), {"plan", "export", plan, csv}).exitCode, 0);
    auto imported = RunProcess(BinPath("qm7100"), {"plan", "import", csv, copy, "--kind", "2"});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    const auto shown = RunProcess(BinPath("qm7100"), {"plan", "show", plan});
    EXPECT_EQ(RunProcess(BinPath("qm7100"), {"plan", "show", copy}).out, shown.out);

    auto records = *ParseCsv(ReadFile(csv), ',');
    records[3][1] = "999"; // EIA CH of ID 3
    std::string bad;
    for (const auto& r : records)
        bad += CsvRecord(r, ',') + "\r\n";
    test::WriteFile(csv, bad);
    const std::string before = ReadFile(copy);
    auto refused = RunProcess(BinPath("qm7100"), {"plan", "import", csv, copy, "--kind", "2"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("row 3, column EIA CH '999': 'EIA CH' should be from 0 to 255"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(ReadFile(copy), before);
    EXPECT_EQ(RunProcess(BinPath("qm7100"), {"plan", "import", csv, copy}).exitCode, 2);
}

// A full plan the tool exported comes back; one channel more is refused and writes nothing.
TEST(PlanCsvCli, AFullPlanImportsAndOneChannelMoreWritesNothing) {
    test::TempDir dir;
    std::vector<CommonChannel> records(kMaxPlanChannels);
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].SetEia(0, static_cast<std::uint8_t>(i));
        const std::string number = std::to_string(i);
        records[i].SetName(0, std::string(3 - number.size(), ' ') + number); // as typed
        records[i].SetFrequency(static_cast<std::uint32_t>(4800 + 500 * i));
    }
    const std::string plan = dir.File("full.f71CH"), full = dir.File("full.csv");
    ASSERT_EQ(SaveChannelPlanFile(plan, 0, records), PlanFileStatus::Ok);
    ASSERT_EQ(RunProcess(BinPath("qm7100"), {"plan", "export", plan, full}).exitCode, 0);
    auto rows = *ParseCsv(ReadFile(full), ',');
    rows.push_back(rows.back());
    rows.back()[0] = rows.back()[1] = rows.back()[2] = std::to_string(kMaxPlanChannels + 1);
    std::string longer;
    for (const auto& r : rows)
        longer += CsvRecord(r, ',') + "\r\n";
    const std::string over = dir.File("over.csv");
    test::WriteFile(over, longer);

    const std::string out = dir.File("out.f71CH");
    for (const auto& [csv, exitCode] : {std::pair{full, 0}, std::pair{over, 1}}) {
        test::WriteFile(out, "before");
        const auto imported =
            RunProcess(BinPath("qm7100"), {"plan", "import", csv, out, "--kind", "0"});
        EXPECT_EQ(imported.exitCode, exitCode) << csv << ": " << imported.err;
        if (exitCode == 0)
            EXPECT_TRUE(RunProcess(BinPath("qm7100"), {"plan", "show", out}).out ==
                        RunProcess(BinPath("qm7100"), {"plan", "show", plan}).out);
        else
            EXPECT_EQ(ReadFile(out), "before");
    }
}

TEST(PlanCsvCli, PlanShowJsonHoldsTheGrid) {
    test::TempDir dir;
    const std::string plan = WriteSamplePlan(dir, 1);
    const auto json = RunProcess(BinPath("qm7100"), {"plan", "show", plan, "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const auto doc = test::ParseJson(json.out);
    ASSERT_TRUE(doc) << json.out;
    EXPECT_EQ((*doc)["kind"].text, "1");
    ASSERT_EQ((*doc)["columns"].items.size(), 16u);
    EXPECT_EQ((*doc)["columns"][4].text, "Freq");
    const std::string text = RunProcess(BinPath("qm7100"), {"plan", "show", plan}).out;
    std::string rebuilt = "kind\t1\n";
    const auto addLine = [&rebuilt](const test::JsonValue& cells) {
        for (std::size_t i = 0; i < cells.items.size(); ++i)
            rebuilt += (i ? "\t" : "") +
                       (cells[i].type == test::JsonValue::Type::Null ? "---" : cells[i].text);
        rebuilt += "\n";
    };
    addLine((*doc)["columns"]);
    for (const test::JsonValue& row : (*doc)["rows"].items)
        addLine(row);
    EXPECT_EQ(rebuilt, text);
}

} // namespace
} // namespace qm
