#include "operations/PlanTransfer.h"

#include "channels/CommonChannel.h"
#include "link/MeterCommands.h"
#include "measurement/MeterKind.h"
#include "operations/LinkOutcome.h"

namespace qm {

namespace {

constexpr int kProgressRange = 100;

} // namespace

namespace {

PlanUploadResult UploadPlanSteps(cnComm& port, const ConnectTarget& target, int slot,
                                 CChannelPlanList& plans, const ProgressFn& progress) {
    PlanUploadResult result;
    ReportProgress(progress, 10, kProgressRange);
    if (!ConnectTo(port, target)) {
        result.outcome.Show(txt::kConnectionFailed, MessageKind::Error);
        return result;
    }
    ReportProgress(progress, 40, kProgressRange);
    if (SelectPlan(port, slot) != 1) {
        result.outcome.Show(txt::kPlanNull, MessageKind::Error);
        return result;
    }
    plans.Clear();
    const std::string model = ReadModel(port);
    const int kind = MeterKindOfModel(model);
    if (!IsKnownKind(kind)) {
        Release(port);
        result.outcome.detail = TrFill(txt::kUnknownModel, {model});
        return result;
    }
    result.kind = kind;
    plans.SetKind(kind);

    std::vector<PlanEntry> entries;
    const bool read = ReadChannelPlan(port, kind, slot, entries);
    if (!read) {
        plans.Clear();
        result.outcome.Show(txt::kPlanReadFailed, MessageKind::Error);
        return result;
    }
    // A meter announcing more frames than a plan fills would give a list of more channels than
    // a plan holds, which no channel-plan file could take back.
    if (entries.size() > kMaxPlanChannels) {
        Release(port);
        result.outcome.Show(txt::kPlanReadFailed, MessageKind::Error);
        return result;
    }
    for (const PlanEntry& entry : entries)
        plans.Append(RecordFromEntry(kind, entry));
    Release(port);
    result.outcome.ok = true;
    return result;
}

} // namespace

PlanUploadResult UploadPlan(cnComm& port, const ConnectTarget& target, int slot,
                            CChannelPlanList& plans, const ProgressFn& progress) {
    PlanUploadResult result = UploadPlanSteps(port, target, slot, plans, progress);
    NoteLinkOutcome(result.outcome, port);
    return result;
}

namespace {

OperationOutcome DownloadPlanSteps(cnComm& port, const ConnectTarget& target, int slot,
                                   const CChannelPlanList& plans, const ProgressFn& progress) {
    OperationOutcome outcome;
    ReportProgress(progress, 0, kProgressRange);
    if (!ConnectTo(port, target)) {
        outcome.Show(txt::kConnectionFailed, MessageKind::Error);
        return outcome;
    }
    ReportProgress(progress, 10, kProgressRange);
    // The grid shows no rows for a plan of no known kind: nothing to send either.
    const int kind = plans.Kind();
    if (plans.Empty() || !IsKnownKind(kind)) {
        outcome.Show(txt::kUploadPlanFirst, MessageKind::Error);
        return outcome;
    }
    std::vector<PlanEntry> entries;
    entries.reserve(plans.Count());
    for (const CommonChannel& record : plans.Records())
        entries.push_back(EntryFromRecord(kind, record));
    // A plan laid out for another meter kind would be misread by this meter (entry layout and
    // code tables differ): it is not sent.
    const std::string model = ReadModel(port);
    const int meterKind = MeterKindOfModel(model);
    bool written = false;
    if (meterKind != kind) {
        outcome.detail = TrFill(txt::kPlanKindMismatch,
                                {std::to_string(kind), model, std::to_string(meterKind)});
    } else {
        // WriteChannelPlan refuses short plans before sending anything.
        written = WriteChannelPlan(port, kind, entries, slot);
    }
    // The channel editor's notices are plain boxes with the application name as caption.
    outcome.Show(written ? txt::kPlanWritten : txt::kPlanWriteFailed, MessageKind::Plain);

    if (!ActivatePlan(port, slot)) {
        outcome.Show(txt::kPlanActivateFailed, MessageKind::Error);
        return outcome;
    }
    Release(port);
    outcome.ok = written;
    return outcome;
}

} // namespace

OperationOutcome DownloadPlan(cnComm& port, const ConnectTarget& target, int slot,
                              const CChannelPlanList& plans, const ProgressFn& progress) {
    OperationOutcome result = DownloadPlanSteps(port, target, slot, plans, progress);
    NoteLinkOutcome(result, port);
    return result;
}

} // namespace qm
