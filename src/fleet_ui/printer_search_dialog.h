// "プリンタ検索": sweeps the addresses the administrator names, as drovik-cli discover does,
// lists what answered and hands the ticked old printers to the fleet window as plan rows. The
// sweep runs in the background while the dialog shows how far it has come; closing the dialog
// in any way cancels it.
#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <QTimer>
#include <memory>
#include <vector>

#include "discovery/sweep.h"
#include "discovery/sweep_targets.h"
#include "fleet/plan_writer.h"
#include "fleet_ui/printer_search_job.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace drovik::fleet_ui {

class PrinterSearchDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PrinterSearchDialog(QWidget* parent);
  ~PrinterSearchDialog() override;

  // The rows "計画に追加" chose; valid once the dialog was accepted.
  std::vector<fleet::PlanLine> chosenRows() const { return chosen_; }
  // Ports, timeouts and rates of the sweeps to come; a community typed in the dialog takes the
  // place of `snmp`.
  void setSweepOptions(const discovery::SweepOptions& options) { options_ = options; }
  // Where `cups` reads the spooler's queues (the spooler itself unless set).
  void setQueueLister(discovery::QueueLister queues) { queues_ = std::move(queues); }

  // The operations behind the buttons.
  void search();     // "検索": starts a sweep of the addresses in the field
  void addToPlan();  // "計画に追加": keeps the ticked rows and accepts
  // Every way of closing (Esc, the window's close, the buttons) comes here: a running sweep is
  // cancelled and what it still returns is shown without asking anything.
  void done(int result) override;

 Q_SIGNALS:
  // A search has ended: its result, or why it could not start, is shown.
  void searchEnded();

 private:
  void showProgress();
  void showOutcome(SearchOutcome outcome);
  void showNotes(const std::vector<std::string>& notes);
  void updateControls();

  discovery::SweepOptions options_;
  discovery::QueueLister queues_;
  std::vector<discovery::FoundPrinter> found_;
  std::vector<fleet::PlanLine> chosen_;
  QLineEdit* addressEdit_;
  QLineEdit* communityEdit_;
  QPushButton* searchButton_;
  QPushButton* addButton_;
  QLabel* countLabel_;
  QProgressBar* progressBar_;
  QStandardItemModel* model_;
  QTableView* table_;
  QLabel* notesLabel_;
  QTimer poll_;
  // The running search's, shared with its work, which may end after the dialog.
  std::shared_ptr<SearchProgress> progress_;
  // From the start of a search until its outcome is shown (the work may have ended before).
  bool searching_ = false;
  bool abandoned_ = false;  // closed while the search ran: nobody is there to answer a box
  // Last, so that it goes first: no outcome is handed to a dialog being taken apart.
  QFutureWatcher<SearchOutcome> watcher_;
};

}  // namespace drovik::fleet_ui
