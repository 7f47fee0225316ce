#include "discovery/snmp_query.h"

#include <poll.h>

#include <algorithm>
#include <memory>
#include <mutex>

#include "discovery/snmp_host_query.h"
#include "discovery/snmp_library.h"
#include "discovery/snmp_security.h"
#include "transport/ipv4_address.h"

namespace drovik::discovery {
namespace {

using Clock = std::chrono::steady_clock;

// How often the loop looks at `cancel`, at the longest.
constexpr auto kLookEvery = std::chrono::milliseconds(100);
constexpr std::chrono::milliseconds kShortestTimeout{10};
const std::string kCancelledNote = "中止しました";

// net-snmp keeps its sessions' and users' state in globals without locks: one sweep at a time
// in the whole process, whichever thread runs it.
std::timed_mutex& sweepLock() {
  static std::timed_mutex lock;
  return lock;
}

std::vector<SnmpAnswer> unanswered(const std::vector<Ipv4Octets>& addresses,
                                   const std::string& note) {
  std::vector<SnmpAnswer> answers(addresses.size());
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    answers[i].address = addresses[i];
    answers[i].note = note;
  }
  return answers;
}

class Sweep {
 public:
  Sweep(const SnmpLibrary& library, const SnmpSecurity& security,
        const std::vector<Ipv4Octets>& addresses, const SnmpSweepLimits& limits, RateLimiter& rate,
        const std::function<void(const SnmpAnswer&)>& onAnswer)
      : library_(library),
        security_(security),
        users_(library, security.user),
        addresses_(addresses),
        jobs_(static_cast<std::size_t>(std::max(limits.jobs, 1))),
        timeout_(std::max(limits.timeout, kShortestTimeout)),
        port_(limits.port),
        rate_(rate),
        onAnswer_(onAnswer),
        answers_(unanswered(addresses, "")) {}

  std::vector<SnmpAnswer> run(const std::atomic<bool>& cancel) {
    while (!cancel.load()) {
      startWhatMay();
      if (active_.empty() && next_ == addresses_.size()) return std::move(answers_);
      wait();
      const Clock::time_point now = Clock::now();
      for (auto& [index, query] : active_) query->onTime(now);
      finishSettled();
    }
    for (auto& [index, query] : active_) {
      query->abandon(kCancelledNote);
      answers_[index] = query->answer();
    }
    active_.clear();
    for (; next_ < addresses_.size(); ++next_) answers_[next_].note = kCancelledNote;
    return std::move(answers_);
  }

 private:
  // New queries while there is room, each on a turn of the shared rate; a turn that lies ahead
  // is kept and waited for by the loop.
  void startWhatMay() {
    while (next_ < addresses_.size() && active_.size() < jobs_) {
      const Ipv4Octets& address = addresses_[next_];
      if (const Status valid = transport::checkAddress(address); !valid) {
        answers_[next_].note = valid.message();
        settled(next_++);
        continue;
      }
      if (!turn_) turn_ = rate_.takeTurn();
      if (*turn_ > Clock::now()) return;
      turn_.reset();
      auto query =
          std::make_unique<SnmpHostQuery>(library_, security_, users_, address, port_, timeout_);
      query->start();
      active_.emplace_back(next_++, std::move(query));
      finishSettled();
    }
  }

  void wait() {
    const Clock::time_point now = Clock::now();
    Clock::time_point until = now + kLookEvery;
    if (turn_ && active_.size() < jobs_) until = std::min(until, *turn_);
    std::vector<pollfd> sockets;
    std::vector<SnmpHostQuery*> owners;
    for (auto& [index, query] : active_) {
      until = std::min(until, query->nextLook(now));
      if (query->socket() < 0) continue;
      sockets.push_back({query->socket(), POLLIN, 0});
      owners.push_back(query.get());
    }
    const auto timeout = std::chrono::ceil<std::chrono::milliseconds>(
        std::max(until - now, Clock::duration::zero()));
    if (::poll(sockets.data(), static_cast<nfds_t>(sockets.size()),
               static_cast<int>(timeout.count())) <= 0)
      return;
    for (std::size_t i = 0; i < sockets.size(); ++i)
      if (sockets[i].revents != 0) owners[i]->onReadable();
  }

  void finishSettled() {
    auto settledEnd = std::stable_partition(
        active_.begin(), active_.end(), [](const auto& entry) { return !entry.second->settled(); });
    for (auto it = settledEnd; it != active_.end(); ++it) {
      answers_[it->first] = it->second->answer();
      it->second.reset();
      settled(it->first);
    }
    active_.erase(settledEnd, active_.end());
  }

  void settled(std::size_t index) {
    if (onAnswer_) onAnswer_(answers_[index]);
  }

  const SnmpLibrary& library_;
  const SnmpSecurity& security_;
  SweepUsers users_;
  const std::vector<Ipv4Octets>& addresses_;
  std::size_t jobs_;
  std::chrono::milliseconds timeout_;
  std::uint16_t port_;
  RateLimiter& rate_;
  const std::function<void(const SnmpAnswer&)>& onAnswer_;
  std::vector<SnmpAnswer> answers_;
  std::size_t next_ = 0;
  std::optional<Clock::time_point> turn_;
  std::vector<std::pair<std::size_t, std::unique_ptr<SnmpHostQuery>>> active_;
};

}  // namespace

Result<std::vector<SnmpAnswer>> querySnmp(const std::vector<Ipv4Octets>& addresses,
                                          const SnmpCredentials& credentials,
                                          const SnmpSweepLimits& limits, RateLimiter& rate,
                                          const std::atomic<bool>& cancel,
                                          const std::function<void(const SnmpAnswer&)>& onAnswer) {
  const auto library = snmpLibrary();
  if (!library) return library.error();
  std::unique_lock lock(sweepLock(), std::defer_lock);
  while (!lock.try_lock_for(kLookEvery))
    if (cancel.load()) return unanswered(addresses, kCancelledNote);
  const auto security = snmpSecurity(**library, credentials);
  if (!security) return security.error();
  return Sweep(**library, *security, addresses, limits, rate, onAnswer).run(cancel);
}

}  // namespace drovik::discovery
