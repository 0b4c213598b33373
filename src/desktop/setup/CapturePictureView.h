#pragma once

#include <QImage>
#include <QWidget>

namespace qm {

// Shows a picture centred at the largest whole-number zoom that fits, pixels kept sharp; a
// picture larger than the view is scaled down to fit instead.
class CapturePictureView : public QWidget {
    Q_OBJECT
public:
    explicit CapturePictureView(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return m_picture; }
    // The whole-number zoom in use; 0 when nothing is shown or the picture is shrunk.
    int Zoom() const;
    // Where the picture is drawn, in the view's coordinates.
    QRect PictureRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

} // namespace qm
