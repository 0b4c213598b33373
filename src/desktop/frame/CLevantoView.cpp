#include "desktop/frame/CLevantoView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "desktop/frame/CChartHolder.h"

namespace qm {

namespace {

// The chart's own background, so the view does not flash when a chart appears.
const QColor kEmptyView(50, 50, 50);

} // namespace

CLevantoView::CLevantoView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setMinimumSize(120, 100);
}

CLevantoView::~CLevantoView() = default;

PlotRect CLevantoView::ClientRect() const {
    return {0, 0, width(), height()};
}

void CLevantoView::SendSizeNotification() {
    if (m_holder)
        m_holder->Resize(ClientRect());
}

void CLevantoView::ClearFrame() {
    {
        std::lock_guard lock(m_mutex);
        m_pending = QImage();
        m_hasPending = false;
    }
    m_frame = QImage();
    m_newFrame = false;
    update();
}

bool CLevantoView::HasFrame() const {
    std::lock_guard lock(m_mutex);
    return !m_frame.isNull() || m_hasPending;
}

void CLevantoView::PresentFrame(const QImage& frame, const PlotRect& area) {
    {
        std::lock_guard lock(m_mutex);
        m_pending = frame;
        m_pendingArea = QRect(area.left, area.top, area.Width(), area.Height());
        m_hasPending = true;
    }
    // One queued repaint at a time, however fast frames come.
    if (!m_repaintQueued.exchange(true))
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_repaintQueued = false;
                TakeFrame();
            },
            Qt::QueuedConnection);
}

void CLevantoView::TakeFrame() {
    std::lock_guard lock(m_mutex);
    if (!m_hasPending)
        return;
    m_frame = std::move(m_pending);
    m_pending = QImage();
    m_area = m_pendingArea;
    m_hasPending = false;
    m_newFrame = true;
    update();
}

QImage CLevantoView::VisibleChartPicture() const {
    // With no chart the view is an empty grey area: no picture of it.
    if (!isVisible() || !HasFrame())
        return {};
    // A frame presented but not painted yet is the one to save.
    const_cast<CLevantoView*>(this)->TakeFrame();
    QRect visible = visibleRegion().boundingRect();
    if (const QScreen* shown = screen()) {
        const QRect screenArea = shown->geometry();
        visible &= QRect(mapFromGlobal(screenArea.topLeft()), screenArea.size());
    }
    if (visible.isEmpty())
        return {};
    return const_cast<CLevantoView*>(this)->grab(visible).toImage();
}

void CLevantoView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_frame.isNull()) {
        painter.fillRect(rect(), kEmptyView);
        return;
    }
    const QRect source = m_area & m_frame.rect();
    painter.fillRect(rect(), kEmptyView);
    painter.drawImage(source.topLeft(), m_frame, source);
    if (m_newFrame) {
        m_newFrame = false;
        ++m_framesPainted;
        emit FrameShown();
    }
}

void CLevantoView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SendSizeNotification();
}

void CLevantoView::mousePressEvent(QMouseEvent* event) {
    // A click puts the marker where it points, as a drag that has not moved yet.
    if (m_holder && event->button() == Qt::LeftButton && event->buttons() == Qt::LeftButton &&
        event->modifiers() == Qt::NoModifier) {
        const QPoint at = event->position().toPoint();
        m_holder->OnDrag(at.x(), at.y());
    }
    QWidget::mousePressEvent(event);
}

void CLevantoView::mouseMoveEvent(QMouseEvent* event) {
    // Only a drag with the left button alone, no other button or key held.
    if (m_holder && event->buttons() == Qt::LeftButton && event->modifiers() == Qt::NoModifier) {
        const QPoint at = event->position().toPoint();
        m_holder->OnDrag(at.x(), at.y());
    }
    QWidget::mouseMoveEvent(event);
}

} // namespace qm
