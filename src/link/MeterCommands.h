#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qm {

class cnComm;

// The meter's command set and its block transfers, on an open port that has passed the
// handshake (SilentConnect, FrameProtocol.h). Each function is one exchange or one transfer;
// failures are results, nothing is shown. Values the meter cannot take (a plan slot outside
// 0-4, an unknown unit code, a meter kind other than 0-2) fail before anything is sent.
//
// A meter operation, e.g. the upload:
//   if (!SilentConnect(port)) ...;
//   int kind = MeterKindOfModel(ReadModel(port));      // measurement/MeterKind.h
//   int count = ReadFileCount(port);
//   for (int i = 0; i < count; ++i) auto file = ReadMeasurementFile(port, i, kind);
//   Release(port);

// Command codes.
inline constexpr std::uint8_t kCmdRelease = 0x09;
inline constexpr std::uint8_t kCmdSetLevelUnit = 0x16;
inline constexpr std::uint8_t kCmdSetTemperatureUnit = 0x18;
inline constexpr std::uint8_t kCmdSetDateTime = 0x1C;
inline constexpr std::uint8_t kCmdSetShutdown = 0x1E;
inline constexpr std::uint8_t kCmdQueryPlan = 0x27;
inline constexpr std::uint8_t kCmdActivatePlan = 0x28;
inline constexpr std::uint8_t kCmdHandshake = 0x2B;
inline constexpr std::uint8_t kCmdReadModel = 0x50;
inline constexpr std::uint8_t kCmdPlanRead = 0x66;
inline constexpr std::uint8_t kCmdPlanWrite = 0x67;
inline constexpr std::uint8_t kCmdFileCount = 0x6A;
inline constexpr std::uint8_t kCmdReadFile = 0x6B;
inline constexpr std::uint8_t kCmdReadScreen = 0x72;
inline constexpr std::uint8_t kCmdSelectPlan = 0x81;

// Reply lengths the exchange waits for.
inline constexpr std::size_t kReplyRelease = 6;
inline constexpr std::size_t kReplyUnit = 7; // level unit, temperature unit
inline constexpr std::size_t kReplyShutdown = 8;
inline constexpr std::size_t kReplyDateTime = 13;
inline constexpr std::size_t kReplyQueryPlan = 7;
inline constexpr std::size_t kReplyActivatePlan = 7;
inline constexpr std::size_t kReplyModel = 11;
inline constexpr std::size_t kReplyFileCount = 8;
inline constexpr std::size_t kReplyFileBlock = 72;
inline constexpr std::size_t kReplySelectPlan = 7;
inline constexpr std::size_t kReplyPlanWrite = 6;
inline constexpr std::size_t kReplyScreenBlock = 3849;

// File transfer: 64 data bytes at reply offset 7 of each block, the block count at offset 5.
inline constexpr std::size_t kFileBlockData = 64;
inline constexpr std::size_t kFileBlockDataOffset = 7;
inline constexpr std::size_t kFileBlockCountOffset = 5;

// Channel plan frames: four entries each; the first frame carries B, C (and in a write the
// frame number and slot) before its entries.
inline constexpr std::size_t kPlanEntriesPerFrame = 4;
inline constexpr std::size_t kPlanFirstEntryOffset = 9;
inline constexpr std::size_t kPlanNextEntryOffset = 7;
inline constexpr int kPlanSlots = 5;

// Screen transfer: up to 60 blocks of 3840 pixel bytes, block count at offset 6, 1-based block
// number at offset 7, pixels from offset 8.
inline constexpr std::size_t kScreenBlockPixels = 3840;
inline constexpr std::size_t kScreenMaxBlocks = 60;
inline constexpr std::size_t kScreenBytes = kScreenBlockPixels * kScreenMaxBlocks; // 230400
inline constexpr std::size_t kScreenCountOffset = 6;
inline constexpr std::size_t kScreenNumberOffset = 7;
inline constexpr std::size_t kScreenPixelsOffset = 8;

// File and plan entry sizes by kind: KindFileSize and KindEntrySize (measurement/MeterKind.h).
// Reply lengths of the first and the following frames of a plan read: 90/88 or 122/120.
std::size_t PlanFirstFrameSize(int kind);
std::size_t PlanNextFrameSize(int kind);

// The model text of a 0x50 reply: the 16-bit model number (high byte first) in decimal, then
// the characters of bytes 7 and 8 up to a zero byte, trimmed of white space.
std::string ModelTextFromReply(std::span<const std::uint8_t> reply);

// "7100Q", "7100T2", ... or "Wrong" when the exchange fails.
std::string ReadModel(cnComm& port);
// Reply byte 5 of the current-plan query, -1 when the exchange fails.
int QueryCurrentPlan(cnComm& port);
// Number of stored files, -1 when the exchange fails.
int ReadFileCount(cnComm& port);

// Measurement file index (0-based) of a meter of the kind: exactly KindFileSize(kind)
// bytes. All blocks the meter announces are read; surplus bytes are dropped, and a transfer
// that announces fewer blocks than the file needs fails. The request carries the index in one
// byte: an index above 255 fails unsent rather than read another file in its place.
std::optional<std::vector<std::uint8_t>> ReadMeasurementFile(cnComm& port, int index, int kind);

// Plan select (0x81): 1 when the slot holds a plan, 0 when it does not, -1 when the exchange
// fails.
int SelectPlan(cnComm& port, int slot);

// A channel plan entry as it travels, KindEntrySize(kind) bytes; the conversion to and from
// channel records lives with the channel plan (channels/CommonChannel.h).
using PlanEntry = std::vector<std::uint8_t>;

// Appends the plan in slot (0-4) to entries. A failed frame ends the read with false; the
// entries of the frames before it stay appended.
bool ReadChannelPlan(cnComm& port, int kind, int slot, std::vector<PlanEntry>& entries);

// Writes the entries as the plan of slot (0-4). Fewer than four entries, more than 255, or an
// entry of the wrong size are refused before anything is sent. The unused entry places of the
// last frame repeat the previous frame's entries there.
bool WriteChannelPlan(cnComm& port, int kind, std::span<const PlanEntry> entries, int slot);

// Makes the plan of slot (0-4) the meter's current one.
bool ActivatePlan(cnComm& port, int slot);

// Ends a meter operation; false at once when the port is closed.
bool Release(cnComm& port);

// Level unit code 0 dBuV, 1 dBmV, 2 dBm.
bool SetLevelUnit(cnComm& port, int code);
// Temperature unit code 0 C, 1 F.
bool SetTemperatureUnit(cnComm& port, int code);
// Shutdown code 0 "3 min", 1 "5 min", 2 "10 min", 3 "30 min", 4 "Always ON".
bool SetShutdownTime(cnComm& port, int code);

// Date format codes: 0 "Y/M/D", 1 "D/M/Y", 2 "M/D/Y".
struct MeterDateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
// The 0x1C request block: hour, minute, second, low byte of (year + 48), month, day, format.
std::vector<std::uint8_t> DateTimeBlock(const MeterDateTime& when, int dateFormat);
bool SetDateTime(cnComm& port, const MeterDateTime& when, int dateFormat);

// Progress of the screen read: position 0 ... count blocks.
using ScreenProgress = std::function<void(int position, int count)>;

// The meter's screen: count x 3840 pixel bytes, the blocks placed by their own numbers in
// whatever order they come. A count of 0 or above 60, a block number of 0 or above the count,
// or a block missing at the end fail the read.
std::optional<std::vector<std::uint8_t>> ReadScreen(cnComm& port,
                                                    const ScreenProgress& progress = {});

} // namespace qm
