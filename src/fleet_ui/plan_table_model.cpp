#include "fleet_ui/plan_table_model.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

#include "ui/qt_text.h"

namespace drovik::fleet_ui {
namespace {}  // namespace

PlanTableModel::PlanTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void PlanTableModel::setEntries(std::vector<fleet::PlanEntry> entries) {
  beginResetModel();
  entries_ = std::move(entries);
  states_.assign(entries_.size(), {});
  checks_ = fleet::checkEntries(entries_);
  endResetModel();
  modified_ = false;
  Q_EMIT planChanged();
}

void PlanTableModel::appendEntries(const std::vector<fleet::PlanEntry>& entries) {
  if (entries.empty()) return;
  const int first = static_cast<int>(entries_.size());
  beginInsertRows({}, first, first + static_cast<int>(entries.size()) - 1);
  entries_.insert(entries_.end(), entries.begin(), entries.end());
  states_.resize(entries_.size());
  checks_ = fleet::checkEntries(entries_);
  endInsertRows();
  modified_ = true;
  recheck();
}

void PlanTableModel::removeEntries(std::vector<int> rows) {
  std::sort(rows.rbegin(), rows.rend());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (int row : rows) {
    if (row < 0 || row >= rowCount()) continue;
    beginRemoveRows({}, row, row);
    entries_.erase(entries_.begin() + row);
    states_.erase(states_.begin() + row);
    checks_.erase(checks_.begin() + row);
    endRemoveRows();
    modified_ = true;
  }
  recheck();
}

bool PlanTableModel::allValid() const {
  return !checks_.empty() &&
         std::all_of(checks_.begin(), checks_.end(),
                     [](const fleet::EntryCheck& c) { return c.row.has_value(); });
}

void PlanTableModel::setRowState(int row, fleet::RowState state, const QString& result) {
  if (row < 0 || row >= rowCount()) return;
  states_[row] = {state, result};
  Q_EMIT dataChanged(index(row, kState), index(row, kResult));
}

void PlanTableModel::resetStates() {
  states_.assign(entries_.size(), {});
  if (!entries_.empty()) Q_EMIT dataChanged(index(0, kState), index(rowCount() - 1, kResult));
}

void PlanTableModel::recheck() {
  // A clash names the earlier row: changing one row can mend or break another.
  checks_ = fleet::checkEntries(entries_);
  if (!entries_.empty()) Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, kResult));
  Q_EMIT planChanged();
}

int PlanTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int PlanTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant PlanTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const fleet::PlanEntry& entry = entries_[index.row()];
  const fleet::EntryCheck& check = checks_[index.row()];
  const RowState& state = states_[index.row()];
  const bool refused = !check.row.has_value();
  if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::AccessibleTextRole) {
    switch (index.column()) {
      case kName:
        return qt(entry.fields.name);
      case kOldPrinter:
        return qt(entry.fields.oldPrinter);
      case kTarget:
        return qt(entry.fields.newTarget);
      case kState:
        return refused ? QStringLiteral("要修正") : qt(fleet::rowStateLabel(state.state));
      case kResult:
        return refused ? qt(check.problem) : state.result;
    }
  }
  if (role == Qt::ToolTipRole && refused) return qt(check.problem);
  if (role == Qt::ForegroundRole && (refused || state.state == fleet::RowState::Failed) &&
      (index.column() == kState || index.column() == kResult))
    return QBrush(QColor(0xb0, 0x00, 0x20));
  return {};
}

bool PlanTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || locked_ || !index.isValid() || index.column() > kTarget) return false;
  fleet::PlanEntry& entry = entries_[index.row()];
  std::string* field = index.column() == kName         ? &entry.fields.name
                       : index.column() == kOldPrinter ? &entry.fields.oldPrinter
                                                       : &entry.fields.newTarget;
  const std::string text = value.toString().trimmed().toStdString();
  if (*field == text && entry.lineProblem.empty()) return false;
  *field = text;
  entry.lineProblem.clear();
  states_[index.row()] = {};
  modified_ = true;
  recheck();
  return true;
}

Qt::ItemFlags PlanTableModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() <= kTarget && !locked_) flags |= Qt::ItemIsEditable;
  return flags;
}

QVariant PlanTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  static const char* const kHeaders[] = {"設定名", "旧プリンタ", "送信先", "状態", "結果"};
  return section < kColumnCount ? QString::fromUtf8(kHeaders[section]) : QVariant();
}

}  // namespace drovik::fleet_ui
