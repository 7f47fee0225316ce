#include "app/printer_sender.h"

#include "app/ui/dialog_runner.h"
#include "command/command_preparation.h"
#include "model/profile_store.h"
#include "transport/ui/dlg_send.h"

namespace drovik {

void PrinterSender::sendCommand(const PreparedCommand& command, QWidget* parent) {
  transport::ui::CDlgSend dialog(store_, command.image.bytes,
                                 transport::ui::TransportServices::real(store_.paths().programDir),
                                 parent);
  ui::runModal(dialog);
}

}  // namespace drovik
