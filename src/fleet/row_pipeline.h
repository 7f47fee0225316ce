// One row of a plan from the old printer to the new one: fetch the old printer's images into
// the row's own work folder, register them as the profile NAME (8630-GHJK), migrate it to
// NAME-M (overwriting only an 8630-M profile of that name), build the M command and send it to
// the new target. The profiles go into the row's folder of the plan's archive (with the images
// and the command file NAME-M.sib), or into the data folder. A step that fails ends the row;
// the others are marked skipped. A dry run fetches and rehearses the rest, writing no profile
// and sending nothing.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "fleet/fleet_plan.h"
#include "fleet/row_result.h"
#include "service/profile_service.h"
#include "transport/run_control.h"

namespace drovik::fleet {

struct PipelineSettings {
  std::string password;                                        // of the old printers
  std::chrono::milliseconds stepLimit = transport::kRunLimit;  // each fetch and each send
  bool dryRun = false;
  // The plan's archive (see row_archive.h), when the rows do not register in the data folder.
  std::filesystem::path archive;
};

class RowPipeline {
 public:
  // Work folders go into `scratch`; `run` cancels every step when cancelled. With `dataFolder`
  // the rows register there; without, each row keeps its profiles in its folder of the archive.
  RowPipeline(ProfileService* dataFolder, std::filesystem::path scratch, PipelineSettings settings,
              const transport::RunControl& run);
  // Told as each step begins, on the calling thread.
  using StepWatcher = std::function<void(Step)>;
  // Safe to call from several threads at once for different rows. A run cancelled between two
  // steps starts no further step.
  RowResult run(const PlanRow& row, const StepWatcher& onStep = {}) const;

 private:
  // Where the steps after the fetch find the images and keep the profiles and the command.
  struct RowProfiles {
    ProfileService& service;
    std::filesystem::path images;       // the folder of rnvr_all.bin and rnvr_nw.bin
    std::filesystem::path commandFile;  // empty: the command is not kept
  };
  void migrateAndSend(const PlanRow& row, const RowProfiles& profiles,
                      const std::filesystem::path& workDir, const StepWatcher& onStep,
                      RowResult& result) const;

  ProfileService* dataFolder_;
  std::filesystem::path scratch_;
  PipelineSettings settings_;
  const transport::RunControl& run_;
};

}  // namespace drovik::fleet
