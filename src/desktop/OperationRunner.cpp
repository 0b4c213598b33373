#include "desktop/OperationRunner.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QThread>
#include <QWidget>

#include "link/cnComm.h"

namespace qm {

namespace {
int g_running = 0; // the user-interface thread's only
} // namespace

void ProgressRelay::Post(int position, int range) {
    bool wake = false;
    {
        const std::lock_guard lock(m_mutex);
        wake = m_pending.empty();
        m_pending.emplace_back(position, range);
    }
    if (wake)
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
}

void ProgressRelay::Deliver() {
    std::vector<std::pair<int, int>> ready;
    {
        const std::lock_guard lock(m_mutex);
        ready.swap(m_pending);
    }
    if (m_deliver)
        for (const auto& [position, range] : ready)
            m_deliver(position, range);
}

OperationRunner::OperationRunner(QWidget* owner)
    : QObject(owner), m_owner(owner), m_relay(std::make_unique<ProgressRelay>([this](int p, int r) {
          if (m_onProgress)
              m_onProgress(p, r);
          emit Progress(p, r);
      })) {
    if (owner)
        owner->installEventFilter(this);
}

OperationRunner::~OperationRunner() {
    if (!m_worker)
        return;
    m_worker->wait();
    delete m_worker;
    --g_running;
}

int OperationRunner::Running() {
    return g_running;
}

bool OperationRunner::Launch(std::function<void(const ProgressFn&)> work,
                             std::function<void()> finish, cnComm* port) {
    if (m_worker)
        return false;
    ++g_running;
    m_finish = std::move(finish);
    m_port = port;
    if (m_port)
        m_port->ClearStop();
    m_wereEnabled.clear();
    for (QWidget* control : m_controls) {
        m_wereEnabled.append({control, control->isEnabled()});
        control->setEnabled(false);
    }
    ProgressRelay* relay = m_relay.get();
    m_worker = QThread::create([work = std::move(work), relay] {
        work([relay](int position, int range) { relay->Post(position, range); });
    });
    // Queued to this thread: the worker's last write happens before the signal is posted.
    connect(m_worker, &QThread::finished, this, &OperationRunner::WorkerEnded,
            Qt::QueuedConnection);
    m_worker->start();
    return true;
}

void OperationRunner::WorkerEnded() {
    if (!m_worker)
        return;
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
    // The stop was this job's: the meter is released at the end of the program as always.
    if (m_port)
        m_port->ClearStop();
    m_port = nullptr;
    m_relay->Deliver(); // whatever progress is still queued comes before the result
    for (const auto& [control, enabled] : m_wereEnabled)
        if (control)
            control->setEnabled(enabled);
    m_wereEnabled.clear();
    // The continuation may start the next job of this runner.
    const std::function<void()> finish = std::move(m_finish);
    m_finish = nullptr;
    finish();
    --g_running;
    emit Finished();
}

void OperationRunner::Cancel() {
    if (m_port)
        m_port->RequestStop();
}

bool OperationRunner::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_owner || !m_worker)
        return QObject::eventFilter(watched, event);
    const bool refused =
        event->type() == QEvent::Close || (event->type() == QEvent::KeyPress &&
                                           static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape);
    if (!refused)
        return QObject::eventFilter(watched, event);
    event->ignore();
    if (m_onRefused)
        m_onRefused();
    return true;
}

} // namespace qm
