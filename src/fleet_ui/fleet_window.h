// "フリート移行": a plan opened, edited and saved as drovik-cli fleet reads it, printers found
// and added, then rehearsed ("試行") or run ("実行") with each row's state followed live, and
// stopped ("中止") as Ctrl-C stops the command. The window asks and shows; the plan, the run
// and the sweep are the plain layers' own.
#pragma once

#include <QDialog>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "fleet/plan_entries.h"
#include "transport/run_control.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;

namespace drovik::transfer_ui {
class PrinterListing;
}

namespace drovik::fleet_ui {

class FleetRunner;
class PlanTableModel;
class TargetDelegate;

// What the main window lends: a row's archive folder in the read-only folder window, and its
// history (a row's folder records only the row's own profiles and its target).
struct FleetWindowHooks {
  std::function<void(QWidget* parent, const std::filesystem::path& folder)> openArchive;
  std::function<void(QWidget* parent, const std::filesystem::path& folder)> showHistory;
};

class FleetWindow : public QDialog {
  Q_OBJECT

 public:
  explicit FleetWindow(FleetWindowHooks hooks = {}, QWidget* parent = nullptr);
  ~FleetWindow() override;

  // Opens the plan; a plan that cannot be read is said and the window stays as it was.
  bool openPlan(const std::filesystem::path& path);
  const std::optional<std::filesystem::path>& planPath() const { return planPath_; }
  PlanTableModel& table() { return *model_; }
  FleetRunner& runner() { return *runner_; }
  // Each fetch and send of a run is bounded by this (tests shorten it).
  void setStepLimit(std::chrono::milliseconds limit) { stepLimit_ = limit; }

  // The buttons' operations.
  void newPlan();
  void choosePlan();
  bool save();
  void addRow();
  void removeSelectedRows();
  void searchPrinters();
  void rehearse() { startRun(true); }
  void runPlan() { startRun(false); }
  void stopRun();
  void openSelectedArchive();
  void showSelectedHistory();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void setUpControls();
  void startRun(bool dryRun);
  void runFinished(const QString& problem);
  void updateControls();
  void showPlanPath();
  void showCompletedBefore();
  // Asks before unsaved rows are dropped; true to go on.
  bool mayDropChanges();
  // A run still going is stopped, when the operator agrees; true when the window may close.
  bool mayClose();
  std::optional<int> selectedRow() const;
  std::optional<std::filesystem::path> archiveOf(int row) const;

  FleetWindowHooks hooks_;
  PlanTableModel* model_;
  TargetDelegate* targets_;
  FleetRunner* runner_;
  std::unique_ptr<transfer_ui::PrinterListing> queueListing_;
  std::optional<std::filesystem::path> planPath_;
  fleet::PlanVersion version_;
  bool dryRun_ = false;
  std::chrono::milliseconds stepLimit_ = transport::kRunLimit;

  QLabel* pathLabel_;
  QTableView* view_;
  QLineEdit* password_;
  QSpinBox* jobs_;
  QProgressBar* progress_;
  QLabel* runLabel_;
  QPushButton* newButton_;
  QPushButton* openButton_;
  QPushButton* saveButton_;
  QPushButton* addButton_;
  QPushButton* removeButton_;
  QPushButton* searchButton_;
  QPushButton* rehearseButton_;
  QPushButton* runButton_;
  QPushButton* stopButton_;
  QPushButton* archiveButton_;
  QPushButton* historyButton_;
  QPushButton* closeButton_;
};

}  // namespace drovik::fleet_ui
