// An SNMP peer that is not an agent: a UDP socket on a loopback address of its own, at the test
// agents' port, answering each v2c request with the datagrams the test scripts. No script: a
// silent host. Scripts send garbage, huge datagrams, replies to other requests, replies from
// another port, and the real reply.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "model/profile_store.h"
#include "peers/snmp_wire.h"

namespace drovik::test {

class ScriptedSnmpPeer {
 public:
  struct Reply {
    std::string datagram;
    bool fromOtherPort = false;  // sent from a second socket on the same address
  };
  // Called on the peer's thread with each request it could read and its number from 1.
  using Script = std::function<std::vector<Reply>(const snmp_wire::Message& request, int number)>;

  explicit ScriptedSnmpPeer(Script script = {});
  ~ScriptedSnmpPeer();
  ScriptedSnmpPeer(const ScriptedSnmpPeer&) = delete;
  ScriptedSnmpPeer& operator=(const ScriptedSnmpPeer&) = delete;

  bool listening() const { return socket_ >= 0; }
  const Ipv4Octets& address() const { return address_; }
  // Whether `count` datagrams have come, and been answered, within `timeout`.
  bool waitForRequests(int count, std::chrono::milliseconds timeout);
  // The requests it could read, in order.
  std::vector<snmp_wire::Message> requests() const;

 private:
  void serve();

  Script script_;
  Ipv4Octets address_{};
  int socket_ = -1;
  int otherSocket_ = -1;
  int stop_ = -1;
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  int datagrams_ = 0;
  std::vector<snmp_wire::Message> requests_;
  std::thread thread_;
};

}  // namespace drovik::test
