#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm::sim {

class MeterSimulator;

// Draws the meter's 320 x 240 screen: a title bar, a spectrum display with its graticule and
// a status line, from the simulated meter's state.
class ScreenPainter {
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;

    // Paints into the storage of a previous screen when one is given, so that a repaint
    // needs no new memory.
    explicit ScreenPainter(std::vector<std::uint8_t> storage = {});

    void Paint(const MeterSimulator& meter);

    // 240 rows of 960 bytes, bottom row first, each pixel blue, green, red: the bytes the
    // meter sends, handed over without a copy.
    std::vector<std::uint8_t> Pixels() &&;

private:
    struct Colour {
        std::uint8_t r, g, b;
    };
    void Fill(int x, int y, int w, int h, Colour c);
    void Put(int x, int y, Colour c);
    void Line(int x0, int y0, int x1, int y1, Colour c);
    // Text in a 5 x 7 font with one pixel between characters, scaled by scale.
    void Text(int x, int y, const std::string& text, Colour c, int scale = 1);

    // The first byte of pixel (x, y), counted from the top left; x and y on the screen.
    std::uint8_t* At(int x, int y);

    std::vector<std::uint8_t> m_pixels; // already as sent: bottom row first, blue, green, red
};

} // namespace qm::sim
