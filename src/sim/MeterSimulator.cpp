#include "sim/MeterSimulator.h"

#include <algorithm>
#include <utility>

#include "sim/ScreenPainter.h"

namespace qm::sim {

namespace {

// Command codes the meter answers.
constexpr std::uint8_t kRelease = 0x09;
constexpr std::uint8_t kSetLevelUnit = 0x16;
constexpr std::uint8_t kSetTemperatureUnit = 0x18;
constexpr std::uint8_t kSetDateTime = 0x1C;
constexpr std::uint8_t kSetShutdown = 0x1E;
constexpr std::uint8_t kQueryPlan = 0x27;
constexpr std::uint8_t kActivatePlan = 0x28;
constexpr std::uint8_t kHandshake = 0x2B;
constexpr std::uint8_t kReadModel = 0x50;
constexpr std::uint8_t kReadPlan = 0x66;
constexpr std::uint8_t kWritePlan = 0x67;
constexpr std::uint8_t kFileCount = 0x6A;
constexpr std::uint8_t kReadFile = 0x6B;
constexpr std::uint8_t kReadScreen = 0x72;
constexpr std::uint8_t kSelectPlan = 0x81;

constexpr std::size_t kFileBlockBytes = 64;
constexpr std::size_t kScreenBlockBytes = 3840;
constexpr int kScreenBlocks = 60;
constexpr std::size_t kScreenReplyLength = 3849;

int BlocksFor(std::size_t bytes, std::size_t block) {
    return static_cast<int>((bytes + block - 1) / block);
}

} // namespace

MeterSimulator::MeterSimulator(std::string model)
    : m_model(std::move(model)), m_kind(KindOf(m_model)) {}

bool MeterSimulator::IsKnownModel(const std::string& model) {
    return model == "7100Q" || model == "7100B" || model == "7100T" || model == "7100D" ||
           model == "7100T2";
}

int MeterSimulator::KindOf(const std::string& model) {
    if (model == "7100T2")
        return 2;
    if (model == "7100T" || model == "7100D")
        return 1;
    return 0;
}

void MeterSimulator::SetFiles(std::vector<Bytes> files) {
    m_files = std::move(files);
    for (Bytes& f : m_files)
        if (f.size() < FileSize(m_kind))
            f.resize(FileSize(m_kind), 0);
}

void MeterSimulator::SetPlan(int slot, std::vector<Bytes> entries) {
    for (Bytes& e : entries)
        e.resize(EntrySize(m_kind), 0);
    m_plans.at(static_cast<std::size_t>(slot)) = std::move(entries);
}

std::time_t MeterSimulator::ClockNow() const {
    return std::time(nullptr) + static_cast<std::time_t>(m_clockOffset);
}

std::uint8_t MeterSimulator::TwosComplementCheck(const std::uint8_t* data, std::size_t length) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < length; ++i)
        sum += data[i];
    return static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
}

bool MeterSimulator::CheckAccepted(const Bytes& frame) {
    if (frame.empty())
        return false;
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < frame.size(); ++i)
        sum += frame[i];
    const std::uint8_t plain = static_cast<std::uint8_t>(sum);
    const std::uint8_t twos = static_cast<std::uint8_t>(0x100 - plain);
    return frame.back() == plain || frame.back() == twos;
}

MeterSimulator::Bytes MeterSimulator::Reply(std::uint8_t code, std::size_t length,
                                            const Bytes& data) const {
    Bytes reply(length, 0);
    reply[0] = 0x55;
    reply[1] = 0xAA;
    reply[2] = 0x01;
    // Replies longer than 255 bytes carry only the low byte; the program relies on the length
    // it expects.
    reply[3] = static_cast<std::uint8_t>(length & 0xFF);
    reply[4] = code;
    std::copy_n(data.begin(), std::min(data.size(), length - 6), reply.begin() + 5);
    reply[length - 1] = TwosComplementCheck(reply.data(), length - 1);
    return reply;
}

MeterSimulator::Bytes MeterSimulator::Handle(const Bytes& request) {
    if (request.size() < 6)
        return {};
    const std::uint8_t code = request[4];
    const std::size_t n = request.size();
    const auto param = [&](std::size_t offset) -> int {
        return offset < n - 1 ? request[offset] : -1;
    };

    switch (code) {
    case kHandshake:
        return request; // the meter echoes the handshake
    case kRelease:
        m_fileOpen = false;
        m_writeSlot = -1;
        m_screen.clear();
        return Reply(code, 6, {});
    case kReadModel: {
        // Model number high byte first, then up to two suffix characters.
        const int number = std::stoi(m_model.substr(0, 4));
        const std::string suffix = m_model.substr(4);
        Bytes data{static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number & 0xFF),
                   static_cast<std::uint8_t>(!suffix.empty() ? suffix[0] : 0),
                   static_cast<std::uint8_t>(suffix.size() > 1 ? suffix[1] : 0)};
        return Reply(code, 11, data);
    }
    case kQueryPlan:
        return Reply(code, 7, {static_cast<std::uint8_t>(m_currentPlan)});
    case kFileCount: {
        const std::size_t count = std::min<std::size_t>(m_files.size(), 0xFFFF);
        return Reply(
            code, 8,
            {static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count & 0xFF)});
    }
    case kReadFile:
        if (n == 7) {
            m_file = static_cast<std::size_t>(param(5));
            m_fileBlock = 0;
            m_fileOpen = m_file < m_files.size();
        }
        return FileBlock();
    case kSelectPlan: {
        const int slot = param(5);
        const bool held = slot >= 0 && slot < 5 && !m_plans[static_cast<std::size_t>(slot)].empty();
        return Reply(code, 7, {static_cast<std::uint8_t>(held ? 1 : 0)});
    }
    case kReadPlan:
        if (n == 7) {
            const int slot = param(5);
            if (slot < 0 || slot >= 5)
                return {};
            m_readSlot = slot;
            m_readFrame = 0;
            return PlanFrame(true);
        }
        return PlanFrame(false);
    case kWritePlan:
        return WritePlanFrame(request);
    case kActivatePlan: {
        const int slot = param(5);
        if (slot < 0 || slot >= 5)
            return {};
        m_currentPlan = slot;
        return Reply(code, 7, {static_cast<std::uint8_t>(slot)});
    }
    case kSetLevelUnit: {
        const int unit = param(5);
        if (unit < 0 || unit > 2)
            return {};
        m_levelUnit = unit;
        return Reply(code, 7, {static_cast<std::uint8_t>(unit)});
    }
    case kSetTemperatureUnit: {
        const int unit = param(5);
        if (unit < 0 || unit > 1)
            return {};
        m_temperatureUnit = unit;
        return Reply(code, 7, {static_cast<std::uint8_t>(unit)});
    }
    case kSetShutdown: {
        const int time = param(5);
        if (time < 0 || time > 4)
            return {};
        m_shutdown = time;
        return Reply(code, 8, {static_cast<std::uint8_t>(time)});
    }
    case kSetDateTime: {
        if (n != 13)
            return {};
        std::tm t{};
        t.tm_hour = request[5];
        t.tm_min = request[6];
        t.tm_sec = request[7];
        t.tm_year = request[8] + 100;
        t.tm_mon = request[9] - 1;
        t.tm_mday = request[10];
        t.tm_isdst = -1;
        const bool valid = t.tm_hour < 24 && t.tm_min < 60 && t.tm_sec < 60 && t.tm_mon >= 0 &&
                           t.tm_mon < 12 && t.tm_mday >= 1 && t.tm_mday <= 31 && request[11] <= 2;
        if (valid) {
            const std::time_t set = std::mktime(&t);
            if (set != static_cast<std::time_t>(-1))
                m_clockOffset = static_cast<long long>(set - std::time(nullptr));
            m_dateFormat = request[11];
        }
        return Reply(code, 13, Bytes(request.begin() + 5, request.begin() + 12));
    }
    case kReadScreen:
        return ScreenBlock(n == 7);
    default:
        return {};
    }
}

MeterSimulator::Bytes MeterSimulator::FileBlock() {
    const std::size_t size = FileSize(m_kind);
    Bytes data(2 + kFileBlockBytes, 0);
    if (!m_fileOpen) {
        // No such file: a transfer of no blocks, which the program cannot take a file from.
        return Reply(kReadFile, 72, data);
    }
    const int blocks = BlocksFor(size, kFileBlockBytes);
    data[0] = static_cast<std::uint8_t>(blocks);
    data[1] = static_cast<std::uint8_t>(m_fileBlock + 1);
    const Bytes& file = m_files[m_file];
    const std::size_t from = static_cast<std::size_t>(m_fileBlock) * kFileBlockBytes;
    if (from < size)
        std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(from),
                    std::min(kFileBlockBytes, size - from), data.begin() + 2);
    ++m_fileBlock;
    return Reply(kReadFile, 72, data);
}

MeterSimulator::Bytes MeterSimulator::PlanFrame(bool first) {
    const std::size_t entrySize = EntrySize(m_kind);
    const std::vector<Bytes>& plan = m_plans[static_cast<std::size_t>(m_readSlot)];
    const int count = static_cast<int>(std::min<std::size_t>(plan.size(), 255));
    const int frames = std::max(1, BlocksFor(static_cast<std::size_t>(count), 4));
    const std::size_t header = first ? 4 : 2;
    Bytes data(header + 4 * entrySize, 0);
    data[0] = static_cast<std::uint8_t>(frames);
    data[1] = static_cast<std::uint8_t>(m_readFrame + 1);
    if (first) {
        data[2] = static_cast<std::uint8_t>(count);
        data[3] = static_cast<std::uint8_t>(m_readSlot);
    }
    for (int i = 0; i < 4; ++i) {
        const int index = m_readFrame * 4 + i;
        if (index < count)
            std::copy(plan[static_cast<std::size_t>(index)].begin(),
                      plan[static_cast<std::size_t>(index)].end(),
                      data.begin() + static_cast<std::ptrdiff_t>(
                                         header + static_cast<std::size_t>(i) * entrySize));
    }
    ++m_readFrame;
    return Reply(kReadPlan, (first ? 10 : 8) + 4 * entrySize, data);
}

MeterSimulator::Bytes MeterSimulator::WritePlanFrame(const Bytes& request) {
    const std::size_t entrySize = EntrySize(m_kind);
    const std::size_t n = request.size();
    const bool first = n == 10 + 4 * entrySize;
    // A frame built for another entry layout is not for this meter: it stays silent.
    if (!first && n != 8 + 4 * entrySize)
        return {};
    const int frames = request[5];
    const int number = request[6];
    std::size_t at = 7;
    if (first) {
        if (number != 1 || request[8] > 4 || frames < 1)
            return {};
        m_writeSlot = request[8];
        m_writeFrames = frames;
        m_writeCount = request[7];
        m_writeNext = 1;
        m_writeEntries.clear();
        at = 9;
    }
    if (m_writeSlot < 0 || number != m_writeNext || frames != m_writeFrames) {
        m_writeSlot = -1;
        return {};
    }
    for (int i = 0; i < 4; ++i) {
        if (static_cast<int>(m_writeEntries.size()) >= m_writeCount)
            break;
        const auto begin = request.begin() + static_cast<std::ptrdiff_t>(
                                                 at + static_cast<std::size_t>(i) * entrySize);
        m_writeEntries.emplace_back(begin, begin + static_cast<std::ptrdiff_t>(entrySize));
    }
    ++m_writeNext;
    if (number == m_writeFrames) {
        m_plans[static_cast<std::size_t>(m_writeSlot)] = std::move(m_writeEntries);
        m_writeEntries.clear();
        m_writeSlot = -1;
    }
    return Reply(kWritePlan, 6, {});
}

MeterSimulator::Bytes MeterSimulator::ScreenBlock(bool first) {
    if (first || m_screen.empty()) {
        const ScreenState state = ShownState();
        if (m_screen.empty() || state != m_screenState) {
            m_screen = ScreenPixels(std::move(m_screen));
            m_screenState = state;
        }
        m_screenSent = 0;
    }
    // Scrambled: odd blocks first, then even ones, each group from the top down.
    int position = m_screenSent % kScreenBlocks;
    int block = position;
    if (m_screenScrambled)
        block =
            position < kScreenBlocks / 2 ? 2 * position + 1 : 2 * (position - kScreenBlocks / 2);
    Bytes data(2 + 1 + kScreenBlockBytes, 0);
    data[1] = static_cast<std::uint8_t>(kScreenBlocks);
    data[2] = static_cast<std::uint8_t>(block + 1);
    std::copy_n(m_screen.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(block) *
                                                               kScreenBlockBytes),
                kScreenBlockBytes, data.begin() + 3);
    ++m_screenSent;
    return Reply(kReadScreen, kScreenReplyLength, data);
}

MeterSimulator::ScreenState MeterSimulator::ShownState() const {
    // Local minutes start on whole minutes of the epoch in every zone in use.
    return {ClockNow() / 60,   m_currentPlan, m_levelUnit,
            m_temperatureUnit, m_shutdown,    m_dateFormat};
}

std::vector<std::uint8_t> MeterSimulator::ScreenPixels(std::vector<std::uint8_t> storage) const {
    ScreenPainter painter(std::move(storage));
    painter.Paint(*this);
    return std::move(painter).Pixels();
}

} // namespace qm::sim
