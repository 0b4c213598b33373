#include "report/ReportPageFrame.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

namespace qm {

namespace {

QFont ReportFont(double points, bool bold = false) {
    QFont font;
    font.setFamilies({"DejaVu Sans", "WenQuanYi Micro Hei"});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// One line, cut short with an ellipsis when it does not fit.
void Text(QPainter& painter, const QFont& font, const QRectF& box, int flags, const QString& text) {
    painter.setFont(font);
    const QString shown =
        QFontMetricsF(font, painter.device()).elidedText(text, Qt::ElideRight, box.width());
    painter.drawText(box, flags | Qt::TextSingleLine, shown);
}

} // namespace

ReportPageFrame::ReportPageFrame(QPaintDevice& device, QImage logo, Texts texts)
    : m_device(device), m_logo(std::move(logo)), m_texts(std::move(texts)) {}

double ReportPageFrame::Mm(double mm) const {
    return mm * m_device.logicalDpiX() / 25.4;
}

QRectF ReportPageFrame::Body() const {
    return QRectF(0, Mm(kHeaderMm), m_device.width(),
                  m_device.height() - Mm(kHeaderMm) - Mm(kFooterMm));
}

QRectF ReportPageFrame::Line(const QString& text) const {
    return QFontMetricsF(ReportFont(8), &m_device).boundingRect(text);
}

void ReportPageFrame::Draw(QPainter& painter, int page, int pages) const {
    const double width = m_device.width();
    const double header = Mm(kHeaderMm) - Mm(3);
    const QString company = QString::fromStdString(m_texts.company);
    const QString site = QString::fromStdString(m_texts.site);
    painter.save();
    painter.setPen(QColor(40, 40, 40));
    double left = 0;
    if (!m_logo.isNull()) {
        const QSizeF box(Mm(kLogoWidthMm), Mm(kLogoHeightMm));
        const QSizeF fitted = QSizeF(m_logo.size()).scaled(box, Qt::KeepAspectRatio);
        const QRectF at(0, (header - fitted.height()) / 2, fitted.width(), fitted.height());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(at, m_logo);
        left = fitted.width() + Mm(4);
    }
    const QString title = QString::fromStdString(m_texts.title);
    const QString date = QString::fromStdString(m_texts.date);
    // Without a company or site the title stands on the left, the date alone on the right.
    const bool named = !company.isEmpty() || !site.isEmpty();
    const double rightText = std::max(named ? Line(title).width() : 0, Line(date).width());
    // A long title takes at most two fifths of the line, and is cut short beyond.
    const double rightWidth = std::min(width * 0.4, rightText + Mm(1));
    const double room = std::max(0.0, width - left - rightWidth - Mm(6));
    const double right = width - rightWidth;
    const double half = header / 2;
    if (named) {
        Text(painter, ReportFont(10, true), QRectF(left, 0, room, half),
             Qt::AlignLeft | Qt::AlignBottom, company);
        Text(painter, ReportFont(8), QRectF(left, half, room, half), Qt::AlignLeft | Qt::AlignTop,
             site);
        Text(painter, ReportFont(8), QRectF(right, 0, rightWidth, half),
             Qt::AlignRight | Qt::AlignBottom, title);
        Text(painter, ReportFont(8), QRectF(right, half, rightWidth, half),
             Qt::AlignRight | Qt::AlignTop, date);
    } else {
        Text(painter, ReportFont(10, true), QRectF(left, 0, room, header),
             Qt::AlignLeft | Qt::AlignVCenter, title);
        Text(painter, ReportFont(8), QRectF(right, 0, rightWidth, header),
             Qt::AlignRight | Qt::AlignVCenter, date);
    }
    painter.setPen(QPen(QColor(120, 130, 150), Mm(0.25)));
    painter.drawLine(QPointF(0, header + Mm(1)), QPointF(width, header + Mm(1)));

    const double footer = m_device.height() - Mm(kFooterMm) + Mm(3);
    painter.drawLine(QPointF(0, footer), QPointF(width, footer));
    painter.setPen(QColor(40, 40, 40));
    const QString number = QString::fromStdString(m_texts.pageNumber).arg(page).arg(pages);
    const double numberWidth = Line(number).width();
    const QRectF line(0, footer + Mm(1), width, m_device.height() - footer - Mm(1));
    Text(painter, ReportFont(8), line, Qt::AlignRight | Qt::AlignTop, number);
    Text(painter, ReportFont(8), QRectF(0, line.y(), width - numberWidth - Mm(6), line.height()),
         Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(m_texts.project));
    painter.restore();
}

} // namespace qm
