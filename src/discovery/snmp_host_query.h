// One printer's part of a sweep: for v3 first a probe for its engine ID (unauthenticated, as
// USM discovery is), then one GET of the six objects; each step a session of its own, all
// within one deadline. Driven by the sweep's loop: it never waits itself.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "discovery/snmp_objects.h"
#include "discovery/snmp_query.h"
#include "discovery/snmp_security.h"
#include "discovery/snmp_session.h"

namespace drovik::discovery {

class SnmpHostQuery {
 public:
  using Clock = std::chrono::steady_clock;

  SnmpHostQuery(const SnmpLibrary& library, const SnmpSecurity& security, SweepUsers& users,
                const Ipv4Octets& address, std::uint16_t port, std::chrono::milliseconds timeout);
  ~SnmpHostQuery();
  SnmpHostQuery(const SnmpHostQuery&) = delete;
  SnmpHostQuery& operator=(const SnmpHostQuery&) = delete;

  // Sends the first request; the deadline runs from now.
  void start();
  bool settled() const { return settled_; }
  const SnmpAnswer& answer() const { return answer_; }

  // The socket to watch for reading, -1 when none.
  int socket() const;
  void onReadable();
  // Runs the library's timers and the deadline.
  void onTime(Clock::time_point now);
  // When onTime is next due.
  Clock::time_point nextLook(Clock::time_point now) const;
  // Stops where it is, unsettled, with `note`.
  void abandon(const std::string& note);

 private:
  enum class Step { Probe, Get };
  enum class Next { Nothing, AskWithEngine, AskAgain };

  static int onEvent(int op, netsnmp_session* session, int requestId, netsnmp_pdu* pdu, void* self);
  void handle(int op, netsnmp_pdu* pdu);
  void onProbeReply(const netsnmp_pdu& pdu);
  void onGetReply(const netsnmp_pdu& pdu);
  void takeValues(const netsnmp_variable_list* variables);
  void afterLibraryCall();
  void closeSession();

  bool openSession();
  void send(netsnmp_pdu* pdu);
  void sendProbe();
  void sendGet();
  void settle(bool answered, const std::string& note);
  std::string timedOutNote() const;

  const SnmpLibrary& library_;
  const SnmpSecurity& security_;
  SweepUsers& users_;
  std::uint16_t port_;
  std::chrono::milliseconds timeout_;
  Clock::time_point deadline_{};
  Step step_ = Step::Get;
  Next next_ = Next::Nothing;
  bool waiting_ = false;  // for the answer to the one request sent
  bool settled_ = false;
  bool resentForTime_ = false;
  std::string engineId_;
  std::vector<const SnmpObject*> wanted_;
  std::vector<std::string> remarks_;  // about single values
  SnmpAnswer answer_;
  std::unique_ptr<SnmpSession> session_;  // last: closed before the rest goes
};

}  // namespace drovik::discovery
