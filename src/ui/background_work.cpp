#include "ui/background_work.h"

namespace drovik::ui {

namespace {

// A listing held up by a silent print server must not keep a wait for the folder lock from
// starting: work never queues behind a full set of threads.
constexpr int kMaxWorkers = 64;

struct BackgroundPool : QThreadPool {
  BackgroundPool() { setMaxThreadCount(kMaxWorkers); }
};

}  // namespace

QThreadPool& backgroundPool() {
  // Made on first use, which may come before the QApplication (the first read of the list).
  static BackgroundPool pool;
  return pool;
}

void waitForBackgroundWork() { backgroundPool().waitForDone(); }

}  // namespace drovik::ui
