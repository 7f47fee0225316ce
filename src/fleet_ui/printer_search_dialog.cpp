#include "fleet_ui/printer_search_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "fleet_ui/printer_search_table.h"
#include "transfer_ui/dialog_parts.h"
#include "ui/accessibility.h"
#include "ui/background_work.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"

namespace drovik::fleet_ui {
namespace {

constexpr int kPollMilliseconds = 100;
constexpr int kVisibleRows = 12;
// Notes past these are counted, not listed: a block of mute servers would bury the table.
constexpr std::size_t kShownNotes = 5;

QLabel* captionFor(const QString& caption, QWidget* control, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setBuddy(control);
  return label;
}

}  // namespace

PrinterSearchDialog::PrinterSearchDialog(QWidget* parent)
    : QDialog(parent),
      addressEdit_(new QLineEdit(this)),
      communityEdit_(new QLineEdit(this)),
      searchButton_(transfer_ui::makeButton(QStringLiteral("検索"), "searchButton", this)),
      addButton_(transfer_ui::makeButton(QStringLiteral("計画に追加"), "addButton", this)),
      countLabel_(new QLabel(this)),
      progressBar_(new QProgressBar(this)),
      model_(new QStandardItemModel(this)),
      table_(new QTableView(this)),
      notesLabel_(new QLabel(this)) {
  setObjectName("printerSearchDialog");
  setWindowTitle(QStringLiteral("プリンタ検索"));

  addressEdit_->setObjectName("addressEdit");
  addressEdit_->setPlaceholderText(
      QStringLiteral("192.168.10.0/24 192.168.11.20-80 @一覧.txt cups"));
  communityEdit_->setObjectName("communityEdit");
  communityEdit_->setPlaceholderText(QStringLiteral("v2c（省略可）"));
  const int em = fontMetrics().horizontalAdvance(QChar(0x3000));
  communityEdit_->setMaximumWidth(16 * em);
  // Enter in the address field starts the search.
  searchButton_->setDefault(true);

  auto* fields = new QGridLayout;
  fields->addWidget(captionFor(QStringLiteral("調べるアドレス(&A)"), addressEdit_, this), 0, 0);
  fields->addWidget(addressEdit_, 0, 1);
  fields->addWidget(searchButton_, 0, 2);
  fields->addWidget(captionFor(QStringLiteral("SNMP コミュニティ(&C)"), communityEdit_, this), 1,
                    0);
  fields->addWidget(communityEdit_, 1, 1, Qt::AlignLeft);
  fields->setColumnStretch(1, 1);

  countLabel_->setObjectName("countLabel");
  countLabel_->setAccessibleName(QStringLiteral("件数"));
  countLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  progressBar_->setObjectName("progressBar");
  progressBar_->setAccessibleName(QStringLiteral("進み具合"));
  progressBar_->setRange(0, 1);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(false);

  labelFoundColumns(*model_);
  table_->setObjectName("foundTable");
  table_->setAccessibleName(QStringLiteral("見つかったプリンタ"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setSectionResizeMode(kLocationColumn, QHeaderView::Stretch);
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() * 3 / 2);

  notesLabel_->setObjectName("notesLabel");
  notesLabel_->setAccessibleName(QStringLiteral("注意"));
  notesLabel_->setWordWrap(true);
  notesLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  notesLabel_->hide();

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(addButton_, QDialogButtonBox::AcceptRole);
  auto* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
  close->setObjectName("closeButton");
  close->setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(countLabel_);
  layout->addWidget(progressBar_);
  layout->addWidget(table_, 1);
  layout->addWidget(notesLabel_);
  layout->addWidget(buttons);
  ui::nameControlsAfterCaptions(*this);

  connect(searchButton_, &QPushButton::clicked, this, &PrinterSearchDialog::search);
  connect(addButton_, &QPushButton::clicked, this, &PrinterSearchDialog::addToPlan);
  connect(close, &QPushButton::clicked, this, &PrinterSearchDialog::reject);
  connect(addressEdit_, &QLineEdit::textChanged, this, &PrinterSearchDialog::updateControls);
  connect(model_, &QStandardItemModel::itemChanged, this, &PrinterSearchDialog::updateControls);
  connect(&poll_, &QTimer::timeout, this, &PrinterSearchDialog::showProgress);
  connect(&watcher_, &QFutureWatcher<SearchOutcome>::finished, this,
          [this] { showOutcome(watcher_.future().takeResult()); });
  poll_.setInterval(kPollMilliseconds);
  updateControls();

  resize(std::max(sizeHint().width(), 60 * em),
         sizeHint().height() + kVisibleRows * fontMetrics().height());
  addressEdit_->setFocus();
}

PrinterSearchDialog::~PrinterSearchDialog() {
  if (progress_) progress_->control.cancel();
}

void PrinterSearchDialog::search() {
  if (searching_) return;
  SearchRequest request{searchWords(utf8(addressEdit_->text())), options_, queues_};
  if (request.words.empty()) return;
  if (const QString community = communityEdit_->text().trimmed(); !community.isEmpty()) {
    discovery::SnmpCredentials credentials;
    credentials.version = discovery::SnmpCredentials::Version::V2c;
    credentials.community = utf8(community);
    request.options.snmp = std::move(credentials);
  }
  // What an earlier search found is no longer what the field names.
  found_.clear();
  showFound(*model_, found_);
  showNotes({});
  abandoned_ = false;
  searching_ = true;
  progress_ = std::make_shared<SearchProgress>();
  countLabel_->setText(QStringLiteral("調べるアドレスを確かめています…"));
  progressBar_->setRange(0, 0);
  // The work holds the progress, never the dialog.
  watcher_.setFuture(ui::startInBackground([request = std::move(request), progress = progress_] {
    return runSearch(request, *progress);
  }));
  poll_.start();
  updateControls();
}

void PrinterSearchDialog::showProgress() {
  if (!progress_ || !progress_->resolved) return;
  const std::size_t named = progress_->named;
  const std::size_t settled = progress_->counters.settled;
  progressBar_->setRange(0, static_cast<int>(std::max<std::size_t>(named, 1)));
  progressBar_->setValue(static_cast<int>(std::min(settled, named)));
  countLabel_->setText(QStringLiteral("%1 件中 %2 件を調べました（応答 %3 台）")
                           .arg(named)
                           .arg(settled)
                           .arg(progress_->counters.answered.load()));
}

void PrinterSearchDialog::showOutcome(SearchOutcome outcome) {
  poll_.stop();
  searching_ = false;
  const bool askNobody = abandoned_;
  progressBar_->setRange(0, 1);
  if (!outcome.refusal.empty() || !outcome.report) {
    progressBar_->setValue(0);
    countLabel_->clear();
    const std::string& why = outcome.refusal.empty() ? outcome.report.message() : outcome.refusal;
    if (!askNobody) ui::messageBoxes().warn(this, qt(why));
  } else {
    const discovery::SweepReport& report = *outcome.report;
    found_ = report.found;
    showFound(*model_, found_);
    // Sized once to what was found; the administrator may widen a column from there.
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setSectionResizeMode(kLocationColumn, QHeaderView::Stretch);
    progressBar_->setValue(report.cancelled ? 0 : 1);
    countLabel_->setText(qt(discovery::sweepSummary(report)));
    std::vector<std::string> notes = std::move(outcome.addressNotes);
    notes.insert(notes.end(), report.notes.begin(), report.notes.end());
    showNotes(notes);
  }
  updateControls();
  Q_EMIT searchEnded();
}

void PrinterSearchDialog::showNotes(const std::vector<std::string>& notes) {
  QStringList lines;
  for (std::size_t i = 0; i < std::min(notes.size(), kShownNotes); ++i) lines << qt(notes[i]);
  if (notes.size() > kShownNotes)
    lines << QStringLiteral("ほか %1 件").arg(notes.size() - kShownNotes);
  notesLabel_->setText(lines.join(QLatin1Char('\n')));
  notesLabel_->setVisible(!lines.isEmpty());
}

void PrinterSearchDialog::updateControls() {
  const bool busy = searching_;
  searchButton_->setEnabled(!busy && !addressEdit_->text().trimmed().isEmpty());
  addressEdit_->setEnabled(!busy);
  communityEdit_->setEnabled(!busy);
  addButton_->setEnabled(!busy && !tickedPrinters(*model_).empty());
}

void PrinterSearchDialog::addToPlan() {
  const auto ticked = tickedPrinters(*model_);
  if (searching_ || ticked.empty()) return;
  chosen_ = planRowsOf(found_, ticked);
  accept();
}

void PrinterSearchDialog::done(int result) {
  if (searching_) {
    abandoned_ = true;
    progress_->control.cancel();
  }
  QDialog::done(result);
}

}  // namespace drovik::fleet_ui
