// Asking many printers over SNMP at once: the system and printer objects that name a printer
// and say where it stands. net-snmp's library is not reentrant, so every request of a sweep
// goes out from the one thread that calls querySnmp, and sweeps of several threads take turns.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "discovery/rate_limiter.h"
#include "files/status.h"
#include "model/profile_store.h"

namespace drovik::discovery {

struct SnmpCredentials {
  enum class Version { V2c, V3 };
  Version version = Version::V2c;
  std::string community;  // v2c
  // v3 (USM). Without an authentication passphrase: noAuthNoPriv; with one and without a
  // privacy passphrase: authNoPriv; with both: authPriv.
  std::string user;
  std::string authProtocol = "SHA";  // "SHA", "SHA-256" or "MD5", in any case
  std::string authPassphrase;
  std::string privProtocol = "AES";  // "AES" (128 bits) or "DES", in any case
  std::string privPassphrase;
};

// Each value absent when the printer does not have it (noSuchObject, noSuchInstance, no such
// name) or did not say it as text.
struct SnmpValues {
  std::optional<std::string> sysDescr;
  std::optional<std::string> sysName;
  std::optional<std::string> sysLocation;
  std::optional<std::string> sysContact;
  std::optional<std::string> hrDeviceDescr;
  std::optional<std::string> serialNumber;  // prtGeneralSerialNumber
};

struct SnmpAnswer {
  Ipv4Octets address{};
  // A response came, even one without any of the values: an error status, or a v3 report
  // (wrong passphrase, unknown user), which the note names.
  bool answered = false;
  SnmpValues values;
  // Why not, or what was odd (an error status, a value cut, converted or repaired); Japanese
  // sentences joined by "。", empty when all was well.
  std::string note;
};

struct SnmpSweepLimits {
  int jobs = 64;  // addresses asked at once, each with one request outstanding
  // Per address, from its first datagram: retries, v3's engine-ID probe and the repeat after an
  // error status naming one variable included.
  std::chrono::milliseconds timeout{2000};
  std::uint16_t port = 161;
};

// Asks every address once, new addresses no faster than `rate` allows (one turn each), and
// returns one answer per address in the order given. Returns within about a second of `cancel`
// being set, with the answers that came so far (the others not answered, noted "中止しました").
// `onAnswer`, when given, is called from the calling thread as each address is settled (not for
// those the cancel left). An address with an octet outside 0..255 is settled unasked. An error
// for the operator when the SNMP library cannot be loaded or the credentials are refused by it
// (no community or user, an unknown protocol, privacy without authentication, a passphrase
// shorter than 8 bytes).
Result<std::vector<SnmpAnswer>> querySnmp(
    const std::vector<Ipv4Octets>& addresses, const SnmpCredentials& credentials,
    const SnmpSweepLimits& limits, RateLimiter& rate, const std::atomic<bool>& cancel,
    const std::function<void(const SnmpAnswer&)>& onAnswer = {});

}  // namespace drovik::discovery
