// The records of the history as the history window lists them: newest first, only those the
// filters accept.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "history/record_filter.h"

namespace drovik {

class HistoryTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kTime, kUser, kOperation, kProfile, kTarget, kOutcome, kColumnCount };

  // Takes the records oldest first, as the file holds them.
  explicit HistoryTableModel(std::vector<history::Record> oldestFirst, QObject* parent = nullptr);

  void setFilter(const history::RecordFilter& filter);
  const history::Record& recordAt(int row) const { return records_[shown_[row]]; }
  int recordCount() const { return static_cast<int>(records_.size()); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::vector<history::Record> records_;  // newest first
  std::vector<std::size_t> shown_;        // places in records_ of the rows
};

// What the operator reads for an operation and an outcome of the records.
QString operationLabel(const std::string& operation);
QString outcomeLabel(const std::string& outcome);

}  // namespace drovik
