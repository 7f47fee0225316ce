#include "transfer_ui/send_flow.h"

#include "transfer_ui/dlg_proc.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"

namespace drovik::transfer_ui {

bool sendThroughRoute(QWidget* parent, SendRoute& route, std::span<const std::uint8_t> image) {
  const SendOutcome outcome = runShowingWaitBox<SendOutcome>(
      parent, [&route, image](RunControl& control) { return route.send(image, control); });
  if (!outcome.message.empty()) drovik::ui::messageBoxes().warn(parent, qt(outcome.message));
  return outcome.sent;
}

}  // namespace drovik::transfer_ui
