#include "peers/snmp_agent.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include "peers/snmp_wire.h"
#include "transport/ipv4_address.h"

namespace drovik::test {
namespace {

constexpr const char* kSnmpd = "/usr/sbin/snmpd";

std::string configuration(const SnmpAgentOptions& options, const Ipv4Octets& address,
                          const std::string& readyCommunity) {
  std::string text = "agentAddress udp:" + transport::dottedOctets(address) + ":" +
                     std::to_string(SnmpAgent::port()) + "\n";
  text += "rocommunity " + options.community + " 127.0.0.0/8\n";
  text += "rocommunity " + readyCommunity + " 127.0.0.0/8\n";
  text += "sysdescr " + options.sysDescr + "\n";
  text += "sysname " + options.sysName + "\n";
  text += "syslocation " + options.sysLocation + "\n";
  text += "syscontact " + options.sysContact + "\n";
  if (options.serialNumber)
    text += "override 1.3.6.1.2.1.43.5.1.1.17.1 octet_str \"" + *options.serialNumber + "\"\n";
  if (options.deviceDescr)
    text += "override 1.3.6.1.2.1.25.3.2.1.3.1 octet_str \"" + *options.deviceDescr + "\"\n";
  for (const SnmpAgentUser& user : options.users) {
    text += "createUser " + user.name + " " + user.authProtocol + " " + user.authPassphrase;
    if (!user.privPassphrase.empty()) text += " " + user.privProtocol + " " + user.privPassphrase;
    text += "\nrouser " + user.name + (user.privPassphrase.empty() ? " auth\n" : " priv\n");
  }
  text += "dontLogTCPWrappersConnects yes\n";
  return text;
}

sockaddr_in socketAddress(const Ipv4Octets& address, std::uint16_t port) {
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(port);
  where.sin_addr.s_addr = htonl(static_cast<std::uint32_t>(address[0] << 24 | address[1] << 16 |
                                                           address[2] << 8 | address[3]));
  return where;
}

std::mt19937& randomness() {
  static std::mt19937 random{std::random_device{}()};
  return random;
}

}  // namespace

Ipv4Octets randomSnmpAddress() {
  return {127, 0, 6, std::uniform_int_distribution<int>(2, 254)(randomness())};
}

std::uint16_t SnmpAgent::port() { return ::geteuid() == 0 ? 161 : 16161; }

SnmpAgent::SnmpAgent(const SnmpAgentOptions& options) {
  if (::access(kSnmpd, X_OK) != 0) {
    unavailable_ = true;
    problem_ = "snmpd is not installed";
    return;
  }
  // This agent's own community for the readiness check: an agent another test already runs on
  // the same address must not pass for this one while this one fails to bind.
  const std::string readyCommunity =
      "ready-" + std::to_string(std::uniform_int_distribution<std::uint32_t>()(randomness()));
  // Another test may hold an address already: snmpd then ends, and another is tried.
  for (int attempt = 0; attempt < 10; ++attempt) {
    address_ = options.address.value_or(randomSnmpAddress());
    writeFile(root_ / "snmpd.conf", configuration(options, address_, readyCommunity));
    // Its persistent files (engine boots, users) in the test's folder; no MIB files to read; no
    // SMUX listener on a port of all addresses.
    process_ = std::make_unique<PeerProcess>(
        std::vector<std::string>{"/usr/bin/env", "SNMP_PERSISTENT_DIR=" + (root_ / "var").string(),
                                 "MIBS=", kSnmpd, "-f", "-Lf", (root_ / "snmpd.log").string(), "-C",
                                 "-c", (root_ / "snmpd.conf").string(), "-p",
                                 (root_ / "snmpd.pid").string(), "-I", "-smux"},
        root_ / "snmpd.err", PeerProcess::Output::Discard);
    if (answers(readyCommunity)) return;
    process_->stop();
    const std::string log = readFile(root_ / "snmpd.log") + readFile(root_ / "snmpd.err");
    if (log.find("Error opening specified endpoint") == std::string::npos || options.address) {
      problem_ = "snmpd did not answer: " + log;
      return;
    }
  }
  unavailable_ = true;
  problem_ = "snmpd could not bind any of ten loopback addresses";
}

bool SnmpAgent::answers(const std::string& community) {
  // Asks for sysName until the agent answers, it ends, or ten seconds pass.
  const int probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  const sockaddr_in agent = socketAddress(address_, port());
  if (probe < 0 || ::connect(probe, reinterpret_cast<const sockaddr*>(&agent), sizeof agent) != 0) {
    if (probe >= 0) ::close(probe);
    return false;
  }
  snmp_wire::Message get;
  get.community = community;
  get.pduType = snmp_wire::kGet;
  get.requestId = 1;
  get.variables = {{snmp_wire::kSysName, snmp_wire::kNull, ""}};
  const std::string request = snmp_wire::encode(get);
  bool answered = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!answered && std::chrono::steady_clock::now() < deadline &&
         !process_->waitForExit(std::chrono::milliseconds(0))) {
    if (::send(probe, request.data(), request.size(), 0) < 0 && errno != ECONNREFUSED) break;
    pollfd reply{probe, POLLIN, 0};
    if (::poll(&reply, 1, 100) <= 0) continue;
    char buffer[1500];
    answered = ::recv(probe, buffer, sizeof buffer, 0) > 0;
    // Refused: not listening yet. The pause ends at once should snmpd end instead.
    if (!answered) process_->waitForExit(std::chrono::milliseconds(20));
  }
  ::close(probe);
  return answered;
}

}  // namespace drovik::test
