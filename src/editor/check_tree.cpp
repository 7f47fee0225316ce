#include "editor/check_tree.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "editor/check_propagation.h"
#include "editor/tree_slots.h"
#include "model/catalogue.h"
#include "ui/qt_text.h"

namespace drovik::editor {
namespace {

// Sends mouse clicks on a check box to the tree's propagation instead of toggling the one
// box; keys still toggle through the standard delegate.
class CheckClickDelegate : public QStyledItemDelegate {
 public:
  explicit CheckClickDelegate(CheckTree& tree) : QStyledItemDelegate(&tree), tree_(tree) {}

  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
      return QStyledItemDelegate::editorEvent(event, model, option, index);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton ||
        !onCheckBox(mouse->position().toPoint(), option, index))
      return QStyledItemDelegate::editorEvent(event, model, option, index);
    if (type == QEvent::MouseButtonRelease)
      tree_.clickCheckBox(tree_.slotOf(tree_.itemFromIndex(index)));
    return true;  // a press or double click on the box neither selects nor expands
  }

 private:
  bool onCheckBox(QPoint point, const QStyleOptionViewItem& option,
                  const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    return style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget)
        .contains(point);
  }

  CheckTree& tree_;
};

}  // namespace

CheckTree::CheckTree(QWidget* parent)
    : QTreeWidget(parent), items_(kSlotCount, nullptr), ticked_(kSlotCount, 0) {
  setObjectName(QStringLiteral("settingsTree"));
  setHeaderHidden(true);
  setColumnCount(1);
  setUniformRowHeights(true);
  setItemDelegate(new CheckClickDelegate(*this));

  // Built detached and handed to the view in one go: inserting 763 nodes one by one would
  // announce each to the view.
  const auto& nodes = catalogue::checkNodes();
  QList<QTreeWidgetItem*> topLevel;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int up = parentSlot(slot);
    auto* item = up < 0 ? new QTreeWidgetItem() : new QTreeWidgetItem(items_[up]);
    item->setText(0, qt(nodes[nodeOfSlot(slot)].label));
    item->setData(0, Qt::UserRole, slot);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
    items_[slot] = item;
    if (up < 0) topLevel.push_back(item);
  }
  addTopLevelItems(topLevel);

  connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
    if (syncing_) return;
    // A key toggled the box: that box alone changes.
    const int slot = slotOf(item);
    ticked_[slot] = item->checkState(0) == Qt::Checked;
  });
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    Q_EMIT slotSelected(current ? slotOf(current) : -1);
  });
}

int CheckTree::slotOf(const QTreeWidgetItem* item) const {
  return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void CheckTree::showTick(int slot) {
  syncing_ = true;
  items_[slot]->setCheckState(0, ticked_[slot] ? Qt::Checked : Qt::Unchecked);
  syncing_ = false;
}

void CheckTree::setTicked(int slot, bool ticked) {
  if (isTicked(slot) == ticked) return;
  ticked_[slot] = ticked;
  showTick(slot);
}

void CheckTree::clickCheckBox(int slot) {
  for (int changed : editor::clickCheckBox(ticked_, slot)) showTick(changed);
}

int CheckTree::currentSlot() const { return slotOf(currentItem()); }

void CheckTree::selectSlot(int slot) { setCurrentItem(items_[slot]); }

}  // namespace drovik::editor
