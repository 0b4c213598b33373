#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QThread>
#include <functional>
#include <optional>
#include <utility>

#include "base/MeterOperation.h"

namespace qm {

// Runs a meter operation on a worker thread while the calling (user-interface) thread keeps
// handling events, so windows go on painting during a transfer. Progress reaches onProgress
// on the user-interface thread through queued calls; the call returns once the worker has
// ended, with every progress call delivered. The caller disables whatever must not be used
// meanwhile. User input waits until the end unless the caller lets it through (a Cancel button
// that must work during the job).
template <class Result>
Result RunInWorker(std::function<Result(const ProgressFn&)> job,
                   std::function<void(int position, int range)> onProgress = {},
                   QEventLoop::ProcessEventsFlags events = QEventLoop::ExcludeUserInputEvents) {
    QObject receiver; // lives on this thread: progress calls queue up for it
    std::optional<Result> result;
    const ProgressFn progress = [&receiver, onProgress](int position, int range) {
        if (onProgress)
            QMetaObject::invokeMethod(
                &receiver, [onProgress, position, range] { onProgress(position, range); },
                Qt::QueuedConnection);
    };
    QEventLoop loop;
    QThread* worker = QThread::create([&] { result.emplace(job(progress)); });
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(events);
    worker->wait();
    delete worker;
    QCoreApplication::sendPostedEvents(&receiver);
    return std::move(*result);
}

} // namespace qm
