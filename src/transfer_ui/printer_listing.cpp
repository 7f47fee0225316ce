#include "transfer_ui/printer_listing.h"

#include "ui/background_work.h"

namespace drovik::transfer_ui {

PrinterListing::PrinterListing(Lister list, Done done)
    : done_(std::move(done)),
      control_(std::make_shared<transport::RunControl>(transport::kListLimit)) {
  // The watcher goes with the listing: a result that comes later is handed to nobody.
  connect(&watcher_, &QFutureWatcher<PrinterList>::finished, this,
          [this] { done_(watcher_.future().takeResult()); });
  watcher_.setFuture(ui::startInBackground(
      [list = std::move(list), control = control_] { return list(*control); }));
}

PrinterListing::~PrinterListing() { control_->cancel(); }

}  // namespace drovik::transfer_ui
