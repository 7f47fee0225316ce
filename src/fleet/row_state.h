// Where a row of a run stands, as the fleet window shows it, and what it came to in a few
// words, as both programs say it.
#pragma once

#include <string>

#include "fleet/row_result.h"

namespace drovik::fleet {

enum class RowState {
  Waiting,          // 待機中: not started (or left pending by a cancelled run)
  Fetching,         // 取得中
  Migrating,        // 移行中: registering, migrating, building the command
  Sending,          // 送信中
  Completed,        // 完了
  Queued,           // 印刷待ち: the spooler still holds the job
  Failed,           // 失敗
  CompletedBefore,  // 完了済み: an earlier run completed it
};

const char* rowStateLabel(RowState state);

// The state while `step` runs.
RowState stateDuring(Step step);
// The state a row ended in; `skipped` when an earlier run had completed it.
RowState stateAfter(const RowResult& row, bool skipped);

// What one row came to, in a few words: the step that failed and why, or what was sent.
std::string rowSummary(const RowResult& row, bool skipped, bool dryRun);

}  // namespace drovik::fleet
