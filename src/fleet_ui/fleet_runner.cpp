#include "fleet_ui/fleet_runner.h"

#include <QEventLoop>
#include <QMetaObject>

#include "ui/background_work.h"

namespace drovik::fleet_ui {

// Told by the worker threads; hands everything to the runner's thread.
class FleetRunner::Listener : public fleet::RowListener {
 public:
  Listener(FleetRunner& runner, const std::vector<fleet::PlanRow>& plan, bool dryRun)
      : runner_(runner), plan_(plan), dryRun_(dryRun) {}

  void rowSkipped(const fleet::PlanRow& row, const fleet::RowResult& earlier) override {
    post(row, fleet::RowState::CompletedBefore, fleet::rowSummary(earlier, true, dryRun_), true);
  }
  void rowStarted(const fleet::PlanRow& row) override {
    post(row, fleet::RowState::Fetching, {}, false);
  }
  void rowStep(const fleet::PlanRow& row, fleet::Step step) override {
    post(row, fleet::stateDuring(step), {}, false);
  }
  void rowFinished(const fleet::PlanRow& row, const fleet::RowResult& result) override {
    post(row, fleet::stateAfter(result, false), fleet::rowSummary(result, false, dryRun_), true);
  }

 private:
  void post(const fleet::PlanRow& row, fleet::RowState state, const std::string& text, bool ended) {
    const int at = static_cast<int>(&row - plan_.data());
    FleetRunner* runner = &runner_;
    QMetaObject::invokeMethod(
        runner,
        [runner, at, state, result = QString::fromStdString(text), ended] {
          if (ended) ++runner->finishedRows_;
          Q_EMIT runner->rowChanged(at, state, result);
          if (ended) Q_EMIT runner->progressed(runner->finishedRows_, runner->totalRows());
        },
        Qt::QueuedConnection);
  }

  FleetRunner& runner_;
  const std::vector<fleet::PlanRow>& plan_;
  bool dryRun_;
};

FleetRunner::FleetRunner(QObject* parent) : QObject(parent) {
  connect(&watcher_, &QFutureWatcher<QString>::finished, this, &FleetRunner::runEnded);
}

FleetRunner::~FleetRunner() {
  if (!running_) return;
  control_->cancel();
  watcher_.waitForFinished();
}

int FleetRunner::totalRows() const { return run_ ? static_cast<int>(run_->plan().size()) : 0; }

Status FleetRunner::start(const RunRequest& request) {
  if (running_) return Error{"移行を実行中です"};
  auto plan = fleet::readPlan(request.plan);
  if (!plan) return plan.error();
  auto opened = fleet::PlanRun::open(request.plan, std::move(*plan), {request.dryRun, nullptr});
  if (!opened) return opened.error();
  request_ = request;
  run_ = std::make_unique<fleet::PlanRun>(std::move(*opened));
  control_ = std::make_unique<transport::RunControl>(std::chrono::hours(24 * 365));
  listener_ = std::make_unique<Listener>(*this, run_->plan(), request.dryRun);
  finishedRows_ = 0;
  running_ = true;
  Q_EMIT progressed(0, totalRows());
  fleet::PlanRun* run = run_.get();
  transport::RunControl* control = control_.get();
  Listener* listener = listener_.get();
  watcher_.setFuture(ui::startInBackground([run, control, listener, request]() -> QString {
    auto report = run->run(request.password, request.stepLimit, request.jobs, *listener, *control);
    if (!report) return QString::fromStdString(report.message());
    return QString::fromStdString(report->recordError);
  }));
  return {};
}

void FleetRunner::cancel() {
  if (running_) control_->cancel();
}

void FleetRunner::waitUntilFinished() {
  if (!running_) return;
  QEventLoop loop;
  connect(this, &FleetRunner::finished, &loop, &QEventLoop::quit);
  loop.exec();
}

void FleetRunner::runEnded() {
  const QString problem = watcher_.result();
  // The rows' last states were posted before the run ended: let them arrive first.
  QMetaObject::invokeMethod(
      this,
      [this, problem] {
        running_ = false;
        // The lock goes with the run, so that the plan may be run again at once.
        run_.reset();
        Q_EMIT finished(problem);
      },
      Qt::QueuedConnection);
}

}  // namespace drovik::fleet_ui
