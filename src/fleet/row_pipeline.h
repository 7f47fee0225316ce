// One row of a plan from the old printer to the new one: fetch the old printer's images into
// the row's own work folder, register them as the profile NAME (8630-GHJK), migrate it to
// NAME-M (overwriting only an 8630-M profile of that name), build the M command and send it to
// the new target. A step that fails ends the row; the others are marked skipped. A dry run
// fetches and rehearses the rest, writing no profile and sending nothing.
#pragma once

#include <chrono>
#include <filesystem>
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
};

class RowPipeline {
 public:
  // Work folders go into `scratch`; `run` cancels every step when cancelled.
  RowPipeline(ProfileService& service, std::filesystem::path scratch, PipelineSettings settings,
              const transport::RunControl& run);
  // Safe to call from several threads at once for different rows.
  RowResult run(const PlanRow& row) const;

 private:
  ProfileService& service_;
  std::filesystem::path scratch_;
  PipelineSettings settings_;
  const transport::RunControl& run_;
};

}  // namespace drovik::fleet
