// The step the send dialogs share once the operator has confirmed: the image goes out through
// the route on a worker thread (the waiting box stands while it takes time), and the route's
// message is shown.
#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <string_view>

#include "transport/send_route.h"

class QWidget;

namespace drovik::transport::ui {

// True when the route reports the image sent.
bool sendThroughRoute(QWidget* parent, SendRoute& route, std::span<const std::uint8_t> image);

// A message constant as a QString.
QString qtext(std::string_view text);

}  // namespace drovik::transport::ui
