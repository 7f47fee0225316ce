// A run of a plan file, as drovik-cli fleet and the fleet window both start it: the plan's lock
// for the whole run, its result file (rows an earlier run completed are skipped), the rows'
// archive beside the plan or the data folder, and a scratch folder for the rows' transfers.
// Everything that could refuse the run is checked before any printer is asked.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fleet/fleet_run.h"
#include "fleet/plan_lock.h"
#include "fleet/scratch_dir.h"

namespace drovik::fleet {

struct PlanRunOptions {
  bool dryRun = false;
  // Registered in this data folder; by default each row keeps its profiles in its folder of
  // the plan's archive.
  ProfileService* dataFolder = nullptr;
};

class PlanRun {
 public:
  // Takes the plan's lock (a dry run goes on where no lock file can be made), reads the result
  // file and checks the data folder's room.
  static Result<PlanRun> open(const std::filesystem::path& planPath, std::vector<PlanRow> plan,
                              const PlanRunOptions& options);

  const std::vector<PlanRow>& plan() const { return plan_; }
  const ResultFile& results() const { return results_; }
  std::filesystem::path archive() const;
  // Some row is not completed yet: only then is the password needed.
  bool anyToRun() const;

  // Writes the result file and makes the archive (a folder that cannot take them is found
  // while nothing is done), then runs the rows. An error only from that preparation.
  Result<RunReport> run(const std::string& password, std::chrono::milliseconds stepLimit, int jobs,
                        RowListener& listener, const transport::RunControl& control);

 private:
  PlanRun(std::filesystem::path planPath, std::vector<PlanRow> plan, PlanRunOptions options,
          std::optional<PlanLock> lock, ResultFile results)
      : planPath_(std::move(planPath)),
        plan_(std::move(plan)),
        options_(options),
        lock_(std::move(lock)),
        results_(std::move(results)) {}

  std::filesystem::path planPath_;
  std::vector<PlanRow> plan_;
  PlanRunOptions options_;
  std::optional<PlanLock> lock_;
  ResultFile results_;
};

}  // namespace drovik::fleet
