#include "fleet_ui/fleet_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include "fleet/fleet_run.h"
#include "fleet/result_file.h"
#include "fleet/row_archive.h"
#include "fleet_ui/fleet_runner.h"
#include "fleet_ui/plan_table_model.h"
#include "fleet_ui/printer_search_dialog.h"
#include "fleet_ui/target_editor.h"
#include "transfer_ui/dialog_parts.h"
#include "transfer_ui/printer_listing.h"
#include "ui/accessibility.h"
#include "ui/dialog_runner.h"
#include "ui/file_dialogs.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"

namespace drovik::fleet_ui {
namespace {

std::filesystem::path pathOf(const QString& chosen) {
  return QFile::encodeName(chosen).toStdString();
}

ui::FileDialogRequest planRequest(const QString& title) {
  ui::FileDialogRequest request;
  request.title = title;
  request.nameFilter = QStringLiteral("計画ファイル (*.csv)");
  request.defaultSuffix = QStringLiteral("csv");
  return request;
}

}  // namespace

FleetWindow::FleetWindow(FleetWindowHooks hooks, QWidget* parent)
    : QDialog(parent),
      hooks_(std::move(hooks)),
      model_(new PlanTableModel(this)),
      targets_(new TargetDelegate(this)),
      runner_(new FleetRunner(this)) {
  setWindowTitle(QStringLiteral("フリート移行"));
  setObjectName("fleetWindow");
  setUpControls();
  connect(model_, &PlanTableModel::planChanged, this, &FleetWindow::updateControls);
  connect(runner_, &FleetRunner::rowChanged, this,
          [this](int row, fleet::RowState state, const QString& result) {
            model_->setRowState(row, state, result);
          });
  connect(runner_, &FleetRunner::progressed, this, [this](int finished, int total) {
    progress_->setMaximum(std::max(total, 1));
    progress_->setValue(finished);
    progress_->setFormat(QStringLiteral("%1 / %2").arg(finished).arg(total));
  });
  connect(runner_, &FleetRunner::finished, this, &FleetWindow::runFinished);
  // The queues for the target cells, listed once in the background as the send dialog does.
  queueListing_ = std::make_unique<transfer_ui::PrinterListing>(
      [](transport::RunControl& control) { return transport::listLocalPrinters(control); },
      [this](transfer_ui::PrinterList printers) {
        if (!printers) return;
        QStringList queues;
        for (const transport::PrinterEntry& printer : *printers) queues << qt(printer.name);
        targets_->setQueues(queues);
      });
  updateControls();
}

FleetWindow::~FleetWindow() = default;

void FleetWindow::setUpControls() {
  newButton_ = transfer_ui::makeButton(QStringLiteral("新しい計画..."), "newPlanButton", this);
  openButton_ = transfer_ui::makeButton(QStringLiteral("計画を開く..."), "openPlanButton", this);
  saveButton_ = transfer_ui::makeButton(QStringLiteral("保存"), "savePlanButton", this);
  addButton_ = transfer_ui::makeButton(QStringLiteral("行の追加"), "addRowButton", this);
  removeButton_ = transfer_ui::makeButton(QStringLiteral("行の削除"), "removeRowButton", this);
  searchButton_ = transfer_ui::makeButton(QStringLiteral("プリンタ検索..."), "searchButton", this);
  rehearseButton_ = transfer_ui::makeButton(QStringLiteral("試行"), "rehearseButton", this);
  runButton_ = transfer_ui::makeButton(QStringLiteral("実行"), "runButton", this);
  stopButton_ = transfer_ui::makeButton(QStringLiteral("中止"), "stopButton", this);
  archiveButton_ = transfer_ui::makeButton(QStringLiteral("保存先を開く"), "archiveButton", this);
  historyButton_ = transfer_ui::makeButton(QStringLiteral("履歴..."), "historyButton", this);
  closeButton_ = transfer_ui::makeButton(QStringLiteral("閉じる"), "closeButton", this);

  pathLabel_ = new QLabel(this);
  pathLabel_->setObjectName("planPathLabel");
  pathLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  view_ = new QTableView(this);
  view_->setObjectName("planTable");
  view_->setAccessibleName(QStringLiteral("計画の行"));
  view_->setModel(model_);
  view_->setItemDelegateForColumn(PlanTableModel::kTarget, targets_);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked |
                         QAbstractItemView::AnyKeyPressed);
  view_->horizontalHeader()->setStretchLastSection(true);
  view_->setColumnWidth(PlanTableModel::kName, 140);
  view_->setColumnWidth(PlanTableModel::kOldPrinter, 120);
  view_->setColumnWidth(PlanTableModel::kTarget, 220);
  view_->setColumnWidth(PlanTableModel::kState, 80);
  view_->setMinimumSize(760, 320);

  auto* passwordLabel = new QLabel(QStringLiteral("パスワード"), this);
  password_ = new QLineEdit(this);
  password_->setObjectName("passwordEdit");
  password_->setEchoMode(QLineEdit::Password);
  passwordLabel->setBuddy(password_);
  auto* jobsLabel = new QLabel(QStringLiteral("同時に実行する行"), this);
  jobs_ = new QSpinBox(this);
  jobs_->setObjectName("jobsSpin");
  jobs_->setRange(1, fleet::kMaxJobs);
  jobs_->setValue(fleet::kDefaultJobs);
  jobsLabel->setBuddy(jobs_);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("runProgress");
  progress_->setAccessibleName(QStringLiteral("進行状況"));
  progress_->setRange(0, 1);
  progress_->setValue(0);
  progress_->setFormat(QStringLiteral("0 / 0"));
  progress_->setTextVisible(true);
  runLabel_ = new QLabel(this);
  runLabel_->setObjectName("runLabel");

  auto* planButtons = new QHBoxLayout;
  for (QPushButton* b :
       {newButton_, openButton_, saveButton_, addButton_, removeButton_, searchButton_})
    planButtons->addWidget(b);
  planButtons->addStretch();
  auto* settings = new QHBoxLayout;
  settings->addWidget(passwordLabel);
  settings->addWidget(password_);
  settings->addSpacing(16);
  settings->addWidget(jobsLabel);
  settings->addWidget(jobs_);
  settings->addSpacing(16);
  settings->addWidget(progress_, 1);
  auto* runButtons = new QHBoxLayout;
  for (QPushButton* b : {rehearseButton_, runButton_, stopButton_}) runButtons->addWidget(b);
  runButtons->addSpacing(16);
  runButtons->addWidget(archiveButton_);
  runButtons->addWidget(historyButton_);
  runButtons->addStretch();
  runButtons->addWidget(closeButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(planButtons);
  layout->addWidget(pathLabel_);
  layout->addWidget(view_, 1);
  layout->addLayout(settings);
  layout->addWidget(runLabel_);
  layout->addLayout(runButtons);

  connect(newButton_, &QPushButton::clicked, this, &FleetWindow::newPlan);
  connect(openButton_, &QPushButton::clicked, this, &FleetWindow::choosePlan);
  connect(saveButton_, &QPushButton::clicked, this, [this] { save(); });
  connect(addButton_, &QPushButton::clicked, this, &FleetWindow::addRow);
  connect(removeButton_, &QPushButton::clicked, this, &FleetWindow::removeSelectedRows);
  connect(searchButton_, &QPushButton::clicked, this, &FleetWindow::searchPrinters);
  connect(rehearseButton_, &QPushButton::clicked, this, &FleetWindow::rehearse);
  connect(runButton_, &QPushButton::clicked, this, &FleetWindow::runPlan);
  connect(stopButton_, &QPushButton::clicked, this, &FleetWindow::stopRun);
  connect(archiveButton_, &QPushButton::clicked, this, &FleetWindow::openSelectedArchive);
  connect(historyButton_, &QPushButton::clicked, this, &FleetWindow::showSelectedHistory);
  connect(closeButton_, &QPushButton::clicked, this, &FleetWindow::close);
  connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &FleetWindow::updateControls);
  // A finished row opens its archive; the others are edited.
  connect(view_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    if (archiveOf(index.row()))
      openSelectedArchive();
    else if (!runner_->running())
      view_->edit(index);
  });
  ui::nameControlsAfterCaptions(*this);
  showPlanPath();
}

void FleetWindow::showPlanPath() {
  pathLabel_->setText(planPath_ ? QStringLiteral("計画: ") + qt(planPath_->string())
                                : QStringLiteral("計画: （まだ保存していません）"));
}

bool FleetWindow::mayDropChanges() {
  if (!model_->modified()) return true;
  return ui::messageBoxes().confirm(
      this, QStringLiteral("計画の変更を保存していません。変更を破棄しますか？"));
}

void FleetWindow::newPlan() {
  if (runner_->running() || !mayDropChanges()) return;
  model_->setEntries({});
  planPath_.reset();
  version_.reset();
  showPlanPath();
  updateControls();
}

void FleetWindow::choosePlan() {
  if (runner_->running() || !mayDropChanges()) return;
  const auto chosen =
      ui::fileDialogs().openFileName(this, planRequest(QStringLiteral("計画を開く")));
  if (chosen) openPlan(pathOf(*chosen));
}

bool FleetWindow::openPlan(const std::filesystem::path& path) {
  auto document = fleet::readPlanDocument(path);
  if (!document) {
    ui::messageBoxes().warn(this, qt(document.message()));
    return false;
  }
  model_->setEntries(std::move(document->entries));
  planPath_ = path;
  version_ = std::move(document->version);
  showPlanPath();
  showCompletedBefore();
  updateControls();
  return true;
}

void FleetWindow::showCompletedBefore() {
  if (!planPath_ || !model_->allValid()) return;
  std::vector<fleet::PlanRow> rows;
  for (int i = 0; i < model_->rowCount(); ++i) rows.push_back(*model_->checkOf(i).row);
  auto results = fleet::ResultFile::open(fleet::resultPathFor(*planPath_), rows);
  if (!results) {
    runLabel_->setText(qt(results.message()));
    return;
  }
  for (int i = 0; i < model_->rowCount(); ++i) {
    if (!results->completedBefore(rows[i])) continue;
    model_->setRowState(i, fleet::RowState::CompletedBefore,
                        qt(fleet::rowSummary(results->recordOf(rows[i]), true, false)));
  }
}

bool FleetWindow::save() {
  if (!planPath_) {
    auto request = planRequest(QStringLiteral("計画の保存"));
    const auto chosen = ui::fileDialogs().saveFileName(this, request);
    if (!chosen) return false;
    const std::filesystem::path path = pathOf(*chosen);
    // The chooser has asked before an existing file is replaced.
    auto saved = fleet::savePlanDocument(path, model_->entries(), std::nullopt, true);
    if (!saved) {
      ui::messageBoxes().warn(this, qt(saved.message()));
      return false;
    }
    planPath_ = path;
    version_ = std::move(*saved);
  } else {
    auto saved = fleet::savePlanDocument(*planPath_, model_->entries(), version_, false);
    if (!saved && saved.message().starts_with(fleet::kPlanChangedElsewhere)) {
      if (!ui::messageBoxes().confirm(
              this, qt(saved.message()) +
                        QStringLiteral(
                            "\nこの計画で上書きしますか？（ほかのプログラムの変更は失われます）")))
        return false;
      saved = fleet::savePlanDocument(*planPath_, model_->entries(), version_, true);
    }
    if (!saved) {
      ui::messageBoxes().warn(this, qt(saved.message()));
      return false;
    }
    version_ = std::move(*saved);
  }
  model_->markSaved();
  showPlanPath();
  updateControls();
  return true;
}

void FleetWindow::addRow() {
  model_->appendEntries({fleet::PlanEntry{}});
  const QModelIndex name = model_->index(model_->rowCount() - 1, PlanTableModel::kName);
  view_->setCurrentIndex(name);
  view_->edit(name);
}

void FleetWindow::removeSelectedRows() {
  std::vector<int> rows;
  for (const QModelIndex& index : view_->selectionModel()->selectedRows())
    rows.push_back(index.row());
  model_->removeEntries(rows);
}

void FleetWindow::searchPrinters() {
  PrinterSearchDialog dialog(this);
  if (ui::runModal(dialog) != QDialog::Accepted) return;
  std::vector<fleet::PlanEntry> added;
  for (const fleet::PlanLine& line : dialog.chosenRows()) added.push_back({line, {}});
  model_->appendEntries(added);
}

void FleetWindow::startRun(bool dryRun) {
  if (runner_->running() || !model_->allValid()) return;
  // The run reads the plan file as drovik-cli does: what the table shows is saved first.
  if ((model_->modified() || !planPath_) && !save()) return;
  model_->resetStates();
  RunRequest request;
  request.plan = *planPath_;
  request.password = password_->text().toStdString();
  request.jobs = jobs_->value();
  request.dryRun = dryRun;
  request.stepLimit = stepLimit_;
  if (Status s = runner_->start(request); !s) {
    ui::messageBoxes().warn(this, qt(s.message()));
    showCompletedBefore();
    return;
  }
  dryRun_ = dryRun;
  model_->setLocked(true);
  runLabel_->setText(dryRun ? QStringLiteral("試行しています…")
                            : QStringLiteral("実行しています…"));
  updateControls();
}

void FleetWindow::stopRun() {
  if (!runner_->running()) return;
  runner_->cancel();
  runLabel_->setText(QStringLiteral("中止しています…"));
  updateControls();
}

void FleetWindow::runFinished(const QString& problem) {
  model_->setLocked(false);
  QString text =
      runner_->cancelled()
          ? QStringLiteral(
                "中止しました。完了していない行は、次に同じ計画を実行したときに実行します。")
      : dryRun_ ? QStringLiteral("試行が終わりました。")
                : QStringLiteral("実行が終わりました。");
  if (!problem.isEmpty()) text += QStringLiteral("\n") + problem;
  runLabel_->setText(text);
  updateControls();
}

std::optional<int> FleetWindow::selectedRow() const {
  const QModelIndexList rows = view_->selectionModel()->selectedRows();
  if (rows.size() != 1) return std::nullopt;
  return rows.front().row();
}

std::optional<std::filesystem::path> FleetWindow::archiveOf(int row) const {
  if (!planPath_ || row < 0 || row >= model_->rowCount() || runner_->running()) return std::nullopt;
  const fleet::RowState state = model_->rowState(row);
  if (state == fleet::RowState::Waiting || !model_->checkOf(row).row) return std::nullopt;
  const std::filesystem::path folder =
      fleet::archivePathFor(*planPath_) / model_->entries()[row].fields.name;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(folder / "R_MAIN.INI", ec)) return std::nullopt;
  return folder;
}

void FleetWindow::openSelectedArchive() {
  const auto row = selectedRow();
  const auto folder = row ? archiveOf(*row) : std::nullopt;
  if (folder && hooks_.openArchive) hooks_.openArchive(this, *folder);
}

void FleetWindow::showSelectedHistory() {
  const auto row = selectedRow();
  const auto folder = row ? archiveOf(*row) : std::nullopt;
  if (folder && hooks_.showHistory) hooks_.showHistory(this, *folder);
}

void FleetWindow::updateControls() {
  const bool running = runner_->running();
  const bool runnable = !running && model_->allValid();
  for (QPushButton* b : {newButton_, openButton_, addButton_, searchButton_})
    b->setEnabled(!running);
  saveButton_->setEnabled(!running && model_->rowCount() > 0);
  removeButton_->setEnabled(!running && view_->selectionModel()->hasSelection());
  rehearseButton_->setEnabled(runnable);
  runButton_->setEnabled(runnable);
  stopButton_->setEnabled(running && !runner_->cancelled());
  password_->setEnabled(!running);
  jobs_->setEnabled(!running);
  const auto row = selectedRow();
  const bool finishedRow = row && archiveOf(*row).has_value();
  archiveButton_->setEnabled(finishedRow && hooks_.openArchive != nullptr);
  historyButton_->setEnabled(finishedRow && hooks_.showHistory != nullptr);
}

bool FleetWindow::mayClose() {
  if (runner_->running()) {
    if (!ui::messageBoxes().confirm(
            this, QStringLiteral("移行を実行中です。中止して閉じますか？\n（実行中の行は取り消し、"
                                 "始めていない行は次に実行します）")))
      return false;
    runner_->cancel();
    runner_->waitUntilFinished();
  }
  return mayDropChanges();
}

void FleetWindow::closeEvent(QCloseEvent* event) {
  if (mayClose())
    event->accept();
  else
    event->ignore();
}

void FleetWindow::reject() {
  if (mayClose()) QDialog::reject();
}

}  // namespace drovik::fleet_ui
