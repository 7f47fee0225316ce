#include "app/printer_sender.h"

#include "command/command_preparation.h"
#include "model/profile_store.h"
#include "transfer_ui/dlg_send.h"
#include "ui/dialog_runner.h"

namespace drovik {

void PrinterSender::sendCommand(const PreparedCommand& command, QWidget* parent) {
  transfer_ui::CDlgSend dialog(store_, command.image.bytes,
                               transfer_ui::TransportServices::real(store_.paths().programDir),
                               parent);
  ui::runModal(dialog);
}

}  // namespace drovik
