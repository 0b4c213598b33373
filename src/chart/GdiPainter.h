#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

#include "chart/ChartTypes.h"

namespace qm {

// Drawing with the pixel rules the charts were laid out for: rectangles with a one-pixel black
// outline that exclude their right and bottom edges, lines that stop one pixel short of their
// end, texts placed by the top-left corner of their cell, no smoothing.
class GdiPainter {
public:
    explicit GdiPainter(QImage& image);

    // Fills [left, right) x [top, bottom).
    void FillRect(int left, int top, int right, int bottom, COLORREF colour);
    // Solid rectangle with the default black pen; corners in any order.
    void Rectangle(int x0, int y0, int x1, int y1, COLORREF fill);
    // Hollow rectangle outline drawn with a pen of the given width.
    void FrameRect(int left, int top, int right, int bottom, int penWidth, COLORREF colour);
    // Axis-parallel lines from the start up to, not including, the end.
    void HLine(int x0, int x1, int y, int penWidth, COLORREF colour);
    void VLine(int x, int y0, int y1, int penWidth, COLORREF colour);
    void Line(int x0, int y0, int x1, int y1, int penWidth, COLORREF colour);
    void Polyline(const QPoint* points, int count, int penWidth, COLORREF colour);

    void SetFont(const QFont& font);
    QSize TextExtent(const QString& text) const;
    void SetTextColour(COLORREF colour) { m_textColour = colour; }
    // Transparent background, top-left corner of the text cell at (x, y).
    void TextOut(int x, int y, const QString& text);

private:
    QPen MakePen(int penWidth, COLORREF colour) const;

    // Axis-parallel fills write the pixels directly: the charts consist mostly of narrow bars,
    // where a per-row call into the paint engine would cost more than the pixels themselves.
    QImage& m_image;
    quint32* m_bits = nullptr;
    qsizetype m_stride = 0; // pixels per row
    QPainter m_painter;
    std::optional<QFontMetrics> m_metrics;
    COLORREF m_textColour = 0;
};

// Colour of a COLORREF for Qt.
QColor ToQColor(COLORREF colour);

} // namespace qm
