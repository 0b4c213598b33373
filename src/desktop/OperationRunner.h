#pragma once

#include <QEvent>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "operations/OperationOutcome.h"

class QThread;
class QWidget;

namespace qm {

class cnComm;

// Carries progress from a worker thread to the thread that owns the relay. The values wait in
// a queue under a lock of our own, so the hand-over is ordered for every checker; the posted
// event only wakes the owner, which then delivers whatever is queued, oldest first.
class ProgressRelay final : public QObject {
public:
    explicit ProgressRelay(std::function<void(int position, int range)> deliver)
        : m_deliver(std::move(deliver)) {}

    void Post(int position, int range); // any thread
    void Deliver();                     // the owning thread

protected:
    void customEvent(QEvent*) override { Deliver(); }

private:
    std::function<void(int, int)> m_deliver;
    std::mutex m_mutex;
    std::vector<std::pair<int, int>> m_pending;
};

// "Busy while the meter talks", once for every window: runs a job (a meter operation, an
// archive query) on a worker thread while the window's event loop goes on, disables the
// controls it was given, refuses closing the window and Escape meanwhile, relays the job's
// progress to this thread, and once the worker has ended puts the controls back as they were,
// hands the job's result to the continuation and emits Finished. Nothing waits in between:
// Start returns at once.
class OperationRunner final : public QObject {
    Q_OBJECT
public:
    // owner: the window kept open while a job runs (its close and Escape are refused).
    explicit OperationRunner(QWidget* owner);
    // Waits for a job still running (its continuation is not called).
    ~OperationRunner() override;

    // Disabled while a job runs; each gets back the state it had before.
    void SetControls(QList<QWidget*> controls) { m_controls = std::move(controls); }
    // Gets every progress report, in order, on this thread.
    void SetProgress(std::function<void(int position, int range)> onProgress) {
        m_onProgress = std::move(onProgress);
    }
    // Called for a close or Escape refused while a job runs (the capture gives up its wait).
    void SetRefusedClose(std::function<void()> onRefused) { m_onRefused = std::move(onRefused); }

    // Starts job on a worker; done gets its result on this thread. With a port, Cancel asks
    // this job to stop, and the stop is over once the job has ended. False, and nothing runs,
    // while another job of this runner is still running.
    template <class Result>
    bool Start(std::function<Result(const ProgressFn&)> job, std::function<void(Result)> done,
               cnComm* port = nullptr) {
        auto result = std::make_shared<std::optional<Result>>();
        return Launch([job = std::move(job),
                       result](const ProgressFn& progress) { result->emplace(job(progress)); },
                      [done = std::move(done), result] {
                          if (done)
                              done(std::move(**result));
                      },
                      port);
    }

    bool Busy() const { return m_worker != nullptr; }
    // Asks the running job's port to stop (the job then ends within one reply as cancelled).
    void Cancel();
    // Jobs of every runner that have not reached the end of their continuation yet.
    static int Running();

signals:
    void Progress(int position, int range);
    // After the continuation of a job.
    void Finished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Launch(std::function<void(const ProgressFn&)> work, std::function<void()> finish,
                cnComm* port);
    void WorkerEnded();

    QPointer<QWidget> m_owner;
    QList<QWidget*> m_controls;
    QList<QPair<QPointer<QWidget>, bool>> m_wereEnabled;
    std::function<void(int, int)> m_onProgress;
    std::function<void()> m_onRefused;
    std::function<void()> m_finish;
    std::unique_ptr<ProgressRelay> m_relay;
    QThread* m_worker = nullptr;
    cnComm* m_port = nullptr;
};

} // namespace qm
