// One search of the printer search dialog, run off the GUI thread: the addresses the words
// name (the spooler's queues among them), then the sweep of them. The counters and the cancel
// live in a progress object the dialog shares with the work, so that work outliving the dialog
// touches nothing of it.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "discovery/sweep.h"
#include "discovery/sweep_targets.h"
#include "transport/run_control.h"

namespace drovik::fleet_ui {

struct SearchProgress {
  // A sweep ends when it has asked every address or is cancelled, never by a time limit.
  transport::RunControl control{std::chrono::hours(24 * 365)};
  discovery::SweepCounters counters;
  std::atomic<bool> resolved{false};  // the addresses are known: `named` holds their number
  std::atomic<std::size_t> named{0};
};

struct SearchRequest {
  std::vector<std::string> words;
  discovery::SweepOptions options;
  // Empty: the spooler's queues, listed within the transport's limit and cancelled with the
  // search.
  discovery::QueueLister queues;
};

struct SearchOutcome {
  std::string refusal;                    // why the words name nothing to ask; nothing swept
  std::vector<std::string> addressNotes;  // queues `cups` left out, and why
  Result<discovery::SweepReport> report = discovery::SweepReport{};
};

// The words as the address field holds them: separated by blanks, full-width ones included.
std::vector<std::string> searchWords(const std::string& text);

SearchOutcome runSearch(const SearchRequest& request, SearchProgress& progress);

}  // namespace drovik::fleet_ui
