#include "transfer_ui/transport_services.h"

namespace drovik::transfer_ui {

TransportServices TransportServices::real(const std::filesystem::path& programDir) {
  TransportServices services;
  services.listPrinters = [](RunControl& control) { return listLocalPrinters(control); };
  services.retrieve = [programDir](const Ipv4Octets& address, const std::string& password,
                                   RunControl& control) {
    return retrieveExclusively(programDir, address, password, control);
  };
  return services;
}

}  // namespace drovik::transfer_ui
