// Printer addresses as the IP-address fields and the index file hold them: four octets.
#pragma once

#include <string>
#include <string_view>

#include "model/profile_store.h"

namespace drovik::transport {

// "%d.%d.%d.%d" of the low 8 bits of each octet, as the scripts name the printer.
std::string addressText(const Ipv4Octets& octets);

// 0.0.0.0 stands for "no address entered".
bool isEmptyAddress(const Ipv4Octets& octets);

// Four decimal octets 0..255 separated by dots ("192.168.0.10"); anything else is refused
// with a message for the operator.
Result<Ipv4Octets> parseAddress(std::string_view text);

}  // namespace drovik::transport
