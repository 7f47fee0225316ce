// One net-snmp session (the single-session API) to one printer, on a UDP socket of its own that
// is connected to the printer: an ICMP refusal then reaches the socket at once instead of the
// request waiting out its timeout, and datagrams from any other address or port never reach
// the library at all.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "discovery/snmp_library.h"
#include "model/profile_store.h"

namespace drovik::discovery {

class SnmpSession {
 public:
  // Opens a session to address:port with `settings` (version, security, timeout and retries
  // set); nullptr and `problem` when the library refuses. Never probes for an engine ID: the
  // library's probe waits for the answer, and a sweep must not wait for any one printer.
  static std::unique_ptr<SnmpSession> open(const SnmpLibrary& library, netsnmp_session& settings,
                                           const Ipv4Octets& address, std::uint16_t port,
                                           std::string& problem);
  ~SnmpSession();
  SnmpSession(const SnmpSession&) = delete;
  SnmpSession& operator=(const SnmpSession&) = delete;

  struct Sent {
    int requestId = 0;    // 0: not sent
    int socketError = 0;  // errno of a failed send
    std::string problem;  // why not sent
  };
  // Sends `pdu`, which is the session's from then on, sent or not; `callback` gets `data`.
  Sent send(netsnmp_pdu* pdu, netsnmp_callback callback, void* data);

  // Reads what arrived, calling back for an answer to a request; the errno when receiving
  // failed (an ICMP error), else 0. Hostile or stray datagrams are the library's to drop.
  int read();
  // Resends or gives up the requests that are due, calling back.
  void runTimers();
  // How soon runTimers is due, when a request waits.
  std::optional<std::chrono::microseconds> timerDue() const;

  int socket() const { return socket_; }

 private:
  SnmpSession(const SnmpLibrary& library, void* handle);
  netsnmp_session& state() const;
  int liveSocket() const;

  const SnmpLibrary& library_;
  void* handle_;
  int socket_ = -1;
};

}  // namespace drovik::discovery
