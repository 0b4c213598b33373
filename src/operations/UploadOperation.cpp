#include "operations/UploadOperation.h"

#include <algorithm>

#include "link/FrameProtocol.h"
#include "link/MeterCommands.h"
#include "link/cnComm.h"
#include "measurement/MeterKind.h"
#include "operations/LinkOutcome.h"

namespace qm {

namespace {

UploadResult RunUploadSteps(cnComm& port, const ConnectTarget& target, CFileCollection& collection,
                            const ProgressFn& progress) {
    UploadResult result;
    if (!ConnectTo(port, target)) {
        result.outcome.Show(txt::kConnectionFailed, MessageKind::Plain);
        return result;
    }
    result.connected = true;
    collection.Clear();
    Handshake(port); // the meter expects it; its answer changes nothing
    port.SetLastError({});

    result.model = ReadModel(port);
    // Unknown models (and "Wrong") are read as kind 0.
    result.kind = std::max(0, MeterKindOfModel(result.model));

    result.fileCount = ReadFileCount(port);
    ReportProgress(progress, 0, std::max(0, result.fileCount));
    if (result.fileCount < 0) {
        result.outcome.detail = Tr(txt::kNoFileCount);
    } else {
        result.outcome.ok = true;
        for (int i = 0; i < result.fileCount; ++i) {
            const auto file = ReadMeasurementFile(port, i, result.kind);
            if (!file) {
                result.outcome.ok = false;
                result.outcome.Show(txt::kFileReadFailed, MessageKind::Plain);
                break;
            }
            _tagFileDataExt element;
            element.kind = static_cast<std::uint8_t>(result.kind);
            std::copy_n(file->begin(), std::min(file->size(), element.file.size()),
                        element.file.begin());
            collection.Append(element);
            ++result.filesRead;
            ReportProgress(progress, i + 1, result.fileCount);
        }
    }
    Release(port);
    return result;
}

} // namespace

UploadResult RunUpload(cnComm& port, const ConnectTarget& target, CFileCollection& collection,
                       const ProgressFn& progress) {
    UploadResult result = RunUploadSteps(port, target, collection, progress);
    NoteLinkOutcome(result.outcome, port);
    return result;
}

int UploadSecondsLeft(int filesRead, int fileCount, std::int64_t elapsedMs) {
    if (filesRead >= fileCount)
        return 0;
    if (filesRead <= 0 || elapsedMs < 0)
        return -1;
    const std::int64_t leftMs = elapsedMs / filesRead * (fileCount - filesRead) +
                                elapsedMs % filesRead * (fileCount - filesRead) / filesRead;
    constexpr std::int64_t kLongest = 99 * 3600 + 59 * 60 + 59; // what the dialog can show
    return static_cast<int>(std::min<std::int64_t>((leftMs + 999) / 1000, kLongest));
}

} // namespace qm
