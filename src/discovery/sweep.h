// A sweep of the addresses an administrator named: each asked for its FTP greeting and, with
// a community or a user, over SNMP, many at once but no faster than the rate allows, each
// question bounded by the timeout. What answered is kept, in address order.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "discovery/greeting_probe.h"
#include "discovery/printer_model.h"
#include "discovery/snmp_query.h"
#include "files/status.h"
#include "transport/run_control.h"

namespace drovik::discovery {

struct SweepOptions {
  int jobs = 64;                            // questions of each kind at once
  int rate = 200;                           // new connections per second, both kinds together
  std::chrono::milliseconds timeout{2000};  // per question
  std::uint16_t ftpPort = 21;
  std::optional<SnmpCredentials> snmp;  // without: the greeting alone
  std::uint16_t snmpPort = 161;
};

struct FoundPrinter {
  Ipv4Octets address{};
  PrinterModel model;
  std::optional<Greeting> greeting;  // when the FTP server greeted
  std::optional<SnmpValues> snmp;    // when SNMP answered
  std::vector<std::string> notes;

  // From SNMP; empty when it did not say.
  std::string name() const;
  std::string location() const;
  std::string serial() const;
  // "ftp", "snmp" or "ftp+snmp".
  std::string answeredBy() const;
};

struct SweepReport {
  std::size_t named = 0;            // addresses to ask
  std::size_t asked = 0;            // those asked before the sweep ended (all, unless cancelled)
  std::vector<FoundPrinter> found;  // in address order
  // Addresses that took a connection and said nothing, or said something odd without being
  // found (a silent FTP server): one note each, naming the address.
  std::vector<std::string> notes;
  bool cancelled = false;

  std::size_t count(PrinterModel::Kind kind) const;
  std::size_t silent() const { return asked - found.size(); }
};

// How far a sweep has come, for a window that shows it while the sweep runs.
struct SweepCounters {
  std::atomic<std::size_t> settled{0};
  std::atomic<std::size_t> answered{0};
};

// Asks every address (sweepAddresses gives them) and returns within about a second of the
// control being cancelled, with what was found until then (`cancelled` set). An error only
// when SNMP was asked for and its library cannot be loaded or refuses the credentials.
Result<SweepReport> sweep(const std::vector<Ipv4Octets>& addresses, const SweepOptions& options,
                          const transport::RunControl& control, SweepCounters* counters = nullptr);

// "256 件を調べ、3 台が応答しました（旧機種 2、8630-M 1、応答なし 253）".
std::string sweepSummary(const SweepReport& report);

}  // namespace drovik::discovery
