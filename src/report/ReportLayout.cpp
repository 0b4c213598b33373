#include "report/ReportLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QTextDocument>
#include <QThread>
#include <algorithm>
#include <climits>
#include <thread>

namespace qm {

namespace {

// The measures of a PDF page, taken once, so that parts can be laid out on other threads
// than the one that draws them.
class PageMetrics : public QPaintDevice {
public:
    explicit PageMetrics(const QPaintDevice& pdf)
        : m_width(pdf.width()), m_height(pdf.height()), m_widthMm(pdf.widthMM()),
          m_heightMm(pdf.heightMM()), m_dpiX(pdf.logicalDpiX()), m_dpiY(pdf.logicalDpiY()),
          m_depth(pdf.depth()) {}
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return m_width;
        case PdmHeight:
            return m_height;
        case PdmWidthMM:
            return m_widthMm;
        case PdmHeightMM:
            return m_heightMm;
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return m_dpiX;
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return m_dpiY;
        case PdmDepth:
            return m_depth;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    int m_width, m_height, m_widthMm, m_heightMm, m_dpiX, m_dpiY, m_depth;
};

// A part of the report laid out in pages of the page frame's body, measured on the device
// it will be drawn on.
std::unique_ptr<QTextDocument> LaidOut(const std::string& html, const QPaintDevice& device,
                                       const QSizeF& page) {
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(const_cast<QPaintDevice*>(&device));
    // Words are never cut: a heading wraps at its spaces, slashes and hyphens only.
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap);
    doc->setDefaultTextOption(option);
    doc->setPageSize(page);
    doc->setHtml(QString::fromStdString(html));
    doc->pageCount(); // the layout, done now rather than when drawing
    return doc;
}

} // namespace

ReportLayoutPool::ReportLayoutPool(const std::vector<std::string>& html, const QPaintDevice& pdf,
                                   const QSizeF& page)
    : m_html(html), m_metrics(std::make_unique<PageMetrics>(pdf)), m_page(page),
      m_docs(html.size()), m_owner(QThread::currentThread()) {
    const std::size_t threads =
        std::min<std::size_t>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u), html.size());
    // Threads of Qt's own: the font cache of each keeps a timer.
    for (std::size_t i = 0; i < threads; ++i) {
        m_threads.emplace_back(QThread::create([this] { Work(); }));
        m_threads.back()->start();
    }
}

ReportLayoutPool::~ReportLayoutPool() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    for (const auto& t : m_threads)
        t->wait();
}

std::vector<std::unique_ptr<QTextDocument>>
ReportLayoutPool::Run(const std::function<bool()>& next) {
    bool going = true;
    for (std::size_t part = 0; part < m_html.size() && going; ++part) {
        {
            // A part is let go when a thread is free for it, so that progress follows
            // the work.
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_allowed - m_done < m_threads.size(); });
        }
        going = next();
        if (going) {
            const std::lock_guard lock(m_mutex);
            ++m_allowed;
        }
        m_changed.notify_all();
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_done == m_allowed; });
    if (!going)
        m_docs.clear();
    return std::move(m_docs);
}

void ReportLayoutPool::Work() {
    for (;;) {
        std::size_t part = 0;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stop || m_next < m_allowed; });
            if (m_stop)
                return;
            part = m_next++;
        }
        auto doc = LaidOut(m_html[part], *m_metrics, m_page);
        // The layout's own zero timer fires here, so that none goes along to a thread
        // that may never run it.
        QCoreApplication::processEvents();
        doc->moveToThread(m_owner);
        {
            const std::lock_guard lock(m_mutex);
            m_docs[part] = std::move(doc);
            ++m_done;
        }
        m_changed.notify_all();
    }
}

void DrawReportPage(QPainter& painter, QTextDocument& doc, const QRectF& body, int page) {
    painter.save();
    painter.translate(body.topLeft());
    painter.setClipRect(QRectF(0, 0, body.width(), body.height()));
    painter.translate(0, -page * body.height());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, page * body.height(), body.width(), body.height());
    context.palette.setColor(QPalette::Text, Qt::black);
    doc.documentLayout()->draw(&painter, context);
    painter.restore();
}

} // namespace qm
