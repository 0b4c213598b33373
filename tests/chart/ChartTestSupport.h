#pragma once

#include <QFont>
#include <QImage>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "chart/ChartTypes.h"
#include "chart/IFrameSink.h"
#include "chart/IMarkerReceiver.h"
#include "chart/IMessageSink.h"
#include "measurement/FileDataExt.h"
#include "measurement/MeasurementFile.h"

namespace qm::test {

// A window that keeps every presented frame's count and the last frame.
class CaptureSink : public IFrameSink {
public:
    void PresentFrame(const QImage& frame, const PlotRect& area) override;

    int Count() const;
    QImage Last() const;
    PlotRect LastArea() const;
    // True once at least `count` frames arrived (gives up after a generous time).
    bool WaitForFrames(int count) const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    int m_count = 0;
    QImage m_last;
    PlotRect m_area;
};

struct RecordingReceiver : IMarkerReceiver {
    std::vector<long> positions;
    void MarkerMoved(long position) override { positions.push_back(position); }
};

struct RecordingMessages : IMessageSink {
    std::vector<std::string> errors;
    void ShowError(const std::string& text) override { errors.push_back(text); }
};

// Pixel colour as a COLORREF (0x00BBGGRR).
COLORREF Pixel(const QImage& image, int x, int y);
// x of every pixel of `colour` in row y, in order.
std::vector<int> ColumnsOf(const QImage& image, int y, COLORREF colour);
// y of every pixel of `colour` in column x, in order.
std::vector<int> RowsOf(const QImage& image, int x, COLORREF colour);
// Bounding box of the pixels of `colour` inside [left, right) x [top, bottom); empty if none.
QRect BoundsOf(const QImage& image, COLORREF colour, QRect within);

ChannelBar Analogue(double vision, double audio);
ChannelBar Digital(double power);
ChannelBar ClassC(double level);

// A measurement element built byte by byte at the offsets of its kind.
class ElementBuilder {
public:
    explicit ElementBuilder(int kind);
    std::size_t S() const { return static_cast<std::size_t>(SectionBase(e.kind)); }
    void Put8(std::size_t off, int v) { e.file.at(off) = static_cast<std::uint8_t>(v); }
    void Put16(std::size_t off, int v) {
        Put8(off, v & 0xFF);
        Put8(off + 1, (v >> 8) & 0xFF);
    }
    // Plan entry i (the channel count grows to cover it).
    void Entry(int i, int type, int flags);
    void TiltCount(int n) { Put8(S() + 88, n); }
    void TiltLevel(int i, int v) { Put16(S() + 1940 + 2 * static_cast<std::size_t>(i), v); }
    void ScanWindow(int start, int count) {
        Put8(S() + 104, count);
        Put8(S() + 105, start);
    }
    void Scan(int planIndex, int video, int audio) {
        Put16(S() + 1964 + 4 * static_cast<std::size_t>(planIndex), video);
        Put16(S() + 1966 + 4 * static_cast<std::size_t>(planIndex), audio);
    }
    void Limit(int ordinal, int video, int audio) {
        Put16(S() + 5164 + 4 * static_cast<std::size_t>(ordinal), video);
        Put16(S() + 5166 + 4 * static_cast<std::size_t>(ordinal), audio);
    }
    void SpectrumCount(int n, int maxFlag) {
        Put8(S() + 120, n >> 8);
        Put8(S() + 121, n & 0xFF);
        Put8(S() + 131, maxFlag);
    }
    void Point(int i, int v) { Put16(S() + 2604 + 2 * static_cast<std::size_t>(i), v); }
    void MaxPoint(int i, int v) { Put16(S() + 3244 + 2 * static_cast<std::size_t>(i), v); }

    _tagFileDataExt e;
};

} // namespace qm::test

namespace qm::test {

// True when `text`, drawn in `font` with its cell's top-left corner at (x, y), covers exactly
// the pixels of `colour` that the image has inside the text's cell (a reference rendering made
// with plain QPainter calls).
bool TextAt(const QImage& image, const QString& text, int x, int y, const QFont& font,
            COLORREF colour);

} // namespace qm::test
