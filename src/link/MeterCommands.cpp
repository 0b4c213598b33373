#include "link/MeterCommands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

#include "base/TextTrim.h"
#include "link/FrameProtocol.h"
#include "link/cnComm.h"
#include "measurement/MeterKind.h"

namespace qm {

namespace {

// Reply offsets of the plan read: frame count B and channel count C.
constexpr std::size_t kPlanFrameCountOffset = 5;
constexpr std::size_t kPlanChannelCountOffset = 7;
// Plan write requests carry B, the frame number, C and the slot as their first parameters.
constexpr std::size_t kMaxPlanChannels = 255;
constexpr int kLevelUnitCodes = 3;
constexpr int kTemperatureUnitCodes = 2;
constexpr int kShutdownCodes = 5;
constexpr int kDateFormats = 3;
// The meter counts years from 2000 in one byte: the low byte of year + 48.
constexpr int kYearBias = 48;

bool ValidSlot(int slot) {
    return slot >= 0 && slot < kPlanSlots;
}

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// One exchange with a reply of length L whose bytes the caller does not use.
bool Command(cnComm& port, std::uint8_t code, std::initializer_list<std::uint8_t> parameters,
             std::size_t replyLength) {
    std::array<std::uint8_t, 16> reply{};
    return Exchange(port, CommandBlock(code, parameters),
                    std::span<std::uint8_t>(reply.data(), replyLength));
}

} // namespace

std::size_t PlanFirstFrameSize(int kind) {
    const std::size_t entry = KindEntrySize(kind);
    return entry == 0 ? 0 : kPlanFirstEntryOffset + kPlanEntriesPerFrame * entry + 1;
}

std::size_t PlanNextFrameSize(int kind) {
    const std::size_t entry = KindEntrySize(kind);
    return entry == 0 ? 0 : kPlanNextEntryOffset + kPlanEntriesPerFrame * entry + 1;
}

std::string ModelTextFromReply(std::span<const std::uint8_t> reply) {
    if (reply.size() < 9)
        return {};
    std::string text = std::to_string((reply[5] << 8) | reply[6]);
    for (std::size_t i = 7; i <= 8 && reply[i] != 0; ++i)
        text.push_back(static_cast<char>(reply[i]));
    return std::string(Trim(text));
}

std::string ReadModel(cnComm& port) {
    std::array<std::uint8_t, kReplyModel> reply{};
    if (!Exchange(port, CommandBlock(kCmdReadModel), reply))
        return "Wrong";
    std::string model = ModelTextFromReply(reply);
    port.SetMeterModel(model);
    return model;
}

int QueryCurrentPlan(cnComm& port) {
    std::array<std::uint8_t, kReplyQueryPlan> reply{};
    if (!Exchange(port, CommandBlock(kCmdQueryPlan), reply))
        return -1;
    return reply[5];
}

int ReadFileCount(cnComm& port) {
    std::array<std::uint8_t, kReplyFileCount> reply{};
    if (!Exchange(port, CommandBlock(kCmdFileCount), reply))
        return -1;
    return (reply[5] << 8) | reply[6];
}

std::optional<std::vector<std::uint8_t>> ReadMeasurementFile(cnComm& port, int index, int kind) {
    const std::size_t size = KindFileSize(kind);
    if (size == 0 || index < 0 || index > 0xFF)
        return std::nullopt;
    std::array<std::uint8_t, kReplyFileBlock> reply{};
    if (!Exchange(port, CommandBlock(kCmdReadFile, {Byte(index)}), reply))
        return std::nullopt;
    const int blocks = reply[kFileBlockCountOffset];
    std::vector<std::uint8_t> file;
    file.reserve(size);
    const auto keep = [&] {
        const std::size_t take = std::min(kFileBlockData, size - file.size());
        file.insert(file.end(), reply.begin() + kFileBlockDataOffset,
                    reply.begin() + static_cast<std::ptrdiff_t>(kFileBlockDataOffset + take));
    };
    keep();
    // Every announced block is fetched, so the meter ends its transfer as it expects to.
    for (int b = 2; b <= blocks; ++b) {
        if (!Exchange(port, CommandBlock(kCmdReadFile), reply))
            return std::nullopt;
        keep();
    }
    if (file.size() < size)
        return std::nullopt;
    return file;
}

int SelectPlan(cnComm& port, int slot) {
    if (!ValidSlot(slot))
        return -1;
    std::array<std::uint8_t, kReplySelectPlan> reply{};
    if (!Exchange(port, CommandBlock(kCmdSelectPlan, {Byte(slot)}), reply))
        return -1;
    return reply[5] == 1 ? 1 : 0;
}

bool ReadChannelPlan(cnComm& port, int kind, int slot, std::vector<PlanEntry>& entries) {
    const std::size_t entrySize = KindEntrySize(kind);
    if (entrySize == 0 || !ValidSlot(slot))
        return false;
    std::vector<std::uint8_t> reply(PlanFirstFrameSize(kind));
    if (!Exchange(port, CommandBlock(kCmdPlanRead, {Byte(slot)}), reply))
        return false;
    const int frames = reply[kPlanFrameCountOffset];
    const int channels = reply[kPlanChannelCountOffset];
    // Entries in frame b: four, or what is left of C in the last frame (also when the first
    // frame is the only one: a plan of fewer than four channels shows no made-up entries).
    const auto entriesIn = [&](int b) {
        if (b < frames)
            return static_cast<int>(kPlanEntriesPerFrame);
        return std::clamp(channels - static_cast<int>(kPlanEntriesPerFrame) * (b - 1), 0,
                          static_cast<int>(kPlanEntriesPerFrame));
    };
    const auto append = [&](std::size_t offset, int count) {
        for (int e = 0; e < count; ++e) {
            const auto begin = reply.begin() + static_cast<std::ptrdiff_t>(offset + e * entrySize);
            entries.emplace_back(begin, begin + static_cast<std::ptrdiff_t>(entrySize));
        }
    };
    append(kPlanFirstEntryOffset, entriesIn(1));
    port.Io().SleepMs(port.Timings().planFramePauseMs);
    reply.assign(PlanNextFrameSize(kind), 0);
    for (int b = 2; b <= frames; ++b) {
        if (!Exchange(port, CommandBlock(kCmdPlanRead), reply))
            return false;
        append(kPlanNextEntryOffset, entriesIn(b));
        port.Io().SleepMs(port.Timings().planFramePauseMs);
    }
    return true;
}

bool WriteChannelPlan(cnComm& port, int kind, std::span<const PlanEntry> entries, int slot) {
    const std::size_t entrySize = KindEntrySize(kind);
    if (entrySize == 0 || !ValidSlot(slot))
        return false;
    const std::size_t channels = entries.size();
    if (channels < kPlanEntriesPerFrame || channels > kMaxPlanChannels)
        return false;
    for (const PlanEntry& e : entries) {
        if (e.size() != entrySize)
            return false;
    }
    const std::size_t frames = (channels + kPlanEntriesPerFrame - 1) / kPlanEntriesPerFrame;

    // Block offsets are frame offsets less the three header bytes.
    constexpr std::size_t kBlockShift = kFrameHeaderSize;
    std::vector<std::uint8_t> first(PlanFirstFrameSize(kind) - kBlockShift - 1, 0);
    first[0] = static_cast<std::uint8_t>(first.size() + kBlockShift + 1);
    first[1] = kCmdPlanWrite;
    first[2] = static_cast<std::uint8_t>(frames);
    first[3] = 1;
    first[4] = static_cast<std::uint8_t>(channels);
    first[5] = static_cast<std::uint8_t>(slot);
    for (std::size_t e = 0; e < kPlanEntriesPerFrame; ++e)
        std::memcpy(&first[kPlanFirstEntryOffset - kBlockShift + e * entrySize], entries[e].data(),
                    entrySize);
    std::array<std::uint8_t, kReplyPlanWrite> reply{};
    if (!Exchange(port, first, reply))
        return false;

    // One buffer for the following frames, so that the unused places of the last frame keep
    // the entries the frame before had there; the first of them starts from the first frame's
    // entries.
    std::vector<std::uint8_t> next(PlanNextFrameSize(kind) - kBlockShift - 1, 0);
    next[0] = static_cast<std::uint8_t>(next.size() + kBlockShift + 1);
    next[1] = kCmdPlanWrite;
    next[2] = static_cast<std::uint8_t>(frames);
    const std::size_t entryBase = kPlanNextEntryOffset - kBlockShift;
    for (std::size_t e = 0; e < kPlanEntriesPerFrame; ++e)
        std::memcpy(&next[entryBase + e * entrySize], entries[e].data(), entrySize);
    for (std::size_t b = 2; b <= frames; ++b) {
        next[3] = static_cast<std::uint8_t>(b);
        const std::size_t start = (b - 1) * kPlanEntriesPerFrame;
        const std::size_t count = std::min(kPlanEntriesPerFrame, channels - start);
        for (std::size_t e = 0; e < count; ++e)
            std::memcpy(&next[entryBase + e * entrySize], entries[start + e].data(), entrySize);
        if (!Exchange(port, next, reply))
            return false;
    }
    return true;
}

bool ActivatePlan(cnComm& port, int slot) {
    return ValidSlot(slot) && Command(port, kCmdActivatePlan, {Byte(slot)}, kReplyActivatePlan);
}

bool Release(cnComm& port) {
    // The release ends every operation, also a failed one: the reason that operation failed
    // is what the user needs to read, not that the release then failed too.
    const LinkError before = port.LastError();
    const bool released = Command(port, kCmdRelease, {}, kReplyRelease);
    if (before)
        port.SetLastError(before);
    return released;
}

bool SetLevelUnit(cnComm& port, int code) {
    return code >= 0 && code < kLevelUnitCodes &&
           Command(port, kCmdSetLevelUnit, {Byte(code)}, kReplyUnit);
}

bool SetTemperatureUnit(cnComm& port, int code) {
    return code >= 0 && code < kTemperatureUnitCodes &&
           Command(port, kCmdSetTemperatureUnit, {Byte(code)}, kReplyUnit);
}

bool SetShutdownTime(cnComm& port, int code) {
    return code >= 0 && code < kShutdownCodes &&
           Command(port, kCmdSetShutdown, {Byte(code)}, kReplyShutdown);
}

std::vector<std::uint8_t> DateTimeBlock(const MeterDateTime& when, int dateFormat) {
    return CommandBlock(kCmdSetDateTime, {Byte(when.hour), Byte(when.minute), Byte(when.second),
                                          Byte(when.year + kYearBias), Byte(when.month),
                                          Byte(when.day), Byte(dateFormat)});
}

bool SetDateTime(cnComm& port, const MeterDateTime& when, int dateFormat) {
    if (dateFormat < 0 || dateFormat >= kDateFormats)
        return false;
    std::array<std::uint8_t, kReplyDateTime> reply{};
    return Exchange(port, DateTimeBlock(when, dateFormat), reply);
}

std::optional<std::vector<std::uint8_t>> ReadScreen(cnComm& port, const ScreenProgress& progress) {
    std::vector<std::uint8_t> reply(kReplyScreenBlock);
    if (!Exchange(port, CommandBlock(kCmdReadScreen, {0}), reply))
        return std::nullopt;
    const std::size_t count = reply[kScreenCountOffset];
    if (count == 0 || count > kScreenMaxBlocks)
        return std::nullopt;
    std::vector<std::uint8_t> image(count * kScreenBlockPixels, 0);
    std::array<bool, kScreenMaxBlocks> received{};
    // Each block lands at its own number; a number outside the announced count would have to
    // be written beyond the picture.
    const auto place = [&] {
        const std::size_t number = reply[kScreenNumberOffset];
        if (number == 0 || number > count)
            return false;
        std::memcpy(&image[(number - 1) * kScreenBlockPixels], &reply[kScreenPixelsOffset],
                    kScreenBlockPixels);
        received[number - 1] = true;
        return true;
    };
    if (!place())
        return std::nullopt;
    if (progress)
        progress(0, static_cast<int>(count));
    for (std::size_t position = 2; position <= count; ++position) {
        if (!Exchange(port, CommandBlock(kCmdReadScreen), reply) || !place())
            return std::nullopt;
        if (progress)
            progress(static_cast<int>(position), static_cast<int>(count));
    }
    // A repeated block leaves another one missing: its pixels never came.
    if (!std::all_of(received.begin(), received.begin() + static_cast<std::ptrdiff_t>(count),
                     [](bool r) { return r; }))
        return std::nullopt;
    return image;
}

} // namespace qm
