// Project file bytes through LoadProject, or channel-plan file bytes through the plan loader,
// the grid fill, the drop-down choices and a few cell edits. The first byte picks the reader;
// a plan input ends in its edits, ten bytes each (row, column, eight text bytes up to the first
// zero), their count in the last byte.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "FuzzFile.h"
#include "Utf8Oracle.h"
#include "app/FileTree.h"
#include "app/ProjectFile.h"
#include "channels/CellEditRules.h"
#include "channels/ChannelGridModel.h"
#include "channels/ChannelPlanFile.h"
#include "channels/ChannelRowTexts.h"
#include "res/StringTable.h"

namespace {

struct Edit {
    std::size_t row;
    int column;
    std::string text;
};

void Project(const std::uint8_t* data, std::size_t size) {
    const std::string path = qm::fuzz::WriteScratchFile("qm-fuzz-project", data, size);
    const qm::ProjectLoad load = qm::LoadProject(path);
    if (load.elements.size() > size / qm::kElementSize + 1)
        __builtin_trap(); // elements the file holds no byte of
    if (load.status == qm::ProjectStatus::Ok) {
        // What was opened is saved and opened again unchanged.
        const qm::ProjectLoad again =
            qm::SaveProject(path, load.elements) == qm::ProjectStatus::Ok
                ? qm::LoadProject(path)
                : qm::ProjectLoad{qm::ProjectStatus::CannotWrite, {}, {}, 0};
        if (again.status != qm::ProjectStatus::Ok ||
            again.elements.size() != load.elements.size() ||
            !std::equal(again.elements.begin(), again.elements.end(), load.elements.begin(),
                        [](const qm::_tagFileDataExt& a, const qm::_tagFileDataExt& b) {
                            return std::memcmp(a.Bytes(), b.Bytes(), qm::kElementSize) == 0;
                        }))
            __builtin_trap();
    }
    std::remove(path.c_str());
    qm::RebuildFileTree(load.elements, qm::kLanguageEnglish);
}

void Plan(const std::uint8_t* data, std::size_t size) {
    using namespace qm;
    std::vector<Edit> edits;
    if (size > 0) {
        std::size_t count = data[--size] % 16;
        while (count-- > 0 && size >= 10) {
            size -= 10;
            const std::uint8_t* e = data + size;
            std::string text(reinterpret_cast<const char*>(e + 2), 8);
            text.resize(std::min(text.find('\0'), text.size()));
            edits.push_back({e[0], static_cast<int>(static_cast<std::int8_t>(e[1])), text});
        }
    }
    const std::string path = fuzz::WriteScratchFile("qm-fuzz-plan", data, size);
    CChannelPlanList plan;
    const PlanFileStatus status = OpenChannelPlan(path, plan);
    const PlanFileLoad load = LoadChannelPlanFile(path);
    std::remove(path.c_str());
    if (status != load.status || load.complete > load.records.size() ||
        load.records.size() > kMaxPlanChannels)
        __builtin_trap();
    if (status != PlanFileStatus::Ok)
        return;

    CChannelGridModel grid;
    grid.Fill(plan);
    for (int column = -1; column <= grid.ColumnCount(); ++column)
        CurrentRowChoices(plan, grid, column);
    std::set<std::pair<std::size_t, int>> typed;
    for (const Edit& edit : edits) {
        CCellEditRules rules(plan, grid);
        const CellEditOutcome outcome = rules.EditFinished(edit.row, edit.column, edit.text);
        if (outcome.refill)
            grid.Fill(plan);
        if (plan.Count() != load.records.size())
            __builtin_trap(); // an edit never adds or drops a channel
        // Every cell shows its record as the display rules give it, except cells that keep
        // the text typed into them until the next refill.
        if (outcome.refill)
            typed.clear();
        for (const CellTextChange& change : outcome.cells)
            typed.erase({change.row, change.column});
        if (outcome.keepsTypedText)
            typed.insert({edit.row, edit.column});
        for (std::size_t row = 0; row < grid.RowCount(); ++row)
            for (int column = 0; column < grid.ColumnCount(); ++column) {
                const CommonChannel& record = plan.At(grid.RecordOf(row));
                const std::string shown = ChannelCellText(plan.Kind(), record, row, column);
                if (!fuzz::StrictUtf8(shown) ||
                    (!typed.count({row, column}) && grid.Cell(row, column) != shown))
                    __builtin_trap();
            }
        if (grid.Contains(edit.row, edit.column))
            CurrentRowChoices(plan, grid, edit.column);
    }
    if (plan.Empty())
        return;
    // The edited plan is saved and opened again unchanged.
    const std::string again = fuzz::WriteScratchFile("qm-fuzz-plan", nullptr, 0);
    CChannelPlanList reopened;
    if (SaveChannelPlan(again, plan) != PlanFileStatus::Ok ||
        OpenChannelPlan(again, reopened) != PlanFileStatus::Ok || reopened.Kind() != plan.Kind() ||
        reopened.Count() != plan.Count() ||
        std::memcmp(reopened.Records().data(), plan.Records().data(),
                    plan.Count() * sizeof(CommonChannel)) != 0)
        __builtin_trap();
    std::remove(again.c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    if (data[0] & 1)
        Plan(data + 1, size - 1);
    else
        Project(data + 1, size - 1);
    return 0;
}
