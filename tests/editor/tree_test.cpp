// The tree's slots, its pages and the propagation of check-box clicks.
#include <QTest>
#include <algorithm>
#include <vector>

#include "editor/check_propagation.h"
#include "editor/check_tree.h"
#include "editor/editor_tests.h"
#include "model/catalogue.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {
namespace {

using namespace editor;

// A tree state with exactly the given slots ticked.
std::vector<char> onlyTicked(std::initializer_list<int> slots) {
  std::vector<char> ticked(kSlotCount, 0);
  for (int s : slots) ticked[s] = 1;
  return ticked;
}

int countTicked(const std::vector<char>& ticked, int first, int last) {
  int n = 0;
  for (int s = first; s <= last; ++s) n += ticked[s];
  return n;
}

}  // namespace

void TreeSlotsTest::slotsMapToNodesByTheBlockFormula() {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    int expected = slot;
    if (slot >= kFirstUserSlot && slot < kFirstInterfaceSlot) {
      const int u = (slot - kFirstUserSlot) / kUserBlockSize;
      const int j = (slot - kFirstUserSlot) % kUserBlockSize;
      expected = 3 + 10 * (j + 1) + u;
    }
    QCOMPARE(nodeOfSlot(slot), expected);
    QCOMPARE(slotOfNode(expected), slot);
  }
  const auto& nodes = catalogue::checkNodes();
  QCOMPARE(nodes[nodeOfSlot(userSlot(1, kUserRow))].key, std::string("User2ChkFlag"));
  QCOMPARE(nodes[nodeOfSlot(userSlot(9, 73))].key, std::string("User10TofFfChkFlag"));
}

void TreeSlotsTest::everyNodeHangsUnderAnEarlierParent() {
  CheckTree tree(nullptr);
  QCOMPARE(tree.topLevelItemCount(), 2);
  QCOMPARE(tree.topLevelItem(0), tree.itemOf(0));
  QCOMPARE(tree.topLevelItem(1), tree.itemOf(kFirstInterfaceSlot));
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int parent = parentSlot(slot);
    QVERIFY(parent < slot);
    QCOMPARE(tree.itemOf(slot)->parent(), parent < 0 ? nullptr : tree.itemOf(parent));
    // Appended as the last child: the slots under a parent come in insertion order.
    if (parent >= 0) {
      const auto children = childSlots(parent);
      QCOMPARE(
          tree.itemOf(parent)->indexOfChild(tree.itemOf(slot)),
          static_cast<int>(std::find(children.begin(), children.end(), slot) - children.begin()));
    }
  }
  // The emulation groups belong to the common settings, not beside them.
  QCOMPARE(parentSlot(userSlot(4, k8630Row)), userSlot(4, kCommonRow));
  QCOMPARE(parentSlot(userSlot(4, kEscpRow)), userSlot(4, kCommonRow));
}

void TreeSlotsTest::pagesAndOffsetsAtTheBlockEdges() {
  QCOMPARE(pageOfSlot(0), (SlotPage{PageKind::UserName, -1, 0}));
  QCOMPARE(pageOfSlot(12), (SlotPage{PageKind::UserName, -1, 0}));
  QCOMPARE(pageOfSlot(userSlot(0, kUserRow)), (SlotPage{PageKind::User, 0, 0}));
  QCOMPARE(pageOfSlot(userSlot(0, 16)), (SlotPage{PageKind::User, 0, 0}));
  QCOMPARE(pageOfSlot(userSlot(0, kRearRow)), (SlotPage{PageKind::User, 0, 445}));
  QCOMPARE(pageOfSlot(userSlot(2, kCutRow)), (SlotPage{PageKind::User, 2, 880}));
  QCOMPARE(pageOfSlot(userSlot(2, 56)), (SlotPage{PageKind::User, 2, 1135}));
  QCOMPARE(pageOfSlot(userSlot(2, k8630Row)), (SlotPage{PageKind::User, 2, 1545}));
  QCOMPARE(pageOfSlot(userSlot(0, 73)), (SlotPage{PageKind::User, 0, 1790}));
  QCOMPARE(pageOfSlot(userSlot(1, kUserRow)), (SlotPage{PageKind::User, 1, 0}));
  QCOMPARE(pageOfSlot(kFirstInterfaceSlot - 1), (SlotPage{PageKind::User, 9, 1790}));
  QCOMPARE(pageOfSlot(kFirstInterfaceSlot), (SlotPage{PageKind::Interface, -1, 0}));
  QCOMPARE(pageOfSlot(kSlotCount - 1), (SlotPage{PageKind::Interface, -1, 0}));
}

void PropagationTest::clearingAnItemClearsOnlyAncestorsLeftEmpty() {
  const int formLen = userSlot(0, kFrontRow + 1);
  const int rearPitch = userSlot(0, kRearRow + 2);
  auto ticked = onlyTicked({0, userSlot(0, kUserRow), userSlot(0, kFrontRow), formLen,
                            userSlot(0, kRearRow), rearPitch});
  clickCheckBox(ticked, formLen);
  QVERIFY(!ticked[formLen]);
  QVERIFY(!ticked[userSlot(0, kFrontRow)]);
  QVERIFY(ticked[userSlot(0, kUserRow)]);
  QVERIFY(ticked[0]);
  QVERIFY(ticked[rearPitch]);
}

void PropagationTest::tickingTheRootLeavesTheInterfaceTreeAlone() {
  auto ticked = onlyTicked({kFirstInterfaceSlot + 2});
  const auto changed = clickCheckBox(ticked, 0);
  QCOMPARE(countTicked(ticked, 0, kFirstInterfaceSlot - 1), kFirstInterfaceSlot);
  QCOMPARE(countTicked(ticked, kFirstInterfaceSlot, kSlotCount - 1), 1);
  QCOMPARE(static_cast<int>(changed.size()), kFirstInterfaceSlot);
  // And the other way round: the interface root leaves the user tree as it was.
  clickCheckBox(ticked, kFirstInterfaceSlot);
  QCOMPARE(countTicked(ticked, 0, kSlotCount - 1), kSlotCount);
  clickCheckBox(ticked, kFirstInterfaceSlot);
  QCOMPARE(countTicked(ticked, 0, kFirstInterfaceSlot - 1), kFirstInterfaceSlot);
  QCOMPARE(countTicked(ticked, kFirstInterfaceSlot, kSlotCount - 1), 0);
}

void PropagationTest::clearingAUserClearsItsBlockAndAnEmptyRoot() {
  std::vector<char> ticked(kSlotCount, 0);
  clickCheckBox(ticked, userSlot(0, kUserRow));
  QCOMPARE(countTicked(ticked, userSlot(0, 0), userSlot(0, 73)), kUserBlockSize);
  QVERIFY(ticked[0]);
  QVERIFY(!ticked[1]);
  clickCheckBox(ticked, userSlot(0, kUserRow));
  QCOMPARE(countTicked(ticked, 0, kSlotCount - 1), 0);

  // With another user still included the root keeps its tick.
  clickCheckBox(ticked, userSlot(5, 70));
  clickCheckBox(ticked, userSlot(0, kUserRow));
  clickCheckBox(ticked, userSlot(0, kUserRow));
  QVERIFY(ticked[0]);
  QCOMPARE(countTicked(ticked, userSlot(0, 0), userSlot(0, 73)), 0);
  QVERIFY(ticked[userSlot(5, kCommonRow)]);
}

void PropagationTest::tickingAGroupTicksItsItemsOnly() {
  std::vector<char> ticked(kSlotCount, 0);
  clickCheckBox(ticked, userSlot(7, kFrontRow));
  QCOMPARE(countTicked(ticked, userSlot(7, kFrontRow), userSlot(7, kRearRow - 1)), 16);
  QCOMPARE(countTicked(ticked, userSlot(7, kRearRow), userSlot(7, 73)), 0);
  QVERIFY(ticked[userSlot(7, kUserRow)]);
  QVERIFY(ticked[0]);
  QCOMPARE(countTicked(ticked, 0, kSlotCount - 1), 18);
}

void PropagationTest::mouseOnTheBoxPropagatesAndKeysToggleOneBox() {
  CheckTree tree(nullptr);
  tree.resize(400, 600);
  tree.show();
  QVERIFY(QTest::qWaitForWindowExposed(&tree));
  const int user1 = userSlot(0, kUserRow);
  tree.itemOf(0)->setExpanded(true);
  const QRect row = tree.visualItemRect(tree.itemOf(user1));
  // A click on the caption selects the row and leaves the boxes alone.
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, row.center());
  QCOMPARE(tree.currentSlot(), user1);
  QVERIFY(!tree.isTicked(user1));
  // A click on the box ticks the user's block and the root.
  QStyleOptionViewItem option;
  option.initFrom(&tree);
  option.rect = row;
  option.features |= QStyleOptionViewItem::HasCheckIndicator;
  const QRect box =
      tree.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &tree);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, box.center());
  QVERIFY(tree.isTicked(user1));
  QVERIFY(tree.isTicked(userSlot(0, 73)));
  QVERIFY(tree.isTicked(0));
  QCOMPARE(tree.itemOf(userSlot(0, 73))->checkState(0), Qt::Checked);
  // The space key clears the selected box alone.
  QTest::keyClick(tree.viewport(), Qt::Key_Space);
  QVERIFY(!tree.isTicked(user1));
  QVERIFY(tree.isTicked(userSlot(0, 73)));
  QVERIFY(tree.isTicked(0));
}

DROVIK_QTEST_SUITE(TreeSlotsTest);
DROVIK_QTEST_SUITE(PropagationTest);

}  // namespace drovik::test
