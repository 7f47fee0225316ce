#include "app/history_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "app/history_table.h"
#include "app/program_icon.h"
#include "ui/accessibility.h"

namespace drovik {
namespace {

constexpr int kVisibleHistoryRows = 20;

// "すべて", then every value of the records in order, without repeats.
void offerValues(QComboBox& filter, const std::vector<history::Record>& records,
                 std::string history::Record::*field) {
  std::set<std::string> values;
  for (const history::Record& record : records)
    if (!(record.*field).empty()) values.insert(record.*field);
  filter.addItem(QStringLiteral("すべて"));
  for (const std::string& value : values)
    filter.addItem(QString::fromStdString(value), QString::fromStdString(value));
}

std::optional<std::string> chosen(const QComboBox& filter) {
  const QVariant value = filter.currentData();
  if (!value.isValid()) return std::nullopt;
  return value.toString().toStdString();
}

QLabel* captionFor(const QString& caption, QWidget* control, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setBuddy(control);
  return label;
}

}  // namespace

CDlgHistory::CDlgHistory(history::HistoryContents contents, QWidget* parent)
    : QDialog(parent),
      profileFilter_(new QComboBox(this)),
      targetFilter_(new QComboBox(this)),
      table_(new QTableView(this)),
      countLabel_(new QLabel(this)) {
  setObjectName("historyDialog");
  setWindowTitle(QStringLiteral("履歴"));
  setWindowIcon(programIcon());

  profileFilter_->setObjectName("profileFilter");
  targetFilter_->setObjectName("targetFilter");
  offerValues(*profileFilter_, contents.records, &history::Record::profile);
  offerValues(*targetFilter_, contents.records, &history::Record::target);
  for (QComboBox* filter : {profileFilter_, targetFilter_})
    filter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  auto* filters = new QHBoxLayout;
  filters->addWidget(captionFor(QStringLiteral("設定名(&P)"), profileFilter_, this));
  filters->addWidget(profileFilter_);
  filters->addSpacing(fontMetrics().horizontalAdvance(QChar(0x3000)));
  filters->addWidget(captionFor(QStringLiteral("送信先(&T)"), targetFilter_, this));
  filters->addWidget(targetFilter_);
  filters->addStretch();

  model_ = new HistoryTableModel(std::move(contents.records), this);
  table_->setObjectName("historyTable");
  table_->setAccessibleName(QStringLiteral("履歴一覧"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  // The targets (queues, addresses, file paths) take the room the short columns leave.
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(HistoryTableModel::kTarget,
                                                   QHeaderView::Stretch);
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() * 3 / 2);

  countLabel_->setObjectName("countLabel");
  countLabel_->setAccessibleName(QStringLiteral("件数"));
  auto* notes = new QLabel(this);
  notes->setObjectName("notesLabel");
  notes->setAccessibleName(QStringLiteral("注意"));
  notes->setWordWrap(true);
  notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QStringList noteLines;
  for (const std::string& note : contents.notes) noteLines << QString::fromStdString(note);
  notes->setText(noteLines.join(QLatin1Char('\n')));
  notes->setVisible(!noteLines.isEmpty());

  auto* buttons = new QDialogButtonBox(this);
  auto* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
  close->setObjectName("closeButton");

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filters);
  layout->addWidget(table_);
  layout->addWidget(countLabel_);
  layout->addWidget(notes);
  layout->addWidget(buttons);
  ui::nameControlsAfterCaptions(*this);

  connect(profileFilter_, &QComboBox::currentIndexChanged, this, &CDlgHistory::applyFilters);
  connect(targetFilter_, &QComboBox::currentIndexChanged, this, &CDlgHistory::applyFilters);
  connect(buttons, &QDialogButtonBox::rejected, this, &CDlgHistory::reject);
  applyFilters();

  const QFontMetrics metrics(font());
  resize(std::max(width(), 70 * metrics.horizontalAdvance(QChar(0x3000))),
         sizeHint().height() + kVisibleHistoryRows * metrics.height());
  table_->setFocus();
}

void CDlgHistory::applyFilters() {
  history::RecordFilter filter;
  filter.profile = chosen(*profileFilter_);
  filter.target = chosen(*targetFilter_);
  model_->setFilter(filter);
  countLabel_->setText(
      QStringLiteral("%1 件（全 %2 件）").arg(model_->rowCount()).arg(model_->recordCount()));
}

}  // namespace drovik
