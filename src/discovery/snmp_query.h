// Asking many printers over SNMP at once: the system and printer objects that name a printer
// and say where it stands. net-snmp's library is not reentrant, so every request of a sweep
// goes out from the one thread that calls querySnmp.
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
  std::string authProtocol = "SHA";  // "SHA", "SHA-256" or "MD5"
  std::string authPassphrase;
  std::string privProtocol = "AES";  // "AES" or "DES"
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
  bool answered = false;  // a response came, even one without any of the values
  SnmpValues values;
  std::string note;  // why not, or what was odd (an error status, a value cut)
};

struct SnmpSweepLimits {
  int jobs = 64;                            // requests outstanding at once
  std::chrono::milliseconds timeout{2000};  // per address, retries included
  std::uint16_t port = 161;
};

// Asks every address once, new requests no faster than `rate` allows, and returns one answer
// per address in the order given. Returns within about a second of `cancel` being set, with
// the answers that came so far (the others not answered). `onAnswer`, when given, is called
// from the calling thread as each address is settled. An error when the SNMP library cannot
// be loaded or the credentials are refused by it (an unknown protocol, a passphrase too short).
Result<std::vector<SnmpAnswer>> querySnmp(
    const std::vector<Ipv4Octets>& addresses, const SnmpCredentials& credentials,
    const SnmpSweepLimits& limits, RateLimiter& rate, const std::atomic<bool>& cancel,
    const std::function<void(const SnmpAnswer&)>& onAnswer = {});

}  // namespace drovik::discovery
