#include <gtest/gtest.h>

#include "support/JsonReader.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::BinPath;
using test::JsonValue;
using test::ParseJson;
using test::RunProcess;
using test::SourcePath;

// A cell as the text output prints it.
std::string CellText(const JsonValue& v) {
    return v.type == JsonValue::Type::Null ? "---" : v.text;
}

std::string Line(const JsonValue& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.items.size(); ++i)
        line += (i ? "\t" : "") + CellText(cells[i]);
    return line + "\n";
}

// The text `show` prints, rebuilt from `show --json`.
std::string ShowTextOf(const JsonValue& doc) {
    std::string text;
    if (doc["file"].type != JsonValue::Type::Null)
        text += "[File]\n" + doc["file"].text + "\n";
    for (const JsonValue& table : doc["tables"].items) {
        text += "[" + table["tag"].text + "]\n" + Line(table["columns"]);
        for (const JsonValue& row : table["rows"].items)
            text += Line(row);
    }
    return text;
}

TEST(JsonCli, ShowOfEverySectionOfTheSampleReadsBackAsTheText) {
    const std::string sample = SourcePath("samples/sample.f71");
    const auto tree = RunProcess(BinPath("qm7100"), {"tree", sample, "--json"});
    ASSERT_EQ(tree.exitCode, 0) << tree.err;
    const auto files = ParseJson(tree.out);
    ASSERT_TRUE(files) << tree.out;
    ASSERT_EQ((*files)["files"].items.size(), 3u);
    int sections = 0;
    for (const JsonValue& file : (*files)["files"].items) {
        for (const JsonValue& section : file["sections"].items) {
            const std::vector<std::string> args = {"show", sample, file["index"].text,
                                                   section["section"].text};
            const auto text = RunProcess(BinPath("qm7100"), args);
            auto jsonArgs = args;
            jsonArgs.push_back("--json");
            const auto json = RunProcess(BinPath("qm7100"), jsonArgs);
            ASSERT_EQ(json.exitCode, 0) << json.err;
            const auto doc = ParseJson(json.out);
            ASSERT_TRUE(doc) << json.out;
            EXPECT_EQ(ShowTextOf(*doc), text.out) << args[2] << ' ' << args[3];
            ++sections;
        }
    }
    EXPECT_EQ(sections, 18);
}

TEST(JsonCli, CellsAreNumbersNullsOrStrings) {
    const std::string sample = SourcePath("samples/sample.f71");
    const auto level =
        ParseJson(RunProcess(BinPath("qm7100"), {"show", sample, "0", "level", "--json"}).out);
    ASSERT_TRUE(level);
    const JsonValue& row = (*level)["tables"][0]["rows"][0];
    EXPECT_EQ(row[1].type, JsonValue::Type::Number); // 48.25
    EXPECT_EQ(row[2].type, JsonValue::Type::String); // TV
    EXPECT_EQ(row[5].type, JsonValue::Type::Null);   // ---
    const auto spectrum =
        ParseJson(RunProcess(BinPath("qm7100"), {"show", sample, "0", "spectrum", "--json"}).out);
    ASSERT_TRUE(spectrum);
    EXPECT_EQ((*spectrum)["tables"][0]["rows"][2][1].text, "12.50MHz"); // units stay text

    const auto plan =
        RunProcess(BinPath("qm7100"), {"plan", "show", SourcePath("samples/sample.f71"), "--json"});
    EXPECT_NE(plan.exitCode, 0); // a project is not a plan, JSON or not
}

} // namespace
} // namespace qm
