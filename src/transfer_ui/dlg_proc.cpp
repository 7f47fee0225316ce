#include "transfer_ui/dlg_proc.h"

#include "transport/transport_messages.h"
#include "ui/dialog_runner.h"
#include "ui/qt_text.h"

namespace drovik::transfer_ui {

CDlgProc::CDlgProc(std::function<bool()> finished, QWidget* parent)
    : WaitBox(qt(kConnectingMessage), std::move(finished), parent) {}

void showWaitBox(CDlgProc& box) { drovik::ui::runModal(box); }

}  // namespace drovik::transfer_ui
