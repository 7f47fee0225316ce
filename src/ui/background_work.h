// The desktop program's one way to run work beside the event loop: on one pool of worker
// threads that the program waits for before it ends, so that no work outlives the objects it
// uses. Results come back as QFutures: awaited behind the wait box, or handed over on the GUI
// thread through a QFutureWatcher.
#pragma once

#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <utility>

namespace drovik::ui {

QThreadPool& backgroundPool();

// Starts `work` on the pool at once; the future holds its result.
template <class Work>
auto startInBackground(Work work) {
  return QtConcurrent::run(&backgroundPool(), std::move(work));
}

// Waits until every work started in the background has ended and its thread is gone. The
// program calls it before it ends; the windows have cancelled their own work by then.
void waitForBackgroundWork();

}  // namespace drovik::ui
