#include "app/history_table.h"

#include <algorithm>
#include <array>
#include <utility>

namespace drovik {
namespace {

QString text(const std::string& value) { return QString::fromStdString(value); }

// Everything a row does not show in its cells.
QString details(const history::Record& record) {
  QStringList lines;
  lines << QStringLiteral("ホスト: ") + text(record.host)
        << QStringLiteral("プログラム: ") + text(record.program);
  if (!record.model.empty()) lines << QStringLiteral("機種タイプ: ") + text(record.model);
  if (record.bytes) lines << QStringLiteral("バイト数: %1").arg(*record.bytes);
  if (!record.sha256.empty()) lines << QStringLiteral("SHA-256: ") + text(record.sha256);
  if (!record.message.empty()) lines << text(record.message);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace

QString operationLabel(const std::string& operation) {
  namespace op = history::operation;
  static const std::array<std::pair<std::string_view, const char*>, op::kAll.size()> kLabels = {{
      {op::kRegister, "新規登録"},
      {op::kOverwrite, "上書き登録"},
      {op::kSave, "設定変更"},
      {op::kDelete, "削除"},
      {op::kMigrate, "移行"},
      {op::kDecode, "プリンタ設定の登録"},
      {op::kCommandFile, "コマンド生成"},
      {op::kSend, "設定送信"},
      {op::kFleetSend, "一括移行の送信"},
  }};
  for (const auto& [name, label] : kLabels)
    if (operation == name) return QString::fromUtf8(label);
  return text(operation);  // a later program's operation: as it is written
}

QString outcomeLabel(const std::string& outcome) {
  if (outcome == history::kOutcomeOk) return QStringLiteral("成功");
  if (outcome == history::kOutcomeFailed) return QStringLiteral("失敗");
  if (outcome == history::kOutcomeQueued) return QStringLiteral("印刷待ち");
  return text(outcome);
}

HistoryTableModel::HistoryTableModel(std::vector<history::Record> oldestFirst, QObject* parent)
    : QAbstractTableModel(parent), records_(std::move(oldestFirst)) {
  std::reverse(records_.begin(), records_.end());
  setFilter({});
}

void HistoryTableModel::setFilter(const history::RecordFilter& filter) {
  beginResetModel();
  shown_.clear();
  for (std::size_t i = 0; i < records_.size(); ++i)
    if (filter.matches(records_[i])) shown_.push_back(i);
  endResetModel();
}

int HistoryTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int HistoryTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant HistoryTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const history::Record& record = recordAt(index.row());
  if (role == Qt::ToolTipRole) return details(record);
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case kTime:
      return text(record.time);
    case kUser:
      return text(record.user);
    case kOperation:
      return operationLabel(record.operation);
    case kProfile:
      return text(record.profile);
    case kTarget:
      return text(record.target);
    case kOutcome:
      return outcomeLabel(record.outcome);
    default:
      return {};
  }
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const std::array<const char*, kColumnCount> kHeadings = {"日時",   "ユーザー", "操作",
                                                                  "設定名", "送信先",   "結果"};
  if (section < 0 || section >= kColumnCount) return {};
  return QString::fromUtf8(kHeadings[section]);
}

}  // namespace drovik
