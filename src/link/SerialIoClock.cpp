// The clock of the serial layer, the same on every platform.
#include <algorithm>
#include <chrono>
#include <thread>

#include "link/SerialIo.h"

namespace qm {

std::int64_t SerialIo::NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int SerialIo::MsUntil(std::int64_t deadline) {
    const std::int64_t left = deadline - NowMs();
    return left <= 0 ? 0 : static_cast<int>(std::min<std::int64_t>(left, 1 << 30));
}

void SerialIo::SleepMs(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace qm
