#include "sim/ScreenPainter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <utility>

#include "sim/MeterSimulator.h"

namespace qm::sim {

namespace {

// 5 x 7 glyphs, one byte per row, bit 4 the leftmost pixel.
using Glyph = std::array<std::uint8_t, 7>;
const std::map<char, Glyph>& Font() {
    static const std::map<char, Glyph> font = {
        {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
        {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
        {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
        {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
        {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
        {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
        {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
        {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
        {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
        {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
        {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
        {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
        {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
        {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}},
        {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
        {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
        {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
        {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
        {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
        {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
        {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
        {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
        {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
        {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
        {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
        {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
        {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
        {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
        {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
        {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
        {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
        {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
        {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
        {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
        {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}},
        {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
        {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
        {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
        {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}},
        {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    };
    return font;
}

const char* const kLevelUnits[] = {"DBUV", "DBMV", "DBM"};
const char* const kShutdown[] = {"3 MIN", "5 MIN", "10 MIN", "30 MIN", "ON"};
const char* const kDateFormats[] = {"%Y/%m/%d", "%d/%m/%Y", "%m/%d/%Y"};

} // namespace

ScreenPainter::ScreenPainter(std::vector<std::uint8_t> storage) : m_pixels(std::move(storage)) {
    m_pixels.assign(static_cast<std::size_t>(kWidth * kHeight * 3), 0);
}

std::uint8_t* ScreenPainter::At(int x, int y) {
    return m_pixels.data() + (static_cast<std::size_t>(kHeight - 1 - y) * kWidth + x) * 3;
}

void ScreenPainter::Put(int x, int y, Colour c) {
    if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) {
        std::uint8_t* p = At(x, y);
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
    }
}

void ScreenPainter::Fill(int x, int y, int w, int h, Colour c) {
    const int left = std::max(x, 0), right = std::min(x + w, kWidth);
    const int top = std::max(y, 0), bottom = std::min(y + h, kHeight);
    if (left >= right || top >= bottom)
        return;
    // One pixel, then the row's span by doubling copies; then the rows below.
    const std::size_t span = static_cast<std::size_t>(right - left) * 3;
    std::uint8_t* first = At(left, top);
    Put(left, top, c);
    for (std::size_t done = 3; done < span; done *= 2)
        std::memcpy(first + done, first, std::min(done, span - done));
    for (int row = top + 1; row < bottom; ++row)
        std::memcpy(At(left, row), first, span);
}

void ScreenPainter::Line(int x0, int y0, int x1, int y1, Colour c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Put(x0, y0, c);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void ScreenPainter::Text(int x, int y, const std::string& text, Colour c, int scale) {
    for (char ch : text) {
        const auto it =
            Font().find(static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
        if (it != Font().end())
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (it->second[static_cast<std::size_t>(row)] & (0x10 >> col))
                        Fill(x + col * scale, y + row * scale, scale, scale, c);
        x += 6 * scale;
    }
}

void ScreenPainter::Paint(const MeterSimulator& meter) {
    const Colour background{8, 16, 40}, bar{30, 70, 150}, white{240, 240, 240}, grid{50, 70, 100},
        trace{250, 220, 40}, marker{240, 60, 60}, green{90, 220, 110};
    Fill(0, 0, kWidth, kHeight, background);

    // Title bar: model, clock, battery.
    Fill(0, 0, kWidth, 16, bar);
    Text(4, 4, "QM" + meter.Model(), white);
    char clock[32];
    const std::time_t now = meter.ClockNow();
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(clock, sizeof clock, kDateFormats[meter.DateFormat() % 3], &local);
    char time[16];
    std::strftime(time, sizeof time, "%H:%M", &local);
    Text(120, 4, std::string(clock) + " " + time, white);
    Fill(288, 4, 24, 8, white);
    Fill(290, 6, 16, 4, green);
    Fill(312, 6, 2, 4, white);

    // Spectrum: graticule of 10 x 8 divisions, 84.00 MHz span around 474 MHz.
    const int left = 30, top = 26, width = 280, height = 176;
    for (int i = 0; i <= 10; ++i)
        Line(left + i * width / 10, top, left + i * width / 10, top + height, grid);
    for (int i = 0; i <= 8; ++i)
        Line(left, top + i * height / 8, left + width, top + i * height / 8, grid);
    for (int i = 0; i <= 4; ++i) {
        char label[8];
        std::snprintf(label, sizeof label, "%d", 100 - 25 * i);
        Text(2, top + i * height / 4 - 3, label, white);
    }
    // Seven 8 MHz digital channels on a noise floor, deterministic ripple.
    int previous = -1;
    for (int x = 0; x <= width; ++x) {
        const double f = x / static_cast<double>(width) * 84.0; // MHz from the left edge
        double level = 28.0 + 2.0 * std::sin(x * 1.7) + 1.5 * std::sin(x * 0.37);
        for (int ch = 0; ch < 7; ++ch) {
            const double centre = 10.0 + ch * 11.0;
            const double d = std::fabs(f - centre);
            if (d < 3.8)
                level = std::max(level, 72.0 - ch * 2.5 + 1.2 * std::sin(x * 2.3) -
                                            (d > 3.4 ? (d - 3.4) * 60 : 0));
        }
        const int y = top + height - static_cast<int>(level / 100.0 * height);
        if (previous >= 0)
            Line(left + x - 1, previous, left + x, y, trace);
        previous = y;
    }
    // Marker on the fourth channel.
    const int mx = left + static_cast<int>(43.0 / 84.0 * width);
    Line(mx, top, mx, top + height, marker);
    Text(mx + 4, top + 4, "M1 474.00MHZ", marker);

    // Status line: reference level, span, units, shutdown.
    char status[64];
    std::snprintf(status, sizeof status, "REF 100.0 %s  SPAN 84MHZ",
                  kLevelUnits[meter.LevelUnit() % 3]);
    Text(4, 210, status, white);
    std::snprintf(status, sizeof status, "CH PLAN %c  TEMP %s  OFF %s", 'A' + meter.CurrentPlan(),
                  meter.TemperatureUnit() ? "F" : "C", kShutdown[meter.ShutdownCode() % 5]);
    Text(4, 224, status, green);
}

std::vector<std::uint8_t> ScreenPainter::Pixels() && {
    return std::move(m_pixels);
}

} // namespace qm::sim
