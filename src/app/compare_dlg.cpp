#include "app/compare_dlg.h"

#include <QHeaderView>
#include <QPushButton>
#include <algorithm>

#include "app/program_icon.h"
#include "service/compared_profiles.h"
#include "ui/accessibility.h"
#include "ui/dialog_buttons.h"
#include "ui_compare_dlg.h"

namespace drovik {

namespace {

enum Column {
  kItemColumn,
  kFirstValueColumn,
  kSecondValueColumn,
  kFirstIncludedColumn,
  kSecondIncludedColumn
};

constexpr int kVisibleRows = 16;

QString included(bool on) { return on ? QStringLiteral("対象") : QStringLiteral("対象外"); }

QTableWidgetItem* cell(const std::string& text) {
  auto* item = new QTableWidgetItem(QString::fromStdString(text));
  item->setToolTip(item->text());  // the whole text of an elided cell
  return item;
}

}  // namespace

CDlgCompare::CDlgCompare(const ProfileService& service, std::vector<std::string> names,
                         const std::string& first, QWidget* parent)
    : QDialog(parent), service_(service), names_(std::move(names)), ui_(new Ui::CDlgCompare) {
  ui_->setupUi(this);
  setWindowIcon(programIcon());
  ui::captionDialogButtons(*ui_->buttonBox);
  ui::nameControlsAfterCaptions(*this);
  ui_->summaryLabel->setAccessibleName(QStringLiteral("比較結果"));
  connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &CDlgCompare::accept);

  for (const std::string& name : names_) {
    ui_->firstCombo->addItem(QString::fromStdString(name));
    ui_->secondCombo->addItem(QString::fromStdString(name));
  }
  const auto found = std::find(names_.begin(), names_.end(), first);
  const int firstIndex = found == names_.end() ? 0 : static_cast<int>(found - names_.begin());
  const int count = static_cast<int>(names_.size());
  choose(count ? firstIndex : -1, count ? (firstIndex + 1) % count : -1);
  connect(ui_->firstCombo, &QComboBox::currentIndexChanged, this, &CDlgCompare::refresh);
  connect(ui_->secondCombo, &QComboBox::currentIndexChanged, this, &CDlgCompare::refresh);

  // The values and marks keep their width; the item names take the room that is left.
  QHeaderView* header = ui_->differenceTable->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
  header->setSectionResizeMode(kItemColumn, QHeaderView::Stretch);
  const QFontMetrics metrics(font());
  const int fullWidth = metrics.horizontalAdvance(QChar(0x3000));
  resize(std::max(width(), 60 * fullWidth), sizeHint().height() + kVisibleRows * metrics.height());
  ui_->firstCombo->setFocus();
}

CDlgCompare::~CDlgCompare() = default;

void CDlgCompare::choose(int first, int second) {
  {
    const QSignalBlocker blockFirst(ui_->firstCombo);
    const QSignalBlocker blockSecond(ui_->secondCombo);
    ui_->firstCombo->setCurrentIndex(first);
    ui_->secondCombo->setCurrentIndex(second);
  }
  refresh();
}

void CDlgCompare::refresh() {
  QTableWidget* table = ui_->differenceTable;
  table->setRowCount(0);
  const int first = ui_->firstCombo->currentIndex();
  const int second = ui_->secondCombo->currentIndex();
  if (first < 0 || second < 0) return showFailure(QStringLiteral("比較する設定がありません"));

  auto comparison = compareRegisteredProfiles(service_, names_[first], names_[second]);
  if (!comparison) return showFailure(QString::fromStdString(comparison.message()));
  QString summary = comparison->equal()
                        ? QStringLiteral("違いはありません")
                        : QStringLiteral("違いは %1 項目です").arg(comparison->differences.size());
  // Otherwise the missing users and settings look like a fault.
  if (comparison->reading == CommandVariant::M)
    summary += QStringLiteral("（8630-M の設定として、初期ユーザーの送信される項目だけを比較）");
  ui_->summaryLabel->setText(summary);

  table->setRowCount(static_cast<int>(comparison->differences.size()));
  int row = 0;
  for (const SettingDifference& difference : comparison->differences) {
    table->setItem(row, kItemColumn, cell(DifferenceName(difference)));
    table->setItem(row, kFirstValueColumn, cell(ShownValue(difference.a)));
    table->setItem(row, kSecondValueColumn, cell(ShownValue(difference.b)));
    table->setItem(row, kFirstIncludedColumn,
                   new QTableWidgetItem(included(difference.a.included)));
    table->setItem(row, kSecondIncludedColumn,
                   new QTableWidgetItem(included(difference.b.included)));
    ++row;
  }
}

void CDlgCompare::showFailure(const QString& message) { ui_->summaryLabel->setText(message); }

int CDlgCompare::differenceCount() const { return ui_->differenceTable->rowCount(); }

QString CDlgCompare::summary() const { return ui_->summaryLabel->text(); }

}  // namespace drovik
