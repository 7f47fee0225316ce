#include "discovery/spooler_queues.h"

#include "transport/cups_route.h"

namespace drovik::discovery {
namespace {

Result<std::vector<QueueDevice>> asQueues(Result<std::vector<transport::PrinterEntry>> printers) {
  if (!printers) return printers.error();
  std::vector<QueueDevice> queues;
  queues.reserve(printers->size());
  for (auto& printer : *printers)
    queues.push_back({std::move(printer.name), std::move(printer.port)});
  return queues;
}

}  // namespace

Result<std::vector<QueueDevice>> spoolerQueues(transport::RunControl& control) {
  return asQueues(transport::listLocalPrinters(control));
}

Result<std::vector<QueueDevice>> spoolerQueues() {
  return asQueues(transport::listLocalPrinters());
}

}  // namespace drovik::discovery
