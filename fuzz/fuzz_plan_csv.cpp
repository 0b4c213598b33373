// Channel plans as CSV. The first byte picks what the rest is:
//  - even: a CSV file for a plan of kind (second byte % 3), imported with `qm7100 plan import`
//    over an existing plan file. A refused CSV leaves that file as it was; an accepted one
//    writes the plan the import gives, and that plan's CSV, imported again, is the same plan.
//  - odd: a plan made in the channel editor: second byte the kind, third the channel count
//    (1 to 12), then cell edits of three bytes (row, column, choice) each followed
//    by the text typed, up to a zero byte. Its CSV imports back to the same plan, as far as the
//    cell rules let a value stand in its row.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFile.h"
#include "base/CsvText.h"
#include "channels/CellEditRules.h"
#include "channels/ChannelColumnSet.h"
#include "channels/ChannelGridModel.h"
#include "channels/ChannelPlanFile.h"
#include "channels/PlanCsv.h"
#include "cli/Cli.h"
#include "res/StringTable.h"

namespace {

using namespace qm;

// The plan's CSV imports to a plan whose CSV is the same, but for cells the rules change when
// the text is typed into the row as the import left it (a bandwidth of 9.99 typed into a
// DVB-T row stores 8.00); and that CSV imports to itself.
void ComesBack(const CChannelPlanList& plan) {
    const std::string csv = ExportPlanCsv(plan);
    const PlanCsvImport back = ImportPlanCsv(csv, plan.Kind());
    if (!back.plan || back.plan->Count() != plan.Count())
        __builtin_trap();
    const std::string again = ExportPlanCsv(*back.plan);
    if (again == csv)
        return;
    const auto wanted = ParseCsv(csv, ',');
    const auto got = ParseCsv(again, ',');
    for (std::size_t row = 1; row < wanted->size(); ++row)
        for (std::size_t column = 1; column < (*wanted)[row].size(); ++column) {
            const std::string& text = (*wanted)[row][column];
            if ((*got)[row][column] == text)
                continue;
            CChannelPlanList retyped = *back.plan;
            CChannelGridModel grid;
            grid.Fill(retyped);
            CCellEditRules(retyped, grid).EditFinished(row - 1, static_cast<int>(column), text);
            grid.Fill(retyped);
            if (grid.Cell(row - 1, static_cast<int>(column)) == text)
                __builtin_trap(); // the value fits the row, yet the import lost it
        }
    const PlanCsvImport twice = ImportPlanCsv(again, plan.Kind());
    if (!twice.plan || ExportPlanCsv(*twice.plan) != again)
        __builtin_trap();
}

void Imported(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return;
    const int kind = data[0] % 3;
    const std::string_view csv(reinterpret_cast<const char*>(data + 1), size - 1);
    const PlanCsvImport import = ImportPlanCsv(csv, kind);
    if (import.plan ? import.problem.has_value() : !import.problem.has_value())
        __builtin_trap();

    const std::string in = fuzz::WriteScratchFile("qm-fuzz-csv", data + 1, size - 1);
    // A plan file that is there before, as a plan the user already has.
    static const std::uint8_t kBefore[] = {'o', 'l', 'd'};
    const std::string out = fuzz::WriteScratchFile("qm-fuzz-csv-out", kBefore, sizeof kBefore);
    SetLanguageBase(kLanguageEnglish);
    std::ostringstream said, err;
    const int rc =
        cli::RunCommandLine({"plan", "import", in, out, "--kind", std::to_string(kind)}, said, err);
    const std::string written = fuzz::ReadWholeFile(out);
    std::remove(in.c_str());
    std::remove(out.c_str());
    if (!import.plan) {
        if (rc != cli::kExitFailed || written != "old")
            __builtin_trap(); // a refused CSV wrote something
        return;
    }
    const std::string path = fuzz::WriteScratchFile("qm-fuzz-csv-plan", nullptr, 0);
    if (rc != cli::kExitOk || SaveChannelPlan(path, *import.plan) != PlanFileStatus::Ok ||
        fuzz::ReadWholeFile(path) != written)
        __builtin_trap();
    std::remove(path.c_str());
    ComesBack(*import.plan);
}

void Edited(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return;
    const int kind = data[0] % 3;
    // Small plans: a full plan's import takes a hundred times as long under the sanitizers,
    // and its limits are a test's.
    const std::size_t count = 1u + data[1] % 12u;
    data += 2;
    size -= 2;
    const std::vector<ChannelColumnInfo> columns = ChannelColumnSet(kind, 1000);
    CChannelPlanList plan;
    plan.SetKind(kind);
    for (std::size_t i = 0; i < count; ++i)
        plan.Append(CommonChannel{});
    CChannelGridModel grid;
    grid.Fill(plan);
    while (size >= 3) {
        const std::size_t row = data[0] % count;
        const int column = 1 + data[1] % (static_cast<int>(columns.size()) - 1);
        const std::uint8_t choice = data[2];
        data += 3;
        size -= 3;
        std::string typed;
        while (size > 0 && *data != 0) {
            typed += static_cast<char>(*data++);
            --size;
        }
        if (size > 0) {
            ++data;
            --size;
        }
        const ChannelColumnInfo& info = columns[static_cast<std::size_t>(column)];
        std::string text;
        grid.SetCurrentRow(row);
        if (info.editor == CellEditor::DropDown) {
            // Only what the drop-down offers can be picked.
            const std::vector<std::string> offered = CurrentRowChoices(plan, grid, column);
            if (offered.empty())
                continue;
            text = offered[choice % offered.size()];
        } else {
            // The cell's editor lets only its characters through.
            for (const char c : typed)
                if (info.validChars.empty() || info.validChars.find(c) != std::string::npos)
                    text += c;
        }
        CCellEditRules rules(plan, grid);
        if (rules.EditFinished(row, column, text).refill)
            grid.Fill(plan);
    }
    ComesBack(plan);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    if (data[0] & 1)
        Edited(data + 1, size - 1);
    else
        Imported(data + 1, size - 1);
    return 0;
}
