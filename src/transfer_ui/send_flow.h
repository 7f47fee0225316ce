// The step the send dialogs share once the operator has confirmed: the image goes out through
// the route on a worker thread (the waiting box stands while it takes time), and the route's
// message is shown.
#pragma once

#include <cstdint>
#include <span>

#include "transport/send_route.h"

class QWidget;

namespace drovik::transfer_ui {

// The dialogs speak the transports' terms.
using namespace drovik::transport;

// True when the route reports the image sent.
bool sendThroughRoute(QWidget* parent, SendRoute& route, std::span<const std::uint8_t> image);

}  // namespace drovik::transfer_ui
