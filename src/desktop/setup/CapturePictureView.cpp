#include "desktop/setup/CapturePictureView.h"

#include <QPainter>
#include <algorithm>

namespace qm {

CapturePictureView::CapturePictureView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(320, 240);
}

void CapturePictureView::SetPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

int CapturePictureView::Zoom() const {
    if (m_picture.isNull())
        return 0;
    return std::min(width() / m_picture.width(), height() / m_picture.height());
}

QRect CapturePictureView::PictureRect() const {
    if (m_picture.isNull())
        return {};
    QSize size = m_picture.size();
    if (const int zoom = Zoom(); zoom > 0)
        size *= zoom;
    else
        size = size.scaled(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

QSize CapturePictureView::sizeHint() const {
    return {640, 480}; // the meter's screen twice over
}

void CapturePictureView::paintEvent(QPaintEvent*) {
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    // Nearest neighbour at whole zooms keeps the meter's pixels sharp.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, Zoom() == 0);
    painter.drawImage(PictureRect(), m_picture);
}

} // namespace qm
