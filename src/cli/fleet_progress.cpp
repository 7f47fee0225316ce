#include "cli/fleet_progress.h"

#include <iostream>

namespace drovik::cli {
namespace {

constexpr int kBarWidth = 30;

std::string rowName(const fleet::RowResult& row) {
  return row.name + " " + row.oldPrinter + " → " + row.target;
}

const fleet::StepResult* sendStep(const fleet::RowResult& row) {
  for (const fleet::StepResult& step : row.steps)
    if (step.step == fleet::Step::Send) return &step;
  return nullptr;
}

}  // namespace

std::string rowSummary(const fleet::RowResult& row, bool skipped, bool dryRun) {
  if (row.status == fleet::RowStatus::Pending) return "未実行";
  if (const fleet::StepResult* failed = row.failedStep())
    return std::string("失敗 ") + fleet::stepLabel(failed->step) + ": " + failed->message;
  std::string text = skipped ? "前回完了済み" : dryRun ? "実行可能" : "完了";
  if (dryRun && !skipped) {
    for (const fleet::StepResult& step : row.steps)
      if (step.step == fleet::Step::Register || step.step == fleet::Step::Migrate)
        text += " " + step.message;
  }
  const fleet::StepResult* send = sendStep(row);
  if (send && send->bytes)
    text += std::string(dryRun && !skipped ? " 送信予定 " : " 送信 ") + row.target + " " +
            std::to_string(*send->bytes) + "バイト SHA-256 " + send->sha256;
  if (send && send->outcome == fleet::StepOutcome::Queued)
    text += "（警告: " + send->message + "）";
  if (!row.archive.empty()) text += " 保存先 " + row.archive;
  return text;
}

FleetProgress::FleetProgress(std::size_t rows, bool dryRun, bool terminal)
    : rows_(rows), dryRun_(dryRun), terminal_(terminal) {}

void FleetProgress::rowSkipped(const fleet::PlanRow&, const fleet::RowResult& earlier) {
  const std::lock_guard lock(mutex_);
  ++finished_;
  line(rowName(earlier) + ": 前回完了済みのため実行しません");
}

void FleetProgress::rowStarted(const fleet::PlanRow&) {
  const std::lock_guard lock(mutex_);
  ++running_;
  if (terminal_) drawBar();
}

void FleetProgress::rowFinished(const fleet::PlanRow&, const fleet::RowResult& result) {
  const std::lock_guard lock(mutex_);
  --running_;
  ++finished_;
  if (result.status != fleet::RowStatus::Completed) ++failed_;
  line(rowName(result) + ": " + rowSummary(result, false, dryRun_));
}

void FleetProgress::finish() {
  const std::lock_guard lock(mutex_);
  if (terminal_) std::cerr << "\r\033[K" << std::flush;
}

void FleetProgress::line(const std::string& text) {
  std::cerr << (terminal_ ? "\r\033[K" : "") << "drovik-cli: [" << finished_ << "/" << rows_ << "] "
            << text << '\n';
  if (terminal_) drawBar();
  std::cerr << std::flush;
}

void FleetProgress::drawBar() {
  const auto filled = rows_ ? static_cast<int>(finished_ * kBarWidth / rows_) : kBarWidth;
  std::cerr << "\r\033[K[" << std::string(static_cast<std::size_t>(filled), '#')
            << std::string(static_cast<std::size_t>(kBarWidth - filled), '-') << "] " << finished_
            << "/" << rows_ << " 失敗 " << failed_ << " 実行中 " << running_ << std::flush;
}

}  // namespace drovik::cli
