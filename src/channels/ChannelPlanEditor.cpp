#include "channels/ChannelPlanEditor.h"

#include <utility>

namespace qm {

namespace {
// Rows copied in any channel editor of this run, for a paste in this or a later one.
PlanClip& CopiedRows() {
    static PlanClip clip;
    return clip;
}
} // namespace

ChannelPlanEditor::ChannelPlanEditor(CChannelPlanList& plan)
    : m_plan(plan), m_rules(m_plan, m_model) {}

void ChannelPlanEditor::Reset() {
    m_plan.Clear();
    m_plan.SetKind(-1);
    m_model.Clear();
    m_history.Clear();
    m_edited = false;
    m_zeroFilled = 0;
}

void ChannelPlanEditor::TakeRead(const CChannelPlanList& read) {
    m_plan = read;
    m_history.Clear();
    m_edited = false;
    m_zeroFilled = 0;
}

ChannelPlanEditor::OpenResult ChannelPlanEditor::OpenFile(const std::string& path) {
    PlanFileLoad load = LoadChannelPlanFile(path);
    if (load.status != PlanFileStatus::Ok)
        return {load.status, 0}; // the plan shown stays as it was
    const std::size_t announced = load.records.size();
    m_zeroFilled = announced - load.complete;
    m_plan.Assign(std::move(load.records));
    m_plan.SetKind(load.kind);
    m_history.Clear();
    m_edited = false;
    return {PlanFileStatus::Ok, announced};
}

PlanFileStatus ChannelPlanEditor::SaveFile(const std::string& path) {
    const PlanFileStatus status = SaveChannelPlan(path, m_plan);
    if (status == PlanFileStatus::Ok)
        m_edited = false;
    return status;
}

CChannelPlanList ChannelPlanEditor::PlanToDownload() const {
    CChannelPlanList shown;
    shown.SetKind(m_plan.Kind());
    if (m_model.RowCount() > 0)
        shown = m_plan;
    return shown;
}

CellEditOutcome ChannelPlanEditor::EditCell(std::size_t row, int column, const std::string& text) {
    m_history.Begin(m_plan);
    CellEditOutcome outcome = m_rules.EditFinished(row, column, text);
    if (m_history.Commit(m_plan))
        m_edited = true;
    return outcome;
}

std::vector<std::string> ChannelPlanEditor::Choices(int column) const {
    return CurrentRowChoices(m_plan, m_model, column);
}

template <class Command> PlanEditResult ChannelPlanEditor::Run(Command command) {
    if (!ShowsPlan())
        return {PlanEditRefusal::NothingSelected, 0};
    m_history.Begin(m_plan);
    const PlanEditResult result = command();
    if (m_history.Commit(m_plan))
        m_edited = true;
    return result;
}

PlanEditResult ChannelPlanEditor::Paste(std::optional<std::size_t> current) {
    return Run([&] { return PasteChannels(m_plan, CopiedRows(), current); });
}

PlanEditResult ChannelPlanEditor::Insert(std::size_t current) {
    return Run([&] { return InsertChannelAfter(m_plan, current); });
}

PlanEditResult ChannelPlanEditor::Delete(const std::vector<std::size_t>& rows) {
    return Run([&] { return DeleteChannels(m_plan, rows); });
}

PlanEditResult ChannelPlanEditor::Order() {
    return Run([&] { return OrderByFrequency(m_plan); });
}

void ChannelPlanEditor::Copy(const std::vector<std::size_t>& rows) {
    PlanClip clip = CopyChannels(m_plan, rows);
    if (!clip.records.empty())
        CopiedRows() = std::move(clip);
}

bool ChannelPlanEditor::Step(bool back) {
    if (!(back ? m_history.Undo(m_plan) : m_history.Redo(m_plan)))
        return false;
    m_edited = true;
    return true;
}

} // namespace qm
