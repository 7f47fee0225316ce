#include "fleet/fleet_run.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "model/profile_registry.h"

namespace drovik::fleet {

bool RunReport::allCompleted() const {
  return std::all_of(rows.begin(), rows.end(),
                     [](const RowResult& row) { return row.status == RowStatus::Completed; });
}

Status checkProfileRoom(const ProfileService& service, const std::vector<PlanRow>& rows,
                        const ResultFile& results) {
  auto slots = service.readSlots();
  if (!slots) return slots.error();
  int needed = 0;
  for (const PlanRow& row : rows) {
    if (results.completedBefore(row)) continue;
    for (const std::string& name : {row.name, row.migratedName()})
      if (findSlotByName(*slots, name) < 0) ++needed;
  }
  const int free = cat::kSlotCount - registeredCount(*slots);
  if (needed <= free) return {};
  return Error{"この計画では設定を新たに" + std::to_string(needed) +
               "個登録しますが、登録できるのはあと" + std::to_string(free) + "個です（設定は" +
               std::to_string(cat::kSlotCount) +
               "個まで）。計画を分けるか、不要な設定を削除してください。"};
}

RunReport runPlan(const std::vector<PlanRow>& plan, ResultFile& results, bool record,
                  const RowPipeline& pipeline, int jobs, RowListener& listener,
                  const transport::RunControl& run) {
  RunReport report;
  std::vector<std::size_t> toRun;
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const bool done = results.completedBefore(plan[i]);
    report.rows.push_back(done ? results.recordOf(plan[i]) : RowResult::pending(plan[i]));
    report.skipped.push_back(done);
    if (done)
      listener.rowSkipped(plan[i], report.rows.back());
    else
      toRun.push_back(i);
  }

  std::atomic<std::size_t> next{0};
  std::mutex recording;
  auto worker = [&] {
    for (std::size_t at = next++; at < toRun.size() && !run.cancelled(); at = next++) {
      const PlanRow& row = plan[toRun[at]];
      listener.rowStarted(row);
      RowResult result = pipeline.run(row, [&](Step step) { listener.rowStep(row, step); });
      if (record) {
        const Status written = results.record(result);
        const std::lock_guard lock(recording);
        if (!written && report.recordError.empty()) report.recordError = written.message();
      }
      report.rows[toRun[at]] = result;
      listener.rowFinished(row, result);
    }
  };
  const std::size_t threads = std::min<std::size_t>(std::max(jobs, 1), toRun.size());
  {
    std::vector<std::jthread> pool;
    for (std::size_t i = 0; i < threads; ++i) pool.emplace_back(worker);
  }  // joined
  return report;
}

}  // namespace drovik::fleet
