#include "fleet/row_state.h"

namespace drovik::fleet {
namespace {

const StepResult* sendStep(const RowResult& row) {
  for (const StepResult& step : row.steps)
    if (step.step == Step::Send) return &step;
  return nullptr;
}

}  // namespace

const char* rowStateLabel(RowState state) {
  switch (state) {
    case RowState::Waiting:
      return "待機中";
    case RowState::Fetching:
      return "取得中";
    case RowState::Migrating:
      return "移行中";
    case RowState::Sending:
      return "送信中";
    case RowState::Completed:
      return "完了";
    case RowState::Queued:
      return "印刷待ち";
    case RowState::Failed:
      return "失敗";
    case RowState::CompletedBefore:
      break;
  }
  return "完了済み";
}

RowState stateDuring(Step step) {
  switch (step) {
    case Step::Fetch:
      return RowState::Fetching;
    case Step::Send:
      return RowState::Sending;
    default:
      return RowState::Migrating;
  }
}

RowState stateAfter(const RowResult& row, bool skipped) {
  if (row.status == RowStatus::Pending) return RowState::Waiting;
  if (row.status == RowStatus::Failed) return RowState::Failed;
  if (skipped) return RowState::CompletedBefore;
  const StepResult* send = sendStep(row);
  return send && send->outcome == StepOutcome::Queued ? RowState::Queued : RowState::Completed;
}

std::string rowSummary(const RowResult& row, bool skipped, bool dryRun) {
  if (row.status == RowStatus::Pending) return "未実行";
  if (const StepResult* failed = row.failedStep())
    return std::string("失敗 ") + stepLabel(failed->step) + ": " + failed->message;
  std::string text = skipped ? "前回完了済み" : dryRun ? "実行可能" : "完了";
  if (dryRun && !skipped) {
    for (const StepResult& step : row.steps)
      if (step.step == Step::Register || step.step == Step::Migrate) text += " " + step.message;
  }
  const StepResult* send = sendStep(row);
  if (send && send->bytes)
    text += std::string(dryRun && !skipped ? " 送信予定 " : " 送信 ") + row.target + " " +
            std::to_string(*send->bytes) + "バイト SHA-256 " + send->sha256;
  if (send && send->outcome == StepOutcome::Queued) text += "（警告: " + send->message + "）";
  if (!row.archive.empty()) text += " 保存先 " + row.archive;
  return text;
}

}  // namespace drovik::fleet
