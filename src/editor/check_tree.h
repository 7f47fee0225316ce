// The settings tree: 763 nodes with a check box each, in TreeSlot order. A mouse click on a
// check box propagates through the tree; toggling a box from the keyboard changes that box
// alone.
#pragma once

#include <QTreeWidget>
#include <vector>

namespace drovik::editor {

class CheckTree : public QTreeWidget {
  Q_OBJECT

 public:
  explicit CheckTree(QWidget* parent);

  bool isTicked(int slot) const { return ticked_[slot] != 0; }
  void setTicked(int slot, bool ticked);
  // What a mouse click on the slot's check box does.
  void clickCheckBox(int slot);

  int currentSlot() const;  // -1 when nothing is selected
  void selectSlot(int slot);
  QTreeWidgetItem* itemOf(int slot) const { return items_[slot]; }
  int slotOf(const QTreeWidgetItem* item) const;

 Q_SIGNALS:
  void slotSelected(int slot);

 private:
  void showTick(int slot);

  std::vector<QTreeWidgetItem*> items_;
  std::vector<char> ticked_;
  bool syncing_ = false;
};

}  // namespace drovik::editor
