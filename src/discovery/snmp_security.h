// How a sweep's sessions prove who asks: a community (v2c) or a USM user (v3), checked once per
// sweep; for v3 the keys (Ku) made from the passphrases once, localised by the library for each
// printer's engine ID.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "discovery/snmp_library.h"
#include "discovery/snmp_query.h"

namespace drovik::discovery {

struct SnmpSecurity {
  long version = SNMP_VERSION_2c;
  std::string community;
  std::string user;
  int level = SNMP_SEC_LEVEL_NOAUTH;
  std::vector<oid> authProtocol;  // empty: none
  std::vector<u_char> authKey;    // Ku, not yet localised
  std::vector<oid> privProtocol;
  std::vector<u_char> privKey;

  // Sets the session's version and community, or its user, level, protocols and keys. The
  // session's pointers point into this object until snmp_sess_open has copied them.
  void applyTo(netsnmp_session& session) const;
};

// An error for the operator when the library would refuse the credentials: no community, no
// user, an unknown protocol, privacy without authentication, a passphrase under 8 bytes.
Result<SnmpSecurity> snmpSecurity(const SnmpLibrary& library, const SnmpCredentials& credentials);

// The library keeps one USM user per engine ID and user name, keys included, for as long as the
// process lives, and a user it has would be used again with its old keys. A sweep claims each
// engine ID it talks to: the first claim drops a user left by an earlier sweep, and the end of
// the sweep drops every user it made. Printers cloned with one engine ID share one user, with
// the same keys.
class SweepUsers {
 public:
  SweepUsers(const SnmpLibrary& library, std::string user);
  ~SweepUsers();
  SweepUsers(const SweepUsers&) = delete;
  SweepUsers& operator=(const SweepUsers&) = delete;

  void claim(const std::string& engineId);

 private:
  void drop(const std::string& engineId);

  const SnmpLibrary& library_;
  std::string user_;
  std::set<std::string> engines_;
};

}  // namespace drovik::discovery
