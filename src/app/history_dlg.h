// "履歴": the changes to the profile files and the commands delivered, as the folder's history
// records them, newest first, filtered by profile and by target.
#pragma once

#include <QDialog>

#include "history/history_file.h"

class QComboBox;
class QLabel;
class QTableView;

namespace drovik {

class HistoryTableModel;

class CDlgHistory : public QDialog {
  Q_OBJECT

 public:
  // The notes on lines passed over are shown under the table.
  explicit CDlgHistory(history::HistoryContents contents, QWidget* parent = nullptr);

  // Lists the records of the profile and the target chosen in the filters.
  void applyFilters();

 private:
  HistoryTableModel* model_;
  QComboBox* profileFilter_;
  QComboBox* targetFilter_;
  QTableView* table_;
  QLabel* countLabel_;
};

}  // namespace drovik
