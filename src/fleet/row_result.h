// What happened to one row of a plan, step by step, as the result file keeps it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fleet/fleet_plan.h"

namespace drovik::fleet {

enum class Step { Fetch, Register, Migrate, Command, Send };
// Queued: a send the spooler accepted but had not printed by the end of the step; the row
// counts as completed, as the job is not to be sent twice.
enum class StepOutcome { Ok, Failed, Skipped, Queued };
enum class RowStatus { Pending, Completed, Failed };

struct StepResult {
  Step step = Step::Fetch;
  StepOutcome outcome = StepOutcome::Skipped;
  std::string message;
  // The command of the send step, attempted or sent.
  std::optional<std::size_t> bytes;
  std::string sha256;
};

struct RowResult {
  int line = 0;
  std::string name;
  std::string oldPrinter;  // "A.B.C.D"
  std::string target;      // as transport::Target::text writes it
  std::string archive;     // the row's folder (rowArchiveName); empty when registered
  RowStatus status = RowStatus::Pending;
  std::vector<StepResult> steps;

  static RowResult pending(const PlanRow& row);
  // The record is of this row of the plan: same name, old printer and new target.
  bool isFor(const PlanRow& row) const;
  // The step that failed, if any.
  const StepResult* failedStep() const;
};

// Japanese names of the steps, for the progress lines.
const char* stepLabel(Step step);

}  // namespace drovik::fleet
