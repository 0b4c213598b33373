#include "chart/CDevGDI.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "chart/GdiPainter.h"
#include "chart/IFrameSink.h"
#include "chart/SpectrumOverlay.h"
#include "chart/ValueText.h"

namespace qm {

namespace {

// The face the stored configuration names and the one that stands in for it here.
constexpr const char* kSystemFace = "System";
constexpr const char* kSystemFaceStandIn = "DejaVu Sans";
// Spectrum frames keep the font a fresh drawing context starts with. At 7 points the numeric
// scale's widest number ("109.09 ") still fits the charts' 35-pixel left margin instead of
// losing its leading digits, which would read as a different value.
constexpr int kFreshContextFontSize = 70;
// Point sizes become pixels at the resolution the layout was designed on.
constexpr int kLayoutDpi = 96;

// No frame is composed beyond this side length, whatever rectangle arrives.
constexpr int kMaxImageSide = 16384;

// Text capacities of the stored configuration, terminator excluded.
constexpr int kTextBoxTextMax = 255;

constexpr std::array<COLORREF, 6> kDefaultSeriesColours = {0x00FF00, 0x00FFFF, 0xFF00FF,
                                                           0xFFFF00, 0xFF0000, 0x0000FF};
constexpr std::array<COLORREF, 5> kAttachSeriesColours = {0xFFFF00, 0xFF00FF, 0x0000FF, 0x00FF00,
                                                          0xFF0000};
constexpr COLORREF kWhite = 0xFFFFFF;

// Integer division of a pixel product, truncated toward zero; 64-bit so products never wrap.
int MulDiv(long long a, long long b, long long c) {
    if (c == 0)
        return 0;
    return static_cast<int>(a * b / c);
}

struct Box {
    int L, T, R, B, ml, mt, mr, mb, W, H;
};

Box Geometry(const CDevGDI::State& s) {
    Box g{};
    g.L = s.rect.left;
    g.T = s.rect.top;
    g.R = s.rect.right;
    g.B = s.rect.bottom;
    g.ml = s.leftMargin;
    g.mt = s.topMargin;
    g.mr = s.rightMargin;
    g.mb = s.bottomMargin;
    g.W = g.R - g.mr - g.ml - g.L;
    g.H = g.B - g.mb - g.mt - g.T;
    return g;
}

QString Spaces3() {
    return QStringLiteral("   ");
}

} // namespace

CDevGDI::State::State() {
    seriesColours.fill(kWhite);
    std::copy(kDefaultSeriesColours.begin(), kDefaultSeriesColours.end(), seriesColours.begin());
    seriesStyles.fill(StyleLine);
    markerUnits.fill(QStringLiteral(" "));
}

CDevGDI::CDevGDI() = default;
CDevGDI::~CDevGDI() = default;

void CDevGDI::AttachWindow(IFrameSink* window, const PlotRect& rect, COLORREF backgroundColour,
                           COLORREF frameColour, int framePenWidth, int gridPenWidth,
                           COLORREF series0Colour, int series0Style, COLORREF textColour) {
    {
        std::lock_guard lock(m_mutex);
        m_window = window;
        m_state.backgroundColour = backgroundColour;
    }
    SetPlotArea(rect);
    std::lock_guard lock(m_mutex);
    State& s = m_state;
    s.frameColour = frameColour;
    s.framePenWidth = framePenWidth;
    s.gridPenWidth = gridPenWidth;
    s.seriesColours.fill(kWhite);
    s.seriesColours[0] = series0Colour;
    std::copy(kAttachSeriesColours.begin(), kAttachSeriesColours.end(),
              s.seriesColours.begin() + 1);
    s.seriesStyles.fill(StyleLine);
    s.seriesStyles[0] = series0Style;
    s.textColour = textColour;
    for (auto& perSeries : s.markerTextColours)
        perSeries.fill(textColour);
    Changed();
}

void CDevGDI::SetPlotArea(const PlotRect& rect) {
    std::lock_guard lock(m_mutex);
    // In the window's client coordinates; a surface without a window starts at the origin.
    m_state.rect = m_window ? rect : PlotRect{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    Changed();
}

void CDevGDI::SetSeriesStyles(const std::array<SeriesStyle, kSeriesCount>& styles) {
    std::lock_guard lock(m_mutex);
    for (int i = 0; i < kSeriesCount; ++i) {
        m_state.seriesColours[i] = styles[i].colour;
        m_state.seriesStyles[i] = styles[i].style;
    }
    Changed();
}

void CDevGDI::SetTextBox(bool visible, int index, const QString& text, int position) {
    if (index < 0 || index >= kTextBoxCount)
        return;
    std::lock_guard lock(m_mutex);
    TextBox& box = m_state.textBoxes[index];
    box.prefix.clear();
    box.unit.clear();
    box.text = text.left(kTextBoxTextMax);
    box.position = position;
    box.visible = visible;
    Changed();
}

void CDevGDI::SetValueDecimals(int decimals) {
    std::lock_guard lock(m_mutex);
    m_state.valueFormat = DecimalsFormat(decimals);
    Changed();
}

void CDevGDI::SetMarkerPosition(int marker, int position) {
    if (marker < 0 || marker >= kMarkerCount)
        return;
    std::lock_guard lock(m_mutex);
    if (m_state.markerPositions[marker] == position)
        return;
    m_state.markerPositions[marker] = position;
    Changed();
}

void CDevGDI::Update(const std::function<void(State&)>& change) {
    std::lock_guard lock(m_mutex);
    change(m_state);
    Changed();
}

CDevGDI::State CDevGDI::GetState() const {
    std::lock_guard lock(m_mutex);
    return m_state;
}

CDevGDI::Snapshot CDevGDI::TakeSnapshot() const {
    std::lock_guard lock(m_mutex);
    return {m_state, m_window};
}

// ---- mappings ---------------------------------------------------------------------------

int CDevGDI::ValueToY(const State& s, double value) {
    const Box g = Geometry(s);
    int y = g.B - g.mb - 1 - TruncToPixel(g.H * (value - s.yMin) / (s.yMax - s.yMin));
    y = std::min(y, g.B - 2);
    return std::max(y, g.T + 1);
}

int CDevGDI::MarkerY(const State& s, double value) {
    const Box g = Geometry(s);
    int y = TruncToPixel((g.B - g.mb) -
                         (value - s.yMin) * (g.B - g.mb - g.T - g.mt) / (s.yMax - s.yMin)) -
            1;
    y = std::min(y, g.B - g.mb);
    return std::max(y, g.T + g.mt);
}

int CDevGDI::PointToX(const State& s, int index, int count) {
    const Box g = Geometry(s);
    return g.L + g.ml + MulDiv(index + 1LL, g.W, count + 1LL);
}

int CDevGDI::SlotX(const State& s, int slot, int count) {
    const Box g = Geometry(s);
    return g.L + g.ml + MulDiv(slot, g.W, count + 2LL);
}

QPoint CDevGDI::TextBoxOrigin(const State& s, int position, QSize extent) {
    const Box g = Geometry(s);
    const int cx = extent.width(), cy = extent.height();
    const int xl = g.L + g.ml;
    const int xr = g.R - g.mr - cx;
    const int xc = g.L + g.ml + (g.R - g.L) / 2 - cx / 2;
    const int above = g.T + g.mt - cy - 2;
    const int middle = g.T + (g.B - g.T) / 2 + g.mt;
    const int below = g.B - g.mb + cy;
    const int above2 = g.T + g.mt - 2 * cy - 4;
    const int above3 = g.T + g.mt - 3 * cy - 6;
    const int below2 = g.B - g.mb + 2 * cy;
    switch (position) {
    case 0:
    case 9:
        return {xl, above};
    case 1:
        return {xl, middle};
    case 2:
    case 18:
        return {xl, below};
    case 3:
    case 10:
        return {xr, above};
    case 4:
        return {xr, middle};
    case 5:
    case 19:
        return {xr, below};
    case 6:
        return {xc, middle};
    case 7:
        return {xc, g.T + g.mt};
    case 8:
        return {xc, g.B - g.mb - 20};
    case 11:
        return {xc, above};
    case 12:
        return {xl, g.B - g.mb};
    case 13:
        return {xr, g.B - g.mb};
    case 14:
        return {xc, g.B - g.mb};
    case 15:
        return {xl, above2};
    case 16:
        return {xr, above2};
    case 17:
        return {xc, above2};
    case 20:
        return {xc, below};
    case 21:
        return {xl, above3};
    case 22:
        return {xr, above3};
    case 23:
        return {xc, above3};
    case 24:
        return {xl, below2};
    case 25:
        return {xr, below2};
    case 26:
        return {xc, below2};
    default:
        return {xl, g.T};
    }
}

QFont CDevGDI::SurfaceFont(const QString& face, int tenthsOfPoint) {
    QFont font(face == QLatin1String(kSystemFace) ? QString::fromLatin1(kSystemFaceStandIn) : face);
    font.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    const int pixels = (std::clamp(tenthsOfPoint, 10, 10000) * kLayoutDpi + 360) / 720;
    font.setPixelSize(std::max(1, pixels));
    return font;
}

QFont CDevGDI::DefaultFont() {
    return SurfaceFont(QString::fromLatin1(kSystemFace), kFreshContextFontSize);
}

// ---- mouse --------------------------------------------------------------------------------

int CDevGDI::BarUnderPointer(const State& s, int x, int count) {
    // The bar whose slot holds x, as the frames draw the slots; the empty slot at either end
    // belongs to the bar beside it.
    const Box g = Geometry(s);
    int slot = static_cast<int>(static_cast<long long>(x - g.L - g.ml) * (count + 2LL) / g.W);
    while (slot < count + 1 && SlotX(s, slot + 1, count) <= x)
        ++slot;
    while (slot > 0 && SlotX(s, slot, count) > x)
        --slot;
    return std::clamp(slot - 1, 0, count - 1);
}

int CDevGDI::PointNearest(const State& s, int x, int count) {
    const Box g = Geometry(s);
    const long long at = static_cast<long long>(x - g.L - g.ml) * (count + 1LL);
    int index = static_cast<int>((at + g.W / 2) / g.W) - 1;
    index = std::clamp(index, 0, count - 1);
    // The points lie on whole pixels: the neighbours may be nearer than the estimate.
    for (int near : {index - 1, index + 1}) {
        if (near >= 0 && near < count &&
            std::abs(PointToX(s, near, count) - x) < std::abs(PointToX(s, index, count) - x))
            index = near;
    }
    return index;
}

void CDevGDI::MoveActiveMarker(int x, int count) {
    std::lock_guard lock(m_mutex);
    State& s = m_state;
    const Box g = Geometry(s);
    if (x > g.R - g.L - g.mr || x < g.L + g.ml || g.W <= 0 || count <= 0)
        return;
    if (s.activeMarker < 0 || s.activeMarker >= kMarkerCount)
        return;
    const int q = BarUnderPointer(s, x, count);
    if (s.markerPositions[s.activeMarker] != q) {
        s.markerPositions[s.activeMarker] = q;
        Changed();
    }
}

void CDevGDI::MoveActiveMarkerInPlot(int x, int y, int count) {
    std::lock_guard lock(m_mutex);
    State& s = m_state;
    const Box g = Geometry(s);
    const int width = g.R - g.L - g.mr - g.ml;
    if (y > g.B - g.mb - g.T || y < g.T + g.mt || x > g.R - g.L - g.mr || x < g.L + g.ml ||
        width <= 0 || count <= 0)
        return;
    if (s.activeMarker < 0 || s.activeMarker >= kMarkerCount)
        return;
    const int q = PointNearest(s, x, count);
    if (s.markerPositions[s.activeMarker] != q) {
        s.markerPositions[s.activeMarker] = q;
        Changed();
    }
}

// ---- frames -------------------------------------------------------------------------------

QImage CDevGDI::AcquireImage(const PlotRect& rect) {
    const int width = rect.right, height = rect.bottom;
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
        rect.right <= rect.left || rect.bottom <= rect.top)
        return {};
    std::lock_guard lock(m_poolMutex);
    for (QImage& slot : m_pool) {
        if (!slot.isNull() && slot.width() == width && slot.height() == height && slot.isDetached())
            return std::move(slot);
    }
    return QImage(width, height, QImage::Format_RGB32);
}

void CDevGDI::Present(const Snapshot& snap, const QImage& image) {
    if (snap.window)
        snap.window->PresentFrame(image, snap.state.rect);
    std::lock_guard lock(m_poolMutex);
    for (QImage& slot : m_pool) {
        if (slot.isNull() || slot.size() != image.size()) {
            slot = image;
            return;
        }
    }
    for (QImage& slot : m_pool) {
        if (!slot.isDetached()) {
            slot = image;
            return;
        }
    }
}

QImage CDevGDI::DrawBarFrame(std::span<const ChannelBar> records) {
    const Snapshot snap = TakeSnapshot();
    const State& s = snap.state;
    QImage image = AcquireImage(s.rect);
    if (image.isNull())
        return {};
    {
        GdiPainter p(image);
        p.FillRect(0, 0, image.width(), image.height(), s.backgroundColour);
        p.SetTextColour(s.textColour);
        p.SetFont(SurfaceFont(s.fontFace, s.fontSize));
        DrawFrameAndGrid(p, s);
        DrawAxisLabels(p, s);
        if (s.style == ChartStyle::Clear)
            DrawBarLabels(p, s, records);
        const int count = static_cast<int>(records.size());
        if (s.seriesStyles[0] == StyleChannelBars)
            DrawChannelBars(p, s, records);
        else if (s.seriesStyles[0] == StyleTiltBars)
            DrawTiltBars(p, s, records);
        for (int m = 0; m < kMarkerCount; ++m) {
            const int pos = s.markerPositions[m];
            if (!s.markerEnabled[m] || pos < 0 || pos >= count)
                continue;
            int x = SlotX(s, pos + 1, count);
            const int slot = SlotX(s, pos + 2, count) - x;
            if (s.markerPlacement == kMarkerPlacementInSlot) {
                if (s.seriesStyles[0] == StyleTiltBars)
                    x += std::max(1, TruncToPixel(0.1 * slot));
                else if (s.seriesStyles[0] == StyleChannelBars)
                    x += std::max(1, TruncToPixel(0.45 * slot));
            }
            DrawMarker(p, s, m, 0, x, records[pos].primary, true);
        }
        if (s.numericYScale)
            DrawNumericYScale(p, s);
        DrawTextBoxes(p, s);
    }
    Present(snap, image);
    return image;
}

QImage CDevGDI::DrawSpectrumFrame(std::span<const double> series0, std::span<const double> series1,
                                  const SpectrumOverlay* overlay) {
    const bool withOverlay = overlay && !overlay->Empty();
    std::unique_lock<std::mutex> frameLock;
    if (m_frameLock)
        frameLock = std::unique_lock<std::mutex>(*m_frameLock);
    const Snapshot snap = TakeSnapshot();
    const State& s = snap.state;
    QImage image = AcquireImage(s.rect);
    if (image.isNull())
        return {};
    {
        GdiPainter p(image);
        p.FillRect(0, 0, image.width(), image.height(), s.backgroundColour);
        p.SetTextColour(s.textColour);
        p.SetFont(DefaultFont());
        DrawFrameAndGrid(p, s);
        const bool clear = s.style == ChartStyle::Clear;
        DrawAxisLabels(p, s);
        if (clear)
            DrawFrequencyTicks(p, s);
        if (withOverlay)
            DrawPolyline(p, s, overlay->values, 1, kOverlayColour);
        DrawLineSeries(p, s, series0, 0);
        DrawLineSeries(p, s, series1, 1);
        const int n0 = static_cast<int>(series0.size());
        const int n1 = static_cast<int>(series1.size());
        for (int m = 0; m < kMarkerCount; ++m) {
            if (!s.markerEnabled[m])
                continue;
            const int pos = s.markerPositions[m];
            // A gap in a series has no value to mark.
            if (pos >= 0 && pos < n0 && !std::isnan(series0[pos]))
                DrawMarker(p, s, m, 0, PointToX(s, pos, n0), series0[pos], false);
            if (pos >= 0 && pos < n1 && !std::isnan(series1[pos]))
                DrawMarker(p, s, m, 1, PointToX(s, pos, n1), series1[pos], true);
        }
        // The clear style keeps the row labels on the grid lines as the only level scale.
        if (s.numericYScale && !clear)
            DrawNumericYScale(p, s);
        DrawTextBoxes(p, s);
        if (withOverlay) {
            const std::pair<COLORREF, QString> entries[] = {
                {s.seriesColours[0], overlay->baseLabel}, {kOverlayColour, overlay->label}};
            DrawLegend(p, s, entries);
        } else if (clear && series0.size() >= 2 && series1.size() >= 2) {
            const std::pair<COLORREF, QString> entries[] = {{s.seriesColours[0], s.traceNames[0]},
                                                            {s.seriesColours[1], s.traceNames[1]}};
            DrawLegend(p, s, entries);
        }
    }
    Present(snap, image);
    return image;
}

void CDevGDI::DrawLegend(GdiPainter& p, const State& s,
                         std::span<const std::pair<COLORREF, QString>> entries) {
    // Top right inside the plot: a short line in each colour and its label.
    const Box g = Geometry(s);
    const int lineHeight = p.TextExtent(QStringLiteral("Ag")).height() + 2;
    int textWidth = 0;
    for (const auto& entry : entries)
        textWidth = std::max(textWidth, p.TextExtent(entry.second).width());
    const int x = g.R - g.mr - textWidth - 34;
    int y = g.T + g.mt + 6;
    for (const auto& [colour, label] : entries) {
        p.HLine(x, x + 20, y + lineHeight / 2, 2, colour);
        p.SetTextColour(colour);
        p.TextOut(x + 26, y, label);
        y += lineHeight;
    }
}

void CDevGDI::DrawBarLabels(GdiPainter& p, const State& s, std::span<const ChannelBar> r) {
    const Box g = Geometry(s);
    const int n = static_cast<int>(r.size());
    p.SetTextColour(s.frameColour);
    // A label that would run into the one before is left out: every shown one stays legible.
    int freeFrom = g.L;
    // Under the middle of the bar as drawn: a tilt bar fills only the left of its slot.
    const int tiltShrink = s.seriesStyles[0] == StyleTiltBars && n > 0
                               ? std::max(1, TruncToPixel(0.8 * (SlotX(s, 2, n) - SlotX(s, 1, n))))
                               : 0;
    for (int k = 0; k < n; ++k) {
        const QString text = QString::number(r[k].channel);
        const int width = p.TextExtent(text).width();
        const int x = (SlotX(s, k + 1, n) + SlotX(s, k + 2, n) - tiltShrink) / 2 - width / 2;
        if (x < freeFrom)
            continue;
        p.TextOut(x, g.B - g.mb + 3, text);
        freeFrom = x + width + 4;
    }
    p.SetTextColour(s.textColour);
}

void CDevGDI::DrawFrequencyTicks(GdiPainter& p, const State& s) {
    if (s.xLast <= s.xFirst)
        return;
    const Box g = Geometry(s);
    const int parts = s.columnCount + 1;
    const double step = (s.xLast - s.xFirst) / parts;
    const QString format = step < 1    ? QStringLiteral("%.2f")
                           : step < 10 ? QStringLiteral("%.1f")
                                       : QStringLiteral("%.0f");
    p.SetTextColour(s.frameColour);
    int freeFrom = g.L;
    for (int i = 0; i <= parts; ++i) {
        const QString text = QString::asprintf(format.toLatin1().constData(), s.xFirst + step * i);
        const int width = p.TextExtent(text).width();
        const int x = std::max(g.L + g.ml + MulDiv(i, g.W, parts) - width / 2, g.L);
        // Past the plot's right edge is the unit's place.
        if (x < freeFrom || x + width > g.R - g.mr)
            continue;
        p.TextOut(x, g.B - g.mb + 3, text);
        freeFrom = x + width + 6;
    }
    p.SetTextColour(s.textColour);
}

void CDevGDI::DrawFrameAndGrid(GdiPainter& p, const State& s) {
    const Box g = Geometry(s);
    p.FrameRect(g.L + g.ml, g.T + g.mt, g.R - g.mr + 1, g.B - g.mb + 1, s.framePenWidth,
                s.frameColour);
    for (int i = 1; i <= s.rowCount; ++i) {
        const int y = g.T + g.mt + MulDiv(i, g.H, s.rowCount + 1LL);
        p.HLine(g.L + g.ml, g.R - g.mr, y, s.gridPenWidth, s.frameColour);
    }
    for (int i = 1; i <= s.columnCount; ++i) {
        const int x = g.L + g.ml + MulDiv(i, g.W, s.columnCount + 1LL);
        p.VLine(x, g.T + g.mt, g.B - g.mb, s.gridPenWidth, s.frameColour);
    }
}

void CDevGDI::DrawAxisLabels(GdiPainter& p, const State& s) {
    if (!s.axisLabels)
        return;
    const Box g = Geometry(s);
    p.SetTextColour(s.frameColour);
    // Only the labels the arrays hold: a row count of 19 or more has no label for the rest.
    if (s.rowCount + 1 > 0) {
        for (int i = 0; i <= s.rowCount + 1 && i < kLabelCount; ++i) {
            const AxisLabel& label = s.rowLabels[i];
            if (!label.shown)
                continue;
            const int y = g.T + g.mt + MulDiv(i, g.H, s.rowCount + 1LL);
            p.TextOut(g.L + g.ml / 4, y, LabelText(label, LabelAxis::Row) + label.suffix);
        }
    }
    for (int i = 1; i <= s.columnCount && i < kLabelCount; ++i) {
        const AxisLabel& label = s.columnLabels[i];
        if (!label.shown)
            continue;
        const int x = g.L + g.ml + MulDiv(i, g.W, s.columnCount + 1LL);
        p.TextOut(x, g.B - g.mb, LabelText(label, LabelAxis::Column) + label.suffix);
    }
}

namespace {

constexpr COLORREF kOutlineColour = MakeColorref(255, 48, 48);

// The outline of a failing channel's bar: a thick frame just outside the bar, so that it
// stands out by its shape as well as its colour.
void OutlineBar(GdiPainter& p, const std::vector<int>& outlined, int k, int left, int top,
                int right, int bottom) {
    if (outlined.empty() || std::find(outlined.begin(), outlined.end(), k) == outlined.end())
        return;
    p.FrameRect(left - 1, top - 2, right + 1, bottom + 1, 3, kOutlineColour);
}

} // namespace

void CDevGDI::DrawChannelBars(GdiPainter& p, const State& s, std::span<const ChannelBar> r) {
    const Box g = Geometry(s);
    const int n = static_cast<int>(r.size());
    const int y0 = g.B - g.mb - 1;
    const int top = g.T + g.mt;
    const int inset = std::max(1, TruncToPixel(0.1 * (SlotX(s, 2, n) - SlotX(s, 1, n))));
    for (int k = 0; k < n; ++k) {
        const ChannelBar& bar = r[k];
        const int left = SlotX(s, k + 1, n) + inset;
        const int right = SlotX(s, k + 2, n) - inset;
        if (bar.a1 && bar.a2) {
            const int yv = std::max(ValueToY(s, bar.primary), top);
            const int ya = std::max(ValueToY(s, bar.secondary), top);
            if (yv < y0 && ya < y0) {
                p.Rectangle(left, y0, right, yv, s.seriesColours[0]);
                p.Rectangle(left, y0, right, ya, s.seriesColours[1]);
                OutlineBar(p, s.outlinedBars, k, left, std::min(yv, ya), right, y0);
            }
        } else if (bar.b || bar.c) {
            const int y = std::min(std::max(ValueToY(s, bar.primary), top), y0);
            p.Rectangle(left, y0, right, y, s.seriesColours[bar.b ? 2 : 3]);
            OutlineBar(p, s.outlinedBars, k, left, y, right, y0);
        }
    }
}

void CDevGDI::DrawTiltBars(GdiPainter& p, const State& s, std::span<const ChannelBar> r) {
    const Box g = Geometry(s);
    const int n = static_cast<int>(r.size());
    if (n == 0)
        return;
    const int y0 = g.B - g.mb - 1;
    const int shrink = std::max(1, TruncToPixel(0.8 * (SlotX(s, 2, n) - SlotX(s, 1, n))));
    for (int k = 0; k < n; ++k) {
        const ChannelBar& bar = r[k];
        int series = -1;
        if (bar.a1 && bar.a2)
            series = 0;
        else if (bar.b)
            series = 2;
        else if (bar.c)
            series = 3;
        if (series < 0)
            continue;
        p.Rectangle(SlotX(s, k + 1, n), y0, SlotX(s, k + 2, n) - shrink, ValueToY(s, bar.primary),
                    s.seriesColours[series]);
        OutlineBar(p, s.outlinedBars, k, SlotX(s, k + 1, n), ValueToY(s, bar.primary),
                   SlotX(s, k + 2, n) - shrink, y0);
    }
    const double first = r.front().primary, last = r.back().primary;
    if (first == 0.0 && last == 0.0)
        return;
    p.Line(SlotX(s, 1, n), ValueToY(s, first), SlotX(s, n, n), ValueToY(s, last), 1,
           s.seriesColours[3]);
}

void CDevGDI::DrawLineSeries(GdiPainter& p, const State& s, std::span<const double> values,
                             int series) {
    const int n = static_cast<int>(values.size());
    // A line from the first point to each next one: a single point draws no line.
    if (n < 2)
        return;
    // Series 1 takes its pen width from its style value; keep that within reason.
    const int width = series == 0 ? 1 : std::clamp(s.seriesStyles[1], 1, 64);
    DrawPolyline(p, s, values, width, s.seriesColours[series]);
}

void CDevGDI::DrawPolyline(GdiPainter& p, const State& s, std::span<const double> values, int width,
                           COLORREF colour) {
    const int n = static_cast<int>(values.size());
    // A value that is not a number is a gap: the line stops before it and starts again after.
    std::vector<QPoint> points;
    points.reserve(values.size());
    const auto flush = [&] {
        if (points.size() >= 2)
            p.Polyline(points.data(), static_cast<int>(points.size()), width, colour);
        points.clear();
    };
    for (int i = 0; i < n; ++i) {
        if (std::isnan(values[i]))
            flush();
        else
            points.emplace_back(PointToX(s, i, n), ValueToY(s, values[i]));
    }
    flush();
}

void CDevGDI::DrawMarker(GdiPainter& p, const State& s, int marker, int series, int x, double value,
                         bool withTexts) {
    const Box g = Geometry(s);
    int y = MarkerY(s, value);
    if (s.horizontalCrosshair)
        p.HLine(g.L + g.ml + 1, g.R - g.mr - 1, y, 1, s.crosshairColour);
    if (s.verticalCrosshair)
        p.VLine(x, g.T + g.mt, g.B - g.mb, 1, s.crosshairColour);
    if (withTexts) {
        p.SetTextColour(s.markerTextColours[marker][series]);
        p.TextOut(x + 6, y - 15, QString::number(marker + 1));
        if (y < 30)
            y = std::max(y + 35, 30);
        QString text = ValueText(value, s.valueFormat);
        if (s.markerUnitsOn)
            p.TextOut(x - 30, y - 30, text + s.markerUnits[marker]);
        else
            p.TextOut(x - 10, y - 30, text);
    }
    p.SetTextColour(s.textColour);
}

void CDevGDI::DrawNumericYScale(GdiPainter& p, const State& s) {
    const int n = s.rowCount;
    if (n <= 0)
        return;
    const Box g = Geometry(s);
    const int cy = p.TextExtent(QStringLiteral("A")).height();
    for (int k = 0; k <= n; ++k) {
        const double value = s.yMin + (s.yMax - s.yMin) * k / n;
        const int y = k == 0 ? g.T + g.mt + MulDiv(n, g.H, n) - 15
                             : g.T + g.mt + MulDiv(n - k, g.H, n) + cy / 2 - 15;
        const QString text = ValueText(value, s.valueFormat) + s.yUnit;
        p.TextOut(g.L + g.ml - 1 - p.TextExtent(text).width(), y, text);
    }
}

void CDevGDI::DrawTextBoxes(GdiPainter& p, const State& s) {
    for (const TextBox& box : s.textBoxes) {
        if (!box.visible)
            continue;
        const QString text = box.prefix + box.unit + box.text + Spaces3();
        const QPoint at = TextBoxOrigin(s, box.position, p.TextExtent(text));
        p.TextOut(at.x(), at.y(), text);
    }
}

} // namespace qm
