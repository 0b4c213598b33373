// Meter replies from the data: the link's commands and the meter operations built on them run
// over an in-memory port whose answer to each request is shaped by the next input bytes.
//
// Each reply starts with a control byte: bits 0-1 the length (0 the reply the command waits
// for, 1 shorter, 2 longer, 3 a length byte follows), bit 2 echo the request, bit 3 put a valid
// frame head in front (and take only a counted part of the bytes from the data), bit 4 fix the
// check byte, bit 5 split the reply in two, bit 6 stay silent, bit 7 hang up after it. The
// reply's bytes follow; missing ones are zero.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "FuzzedDataProvider.h"
#include "ReplyLength.h"
#include "app/FileCollection.h"
#include "app/Settings.h"
#include "channels/ChannelPlanFile.h"
#include "channels/ChannelPlanList.h"
#include "link/FakeSerialIo.h"
#include "link/FrameProtocol.h"
#include "link/MeterCommands.h"
#include "link/cnComm.h"
#include "measurement/MeterKind.h"
#include "measurement/SampleGenerator.h"
#include "operations/ConnectOperation.h"
#include "operations/PlanTransfer.h"
#include "operations/ScreenCapture.h"
#include "operations/TimeUnitOperation.h"
#include "operations/UploadOperation.h"

namespace {

using namespace qm;

class ScriptedMeter : public test::FakeSerialIo {
public:
    ScriptedMeter(FuzzedDataProvider& script, int kind) : m_script(script), m_kind(kind) {}

    ssize_t Write(int fd, const void* buffer, std::size_t length) override {
        const ssize_t n = FakeSerialIo::Write(fd, buffer, length);
        if (n > 0 && !hungUp)
            Answer(std::vector<std::uint8_t>(static_cast<const std::uint8_t*>(buffer),
                                             static_cast<const std::uint8_t*>(buffer) + n));
        return n;
    }

private:
    std::size_t Expected(const std::vector<std::uint8_t>& request) const {
        const std::size_t length = ExpectedReplyLength(request, m_kind);
        return length != 0 ? length : 6;
    }

    void Answer(const std::vector<std::uint8_t>& request) {
        if (m_script.remaining_bytes() == 0)
            return; // a silent meter: the exchange times out on the manual clock
        const std::uint8_t control = m_script.ConsumeIntegral<std::uint8_t>();
        if (std::getenv("QM_FUZZ_TRACE"))
            std::fprintf(stderr, "request %02X, reply control %02X\n",
                         request.size() > 4 ? request[4] : 0, control);
        if (control & 0x40)
            return;
        std::vector<std::uint8_t> reply;
        if (control & 0x04) {
            reply = request;
        } else {
            std::size_t length = Expected(request);
            switch (control & 3) {
            case 1:
                length -= std::min<std::size_t>(length, m_script.ConsumeIntegralInRange(1, 8));
                break;
            case 2:
                length += m_script.ConsumeIntegralInRange(1, 8);
                break;
            case 3:
                length = m_script.ConsumeIntegral<std::uint8_t>();
                break;
            default:
                break;
            }
            // A reply with a valid head takes only as many of its bytes from the data as a
            // count says, the rest zero, so that long transfers fit in a short input.
            const std::size_t take =
                (control & 0x08) ? m_script.ConsumeIntegral<std::uint8_t>() : length;
            reply = m_script.ConsumeBytes<std::uint8_t>(std::min(take, length));
            reply.resize(length, 0);
            if ((control & 0x08) && length >= 5) {
                reply[0] = 0x55;
                reply[1] = 0xAA;
                reply[2] = 0x01;
                reply[3] = static_cast<std::uint8_t>(length);
                reply[4] = request.size() > 4 ? request[4] : 0;
            }
            if ((control & 0x10) && !reply.empty())
                reply.back() = FrameCheckByte({reply.data(), reply.size() - 1});
        }
        if (control & 0x20) {
            const std::size_t half = reply.size() / 2;
            arrivals.emplace_back(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(half));
            arrivals.emplace_back(reply.begin() + static_cast<std::ptrdiff_t>(half), reply.end());
        } else {
            arrivals.push_back(std::move(reply));
        }
        if (control & 0x80)
            hungUp = true;
    }

    FuzzedDataProvider& m_script;
    int m_kind;
};

void Commands(FuzzedDataProvider& script, int kind) {
    ScriptedMeter io(script, kind);
    cnComm port(io);
    port.Timings().replyLimitMs = 50;
    port.Timings().planFramePauseMs = 0;
    if (!port.OpenDevice("/dev/fuzzmeter", 115200))
        __builtin_trap();
    Handshake(port);
    ReadModel(port);
    QueryCurrentPlan(port);
    ReadFileCount(port);
    if (auto file = ReadMeasurementFile(port, 0, kind); file && file->size() != KindFileSize(kind))
        __builtin_trap();
    SelectPlan(port, 1);
    std::vector<PlanEntry> entries;
    ReadChannelPlan(port, kind, 2, entries);
    for (const PlanEntry& e : entries)
        if (e.size() != KindEntrySize(kind))
            __builtin_trap();
    const auto plan = SamplePlanEntries(kind, 1);
    WriteChannelPlan(port, kind, plan, 3);
    ActivatePlan(port, 3);
    SetLevelUnit(port, 1);
    SetTemperatureUnit(port, 0);
    SetShutdownTime(port, 4);
    SetDateTime(port, {}, 0);
    if (auto screen = ReadScreen(port);
        screen && (screen->empty() || screen->size() > kScreenBytes))
        __builtin_trap();
    Release(port);
}

void Operations(FuzzedDataProvider& script, int kind) {
    ScriptedMeter io(script, kind);
    cnComm port(io);
    port.Timings().replyLimitMs = 50;
    port.Timings().planFramePauseMs = 0;
    const ConnectTarget target = ConnectTarget::Direct("/dev/fuzzmeter", "115200");
    CFileCollection files;
    RunUpload(port, target, files);
    for (const _tagFileDataExt& e : files.Elements())
        if (e.kind > 2)
            __builtin_trap();
    CChannelPlanList plans;
    if (UploadPlan(port, target, 0, plans).outcome.ok && !plans.Empty()) {
        // What was read from the meter can be saved and opened again.
        const std::string planPath = "/dev/shm/qm-fuzz-plan-" + std::to_string(getpid());
        CChannelPlanList reopened;
        if (SaveChannelPlan(planPath, plans) != PlanFileStatus::Ok ||
            OpenChannelPlan(planPath, reopened) != PlanFileStatus::Ok ||
            reopened.Count() != plans.Count())
            __builtin_trap();
        std::remove(planPath.c_str());
    }
    DownloadPlan(port, target, 1, plans);
    const std::string path = "/dev/shm/qm-fuzz-capture-" + std::to_string(getpid()) + ".bmp";
    CaptureRetry retry;
    retry.tries = 2;
    retry.pause = [](int) {};
    const CaptureResult capture = CaptureScreen(port, target, path, {}, retry);
    if (!capture.bitmap.empty() && capture.bitmap.size() != kCaptureFileSize)
        __builtin_trap();
    std::remove(path.c_str());

    const Settings settings("/dev/shm/qm-fuzz-setup-" + std::to_string(getpid()) + ".ini");
    CChannelPlanList connected;
    RunConnect(port, {"/dev/fuzzmeter", "115200"}, settings, connected);
    DownloadTimeUnit(port, target, DefaultTimeUnitChoice(settings), settings);
    std::remove(settings.Path().c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    FuzzedDataProvider script(data + 1, size - 1);
    const int kind = (data[0] & 0x7F) % 3;
    if (data[0] & 0x80)
        Operations(script, kind);
    else
        Commands(script, kind);
    return 0;
}
