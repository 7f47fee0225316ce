#include "transfer_ui/transport_services.h"

#include "transport/ftp_route.h"
#include "transport/parallel_route.h"

namespace drovik::transfer_ui {

TransportServices TransportServices::real(const std::filesystem::path& programDir) {
  TransportServices services;
  services.listPrinters = [](RunControl& control) { return listLocalPrinters(control); };
  services.spoolerRoute = [](const std::string& queue) -> std::unique_ptr<SendRoute> {
    return std::make_unique<CupsRoute>(queue);
  };
  services.parallelRoute = [programDir]() -> std::unique_ptr<SendRoute> {
    return std::make_unique<ExclusiveRoute>(programDir,
                                            std::make_unique<ParallelRoute>(programDir));
  };
  services.networkRoute = [programDir](const Ipv4Octets& address) -> std::unique_ptr<SendRoute> {
    return std::make_unique<ExclusiveRoute>(programDir,
                                            std::make_unique<FtpRoute>(programDir, address));
  };
  services.retrieve = [programDir](const Ipv4Octets& address, const std::string& password,
                                   RunControl& control) {
    return retrieveExclusively(programDir, address, password, control);
  };
  return services;
}

}  // namespace drovik::transfer_ui
