// The editor of a row's "送信先": one of the spooler's queues (listed in the background by the
// window), the FTP address of the new printer in the one address field, or the parallel port.
#pragma once

#include <QStringList>
#include <QStyledItemDelegate>
#include <QWidget>

class QComboBox;

namespace drovik::ui {
class Ipv4Edit;
}

namespace drovik::fleet_ui {

class TargetEditor : public QWidget {
  Q_OBJECT

 public:
  TargetEditor(const QStringList& queues, QWidget* parent = nullptr);

  // A target as the plan writes it; a queue not in the list is offered all the same.
  void setTargetText(const QString& text);
  QString targetText() const;

 private:
  void kindChosen();

  QComboBox* choice_;
  ui::Ipv4Edit* address_;
};

// Hands the target column to a TargetEditor offering `queues` as they are when editing starts.
class TargetDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit TargetDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}
  void setQueues(QStringList queues) { queues_ = std::move(queues); }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;

 private:
  QStringList queues_;
};

}  // namespace drovik::fleet_ui
