#include "transfer_ui/send_flow.h"

#include "transfer_ui/dlg_proc.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"

namespace drovik::transfer_ui {

bool sendThroughRoute(QWidget* parent, SendRoute& route, std::span<const std::uint8_t> image,
                      const std::string& target, const TransportServices& services) {
  const SendOutcome outcome = runShowingWaitBox<SendOutcome>(
      parent, [&route, image, &target, &services](RunControl& control) {
        SendOutcome sent = route.send(image, control);
        if (services.sent) services.sent(target, image, sent);
        return sent;
      });
  if (!outcome.message.empty()) drovik::ui::messageBoxes().warn(parent, qt(outcome.message));
  return outcome.sent;
}

}  // namespace drovik::transfer_ui
