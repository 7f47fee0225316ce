// The rows of the plan in the fleet window: the three texts the operator edits, each row checked
// as the command checks it (a refused row shows the command's message in "結果"), and while a
// run goes, where each row stands.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "fleet/plan_entries.h"
#include "fleet/row_state.h"

namespace drovik::fleet_ui {

class PlanTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kName, kOldPrinter, kTarget, kState, kResult, kColumnCount };

  explicit PlanTableModel(QObject* parent = nullptr);

  void setEntries(std::vector<fleet::PlanEntry> entries);
  const std::vector<fleet::PlanEntry>& entries() const { return entries_; }
  // Appends the rows, each checked with the others.
  void appendEntries(const std::vector<fleet::PlanEntry>& entries);
  void removeEntries(std::vector<int> rows);

  // Every row would be taken by the command, and there is one at least.
  bool allValid() const;
  const fleet::EntryCheck& checkOf(int row) const { return checks_[row]; }
  // The entries changed since the last markSaved.
  bool modified() const { return modified_; }
  void markSaved() { modified_ = false; }

  // Rows are not edited while a run goes.
  void setLocked(bool locked) { locked_ = locked; }
  void setRowState(int row, fleet::RowState state, const QString& result);
  fleet::RowState rowState(int row) const { return states_[row].state; }
  QString rowResult(int row) const { return states_[row].result; }
  // Every valid row waiting, its result cleared.
  void resetStates();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 Q_SIGNALS:
  // The rows or their checks changed.
  void planChanged();

 private:
  struct RowState {
    fleet::RowState state = fleet::RowState::Waiting;
    QString result;
  };
  void recheck();

  std::vector<fleet::PlanEntry> entries_;
  std::vector<fleet::EntryCheck> checks_;
  std::vector<RowState> states_;
  bool modified_ = false;
  bool locked_ = false;
};

}  // namespace drovik::fleet_ui
