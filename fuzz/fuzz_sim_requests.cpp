// Request frames from the data through the simulator's request handling. The first byte picks
// the model; then each request is a length byte (low 7 bits) and the bytes after the frame head
// 55 AA 01 N. As on the line, only frames whose check byte is accepted reach the handler; the
// length byte's top bit fixes the check byte so that the handler's own paths are reached.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "ReplyLength.h"

#include "link/MeterCommands.h"
#include "measurement/SampleGenerator.h"
#include "sim/MeterSimulator.h"

namespace {

using qm::sim::MeterSimulator;

const char* const kModels[] = {"7100Q", "7100B", "7100T", "7100D", "7100T2"};

// Two sample files and a plan of the kind, made once.
struct Stock {
    std::vector<MeterSimulator::Bytes> files;
    std::vector<MeterSimulator::Bytes> plan;
};

const Stock& StockOf(int kind) {
    static std::array<Stock, 3> stock;
    Stock& s = stock[static_cast<std::size_t>(kind)];
    if (s.files.empty()) {
        for (const qm::_tagFileDataExt& e : qm::MakeSampleSet(kind, 2))
            s.files.emplace_back(e.file.begin(),
                                 e.file.begin() +
                                     static_cast<std::ptrdiff_t>(MeterSimulator::FileSize(kind)));
        s.plan = qm::SamplePlanEntries(kind, 1);
    }
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    MeterSimulator meter(kModels[data[0] % 5]);
    meter.SetScreenScrambled(data[0] & 0x80);
    const Stock& stock = StockOf(meter.Kind());
    meter.SetFiles(stock.files);
    meter.SetPlan(0, stock.plan);
    meter.SetPlan(3, stock.plan);

    std::size_t at = 1;
    while (at < size) {
        const std::size_t length = std::max<std::size_t>(data[at] & 0x7F, 6);
        const bool fixCheck = data[at] & 0x80;
        ++at;
        MeterSimulator::Bytes request(length, 0);
        const std::uint8_t head[] = {0x55, 0xAA, 0x01, static_cast<std::uint8_t>(length)};
        std::copy(std::begin(head), std::end(head), request.begin());
        const std::size_t body = std::min(size - at, length - 4);
        std::copy(data + at, data + at + body, request.begin() + 4);
        at += body;
        if (fixCheck)
            request.back() =
                MeterSimulator::TwosComplementCheck(request.data(), request.size() - 1);
        if (!MeterSimulator::CheckAccepted(request))
            continue;
        const MeterSimulator::Bytes reply = meter.Handle(request);
        if (reply.empty())
            continue;
        if (reply[0] != 0x55 || !MeterSimulator::CheckAccepted(reply) ||
            reply.size() != ExpectedReplyLength(request, meter.Kind()))
            __builtin_trap(); // the program waits for exactly this many bytes
    }
    if (meter.CurrentPlan() < 0 || meter.CurrentPlan() > 4)
        __builtin_trap();
    return 0;
}
