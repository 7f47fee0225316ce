// CDlgProc: the box "プリンタに接続しています" that stands while a transfer runs on its worker
// thread. It has no caption and no buttons, the operator cannot close it early, and the
// windows beneath keep painting; it closes itself once the transfer has ended.
#pragma once

#include <functional>

#include "transport/background_run.h"
#include "ui/wait_box.h"

namespace drovik::transfer_ui {

// The dialogs speak the transports' terms.
using namespace drovik::transport;

class CDlgProc : public ui::WaitBox {
  Q_OBJECT

 public:
  // `finished` is polled; the box accepts as soon as it returns true.
  explicit CDlgProc(std::function<bool()> finished, QWidget* parent = nullptr);
};

// Runs the box modally through the dialog runner (tests replace it).
void showWaitBox(CDlgProc& box);

// Runs `work` on a worker thread and returns its result. A run that does not end at once is
// waited for behind CDlgProc (through the dialog runner), bounded by the run's time limit.
template <class T>
T runShowingWaitBox(QWidget* parent, typename BackgroundRun<T>::Work work) {
  BackgroundRun<T> run(std::move(work));
  const auto finished = [&run] { return run.finished(); };
  if (!ui::waitBriefly(finished)) {
    CDlgProc box(finished, parent);
    showWaitBox(box);
  }
  return run.take();
}

}  // namespace drovik::transfer_ui
