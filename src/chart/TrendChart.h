#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

namespace qm {

// One channel's values over time, drawn in the charts' look: the values as a line with a dot
// per measurement, placed by date, and the limit profile's bounds as red lines.
struct TrendChartData {
    struct Point {
        qint64 time = 0; // seconds since 1970 (UTC)
        double value = 0;
    };
    QString title;
    QString unit; // beside the value scale ("dB")
    std::vector<Point> points;
    std::optional<double> low, high;
    QString lowLabel, highLabel; // texts on the bound lines ("min 60.0")
    QString emptyText;           // shown when there are no points
};

// The picture of the trend at size (a null image for an empty size).
QImage DrawTrendChart(const TrendChartData& data, QSize size);

} // namespace qm
