#include "channels/PlanEditHistory.h"

#include <algorithm>
#include <cstring>

namespace qm {

namespace {

std::size_t TiltCount(int kind, const std::vector<CommonChannel>& records) {
    return static_cast<std::size_t>(
        std::count_if(records.begin(), records.end(), [kind](const CommonChannel& r) {
            return (r.Flags(kind) & kChannelTilt) != 0;
        }));
}

// Refusal for adding `added` to the plan, if any.
PlanEditRefusal GrowthRefusal(const CChannelPlanList& plan,
                              const std::vector<CommonChannel>& added) {
    if (plan.Count() + added.size() > kMaxPlanChannels)
        return PlanEditRefusal::TooManyChannels;
    if (TiltCount(plan.Kind(), plan.Records()) + TiltCount(plan.Kind(), added) >
        static_cast<std::size_t>(kMaxTiltChannels))
        return PlanEditRefusal::TooManyTilts;
    return PlanEditRefusal::None;
}

PlanEditResult Refused(PlanEditRefusal refusal) {
    return {refusal, 0};
}

} // namespace

std::string PlanEditRefusalText(PlanEditRefusal refusal) {
    switch (refusal) {
    case PlanEditRefusal::TooManyChannels:
        return "A channel plan holds at most " + std::to_string(kMaxPlanChannels) + " channels.";
    case PlanEditRefusal::TooManyTilts:
        return "A channel plan holds at most " + std::to_string(kMaxTiltChannels) +
               " tilt channels.";
    case PlanEditRefusal::OtherKind:
        return "The copied channels belong to a plan of another meter kind.";
    case PlanEditRefusal::None:
    case PlanEditRefusal::NothingSelected:
        break;
    }
    return {};
}

PlanEditResult InsertChannelAfter(CChannelPlanList& plan, std::size_t row) {
    if (row >= plan.Count())
        return Refused(PlanEditRefusal::NothingSelected);
    const std::vector<CommonChannel> added{plan.At(row)};
    if (const PlanEditRefusal refusal = GrowthRefusal(plan, added);
        refusal != PlanEditRefusal::None)
        return Refused(refusal);
    std::vector<CommonChannel> records = plan.Records();
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(row + 1), added.front());
    plan.Assign(std::move(records));
    return {PlanEditRefusal::None, row + 1};
}

PlanEditResult DeleteChannels(CChannelPlanList& plan, const std::vector<std::size_t>& rows) {
    std::vector<bool> gone(plan.Count(), false);
    std::size_t first = plan.Count();
    for (std::size_t row : rows)
        if (row < gone.size()) {
            gone[row] = true;
            first = std::min(first, row);
        }
    if (first == plan.Count())
        return Refused(PlanEditRefusal::NothingSelected);
    std::vector<CommonChannel> kept;
    for (std::size_t i = 0; i < plan.Count(); ++i)
        if (!gone[i])
            kept.push_back(plan.At(i));
    plan.Assign(std::move(kept));
    // The row that took the place of the first deleted one, else the new last row.
    return {PlanEditRefusal::None, plan.Empty() ? 0 : std::min(first, plan.Count() - 1)};
}

PlanEditResult OrderByFrequency(CChannelPlanList& plan) {
    std::vector<CommonChannel> records = plan.Records();
    std::stable_sort(records.begin(), records.end(),
                     [](const CommonChannel& a, const CommonChannel& b) {
                         return a.Frequency() < b.Frequency();
                     });
    plan.Assign(std::move(records));
    return {PlanEditRefusal::None, 0};
}

PlanClip CopyChannels(const CChannelPlanList& plan, const std::vector<std::size_t>& rows) {
    std::vector<bool> chosen(plan.Count(), false);
    for (std::size_t row : rows)
        if (row < chosen.size())
            chosen[row] = true;
    PlanClip clip;
    clip.kind = plan.Kind();
    for (std::size_t i = 0; i < plan.Count(); ++i)
        if (chosen[i])
            clip.records.push_back(plan.At(i));
    return clip;
}

PlanEditResult PasteChannels(CChannelPlanList& plan, const PlanClip& clip,
                             std::optional<std::size_t> afterRow) {
    if (clip.records.empty())
        return Refused(PlanEditRefusal::NothingSelected);
    // Entry layouts differ between kinds: the bytes would mean other values.
    if (clip.kind != plan.Kind() || plan.Kind() < 0)
        return Refused(PlanEditRefusal::OtherKind);
    if (const PlanEditRefusal refusal = GrowthRefusal(plan, clip.records);
        refusal != PlanEditRefusal::None)
        return Refused(refusal);
    const std::size_t at = afterRow && *afterRow < plan.Count() ? *afterRow + 1 : plan.Count();
    std::vector<CommonChannel> records = plan.Records();
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(at), clip.records.begin(),
                   clip.records.end());
    plan.Assign(std::move(records));
    return {PlanEditRefusal::None, at + clip.records.size() - 1};
}

void CPlanEditHistory::Clear() {
    m_pending.reset();
    m_undo.clear();
    m_redo.clear();
}

void CPlanEditHistory::Begin(const CChannelPlanList& plan) {
    m_pending = Take(plan);
}

bool CPlanEditHistory::Commit(const CChannelPlanList& plan) {
    if (!m_pending)
        return false;
    Snapshot before = std::move(*m_pending);
    m_pending.reset();
    if (Same(before, plan))
        return false;
    m_undo.push_back(std::move(before));
    if (m_undo.size() > m_depth)
        m_undo.erase(m_undo.begin());
    m_redo.clear();
    return true;
}

bool CPlanEditHistory::Step(std::vector<Snapshot>& from, std::vector<Snapshot>& to,
                            CChannelPlanList& plan) {
    if (from.empty())
        return false;
    to.push_back(Take(plan));
    Restore(from.back(), plan);
    from.pop_back();
    return true;
}

bool CPlanEditHistory::Same(const Snapshot& a, const CChannelPlanList& b) {
    if (a.kind != b.Kind() || a.records.size() != b.Count())
        return false;
    return a.records.empty() || std::memcmp(a.records.data(), b.Records().data(),
                                            a.records.size() * sizeof(CommonChannel)) == 0;
}

void CPlanEditHistory::Restore(const Snapshot& snapshot, CChannelPlanList& plan) {
    plan.SetKind(snapshot.kind);
    plan.Assign(snapshot.records);
}

} // namespace qm
