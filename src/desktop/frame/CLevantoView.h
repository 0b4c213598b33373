#pragma once

#include <QImage>
#include <QWidget>
#include <atomic>
#include <mutex>
#include <optional>

#include "chart/IFrameSink.h"
#include "desktop/CLevantoApp.h"

namespace qm {

class CChartHolder;

// The chart view: the active chart controller's frames land here. It shows the last frame
// presented, tells the controller its client rectangle and hands it left-button drags.
class CLevantoView : public QWidget, public IFrameSink, public IChartPicture {
    Q_OBJECT
public:
    explicit CLevantoView(QWidget* parent = nullptr);
    ~CLevantoView() override;

    void SetHolder(CChartHolder* holder) { m_holder = holder; }

    // The view's client rectangle: the chart draws on all of it.
    PlotRect ClientRect() const;
    // The size notification: the current controller gets the view's rectangle.
    void SendSizeNotification();
    // Forgets the frame shown (a new controller is about to draw, or none will).
    void ClearFrame();
    bool HasFrame() const;
    // Frames painted since the view was made.
    int FramesPainted() const { return m_framesPainted; }

    // IFrameSink (render thread).
    void PresentFrame(const QImage& frame, const PlotRect& area) override;

    // What a screen reader says of the marker ("Marker 3 of 40"), and telling it that it moved.
    QString MarkerText() const;
    int MarkerPosition() const;
    int MarkerPointCount() const;
    void AnnounceMarker();

    // IChartPicture: the frame as shown, clipped to the part of the view on the screen.
    QImage VisibleChartPicture() const override;

signals:
    // A newly presented frame reached the screen.
    void FrameShown();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Left, Right, Home and End move the marker as a drag onto that point would.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void TakeFrame();

    CChartHolder* m_holder = nullptr;

    // Shared with the render thread.
    mutable std::mutex m_mutex;
    QImage m_pending;
    QRect m_pendingArea;
    bool m_hasPending = false;
    std::atomic<bool> m_repaintQueued{false};

    // User-interface thread only.
    QImage m_frame;
    QRect m_area;
    bool m_newFrame = false;
    int m_framesPainted = 0;
    bool m_grabbing = false;
};

} // namespace qm
