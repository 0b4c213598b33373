#include "ChartTestSupport.h"

#include <QGuiApplication>
#include <gtest/gtest.h>
#include <memory>

namespace qm::test {

namespace {

// Fonts need the GUI layer; the tests draw off screen only.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_chart";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QGuiApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const kGui =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace

void CaptureSink::PresentFrame(const QImage& frame, const PlotRect& area) {
    {
        std::lock_guard lock(m_mutex);
        ++m_count;
        m_last = frame;
        m_area = area;
    }
    m_arrived.notify_all();
}

int CaptureSink::Count() const {
    std::lock_guard lock(m_mutex);
    return m_count;
}

QImage CaptureSink::Last() const {
    std::lock_guard lock(m_mutex);
    return m_last;
}

PlotRect CaptureSink::LastArea() const {
    std::lock_guard lock(m_mutex);
    return m_area;
}

bool CaptureSink::WaitForFrames(int count) const {
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, std::chrono::seconds(10), [&] { return m_count >= count; });
}

COLORREF Pixel(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return MakeColorref(qRed(p), qGreen(p), qBlue(p));
}

std::vector<int> ColumnsOf(const QImage& image, int y, COLORREF colour) {
    std::vector<int> xs;
    for (int x = 0; x < image.width(); ++x)
        if (Pixel(image, x, y) == colour)
            xs.push_back(x);
    return xs;
}

std::vector<int> RowsOf(const QImage& image, int x, COLORREF colour) {
    std::vector<int> ys;
    for (int y = 0; y < image.height(); ++y)
        if (Pixel(image, x, y) == colour)
            ys.push_back(y);
    return ys;
}

QRect BoundsOf(const QImage& image, COLORREF colour, QRect within) {
    QRect box;
    within = within.intersected(image.rect());
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (Pixel(image, x, y) == colour)
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

ChannelBar Analogue(double vision, double audio) {
    ChannelBar b;
    b.primary = vision;
    b.secondary = audio;
    b.a1 = b.a2 = true;
    return b;
}

ChannelBar Digital(double power) {
    ChannelBar b;
    b.primary = power;
    b.b = true;
    return b;
}

ChannelBar ClassC(double level) {
    ChannelBar b;
    b.primary = level;
    b.c = true;
    return b;
}

ElementBuilder::ElementBuilder(int kind) {
    e.kind = static_cast<std::uint8_t>(kind);
    std::memcpy(e.file.data(), "CHART01", 7);
}

void ElementBuilder::Entry(int i, int type, int flags) {
    const std::size_t off = 32 + static_cast<std::size_t>(i * EntrySize(e.kind));
    const bool compact = e.kind == 0;
    Put8(off + (compact ? 11 : 10), 20 + i);
    Put8(off + (compact ? 12 : 11), flags);
    Put8(off + (compact ? 10 : 12), type);
    if (e.file[27] < i + 1)
        Put8(27, i + 1);
}

} // namespace qm::test

#include <QFontMetrics>
#include <QPainter>

namespace qm::test {

bool TextAt(const QImage& image, const QString& text, int x, int y, const QFont& font,
            COLORREF colour) {
    const QFontMetrics fm(font);
    const QRect cell(x, y, fm.horizontalAdvance(text), fm.height());
    QImage reference(image.size(), QImage::Format_RGB32);
    reference.fill(Qt::black);
    {
        QPainter p(&reference);
        p.setFont(font);
        p.setPen(QColor(Qt::white));
        p.drawText(x, y + fm.ascent(), text);
    }
    const QRect area = cell.intersected(image.rect());
    bool anyInk = false;
    for (int yy = area.top(); yy <= area.bottom(); ++yy) {
        for (int xx = area.left(); xx <= area.right(); ++xx) {
            const bool ink = reference.pixel(xx, yy) == qRgb(255, 255, 255);
            anyInk = anyInk || ink;
            if (ink != (Pixel(image, xx, yy) == colour))
                return false;
        }
    }
    return anyInk;
}

} // namespace qm::test
