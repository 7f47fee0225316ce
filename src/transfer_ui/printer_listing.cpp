#include "transfer_ui/printer_listing.h"

#include <QMetaObject>
#include <mutex>
#include <thread>

namespace drovik::transfer_ui {

// What the worker shares with the listing; it outlives whichever of the two ends first.
struct PrinterListing::Handover {
  explicit Handover(PrinterListing* owner) : listing(owner), control(transport::kListLimit) {}
  std::mutex mutex;
  PrinterListing* listing;  // null once the listing is gone
  transport::RunControl control;
};

PrinterListing::PrinterListing(Lister list, Done done)
    : done_(std::move(done)), handover_(std::make_shared<Handover>(this)) {
  std::thread([list = std::move(list), handover = handover_] {
    auto printers = std::make_shared<PrinterList>(list(handover->control));
    // Held while posting, so that the listing cannot be destroyed in between; a result posted
    // to a listing destroyed later is dropped with the listing's pending events.
    const std::lock_guard lock(handover->mutex);
    if (PrinterListing* listing = handover->listing) {
      QMetaObject::invokeMethod(
          listing, [listing, printers] { listing->done_(std::move(*printers)); },
          Qt::QueuedConnection);
    }
  }).detach();
}

PrinterListing::~PrinterListing() {
  const std::lock_guard lock(handover_->mutex);
  handover_->listing = nullptr;
  handover_->control.cancel();
}

}  // namespace drovik::transfer_ui
