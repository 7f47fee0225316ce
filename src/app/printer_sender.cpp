#include "app/printer_sender.h"

#include "command/command_preparation.h"
#include "model/profile_store.h"
#include "transfer_ui/dlg_send.h"
#include "ui/dialog_runner.h"

namespace drovik {

void PrinterSender::sendCommand(const std::string& profile, const PreparedCommand& command,
                                QWidget* parent) {
  auto services = transfer_ui::TransportServices::real(store_.paths().programDir);
  services.profile = profile;
  services.model = std::string(modelTypeOf(command.variant));
  transfer_ui::CDlgSend dialog(store_, command.image.bytes, std::move(services), parent);
  ui::runModal(dialog);
}

}  // namespace drovik
