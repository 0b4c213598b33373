#pragma once

#include <QSizeF>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class QPaintDevice;
class QPainter;
class QRectF;
class QTextDocument;
class QThread;

namespace qm {

// Lays out the parts of a report (HTML documents) in pages of one size, measured as on the
// PDF they will be drawn on, on as many threads as the machine has cores (four at most).
// A laid-out text keeps the fonts of the thread that measured it, and a thread's fonts end
// with it: the threads wait, idle, until the pool goes, which must be after the documents.
class ReportLayoutPool {
public:
    ReportLayoutPool(const std::vector<std::string>& html, const QPaintDevice& pdf,
                     const QSizeF& page);
    ~ReportLayoutPool();
    ReportLayoutPool(const ReportLayoutPool&) = delete;
    ReportLayoutPool& operator=(const ReportLayoutPool&) = delete;

    // Every part laid out, asking next() before each is begun; none when next() said stop.
    // The documents are owned by the calling thread.
    std::vector<std::unique_ptr<QTextDocument>> Run(const std::function<bool()>& next);

private:
    void Work();

    const std::vector<std::string>& m_html;
    std::unique_ptr<QPaintDevice> m_metrics;
    const QSizeF m_page;
    std::vector<std::unique_ptr<QTextDocument>> m_docs;
    QThread* const m_owner;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_allowed = 0; // parts let go to the threads
    std::size_t m_next = 0;    // the next part a thread takes
    std::size_t m_done = 0;    // parts laid out
    bool m_stop = false;
    std::vector<std::unique_ptr<QThread>> m_threads; // last: they start once all else is there
};

// Draws page (0-based) of a laid-out part into body.
void DrawReportPage(QPainter& painter, QTextDocument& doc, const QRectF& body, int page);

} // namespace qm
