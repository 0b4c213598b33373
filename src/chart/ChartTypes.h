#pragma once

#include <QString>
#include <cstdint>

namespace qm {

// Colours keep the byte order of the stored configuration: 0x00BBGGRR.
using COLORREF = std::uint32_t;

constexpr COLORREF MakeColorref(int red, int green, int blue) {
    return static_cast<COLORREF>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// Series styles; the style of series 0 selects how a whole frame is drawn.
inline constexpr int StyleLine = 1;
inline constexpr int StyleTiltBars = 9;
inline constexpr int StyleChannelBars = 0xFFFFE;

// How a chart is drawn: as the meter's program always drew it, or with its axes labelled
// (channel numbers or MHz ticks), a single level scale, the measurement's own date and time
// and a legend for two traces.
enum class ChartStyle { Classic, Clear };

// Marker placement that offsets the marker line into the bar slot.
inline constexpr int kMarkerPlacementInSlot = 3;

// A rectangle as left, top, right, bottom (right and bottom exclusive).
struct PlotRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const PlotRect&, const PlotRect&) = default;
};

// The element of every bar chart: levels in dBuV and the class flags that pick the bar.
struct ChannelBar {
    double primary = 0;   // vision carrier (analogue) or channel power (digital)
    double secondary = 0; // audio carrier (analogue)
    double unused1 = 0;
    double unused2 = 0;
    bool a1 = false;
    bool a2 = false;
    bool b = false;
    bool c = false;
    int channel = 0; // the channel number the bar stands for
};

struct SeriesStyle {
    COLORREF colour = 0xFFFFFF;
    int style = StyleLine;
};

// A free text around the plot area; drawn as prefix + unit + text + three blanks.
struct TextBox {
    QString prefix;
    QString text;
    QString unit;
    int position = 0;
    bool visible = false;
};

// A row or column label; its format picks which of the three values is printed.
struct AxisLabel {
    double value = 0;
    int intValue = 0;
    float floatValue = 0;
    QString suffix;
    QString format;
    bool shown = false;
};

} // namespace qm
