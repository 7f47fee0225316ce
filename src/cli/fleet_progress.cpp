#include "cli/fleet_progress.h"

#include <iostream>

#include "fleet/row_state.h"

namespace drovik::cli {
namespace {

constexpr int kBarWidth = 30;

std::string rowName(const fleet::RowResult& row) {
  return row.name + " " + row.oldPrinter + " → " + row.target;
}

}  // namespace

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
  line(rowName(result) + ": " + fleet::rowSummary(result, false, dryRun_));
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
