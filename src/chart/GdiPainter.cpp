#include "chart/GdiPainter.h"

#include <algorithm>

namespace qm {

namespace {
constexpr int kWideFill = 64;
} // namespace

QColor ToQColor(COLORREF colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

GdiPainter::GdiPainter(QImage& image)
    : m_image(image),
      m_bits(image.format() == QImage::Format_RGB32 ? reinterpret_cast<quint32*>(image.bits())
                                                    : nullptr),
      m_stride(image.bytesPerLine() / 4), m_painter(&image) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, false);
    m_metrics.emplace(m_painter.font());
}

void GdiPainter::FillRect(int left, int top, int right, int bottom, COLORREF colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_image.width());
    bottom = std::min(bottom, m_image.height());
    if (right <= left || bottom <= top)
        return;
    // Wide areas go to the paint engine's vectorised fill, narrow ones are written here.
    if (!m_bits || right - left >= kWideFill) {
        m_painter.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(colour));
        return;
    }
    const quint32 pixel = 0xFF000000u | (static_cast<quint32>(RedOf(colour)) << 16) |
                          (static_cast<quint32>(GreenOf(colour)) << 8) |
                          static_cast<quint32>(BlueOf(colour));
    const auto width = static_cast<std::size_t>(right - left);
    for (int y = top; y < bottom; ++y)
        std::fill_n(m_bits + y * m_stride + left, width, pixel);
}

void GdiPainter::Rectangle(int x0, int y0, int x1, int y1, COLORREF fill) {
    const int left = std::min(x0, x1), right = std::max(x0, x1);
    const int top = std::min(y0, y1), bottom = std::max(y0, y1);
    if (right <= left || bottom <= top)
        return;
    // Outline and inside painted apart, so every pixel is written once.
    FillRect(left, top, right, top + 1, 0x000000);
    if (bottom - top > 1)
        FillRect(left, bottom - 1, right, bottom, 0x000000);
    FillRect(left, top + 1, left + 1, bottom - 1, 0x000000);
    if (right - left > 1)
        FillRect(right - 1, top + 1, right, bottom - 1, 0x000000);
    FillRect(left + 1, top + 1, right - 1, bottom - 1, fill);
}

void GdiPainter::FrameRect(int left, int top, int right, int bottom, int penWidth,
                           COLORREF colour) {
    // The outline runs through the last included column and row, like the lines below.
    HLine(left, right, top, penWidth, colour);
    HLine(left, right, bottom - 1, penWidth, colour);
    VLine(left, top, bottom, penWidth, colour);
    VLine(right - 1, top, bottom, penWidth, colour);
}

void GdiPainter::HLine(int x0, int x1, int y, int penWidth, COLORREF colour) {
    const int w = std::max(1, penWidth);
    const int top = y - w / 2;
    // Drawn leftward, the line covers its end point but not its start.
    if (x1 < x0) {
        std::swap(x0, x1);
        ++x0;
        ++x1;
    }
    FillRect(x0, top, x1, top + w, colour);
}

void GdiPainter::VLine(int x, int y0, int y1, int penWidth, COLORREF colour) {
    const int w = std::max(1, penWidth);
    const int left = x - w / 2;
    if (y1 < y0) {
        std::swap(y0, y1);
        ++y0;
        ++y1;
    }
    FillRect(left, y0, left + w, y1, colour);
}

QPen GdiPainter::MakePen(int penWidth, COLORREF colour) const {
    QPen pen(ToQColor(colour));
    pen.setWidth(penWidth <= 1 ? 0 : penWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void GdiPainter::Line(int x0, int y0, int x1, int y1, int penWidth, COLORREF colour) {
    if (y0 == y1 && penWidth <= 1) {
        HLine(x0, x1, y0, 1, colour);
        return;
    }
    m_painter.setPen(MakePen(penWidth, colour));
    m_painter.drawLine(x0, y0, x1, y1);
}

void GdiPainter::Polyline(const QPoint* points, int count, int penWidth, COLORREF colour) {
    if (count < 2)
        return;
    m_painter.setPen(MakePen(penWidth, colour));
    m_painter.drawPolyline(points, count);
}

void GdiPainter::SetFont(const QFont& font) {
    m_painter.setFont(font);
    m_metrics.emplace(m_painter.font());
}

QSize GdiPainter::TextExtent(const QString& text) const {
    return {m_metrics->horizontalAdvance(text), m_metrics->height()};
}

void GdiPainter::TextOut(int x, int y, const QString& text) {
    if (text.isEmpty())
        return;
    m_painter.setPen(ToQColor(m_textColour));
    m_painter.drawText(x, y + m_metrics->ascent(), text);
}

} // namespace qm
