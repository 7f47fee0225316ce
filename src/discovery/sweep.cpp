#include "discovery/sweep.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "discovery/sweep_targets.h"
#include "transport/ipv4_address.h"

namespace drovik::discovery {
namespace {

// What the threads of a sweep share: each address's answers as they come.
class SweepState {
 public:
  SweepState(const std::vector<Ipv4Octets>& addresses, bool withSnmp, SweepCounters* counters)
      : greetings_(addresses.size()),
        snmp_(addresses.size()),
        pending_(addresses.size(), withSnmp ? 2 : 1),
        answered_(addresses.size(), false),
        counters_(counters) {
    for (std::size_t i = 0; i < addresses.size(); ++i) index_[addressValue(addresses[i])] = i;
  }

  void greeted(std::size_t i, Greeting greeting) {
    std::lock_guard lock(mutex_);
    const bool answered = greeting.answered();
    greetings_[i] = std::move(greeting);
    settleLocked(i, answered);
  }

  void snmpAnswered(const SnmpAnswer& answer) {
    std::lock_guard lock(mutex_);
    const auto found = index_.find(addressValue(answer.address));
    if (found == index_.end() || snmp_[found->second]) return;  // not asked, or said twice
    snmp_[found->second] = answer;
    settleLocked(found->second, answer.answered);
  }

  // A thread of the sweep has ended.
  void finished() {
    std::lock_guard lock(mutex_);
    ++finished_;
    ended_.notify_all();
  }

  // Waits until `threads` have ended, passing the control's cancel on to `stop`.
  void waitForThreads(int threads, const transport::RunControl& control, std::atomic<bool>& stop) {
    std::unique_lock lock(mutex_);
    while (finished_ < threads) {
      ended_.wait_for(lock, std::chrono::milliseconds(50));
      if (control.cancelled()) stop = true;
    }
  }

  const std::optional<Greeting>& greeting(std::size_t i) const { return greetings_[i]; }
  const std::optional<SnmpAnswer>& snmp(std::size_t i) const { return snmp_[i]; }

 private:
  void settleLocked(std::size_t i, bool answered) {
    if (answered && !answered_[i]) {
      answered_[i] = true;
      if (counters_) ++counters_->answered;
    }
    if (--pending_[i] == 0 && counters_) ++counters_->settled;
  }

  std::mutex mutex_;
  std::condition_variable ended_;
  int finished_ = 0;
  std::unordered_map<std::uint32_t, std::size_t> index_;
  std::vector<std::optional<Greeting>> greetings_;
  std::vector<std::optional<SnmpAnswer>> snmp_;
  std::vector<int> pending_;
  std::vector<bool> answered_;
  SweepCounters* counters_;
};

PrinterModel modelOf(const FoundPrinter& printer) {
  if (printer.greeting) {
    PrinterModel model = modelIn(printer.greeting->text());
    if (model.kind != PrinterModel::Kind::Unknown) return model;
  }
  if (printer.snmp) {
    for (const auto* text : {&printer.snmp->hrDeviceDescr, &printer.snmp->sysDescr})
      if (*text) {
        PrinterModel model = modelIn(**text);
        if (model.kind == PrinterModel::Kind::Old || model.kind == PrinterModel::Kind::New)
          return model;
      }
    if (printer.snmp->sysDescr) return {PrinterModel::Kind::Other, *printer.snmp->sysDescr};
  }
  return {};
}

std::string valueOr(const std::optional<SnmpValues>& values,
                    std::optional<std::string> SnmpValues::*field) {
  return values && (*values).*field ? *((*values).*field) : std::string();
}

}  // namespace

std::string FoundPrinter::name() const { return valueOr(snmp, &SnmpValues::sysName); }
std::string FoundPrinter::location() const { return valueOr(snmp, &SnmpValues::sysLocation); }
std::string FoundPrinter::serial() const { return valueOr(snmp, &SnmpValues::serialNumber); }

std::string FoundPrinter::answeredBy() const {
  if (greeting && snmp) return "ftp+snmp";
  return greeting ? "ftp" : "snmp";
}

std::size_t SweepReport::count(PrinterModel::Kind kind) const {
  return static_cast<std::size_t>(std::count_if(
      found.begin(), found.end(), [kind](const FoundPrinter& p) { return p.model.kind == kind; }));
}

Result<SweepReport> sweep(const std::vector<Ipv4Octets>& addresses, const SweepOptions& options,
                          const transport::RunControl& control, SweepCounters* counters) {
  SweepReport report;
  report.named = addresses.size();
  if (addresses.empty()) return report;
  std::atomic<bool> stop{control.cancelled()};
  RateLimiter rate(options.rate);
  SweepState state(addresses, options.snmp.has_value(), counters);

  std::optional<Error> snmpError;
  std::vector<std::jthread> threads;
  if (options.snmp) {
    threads.emplace_back([&] {
      SnmpSweepLimits limits{options.jobs, options.timeout, options.snmpPort};
      auto answers = querySnmp(addresses, *options.snmp, limits, rate, stop,
                               [&](const SnmpAnswer& answer) { state.snmpAnswered(answer); });
      if (!answers) {
        snmpError = answers.error();
        stop = true;
      } else {
        for (const SnmpAnswer& answer : *answers) state.snmpAnswered(answer);
      }
      state.finished();
    });
  }
  std::atomic<std::size_t> next{0};
  const int probers = static_cast<int>(std::clamp<std::size_t>(options.jobs, 1, addresses.size()));
  for (int t = 0; t < probers; ++t) {
    threads.emplace_back([&] {
      for (std::size_t i = next++; i < addresses.size() && rate.waitTurn(stop); i = next++)
        state.greeted(i, probeGreeting(addresses[i], options.ftpPort, options.timeout, stop));
      state.finished();
    });
  }
  state.waitForThreads(static_cast<int>(threads.size()), control, stop);
  threads.clear();  // joined
  if (snmpError) return *snmpError;

  report.cancelled = stop.load();
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    FoundPrinter printer;
    printer.address = addresses[i];
    const auto& greeting = state.greeting(i);
    const auto& snmp = state.snmp(i);
    if (greeting || snmp) ++report.asked;
    if (greeting && greeting->answered()) printer.greeting = *greeting;
    if (snmp && snmp->answered) printer.snmp = snmp->values;
    const std::string where = transport::dottedOctets(addresses[i]);
    if (!printer.greeting && !printer.snmp) {
      // Something that took the connection and then said nothing is worth a line.
      if (greeting && greeting->outcome == Greeting::Outcome::Silent && !greeting->note.empty() &&
          !report.cancelled)
        report.notes.push_back(where + ": " + greeting->note);
      continue;
    }
    if (printer.greeting && !printer.greeting->note.empty())
      printer.notes.push_back("FTP: " + printer.greeting->note);
    if (printer.snmp && !snmp->note.empty()) printer.notes.push_back("SNMP: " + snmp->note);
    printer.model = modelOf(printer);
    report.found.push_back(std::move(printer));
  }
  return report;
}

std::string sweepSummary(const SweepReport& report) {
  using Kind = PrinterModel::Kind;
  std::string parts = "旧機種 " + std::to_string(report.count(Kind::Old)) + "、8630-M " +
                      std::to_string(report.count(Kind::New));
  if (const auto other = report.count(Kind::Other) + report.count(Kind::Unknown); other > 0)
    parts += "、その他 " + std::to_string(other);
  parts += "、応答なし " + std::to_string(report.silent());
  const std::string asked = report.cancelled
                                ? "中止しました: " + std::to_string(report.named) + " 件のうち " +
                                      std::to_string(report.asked) + " 件を調べ、"
                                : std::to_string(report.asked) + " 件を調べ、";
  return asked + std::to_string(report.found.size()) + " 台が応答しました（" + parts + "）";
}

}  // namespace drovik::discovery
