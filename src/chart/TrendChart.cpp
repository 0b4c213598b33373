#include "chart/TrendChart.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

#include "chart/CDevGDI.h"
#include "chart/GdiPainter.h"

namespace qm {

namespace {

constexpr COLORREF kBackground = 0x000000;
constexpr COLORREF kGrid = MakeColorref(70, 70, 70);
constexpr COLORREF kText = MakeColorref(230, 230, 230);
constexpr COLORREF kTrace = 0x00FFFF; // yellow, as the spectrum's trace
constexpr COLORREF kBound = 0x0000FF; // red
constexpr int kLeft = 64, kRight = 24, kTop = 34, kBottom = 40;
constexpr int kRows = 6;

// A step of 1, 2 or 5 times a power of ten that splits span into about rows parts.
double NiceStep(double span, int rows) {
    const double raw = span / rows;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0})
        if (raw <= f * power)
            return f * power;
    return 10 * power;
}

QString Number(double v, double step) {
    const int decimals =
        step >= 1 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(step))));
    return QString::number(v, 'f', decimals);
}

QString Day(qint64 time) {
    return QDateTime::fromSecsSinceEpoch(time, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace

QImage DrawTrendChart(const TrendChartData& data, QSize size) {
    if (size.width() <= kLeft + kRight || size.height() <= kTop + kBottom)
        return {};
    QImage image(size, QImage::Format_RGB32);
    GdiPainter p(image);
    p.FillRect(0, 0, size.width(), size.height(), kBackground);
    p.SetFont(CDevGDI::DefaultFont());
    p.SetTextColour(kText);
    p.TextOut(kLeft, 8, data.title);
    const int left = kLeft, right = size.width() - kRight, top = kTop,
              bottom = size.height() - kBottom;
    p.FrameRect(left, top, right + 1, bottom + 1, 1, kGrid);
    if (data.points.empty()) {
        const QSize extent = p.TextExtent(data.emptyText);
        p.TextOut((left + right - extent.width()) / 2, (top + bottom - extent.height()) / 2,
                  data.emptyText);
        return image;
    }

    // The value range holds every point and both bounds, with a little room.
    double lo = data.points[0].value, hi = lo;
    for (const auto& point : data.points)
        lo = std::min(lo, point.value), hi = std::max(hi, point.value);
    for (const auto& bound : {data.low, data.high})
        if (bound)
            lo = std::min(lo, *bound), hi = std::max(hi, *bound);
    const double room = std::max((hi - lo) * 0.1, 0.5);
    const double step = NiceStep(hi - lo + 2 * room, kRows);
    lo = std::floor((lo - room) / step) * step;
    hi = std::ceil((hi + room) / step) * step;
    const auto y = [&](double v) {
        return bottom - static_cast<int>(std::lround((v - lo) / (hi - lo) * (bottom - top)));
    };
    for (double v = lo; v <= hi + step / 2; v += step) {
        const int row = y(v);
        p.HLine(left, right, row, 1, kGrid);
        const QString text = Number(v, step);
        const QSize extent = p.TextExtent(text);
        p.TextOut(left - 6 - extent.width(), row - extent.height() / 2, text);
    }
    p.TextOut(4, top - 18, data.unit);

    const qint64 first = data.points.front().time, last = data.points.back().time;
    const auto x = [&](qint64 t) {
        if (last == first)
            return (left + right) / 2;
        return left + 8 +
               static_cast<int>(static_cast<double>(t - first) / static_cast<double>(last - first) *
                                (right - left - 16));
    };
    // The first, middle and last days under the axis.
    for (const qint64 t : {first, first + (last - first) / 2, last}) {
        const QString text = Day(t);
        const QSize extent = p.TextExtent(text);
        const int at = std::clamp(x(t) - extent.width() / 2, 0, size.width() - extent.width());
        p.VLine(x(t), bottom, bottom + 4, 1, kGrid);
        p.TextOut(at, bottom + 8, text);
        if (last == first)
            break;
    }

    for (const auto& [bound, label] :
         {std::pair{data.low, data.lowLabel}, {data.high, data.highLabel}}) {
        if (!bound)
            continue;
        const int row = y(*bound);
        p.HLine(left, right, row, 2, kBound);
        p.SetTextColour(kBound);
        const QSize extent = p.TextExtent(label);
        p.TextOut(right - extent.width() - 4, row - extent.height() - 2, label);
        p.SetTextColour(kText);
    }

    std::vector<QPoint> line;
    for (const auto& point : data.points)
        line.emplace_back(x(point.time), y(point.value));
    if (line.size() > 1)
        p.Polyline(line.data(), static_cast<int>(line.size()), 2, kTrace);
    for (const QPoint& dot : line)
        p.FillRect(dot.x() - 2, dot.y() - 2, dot.x() + 3, dot.y() + 3, kTrace);
    return image;
}

} // namespace qm
