#include "operations/ScreenCapture.h"
#include "res/StringTable.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "base/BinaryFile.h"
#include "base/BitmapFile.h"
#include "link/MeterCommands.h"
#include "operations/LinkOutcome.h"

namespace qm {

std::vector<std::uint8_t> CaptureBitmap(const std::vector<std::uint8_t>& pixels) {
    return BitmapFileBytes(kScreenWidth, kScreenHeight, pixels);
}

namespace {

CaptureResult CaptureScreenSteps(cnComm& port, const ConnectTarget& target, const std::string& path,
                                 const ProgressFn& progress, const CaptureRetry& retry) {
    CaptureResult result;
    bool connected = false;
    for (int attempt = 1; attempt <= std::max(1, retry.tries) && !connected; ++attempt) {
        if (attempt > 1) {
            if (retry.pause)
                retry.pause(retry.pauseMs);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(retry.pauseMs));
            if (retry.stop && retry.stop()) {
                result.outcome.detail = Tr(txt::kConnectCancelled);
                return result;
            }
        }
        ++result.connectTries;
        connected = ConnectTo(port, target);
    }
    if (!connected) {
        result.outcome.Show(txt::kConnectionFailed, MessageKind::Error);
        return result;
    }

    const auto pixels = ReadScreen(
        port, [&](int position, int count) { ReportProgress(progress, position, count); });
    if (!pixels) {
        // A picture of nothing but a header helps nobody: say so and keep the old file.
        Release(port);
        result.outcome.Show(txt::kConnectionFailed, MessageKind::Error);
        result.outcome.detail = Tr(txt::kScreenTransferFailed);
        return result;
    }
    std::vector<std::uint8_t> bitmap = CaptureBitmap(*pixels);
    if (ReplaceFileContents(path, {bitmap}) != ReplaceStatus::Ok) {
        result.outcome.Show(txt::kFileNotCreated, MessageKind::Error);
        result.outcome.detail = TrFill(txt::kCannotWritePath, {path, ErrnoText(errno)});
        return result;
    }
    result.bitmap = std::move(bitmap);
    Release(port);
    result.outcome.ok = true;
    return result;
}

} // namespace

CaptureResult CaptureScreen(cnComm& port, const ConnectTarget& target, const std::string& path,
                            const ProgressFn& progress, const CaptureRetry& retry) {
    CaptureResult result = CaptureScreenSteps(port, target, path, progress, retry);
    NoteLinkOutcome(result.outcome, port);
    return result;
}

} // namespace qm
