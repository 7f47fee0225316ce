// Printer addresses as the IP-address fields and the index file hold them: four octets. The
// fields and a hand-edited index file can hold an octet outside 0..255; such an address is
// refused wherever it would name a printer, never wrapped into another one.
#pragma once

#include <string>
#include <string_view>

#include "model/profile_store.h"

namespace drovik::transport {

// "%d.%d.%d.%d" of the octets as they are, for messages and reports only: an octet outside
// 0..255 shows as it is.
std::string dottedOctets(const Ipv4Octets& octets);

// Every octet within 0..255; else the refusal for the operator, naming the address.
Status checkAddress(const Ipv4Octets& octets);

// The address as the scripts name the printer; refused (checkAddress) when an octet is
// outside 0..255.
Result<std::string> addressText(const Ipv4Octets& octets);

// 0.0.0.0 stands for "no address entered".
bool isEmptyAddress(const Ipv4Octets& octets);

// Four decimal octets 0..255 separated by dots ("192.168.0.10"); anything else is refused
// with a message for the operator.
Result<Ipv4Octets> parseAddress(std::string_view text);

}  // namespace drovik::transport
