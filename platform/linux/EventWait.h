#pragma once
// Waiting while the program's events are still handled: a pause or a sound in
// the middle of a jump must not hold up the input that ends the program.

#include <QEventLoop>
#include <QMetaObject>
#include <chrono>
#include <future>

namespace platform {

/** Handles events until duration has passed. A timer whose handler is running
 *  (the caller's) does not fire again meanwhile. */
void handleEventsFor(std::chrono::milliseconds duration);

/** Runs work on a thread of its own, handles events until it is done, and
 *  returns its result. work must not touch the toolkit. */
template <typename Work>
auto handleEventsDuring(Work work) -> decltype(work())
{
    QEventLoop loop;
    auto result = std::async(std::launch::async, [&loop, &work] {
        struct QuitLoop {
            QEventLoop& loop;
            // Queued: delivered inside exec() even when the work ends before it starts.
            ~QuitLoop() { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); }
        } quit{loop};
        return work();
    });
    loop.exec();
    return result.get();
}

} // namespace platform
