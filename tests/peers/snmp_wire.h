// Just enough BER for the tests' own SNMP peers: v2c messages built byte by byte, and what a
// request asks for read back. Independent of net-snmp, which the code under test uses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drovik::test::snmp_wire {

using Oid = std::vector<std::uint32_t>;

enum Type : std::uint8_t {
  kInteger = 0x02,
  kOctetString = 0x04,
  kNull = 0x05,
  kNoSuchObject = 0x80,
  kNoSuchInstance = 0x81,
};
enum PduType : std::uint8_t { kGet = 0xA0, kResponse = 0xA2 };

struct Variable {
  Oid name;
  std::uint8_t type = kNull;
  std::string value;  // the content octets, as they go on the wire
};

struct Message {
  int version = 1;  // v2c
  std::string community;
  std::uint8_t pduType = kResponse;
  std::int32_t requestId = 0;
  int errorStatus = 0;
  int errorIndex = 0;
  std::vector<Variable> variables;
};

std::string encode(const Message& message);
// A v1/v2c message; nullopt for anything else (v3 included).
std::optional<Message> decode(std::string_view datagram);

// The INTEGER content octets of `value`.
std::string integerContent(std::int64_t value);

// The six objects a sweep asks for, in its order.
const Oid kSysDescr = {1, 3, 6, 1, 2, 1, 1, 1, 0};
const Oid kSysName = {1, 3, 6, 1, 2, 1, 1, 5, 0};
const Oid kSysLocation = {1, 3, 6, 1, 2, 1, 1, 6, 0};
const Oid kSysContact = {1, 3, 6, 1, 2, 1, 1, 4, 0};
const Oid kHrDeviceDescr = {1, 3, 6, 1, 2, 1, 25, 3, 2, 1, 3, 1};
const Oid kSerialNumber = {1, 3, 6, 1, 2, 1, 43, 5, 1, 1, 17, 1};

}  // namespace drovik::test::snmp_wire
