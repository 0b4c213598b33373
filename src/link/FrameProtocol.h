#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qm {

class cnComm;

// The meter's frames: 55 AA 01 N code parameters check, N the whole length (at most 255 for
// a request), check the two's complement of the sum of the bytes before it. A request is held
// as a command block: byte 0 = N, byte 1 = code, then the N - 6 parameters (N - 4 bytes).
// Every request has one reply of a length known in advance.
//
// Use, with an open port:
//   std::uint8_t reply[8];
//   if (Exchange(port, CommandBlock(0x6A), reply)) ... reply[5], reply[6] ...
// Every meter operation starts with SilentConnect(port) (operations/SilentConnect.h) and ends
// with Release(port) (MeterCommands.h).

inline constexpr std::uint8_t kFrameHead0 = 0x55;
inline constexpr std::uint8_t kFrameHead1 = 0xAA;
inline constexpr std::uint8_t kFrameHead2 = 0x01;
// Header bytes before the code, and header plus code plus check byte.
inline constexpr std::size_t kFrameHeaderSize = 3;
inline constexpr std::size_t kFrameOverhead = 6;
inline constexpr std::size_t kMaxRequestSize = 255;

// The handshake request, echoed by the meter.
inline constexpr std::uint8_t kHandshakeFrame[6] = {0x55, 0xAA, 0x01, 0x06, 0x2B, 0xCF};
// The echo is looked for in at most this many bytes.
inline constexpr std::size_t kHandshakeReadMax = 100;

// A command block for code with the given parameters: N = 6 + parameters.
std::vector<std::uint8_t> CommandBlock(std::uint8_t code,
                                       std::span<const std::uint8_t> parameters = {});
std::vector<std::uint8_t> CommandBlock(std::uint8_t code,
                                       std::initializer_list<std::uint8_t> parameters);

// Two's complement of the byte sum, so that the bytes and the check sum to 0 modulo 256.
std::uint8_t FrameCheckByte(std::span<const std::uint8_t> bytes);

// The frame of a command block (empty when the block is malformed: shorter than 2 bytes, its
// N not 4 more than its size, or N above 255).
std::vector<std::uint8_t> BuildFrame(std::span<const std::uint8_t> block);

// A reply's last byte is accepted when it equals the plain sum of the bytes before it or its
// two's complement (the meter's firmware versions differ).
bool ReplyCheckAccepted(std::span<const std::uint8_t> reply);

// Builds the frame and hands it to the port; false when the port is closed or the frame could
// not be written whole.
bool SendFrame(cnComm& port, std::span<const std::uint8_t> block);

// One request, one reply of exactly reply.size() bytes. Fails when the port is closed, the
// request cannot be sent, the reply is not complete within LinkTimings::replyLimitMs, grows
// past its length, the line hangs up or has errors, or the check byte is not accepted.
// Waits on the descriptor; no CPU is used while the meter is silent.
bool Exchange(cnComm& port, std::span<const std::uint8_t> block, std::span<std::uint8_t> reply);

// Sends kHandshakeFrame and succeeds when the first six bytes received within
// LinkTimings::handshakeWaitMs echo it; bytes after the sixth are not looked at.
bool Handshake(cnComm& port);

} // namespace qm
