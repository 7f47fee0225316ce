#include "transport/ipv4_address.h"

#include <charconv>

namespace drovik::transport {

std::string dottedOctets(const Ipv4Octets& octets) {
  std::string text;
  for (std::size_t i = 0; i < octets.size(); ++i) {
    if (i > 0) text += '.';
    text += std::to_string(octets[i]);
  }
  return text;
}

Status checkAddress(const Ipv4Octets& octets) {
  for (int octet : octets)
    if (octet < 0 || octet > 255)
      return Error{"ＩＰアドレス " + dottedOctets(octets) +
                   " は使えません。\n0 から 255 までの数を4つ指定してください"};
  return {};
}

Result<std::string> addressText(const Ipv4Octets& octets) {
  if (Status usable = checkAddress(octets); !usable) return usable.error();
  return dottedOctets(octets);
}

bool isEmptyAddress(const Ipv4Octets& octets) {
  for (int octet : octets)
    if (octet != 0) return false;
  return true;
}

Result<Ipv4Octets> parseAddress(std::string_view text) {
  const Error refused{
      "IPアドレスは 192.168.0.10 のように 0～255 の数を4つ、ピリオドで区切って"
      "指定してください: " +
      std::string(text)};
  Ipv4Octets octets{};
  const char* pos = text.data();
  const char* const end = text.data() + text.size();
  for (std::size_t i = 0; i < octets.size(); ++i) {
    if (i > 0) {
      if (pos == end || *pos != '.') return refused;
      ++pos;
    }
    // At most three digits, so that "0001" or a sign never passes.
    const char* digitsEnd = pos;
    while (digitsEnd != end && digitsEnd - pos < 4 && *digitsEnd >= '0' && *digitsEnd <= '9')
      ++digitsEnd;
    if (digitsEnd == pos || digitsEnd - pos > 3) return refused;
    auto [next, ec] = std::from_chars(pos, digitsEnd, octets[i]);
    if (ec != std::errc() || octets[i] > 255) return refused;
    pos = next;
  }
  if (pos != end) return refused;
  return octets;
}

}  // namespace drovik::transport
