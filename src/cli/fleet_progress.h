// The progress of a fleet run on standard error: a line per row as it finishes and, when
// standard error is a terminal, one bar line redrawn below them.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

#include "fleet/fleet_run.h"

namespace drovik::cli {

class FleetProgress : public fleet::RowListener {
 public:
  FleetProgress(std::size_t rows, bool dryRun, bool terminal);
  void rowSkipped(const fleet::PlanRow& row, const fleet::RowResult& earlier) override;
  void rowStarted(const fleet::PlanRow& row) override;
  void rowFinished(const fleet::PlanRow& row, const fleet::RowResult& result) override;
  // Removes the bar.
  void finish();

 private:
  void line(const std::string& text);
  void drawBar();

  std::mutex mutex_;
  std::size_t rows_;
  bool dryRun_;
  bool terminal_;
  std::size_t finished_ = 0;
  std::size_t failed_ = 0;
  std::size_t running_ = 0;
};

}  // namespace drovik::cli
