#include "peers/snmp_wire.h"

namespace drovik::test::snmp_wire {
namespace {

std::string tlv(std::uint8_t type, const std::string& content) {
  std::string out(1, static_cast<char>(type));
  const std::size_t length = content.size();
  if (length < 0x80) {
    out += static_cast<char>(length);
  } else {
    std::string bytes;
    for (std::size_t rest = length; rest > 0; rest >>= 8)
      bytes.insert(bytes.begin(), static_cast<char>(rest & 0xFF));
    out += static_cast<char>(0x80 | bytes.size());
    out += bytes;
  }
  return out + content;
}

std::string oidContent(const Oid& name) {
  std::string out;
  for (std::size_t i = name.size() < 2 ? 0 : 1; i < name.size(); ++i) {
    std::uint32_t arc = i == 1 ? name[0] * 40 + name[1] : name[i];
    std::string base128(1, static_cast<char>(arc & 0x7F));
    for (arc >>= 7; arc > 0; arc >>= 7)
      base128.insert(base128.begin(), static_cast<char>(0x80 | (arc & 0x7F)));
    out += base128;
  }
  return out;
}

// Reads one TLV from the front of `in`; false when it does not fit.
bool take(std::string_view& in, std::uint8_t& type, std::string_view& content) {
  if (in.size() < 2) return false;
  type = static_cast<std::uint8_t>(in[0]);
  std::size_t length = static_cast<std::uint8_t>(in[1]);
  std::size_t header = 2;
  if (length & 0x80) {
    const std::size_t count = length & 0x7F;
    if (count == 0 || count > 4 || in.size() < 2 + count) return false;
    length = 0;
    for (std::size_t i = 0; i < count; ++i)
      length = length << 8 | static_cast<std::uint8_t>(in[2 + i]);
    header += count;
  }
  if (in.size() - header < length) return false;
  content = in.substr(header, length);
  in.remove_prefix(header + length);
  return true;
}

bool takeInteger(std::string_view& in, std::int64_t& value) {
  std::uint8_t type = 0;
  std::string_view content;
  if (!take(in, type, content) || type != kInteger || content.empty() || content.size() > 8)
    return false;
  value = static_cast<std::int8_t>(content[0]);
  for (std::size_t i = 1; i < content.size(); ++i)
    value = value * 256 + static_cast<std::uint8_t>(content[i]);
  return true;
}

Oid oidFrom(std::string_view content) {
  Oid name;
  std::uint32_t arc = 0;
  for (const char c : content) {
    arc = arc << 7 | (static_cast<std::uint8_t>(c) & 0x7F);
    if (static_cast<std::uint8_t>(c) & 0x80) continue;
    if (name.empty()) {
      name.push_back(arc / 40);
      name.push_back(arc % 40);
    } else {
      name.push_back(arc);
    }
    arc = 0;
  }
  return name;
}

}  // namespace

std::string integerContent(std::int64_t value) {
  std::string out;
  do {
    out.insert(out.begin(), static_cast<char>(value & 0xFF));
    value >>= 8;
  } while (!(value == 0 && !(out[0] & 0x80)) && !(value == -1 && (out[0] & 0x80)));
  return out;
}

std::string encode(const Message& message) {
  std::string variables;
  for (const Variable& variable : message.variables)
    variables +=
        tlv(0x30, tlv(0x06, oidContent(variable.name)) + tlv(variable.type, variable.value));
  const std::string pdu = tlv(kInteger, integerContent(message.requestId)) +
                          tlv(kInteger, integerContent(message.errorStatus)) +
                          tlv(kInteger, integerContent(message.errorIndex)) + tlv(0x30, variables);
  return tlv(0x30, tlv(kInteger, integerContent(message.version)) +
                       tlv(kOctetString, message.community) + tlv(message.pduType, pdu));
}

std::optional<Message> decode(std::string_view datagram) {
  std::uint8_t type = 0;
  std::string_view body;
  if (!take(datagram, type, body) || type != 0x30) return std::nullopt;
  Message message;
  std::int64_t number = 0;
  if (!takeInteger(body, number) || number > 1) return std::nullopt;
  message.version = static_cast<int>(number);
  std::string_view community;
  if (!take(body, type, community) || type != kOctetString) return std::nullopt;
  message.community = std::string(community);
  std::string_view pdu;
  if (!take(body, type, pdu)) return std::nullopt;
  message.pduType = type;
  std::int64_t id = 0, status = 0, index = 0;
  if (!takeInteger(pdu, id) || !takeInteger(pdu, status) || !takeInteger(pdu, index))
    return std::nullopt;
  message.requestId = static_cast<std::int32_t>(id);
  message.errorStatus = static_cast<int>(status);
  message.errorIndex = static_cast<int>(index);
  std::string_view list;
  if (!take(pdu, type, list) || type != 0x30) return std::nullopt;
  while (!list.empty()) {
    std::string_view binding, name, value;
    std::uint8_t nameType = 0, valueType = 0;
    if (!take(list, type, binding) || !take(binding, nameType, name) ||
        !take(binding, valueType, value))
      return std::nullopt;
    message.variables.push_back({oidFrom(name), valueType, std::string(value)});
  }
  return message;
}

}  // namespace drovik::test::snmp_wire
