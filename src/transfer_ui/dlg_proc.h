// The wait behind the box "プリンタに接続しています" while a transfer runs in the background.
// The box has no caption and no buttons, the operator cannot close it early, and the windows
// beneath keep painting; it closes itself once the transfer has ended.
#pragma once

#include <functional>
#include <utility>

#include "transport/run_control.h"
#include "transport/transport_messages.h"
#include "ui/qt_text.h"
#include "ui/wait_box.h"

namespace drovik::transfer_ui {

// The dialogs speak the transports' terms.
using namespace drovik::transport;

// Runs `work` in the background and returns its result. A run that does not end at once is
// waited for behind the wait box (through the dialog runner), bounded by the run's time limit.
template <class T>
T runShowingWaitBox(QWidget* parent, std::function<T(RunControl&)> work) {
  RunControl control(kRunLimit);
  return ui::runInBackground(parent, qt(kConnectingMessage),
                             [&control, work = std::move(work)] { return work(control); });
}

}  // namespace drovik::transfer_ui
