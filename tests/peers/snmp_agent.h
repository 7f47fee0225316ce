// A private SNMP agent for the tests: Debian's snmpd on a loopback address of its own, with its
// own configuration, persistent folder and log in a temporary folder; stopped by its process id.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/profile_store.h"
#include "peers/peer_process.h"
#include "support/temp_dir.h"

namespace drovik::test {

struct SnmpAgentUser {
  std::string name;
  std::string authProtocol = "SHA";  // as snmpd's createUser spells them: SHA, SHA-256, MD5
  std::string authPassphrase;
  std::string privProtocol = "AES";  // AES, DES
  std::string privPassphrase;        // empty: authNoPriv
};

struct SnmpAgentOptions {
  std::string community = "public";
  std::string sysDescr = "8630-H05 test agent";
  std::string sysName = "printer";
  std::string sysLocation = "2F";
  std::string sysContact = "admin";
  // Printer objects snmpd does not have of its own; without them, noSuchObject.
  std::optional<std::string> serialNumber;
  std::optional<std::string> deviceDescr;
  std::vector<SnmpAgentUser> users;
  // Instead of a random 127.0.6.X: this address, for a test that sweeps a block of its own.
  std::optional<Ipv4Octets> address;
};

class SnmpAgent {
 public:
  explicit SnmpAgent(const SnmpAgentOptions& options);
  // Empty when it answers; otherwise why not.
  const std::string& problem() const { return problem_; }
  // snmpd is not installed, or no loopback address could be bound: the test is skipped.
  bool unavailable() const { return unavailable_; }
  const Ipv4Octets& address() const { return address_; }

  // The port every test agent and peer listens on: 161 as root, else one above 1024.
  static std::uint16_t port();

 private:
  bool answers(const std::string& community);

  TempDir root_;
  Ipv4Octets address_{};
  std::unique_ptr<PeerProcess> process_;
  std::string problem_;
  bool unavailable_ = false;
};

// A loopback address 127.0.6.X for a test's SNMP peer, X at random.
Ipv4Octets randomSnmpAddress();

#define DROVIK_SNMP_AGENT_OR_SKIP(agent)                        \
  if ((agent).unavailable()) GTEST_SKIP() << (agent).problem(); \
  ASSERT_EQ((agent).problem(), "")

}  // namespace drovik::test
