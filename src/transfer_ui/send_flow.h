// The step the send dialogs share once the operator has confirmed: the image is delivered to
// the target on a worker thread (the waiting box stands while it takes time), and the
// outcome's message is shown.
#pragma once

#include <cstdint>
#include <span>

#include "model/profile_store.h"
#include "transfer_ui/transport_services.h"

class QWidget;

namespace drovik::transfer_ui {

// True when the image reached the target (delivered or queued). The delivery remembers the
// choice in `store` and records itself in its history; the services hear of it before the
// worker thread ends.
bool deliverShowingWaitBox(QWidget* parent, const ProfileStore& store, const Target& target,
                           std::span<const std::uint8_t> image, const TransportServices& services);

}  // namespace drovik::transfer_ui
