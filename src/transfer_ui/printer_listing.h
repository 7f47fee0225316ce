// The spooler's printers listed in the background, so that a print server that never answers
// cannot freeze the window that asked. The list is handed over on the owner's thread. An owner
// that goes away first cancels the listing and is never called; the work, bounded by the
// listing's own limit, ends by itself and is waited for when the program ends.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "files/status.h"
#include "transport/cups_route.h"
#include "transport/run_control.h"

namespace drovik::transfer_ui {

using PrinterList = Result<std::vector<transport::PrinterEntry>>;

class PrinterListing : public QObject {
 public:
  using Lister = std::function<PrinterList(transport::RunControl& control)>;
  using Done = std::function<void(PrinterList printers)>;

  // Starts `list` at once, within kListLimit; `done` is called later with its result, on the
  // thread that made this object, unless the object has been destroyed by then.
  PrinterListing(Lister list, Done done);
  ~PrinterListing() override;
  PrinterListing(const PrinterListing&) = delete;
  PrinterListing& operator=(const PrinterListing&) = delete;

 private:
  Done done_;
  // Shared with the work, which may outlive the listing.
  std::shared_ptr<transport::RunControl> control_;
  QFutureWatcher<PrinterList> watcher_;
};

}  // namespace drovik::transfer_ui
