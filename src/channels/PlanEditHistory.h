#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "channels/ChannelPlanList.h"

namespace qm {

// Rows copied from a plan: they only go back into a plan of the same kind.
struct PlanClip {
    int kind = -1;
    std::vector<CommonChannel> records;
};

// Why a plan command changed nothing.
enum class PlanEditRefusal {
    None,
    NothingSelected, // no row to act on: nothing is said
    TooManyChannels, // the plan would pass kMaxPlanChannels
    TooManyTilts,    // the plan would pass kMaxTiltChannels tilt channels
    OtherKind,       // pasted rows come from a plan of another kind
};

struct PlanEditResult {
    PlanEditRefusal refusal = PlanEditRefusal::None;
    std::size_t currentRow = 0; // the row to make current after an accepted command
    bool Accepted() const { return refusal == PlanEditRefusal::None; }
};

// English text of a refusal the user is told about (empty for None and NothingSelected).
std::string PlanEditRefusalText(PlanEditRefusal refusal);

// Adds a copy of record `row` right after it.
PlanEditResult InsertChannelAfter(CChannelPlanList& plan, std::size_t row);
// Removes the listed records (any order, duplicates and rows past the end ignored).
PlanEditResult DeleteChannels(CChannelPlanList& plan, const std::vector<std::size_t>& rows);
// Sorts the records by frequency; equal frequencies keep their order.
PlanEditResult OrderByFrequency(CChannelPlanList& plan);
// The listed records in plan order.
PlanClip CopyChannels(const CChannelPlanList& plan, const std::vector<std::size_t>& rows);
// Puts the clip's records after record `afterRow`, or at the end when none is given.
PlanEditResult PasteChannels(CChannelPlanList& plan, const PlanClip& clip,
                             std::optional<std::size_t> afterRow);

// Undo and redo over whole-plan snapshots. An edit is bracketed by Begin and Commit; an edit
// that changed nothing (a refused one) leaves the history as it was.
class CPlanEditHistory {
public:
    explicit CPlanEditHistory(std::size_t depth = 200) : m_depth(depth) {}

    void Clear();
    void Begin(const CChannelPlanList& plan);
    // True when the plan differs from the one at Begin and the step was recorded.
    bool Commit(const CChannelPlanList& plan);
    bool CanRedo() const { return !m_redo.empty(); }
    bool Undo(CChannelPlanList& plan) { return Step(m_undo, m_redo, plan); }
    bool Redo(CChannelPlanList& plan) { return Step(m_redo, m_undo, plan); }

private:
    struct Snapshot {
        int kind = -1;
        std::vector<CommonChannel> records;
    };
    static Snapshot Take(const CChannelPlanList& plan) { return {plan.Kind(), plan.Records()}; }
    static bool Same(const Snapshot& a, const CChannelPlanList& b);
    static void Restore(const Snapshot& snapshot, CChannelPlanList& plan);
    // Moves the newest step of `from` onto the plan, keeping the plan's state in `to`.
    static bool Step(std::vector<Snapshot>& from, std::vector<Snapshot>& to,
                     CChannelPlanList& plan);

    std::size_t m_depth;
    std::optional<Snapshot> m_pending;
    std::vector<Snapshot> m_undo;
    std::vector<Snapshot> m_redo;
};

} // namespace qm
