// The step the send dialogs share once the operator has confirmed: the image goes out through
// the route on a worker thread (the waiting box stands while it takes time), and the route's
// message is shown.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "transfer_ui/transport_services.h"
#include "transport/send_route.h"

class QWidget;

namespace drovik::transfer_ui {

// The dialogs speak the transports' terms.
using namespace drovik::transport;

// True when the route reports the image sent. The services hear of the send to `target`
// before the worker thread ends.
bool sendThroughRoute(QWidget* parent, SendRoute& route, std::span<const std::uint8_t> image,
                      const std::string& target, const TransportServices& services);

}  // namespace drovik::transfer_ui
