#include "transfer_ui/send_flow.h"

#include "transfer_ui/dlg_proc.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"

namespace drovik::transfer_ui {

bool deliverShowingWaitBox(QWidget* parent, const ProfileStore& store, const Target& target,
                           std::span<const std::uint8_t> image, const TransportServices& services) {
  DeliverySettings settings = DeliverySettings::inDataFolder(store);
  settings.routes = services.routes;
  const CommandDelivery delivery(store, std::move(settings));
  const SendOutcome outcome = runShowingWaitBox<SendOutcome>(parent, [&delivery, &target, image,
                                                                      &services](
                                                                         RunControl& control) {
    SendOutcome sent = delivery.deliver(target, {services.profile, services.model, image}, control);
    if (services.sent) services.sent(target, image, sent);
    return sent;
  });
  if (!outcome.message.empty()) drovik::ui::messageBoxes().warn(parent, qt(outcome.message));
  return outcome.reached();
}

}  // namespace drovik::transfer_ui
