#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "channels/CellEditRules.h"
#include "channels/ChannelGridModel.h"
#include "channels/ChannelPlanFile.h"
#include "channels/ChannelPlanList.h"
#include "channels/PlanEditHistory.h"

namespace qm {

// The channel editor without its window: the plan it works on, the grid model that shows it,
// the cell-edit rules, the undo history, the rows copied and whether there are edits not yet
// saved or downloaded. A window (or the command-line tool) shows the model and asks the user;
// every change of the plan goes through here, one undo step per edit or command.
class ChannelPlanEditor {
public:
    // Works on plan (the process-wide list in the desktop program), which outlives it.
    explicit ChannelPlanEditor(CChannelPlanList& plan);

    // No plan: no records, no kind (a new editor window starts so).
    void Reset();

    const CChannelPlanList& Plan() const { return m_plan; }
    int Kind() const { return m_plan.Kind(); }
    const CChannelGridModel& Model() const { return m_model; }
    // The model shows the plan again (its rows, the last one current).
    void FillModel() { m_model.Fill(m_plan); }
    void ClearModel() { m_model.Clear(); }
    void SetCurrentRow(std::size_t row) { m_model.SetCurrentRow(row); }

    // Edits since the plan was read, opened, saved or downloaded.
    bool Edited() const { return m_edited; }
    // Channels of the plan shown that a cut file left all zero.
    std::size_t ZeroFilled() const { return m_zeroFilled; }
    // The plan read from the meter replaces the one shown (whole or not): nothing of it is
    // edited, and the steps of the plan before do not apply to it.
    void TakeRead(const CChannelPlanList& read);
    // Another plan is about to be read: the steps of the plan shown go.
    void ForgetHistory() { m_history.Clear(); }

    // Open of a channel-plan file: the plan shown is replaced only when the file could be read
    // (ZeroFilled then says how much of it was cut off). The load's status and the channels
    // its header announces come back.
    struct OpenResult {
        PlanFileStatus status = PlanFileStatus::Ok;
        std::size_t announced = 0;
    };
    OpenResult OpenFile(const std::string& path);
    // Save to a file; a successful one leaves nothing edited.
    PlanFileStatus SaveFile(const std::string& path);
    // What a download sends: the plan while the model shows it, else an empty plan of its kind
    // (a failed read left records the grid does not show).
    CChannelPlanList PlanToDownload() const;
    // The meter holds the plan now.
    void Downloaded() { m_edited = false; }

    // The end of an in-place edit of cell (row, column), under the cell-edit rules; one step.
    CellEditOutcome EditCell(std::size_t row, int column, const std::string& text);
    // The drop-down list of column for the current row.
    std::vector<std::string> Choices(int column) const;

    // The plan tools; each accepted one is an undo step and names the row to make current.
    // Nothing is done while the model does not show the plan (NothingSelected).
    PlanEditResult Paste(std::optional<std::size_t> current);
    PlanEditResult Insert(std::size_t current);
    PlanEditResult Delete(const std::vector<std::size_t>& rows);
    PlanEditResult Order();
    // The rows become the copied rows of every editor of this run (nothing when none is given).
    void Copy(const std::vector<std::size_t>& rows);
    // True when a step was taken back or done again.
    bool Undo() { return Step(true); }
    bool Redo() { return Step(false); }

    // Whether the model shows the records of the plan (a failed read leaves records it does
    // not show, which no tool works on).
    bool ShowsPlan() const { return m_model.RowCount() > 0 || m_plan.Empty(); }

private:
    template <class Command> PlanEditResult Run(Command command);
    bool Step(bool back);

    CChannelPlanList& m_plan;
    CChannelGridModel m_model;
    CCellEditRules m_rules;
    CPlanEditHistory m_history;
    bool m_edited = false;
    std::size_t m_zeroFilled = 0;
};

} // namespace qm
