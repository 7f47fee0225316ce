// PLAN.result.json beside the plan: per row its archive folder, and per step the outcome, the
// message, and the bytes sent with their SHA-256. It is rewritten whole (temporary file and rename)
// each time a row finishes, so that a run killed halfway keeps what completed, and a later run of
// the same plan skips those rows.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "fleet/row_result.h"

namespace drovik::fleet {

// "offices.csv" -> "offices.result.json", in the plan's folder.
std::filesystem::path resultPathFor(const std::filesystem::path& plan);

class ResultFile {
 public:
  // The records of an earlier run when the file exists. A file that is not such a record is
  // refused, never overwritten: the operator decides what to do with it.
  static Result<ResultFile> open(const std::filesystem::path& path,
                                 const std::vector<PlanRow>& plan);

  const std::filesystem::path& path() const { return path_; }
  // An earlier run completed the row as the plan names it now.
  bool completedBefore(const PlanRow& row) const;
  const RowResult& recordOf(const PlanRow& row) const;

  // Records a row's outcome and rewrites the file; safe from several threads.
  Status record(const RowResult& row);
  Status write();

 private:
  ResultFile() = default;
  RowResult* find(const std::string& name);
  Status writeLocked() const;

  std::filesystem::path path_;
  std::vector<RowResult> rows_;    // the plan's rows, in its order
  std::vector<RowResult> others_;  // earlier records of names the plan no longer has
  std::unique_ptr<std::mutex> mutex_ = std::make_unique<std::mutex>();
};

}  // namespace drovik::fleet
