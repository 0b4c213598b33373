#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "measurement/FileDataExt.h"
#include "measurement/MeasurementFile.h"

namespace qm::test {

// Builds a measurement element byte by byte at the file offsets of its kind.
class PaneTestElement {
public:
    explicit PaneTestElement(int kind, const std::string& name = "LEV001") {
        e.kind = static_cast<std::uint8_t>(kind);
        std::memcpy(e.file.data(), name.data(), std::min<std::size_t>(name.size(), 10));
        Put16(10, 2024);
        Put16(12, 5);
        Put16(14, 17);
        const char time[] = "10:20:30";
        std::memcpy(e.file.data() + 16, time, sizeof time);
    }

    std::size_t S() const { return static_cast<std::size_t>(SectionBase(e.kind)); }

    void Put8(std::size_t off, int v) { e.file.at(off) = static_cast<std::uint8_t>(v); }
    void Put16(std::size_t off, int v) {
        Put8(off, v & 0xFF);
        Put8(off + 1, (v >> 8) & 0xFF);
    }

    // Channel plan entry i; the channel count grows to cover it.
    void Entry(int i, std::uint32_t freq, int channel, int type, int flags) {
        const std::size_t off = 32 + static_cast<std::size_t>(i * EntrySize(e.kind));
        Put16(off, static_cast<int>(freq & 0xFFFF));
        Put16(off + 2, static_cast<int>(freq >> 16));
        const bool compact = e.kind == 0;
        Put8(off + (compact ? 11 : 10), channel);
        Put8(off + (compact ? 12 : 11), flags);
        Put8(off + (compact ? 10 : 12), type);
        if (e.file[27] < i + 1)
            SetChannelCount(i + 1);
    }
    void SetChannelCount(int n) { Put8(27, n); }

    void Level(int p, int mark, int level, int second, int ber1 = 0, int ber2 = 0) {
        const std::size_t off = S() + 340 + 10 * static_cast<std::size_t>(p);
        Put8(off, mark);
        Put16(off + 2, level);
        Put16(off + 4, second);
        Put16(off + 6, ber1);
        Put16(off + 8, ber2);
    }
    void TiltCount(int n) { Put8(S() + 88, n); }
    void TiltLevel(int i, int v) { Put16(S() + 1940 + 2 * static_cast<std::size_t>(i), v); }
    void ScanWindow(int start, int count) {
        Put8(S() + 104, count);
        Put8(S() + 105, start);
    }
    void Scan(int p, int video, int audio) {
        Put16(S() + 1964 + 4 * static_cast<std::size_t>(p), video);
        Put16(S() + 1966 + 4 * static_cast<std::size_t>(p), audio);
    }
    void Spectrum(int n, std::uint32_t centre, int spanCode, int maxFlag, int fixedSpan) {
        Put8(S() + 120, n >> 8);
        Put8(S() + 121, n & 0xFF);
        Put8(S() + 127, static_cast<int>(centre >> 16));
        Put8(S() + 128, static_cast<int>((centre >> 8) & 0xFF));
        Put8(S() + 129, static_cast<int>(centre & 0xFF));
        Put8(S() + 130, spanCode);
        Put8(S() + 131, maxFlag);
        Put8(S() + 132, fixedSpan);
    }
    void Point(int i, int v) { Put16(S() + 2604 + 2 * static_cast<std::size_t>(i), v); }
    void MaxPoint(int i, int v) { Put16(S() + 3244 + 2 * static_cast<std::size_t>(i), v); }
    void Mains(int flag) { Put8(S() + 137, flag); }
    void Hum(int p, int mark, int lpf, int c1, int c2) {
        const std::size_t off = S() + 3884 + 8 * static_cast<std::size_t>(p);
        Put8(off, mark);
        Put16(off + 2, lpf);
        Put16(off + 4, c1);
        Put16(off + 6, c2);
    }
    void Limit(int k, int video, int audio) {
        Put16(S() + 5164 + 4 * static_cast<std::size_t>(k), video);
        Put16(S() + 5166 + 4 * static_cast<std::size_t>(k), audio);
    }

    _tagFileDataExt e;
};

} // namespace qm::test
