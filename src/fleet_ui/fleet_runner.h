// A run of a plan file for the fleet window: opened as drovik-cli fleet opens it (the plan's
// lock, its result file, the archive), then run on the desktop program's background pool while
// the window shows each row's state as it changes. Cancelled, it stops as Ctrl-C stops the
// command; destroyed, it cancels and waits, so that no row outlives the window.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include "fleet/plan_run.h"
#include "fleet/row_state.h"
#include "transport/run_control.h"

namespace drovik::fleet_ui {

struct RunRequest {
  std::filesystem::path plan;
  std::string password;
  int jobs = fleet::kDefaultJobs;
  bool dryRun = false;
  std::chrono::milliseconds stepLimit = transport::kRunLimit;
};

class FleetRunner : public QObject {
  Q_OBJECT

 public:
  explicit FleetRunner(QObject* parent = nullptr);
  ~FleetRunner() override;

  // Reads the plan file and opens the run; refused (nothing started, nothing written) with the
  // command's message. Rows an earlier run completed are reported at once as such.
  Status start(const RunRequest& request);
  bool running() const { return running_; }
  void cancel();
  bool cancelled() const { return control_ && control_->cancelled(); }
  // Waits, the event loop running, until the run has ended.
  void waitUntilFinished();

 Q_SIGNALS:
  // `row` is the place of the row in the plan, from 0.
  void rowChanged(int row, fleet::RowState state, const QString& result);
  void progressed(int finished, int total);
  // The run ended (also when cancelled); `problem` says what could not be written, if anything.
  void finished(const QString& problem);

 private:
  class Listener;
  int totalRows() const;
  void runEnded();

  std::unique_ptr<fleet::PlanRun> run_;
  std::unique_ptr<transport::RunControl> control_;
  std::unique_ptr<Listener> listener_;
  QFutureWatcher<QString> watcher_;
  RunRequest request_;
  bool running_ = false;
  int finishedRows_ = 0;
};

}  // namespace drovik::fleet_ui
