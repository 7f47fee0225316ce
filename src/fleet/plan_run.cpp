#include "fleet/plan_run.h"

#include <algorithm>

#include "fleet/row_archive.h"

namespace drovik::fleet {

Result<PlanRun> PlanRun::open(const std::filesystem::path& planPath, std::vector<PlanRow> plan,
                              const PlanRunOptions& options) {
  std::optional<PlanLock> lock;
  auto taken = PlanLock::take(planPath);
  if (taken)
    lock.emplace(std::move(*taken));
  else if (!options.dryRun || taken.message().starts_with(kPlanInUse))
    return taken.error();
  auto results = ResultFile::open(resultPathFor(planPath), plan);
  if (!results) return results.error();
  if (options.dataFolder) {
    if (Status s = checkProfileRoom(*options.dataFolder, plan, *results); !s) return s.error();
  }
  return PlanRun(planPath, std::move(plan), options, std::move(lock), std::move(*results));
}

std::filesystem::path PlanRun::archive() const { return archivePathFor(planPath_); }

bool PlanRun::anyToRun() const {
  return std::any_of(plan_.begin(), plan_.end(),
                     [&](const PlanRow& row) { return !results_.completedBefore(row); });
}

Result<RunReport> PlanRun::run(const std::string& password, std::chrono::milliseconds stepLimit,
                               int jobs, RowListener& listener,
                               const transport::RunControl& control) {
  const bool registering = options_.dataFolder != nullptr;
  if (!options_.dryRun) {
    if (Status s = results_.write(); !s) return s.error();
    if (Status s = registering ? Status() : createFolder(archive()); !s) return s.error();
  }
  auto scratch = ScratchDir::create();
  if (!scratch) return scratch.error();
  const RowPipeline pipeline(
      options_.dataFolder, scratch->path(),
      {password, stepLimit, options_.dryRun, registering ? std::filesystem::path() : archive()},
      control);
  return runPlan(plan_, results_, !options_.dryRun, pipeline, jobs, listener, control);
}

}  // namespace drovik::fleet
