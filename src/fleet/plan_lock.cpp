#include "fleet/plan_lock.h"

#include "files/file_lock.h"

namespace drovik::fleet {

std::filesystem::path lockPathFor(const std::filesystem::path& plan) {
  std::filesystem::path lock = plan;
  return lock.replace_extension(".lock");
}

Result<PlanLock> PlanLock::take(const std::filesystem::path& plan) {
  auto fd = takeFileLock(lockPathFor(plan), [&]() -> Status {
    return Error{std::string(kPlanInUse) + plan.string()};
  });
  if (!fd) return fd.error();
  return PlanLock(std::move(*fd));
}

}  // namespace drovik::fleet
