#include "transport/ui/send_flow.h"

#include "app/ui/message_boxes.h"
#include "transport/ui/dlg_proc.h"

namespace drovik::transport::ui {

bool sendThroughRoute(QWidget* parent, SendRoute& route, std::span<const std::uint8_t> image) {
  const SendOutcome outcome = runShowingWaitBox<SendOutcome>(
      parent, [&route, image](RunControl& control) { return route.send(image, control); });
  if (!outcome.message.empty()) drovik::ui::messageBoxes().warn(parent, qtext(outcome.message));
  return outcome.sent;
}

QString qtext(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace drovik::transport::ui
