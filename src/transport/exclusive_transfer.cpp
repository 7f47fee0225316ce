#include "transport/exclusive_transfer.h"

#include <optional>

namespace drovik::transport {
namespace {

// The lock and the run's control for the transfer itself: the whole time the caller's control
// had left when the wait began, cancelled with it.
struct LockedRun {
  std::optional<TransferLock> lock;
  std::string refusal;
  std::optional<RunControl> control;
};

void lockFor(LockedRun& run, const std::filesystem::path& folder, const RunControl& control,
             const WaitNotice& notice) {
  const auto budget = control.remaining();
  auto lock = TransferLock::acquire(folder, control, notice);
  if (!lock) {
    run.refusal = lock.message();
    return;
  }
  run.lock.emplace(std::move(*lock));
  run.control.emplace(budget, control);
}

}  // namespace

ExclusiveRoute::ExclusiveRoute(std::filesystem::path folder, std::unique_ptr<SendRoute> route,
                               WaitNotice notice)
    : folder_(std::move(folder)), route_(std::move(route)), notice_(std::move(notice)) {}

SendOutcome ExclusiveRoute::send(std::span<const std::uint8_t> image, RunControl& control) {
  LockedRun run;
  lockFor(run, folder_, control, notice_);
  if (!run.lock) return {false, run.refusal, {}};
  return route_->send(image, *run.control);
}

RetrievalResult retrieveExclusively(const std::filesystem::path& folder, const Ipv4Octets& address,
                                    std::string_view password, RunControl& control,
                                    const WaitNotice& notice) {
  RetrievalResult result;
  LockedRun run;
  lockFor(run, folder, control, notice);
  if (!run.lock) {
    result.outcome.message = run.refusal;
    return result;
  }
  result.outcome = retrievePrinterImages(folder, address, password, *run.control);
  if (result.outcome.retrieved()) result.images = nvram::readRetrievedImages(folder);
  return result;
}

}  // namespace drovik::transport
