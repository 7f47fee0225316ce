// One run of a plan: rows an earlier run completed are skipped, the others go through the
// pipeline on a pool of threads (one failing row never stops the others), and each outcome is
// recorded in the result file as it arrives.
#pragma once

#include <string>
#include <vector>

#include "fleet/fleet_plan.h"
#include "fleet/result_file.h"
#include "fleet/row_pipeline.h"

namespace drovik::fleet {

inline constexpr int kDefaultJobs = 4;
inline constexpr int kMaxJobs = 16;

// Told about the rows as they go; called from the worker threads.
class RowListener {
 public:
  virtual ~RowListener() = default;
  virtual void rowSkipped(const PlanRow& row, const RowResult& earlier) = 0;
  virtual void rowStarted(const PlanRow& row) = 0;
  // A step of a started row begins.
  virtual void rowStep(const PlanRow& /*row*/, Step /*step*/) {}
  virtual void rowFinished(const PlanRow& row, const RowResult& result) = 0;
};

struct RunReport {
  std::vector<RowResult> rows;  // in plan order; a skipped row keeps its earlier record
  std::vector<bool> skipped;
  std::string recordError;  // the first failure to write the result file, if any
  bool allCompleted() const;
};

// The profiles the rows to be run would add must fit in the free slots; refused (with how
// many are needed and free) before any printer is asked.
Status checkProfileRoom(const ProfileService& service, const std::vector<PlanRow>& rows,
                        const ResultFile& results);

// Rows not started when `run` is cancelled stay pending. With `record` false (a dry run) the
// result file is only read.
RunReport runPlan(const std::vector<PlanRow>& plan, ResultFile& results, bool record,
                  const RowPipeline& pipeline, int jobs, RowListener& listener,
                  const transport::RunControl& run);

}  // namespace drovik::fleet
