#include "desktop/frame/CLevantoView.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "desktop/DesktopTexts.h"
#include "desktop/frame/CChartHolder.h"

namespace qm {

namespace {

// The chart's own background, so the view does not flash when a chart appears.
const QColor kEmptyView(50, 50, 50);
// The focus frame: drawn over the chart's edge while the keys move its marker.
const QColor kFocusFrame(90, 160, 255);

// The chart as assistive tools see it: a chart whose value is the marker's point.
class ChartAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ChartAccessible(CLevantoView* view) : QAccessibleWidget(view, QAccessible::Chart) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? View()->MarkerText() : QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override {
        return View()->MarkerPointCount() > 0 ? QVariant(View()->MarkerPosition() + 1) : QVariant();
    }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return View()->MarkerPointCount(); }
    QVariant minimumValue() const override { return 1; }
    QVariant minimumStepSize() const override { return 1; }

private:
    CLevantoView* View() const { return static_cast<CLevantoView*>(widget()); }
};

QAccessibleInterface* ChartAccessibleFactory(const QString&, QObject* object) {
    if (auto* view = qobject_cast<CLevantoView*>(object))
        return new ChartAccessible(view);
    return nullptr;
}

} // namespace

CLevantoView::CLevantoView(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(ChartAccessibleFactory);
        return true;
    }();
    (void)factoryInstalled;
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setMinimumSize(120, 100);
    // Tab and F6 reach the chart, and its keys move the marker.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(Text(txt::kAccessibleChart));
    setAccessibleDescription(Text(txt::kAccessibleChartHelp));
}

int CLevantoView::MarkerPointCount() const {
    const CInstrument* chart = m_holder ? m_holder->Current() : nullptr;
    return chart ? chart->MarkerPointCount() : 0;
}

int CLevantoView::MarkerPosition() const {
    const CInstrument* chart = m_holder ? m_holder->Current() : nullptr;
    return chart ? chart->MarkerPosition() : 0;
}

QString CLevantoView::MarkerText() const {
    const int count = MarkerPointCount();
    if (count <= 0)
        return Text(txt::kNoMarker);
    return Text(txt::kMarkerOf).arg(MarkerPosition() + 1).arg(count);
}

void CLevantoView::AnnounceMarker() {
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, MarkerPosition() + 1);
    QAccessible::updateAccessibility(&event);
}

void CLevantoView::keyPressEvent(QKeyEvent* event) {
    using Step = CInstrument::MarkerStep;
    std::optional<Step> step;
    switch (event->key()) {
    case Qt::Key_Left:
        step = Step::Previous;
        break;
    case Qt::Key_Right:
        step = Step::Next;
        break;
    case Qt::Key_Home:
        step = Step::First;
        break;
    case Qt::Key_End:
        step = Step::Last;
        break;
    default:
        break;
    }
    if (!step || !m_holder || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_holder->StepMarker(*step);
    // The frame with the marker at its new point at once, as after a drag.
    m_holder->DrawNow();
}

void CLevantoView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CLevantoView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
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
    auto* self = const_cast<CLevantoView*>(this);
    self->m_grabbing = true;
    const QImage picture = self->grab(visible).toImage();
    self->m_grabbing = false;
    return picture;
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
    if (hasFocus() && !m_grabbing) {
        // Only on the screen: the frame the chart picture is saved from stays the chart's own.
        painter.setPen(QPen(kFocusFrame, 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
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
