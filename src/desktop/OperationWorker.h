#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "operations/OperationOutcome.h"

namespace qm {

// Carries progress from a worker thread to the thread that owns the relay. The values wait in
// a queue under a lock of our own, so the hand-over is ordered for every checker; the posted
// event only wakes the owner, which then delivers whatever is queued, oldest first.
class ProgressRelay final : public QObject {
public:
    explicit ProgressRelay(std::function<void(int position, int range)> deliver)
        : m_deliver(std::move(deliver)) {}

    void Post(int position, int range) { // any thread
        bool wake = false;
        {
            const std::lock_guard lock(m_mutex);
            wake = m_pending.empty();
            m_pending.emplace_back(position, range);
        }
        if (wake)
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }

    void Deliver() { // the owning thread
        std::vector<std::pair<int, int>> ready;
        {
            const std::lock_guard lock(m_mutex);
            ready.swap(m_pending);
        }
        if (m_deliver)
            for (const auto& [position, range] : ready)
                m_deliver(position, range);
    }

protected:
    void customEvent(QEvent*) override { Deliver(); }

private:
    std::function<void(int, int)> m_deliver;
    std::mutex m_mutex;
    std::vector<std::pair<int, int>> m_pending;
};

// Runs a meter operation on a worker thread while the calling (user-interface) thread keeps
// handling events, so windows go on painting during a transfer. Progress reaches onProgress
// on the user-interface thread; the call returns once the worker has ended, with every
// progress call delivered. The caller disables whatever must not be used meanwhile. User
// input waits until the end unless the caller lets it through (a Cancel button that must work
// during the job).
template <class Result>
Result RunInWorker(std::function<Result(const ProgressFn&)> job,
                   std::function<void(int position, int range)> onProgress = {},
                   QEventLoop::ProcessEventsFlags events = QEventLoop::ExcludeUserInputEvents) {
    ProgressRelay relay(std::move(onProgress)); // lives on this thread
    std::optional<Result> result;
    const ProgressFn progress = [&relay](int position, int range) { relay.Post(position, range); };
    QEventLoop loop;
    std::atomic<bool> ended{false};
    QThread* worker = QThread::create([&] {
        result.emplace(job(progress));
        ended.store(true, std::memory_order_release);
    });
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(events);
    worker->wait();
    delete worker;
    // Pairs with the worker's store, so the result is seen whole whatever wait() uses inside.
    [[maybe_unused]] const bool whole = ended.load(std::memory_order_acquire);
    relay.Deliver();
    return std::move(*result);
}

} // namespace qm
