#include "app/printer_sender.h"

#include "command/command_preparation.h"
#include "history/recorder.h"
#include "model/profile_store.h"
#include "transfer_ui/dlg_send.h"
#include "ui/dialog_runner.h"

namespace drovik {

void PrinterSender::sendCommand(const std::string& profile, const PreparedCommand& command,
                                QWidget* parent) {
  auto services = transfer_ui::TransportServices::real(store_.paths().programDir);
  services.sent = [folder = store_.paths().lockFolder(), profile,
                   model = modelTypeOf(command.variant)](const std::string& target,
                                                         std::span<const std::uint8_t> image,
                                                         const transport::SendOutcome& outcome) {
    history::record(folder,
                    history::delivery(history::operation::kSend, profile, model, target, image,
                                      history::deliveryOutcome(outcome.sent, outcome.queued),
                                      outcome.message, outcome.detail));
  };
  transfer_ui::CDlgSend dialog(store_, command.image.bytes, std::move(services), parent);
  ui::runModal(dialog);
}

}  // namespace drovik
