// The settings dialog: opening, pages and scrolling, OK, restore defaults, printer information.
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "editor/check_tree.h"
#include "editor/editor_tests.h"
#include "editor/interface_page.h"
#include "editor/printer_info_retrieval.h"
#include "editor/setting_dlg.h"
#include "editor/stepper_box.h"
#include "editor/user_name_page.h"
#include "editor/user_page.h"
#include "ui_support/control_names.h"
#include "ui_support/qtest_suites.h"
#include "ui_support/scripted_ui.h"

namespace drovik::test {
namespace {

using namespace editor;
namespace cat = catalogue;

class FakeRetrieval final : public PrinterInfoRetrieval {
 public:
  bool retrieve(ProfileModel& model, QWidget*) override {
    ++runs;
    if (succeed) model.values.userName[0] = "PRN";
    return succeed;
  }
  void discardScript() override { discardedAfterRun = runs; }

  bool succeed = false;
  int runs = 0;
  int discardedAfterRun = 0;
};

bool anyFlagWrite(const ProfileModel& model) {
  for (bool f : model.flagWrite)
    if (f) return true;
  return false;
}

int paperIndex(std::string_view name) { return cat::findItem(name)->index; }

}  // namespace

void SettingDialogTest::opensWithBoxesFromTheFlags() {
  ProfileModel model;
  model.flags.state.fill(0);
  model.flags.state[cat::checkNode(cat::kUserBlock, 2)] = 1;  // "ユーザー３"
  model.flags.state[cat::kInterfaceSettingNode + 1] = 7;      // not 1: not ticked
  CDlgSetting dialog(model, nullptr);
  QVERIFY(dialog.tree().isTicked(userSlot(2, kUserRow)));
  QVERIFY(!dialog.tree().isTicked(kFirstInterfaceSlot + 1));
  QCOMPARE(model.flags.snapshot[cat::kInterfaceSettingNode + 1], std::string("0"));
  QVERIFY(dialog.tree().itemOf(0)->isExpanded());
  QVERIFY(!dialog.tree().itemOf(userSlot(0, kUserRow))->isExpanded());
  QVERIFY(!dialog.tree().itemOf(kFirstInterfaceSlot)->isExpanded());
  QVERIFY(!dialog.findChild<QPushButton*>("fetchButton")->isEnabled());
  QVERIFY(dialog.findChild<QPushButton*>("fetchButton")->toolTip().isEmpty());
  QCOMPARE(dialog.windowTitle(), QString("設定"));
}

void SettingDialogTest::selectionShowsThePageAtItsGroup() {
  ProfileModel model;
  CDlgSetting dialog(model, nullptr);
  dialog.show();
  dialog.tree().selectSlot(userSlot(2, kCutRow));
  QCOMPARE(dialog.shownPage(), &dialog.userPage(2));
  QVERIFY(dialog.userPage(2).isVisible());
  QCOMPARE(dialog.scrollPosition(), 880);
  QCOMPARE(dialog.scrollMaximum(), 1790);
  QCOMPARE(dialog.userPage(2).y(), -880);
  // The cut-sheet frame sits at the top of the visible area.
  const QWidget* frame = dialog.userPage(2).findChild<QWidget*>("Cut");
  QVERIFY(frame);
  QVERIFY(frame->y() >= 880 && frame->y() < 880 + 20);

  dialog.tree().selectSlot(kFirstInterfaceSlot + 1);
  QCOMPARE(dialog.shownPage(), &dialog.interfacePage());
  QVERIFY(!dialog.userPage(2).isVisible());
  QCOMPARE(dialog.scrollPosition(), 0);
  QCOMPARE(dialog.scrollMaximum(), 0);
  dialog.scrollTo(300);
  QCOMPARE(dialog.interfacePage().y(), 0);

  dialog.tree().selectSlot(5);
  QCOMPARE(dialog.shownPage(), &dialog.userNamePage());
}

void SettingDialogTest::scrollBarAndWheelMoveThePage() {
  ProfileModel model;
  CDlgSetting dialog(model, nullptr);
  dialog.show();
  CDlgUser& page = dialog.userPage(5);
  page.ensureBuilt();  // built before it is first shown: the wheel still scrolls it
  dialog.tree().selectSlot(userSlot(5, kUserRow));
  QScrollBar& bar = dialog.scrollBar();
  bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
  QCOMPARE(dialog.scrollPosition(), 1);
  bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
  QCOMPARE(dialog.scrollPosition(), 201);
  bar.triggerAction(QAbstractSlider::SliderToMaximum);
  QCOMPARE(dialog.scrollPosition(), 1790);
  QCOMPARE(page.y(), -1790);
  // At the bottom the ESC/P group and the rest of the page fill the visible area.
  const QWidget* escp = page.findChild<QWidget*>("EscpSetting");
  QVERIFY(escp->mapTo(&page, QPoint(0, 0)).y() >= 1790);
  QVERIFY(page.height() - 1790 >= dialog.findChild<QWidget*>("pageArea")->height());
  bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
  QCOMPARE(dialog.scrollPosition(), 1790);

  // A wheel turn over the page moves it 10 pixels, over a list too.
  auto turn = [&](QWidget* target, int delta) {
    QWheelEvent wheel(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, delta),
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
  };
  QWidget* list = page.findChild<QComboBox*>("CharPitch");
  const int before = static_cast<QComboBox*>(list)->currentIndex();
  turn(list, 120);
  QCOMPARE(dialog.scrollPosition(), 1780);
  QCOMPARE(static_cast<QComboBox*>(list)->currentIndex(), before);
  turn(&page, -120);
  QCOMPARE(dialog.scrollPosition(), 1790);
  turn(&page, 15);  // a fine-grained turn upwards still goes up
  QCOMPARE(dialog.scrollPosition(), 1780);
  bar.triggerAction(QAbstractSlider::SliderToMinimum);
  QCOMPARE(dialog.scrollPosition(), 0);
  turn(&page, 120);
  QCOMPARE(dialog.scrollPosition(), 0);
}

void SettingDialogTest::okRunsEveryStoreAndStaysOpenOnFailure() {
  ScriptedMessageBoxes boxes;
  ProfileModel model;
  const int topMRear = paperIndex("TopMRear");
  model.values.paper[1].margin[cat::marginSlotOfPaperItem(topMRear)] = "300";
  model.values.paper[4].margin[0] = "8,5";
  model.values.userName[9] = "ｱｲｳｴｵｶｷｸｹｺｻ";
  model.text = ProfileText::of(model.values);
  CDlgSetting dialog(model, nullptr);
  // Untick user 7's node: the boxes go back even though the stores fail.
  dialog.tree().clickCheckBox(userSlot(6, kUserRow));
  // A change on user 3's page, which comes after a failing page.
  dialog.userPage(2).ensureBuilt();
  dialog.userPage(2).findChild<QRadioButton*>("PrintSpeedFront_1")->click();
  QVERIFY(!dialog.storeAll());
  QCOMPARE(boxes.shown.size(), std::size_t{3});
  QVERIFY(boxes.shown[0].text.startsWith("ユーザー名登録：ユーザー１０\n"));
  QVERIFY(boxes.shown[1].text.startsWith("ユーザー２：リアトラクタ"));
  QVERIFY(boxes.shown[2].text.startsWith("ユーザー５：フロントトラクタ"));
  QCOMPARE(boxes.shown[1].icon, QMessageBox::Warning);
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(model.flags.state[cat::checkNode(cat::kUserBlock, 6)], 0);
  // The pages after the failing ones stored all the same, but a refused OK flags nothing.
  QCOMPARE(model.text.paper[2][paperIndex("PrintSpeedFront")], std::string("1"));
  QVERIFY(!anyFlagWrite(model));

  // The operator steps the offending boxes back into range and presses OK again.
  dialog.userPage(1).ensureBuilt();
  dialog.userPage(1).findChild<StepperBox*>("TopMRear")->stepBy(1);
  dialog.userPage(4).ensureBuilt();
  dialog.userPage(4).findChild<StepperBox*>("TopMFront")->stepBy(-1);
  auto* name = dialog.userNamePage().findChild<QLineEdit*>("User10");
  name->selectAll();
  QTest::keyClicks(name, "KEIRI");
  boxes.shown.clear();
  QVERIFY(dialog.storeAll());
  QVERIFY(boxes.shown.empty());
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(model.text.paper[1][topMRear], std::string("-25.4"));
  QCOMPARE(model.text.userName[9], std::string("KEIRI"));
  QVERIFY(model.flagWrite[cat::checkNode(cat::kUserBlock, 6)]);
  QVERIFY(model.valueWrite.paper[2][paperIndex("PrintSpeedFront")]);
  QVERIFY(!model.valueWrite.paper[2][0]);
}

void SettingDialogTest::refusedSaveKeepsTheEditsAndFlagsAfreshOnRetry() {
  ProfileModel model;
  CDlgSetting dialog(model, nullptr);
  std::vector<ValueWriteFlags> savedWith;
  bool saves = false;
  dialog.setSaveAction([&] {
    savedWith.push_back(model.valueWrite);
    return saves;
  });
  auto* first = dialog.userNamePage().findChild<QLineEdit*>("User1");
  auto* second = dialog.userNamePage().findChild<QLineEdit*>("User2");
  const QString secondBefore = second->text();
  const auto retype = [](QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
  };
  retype(first, "KEIRI");
  retype(second, "SOUMU");
  dialog.tree().clickCheckBox(userSlot(6, kUserRow));
  QVERIFY(!dialog.storeAll());
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(savedWith.size(), std::size_t{1});
  QVERIFY(savedWith[0].userName[0] && savedWith[0].userName[1]);
  // Nothing stays flagged from the refused OK, and the boxes keep what the operator typed.
  QVERIFY(!anyFlagWrite(model) && !model.valueWrite.userName[0]);
  QCOMPARE(first->text(), QStringLiteral("KEIRI"));
  QVERIFY(!dialog.tree().isTicked(userSlot(6, kUserRow)));

  // The operator takes the second name back; the retry flags only what still differs.
  retype(second, secondBefore);
  saves = true;
  QVERIFY(dialog.storeAll());
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QVERIFY(savedWith[1].userName[0] && !savedWith[1].userName[1]);
  QVERIFY(model.flagWrite[cat::checkNode(cat::kUserBlock, 6)]);
}

void SettingDialogTest::togglingBackAndForthFlagsNothing() {
  ProfileModel model;
  CDlgSetting dialog(model, nullptr);
  dialog.tree().clickCheckBox(userSlot(3, kFrontRow));
  dialog.tree().clickCheckBox(userSlot(3, kFrontRow));
  dialog.tree().clickCheckBox(0);
  dialog.tree().clickCheckBox(0);
  QVERIFY(dialog.storeAll());
  QVERIFY(!anyFlagWrite(model));
}

void SettingDialogTest::restoreDefaultsResetsTheSelectedPageOnly() {
  ScriptedMessageBoxes boxes;
  ProfileModel model;
  for (int u = 0; u < cat::kUserCount; ++u) model.values.paper[u].index[0] = 2;
  model.values.paper[3].margin[2] = "12.7";
  model.values.iface.ifSel = 3;
  model.values.userName[0] = "ABC";
  model.text = ProfileText::of(model.values);
  CDlgSetting dialog(model, nullptr);
  dialog.tree().clickCheckBox(0);  // whatever the boxes show, restoring leaves them

  dialog.tree().selectSlot(userSlot(3, kCutRow + 2));  // user 4, cut sheet, print speed
  boxes.answer(QMessageBox::Cancel);
  dialog.restoreDefaults();
  QCOMPARE(dialog.userPage(3).state().paper[0], 2);
  boxes.answer(QMessageBox::Ok);
  dialog.restoreDefaults();
  QCOMPARE(boxes.shown.back().text, QString("ユーザー４を初期値にします。"));
  QCOMPARE(boxes.shown.back().icon, QMessageBox::Information);
  QCOMPARE(boxes.shown.back().buttons, QMessageBox::Ok | QMessageBox::Cancel);
  QCOMPARE(dialog.userPage(3).state().paper, UserPageState::defaults().paper);
  QCOMPARE(dialog.userPage(3).state().margin, UserPageState::defaults().margin);
  QCOMPARE(dialog.userPage(2).state().paper[0], 2);
  QCOMPARE(dialog.userPage(4).state().paper[0], 2);
  QCOMPARE(dialog.interfacePage().state().choice(cat::kIfSel), 3);

  dialog.tree().selectSlot(0);
  boxes.answer(QMessageBox::Ok);
  dialog.restoreDefaults();
  QCOMPARE(boxes.shown.back().text, QString("初期ユーザー選択とユーザー名登録を初期値にします。"));
  QCOMPARE(dialog.userNamePage().state().names[0], std::string("U01"));
  QCOMPARE(dialog.userPage(2).state().paper[0], 2);

  dialog.tree().selectSlot(kSlotCount - 1);
  boxes.answer(QMessageBox::Ok);
  dialog.restoreDefaults();
  QCOMPARE(boxes.shown.back().text, QString("Ｉ／Ｆ設定を初期値にします。"));
  QCOMPARE(dialog.interfacePage().state().choice(cat::kIfSel), 0);
  for (int slot = 0; slot < kSlotCount; ++slot)
    QCOMPARE(dialog.tree().isTicked(slot), slot >= kFirstInterfaceSlot);
  // Nothing reached the profile: cancelling the dialog leaves it as it was.
  QCOMPARE(model.text.userName[0], std::string("ABC"));
}

void SettingDialogTest::printerInfoRefillsAndAlwaysDiscardsTheScript() {
  ProfileModel model;
  FakeRetrieval retrieval;
  CDlgSetting dialog(model, &retrieval);
  QVERIFY(dialog.findChild<QPushButton*>("fetchButton")->isEnabled());
  auto* name = dialog.userNamePage().findChild<QLineEdit*>("User1");
  name->selectAll();
  QTest::keyClicks(name, "EDIT");
  dialog.fetchPrinterInfo();
  QCOMPARE(retrieval.discardedAfterRun, 1);
  QCOMPARE(name->text(), QString("EDIT"));
  QCOMPARE(dialog.userNamePage().state().names[0], std::string("EDIT"));

  retrieval.succeed = true;
  dialog.tree().clickCheckBox(1);
  dialog.fetchPrinterInfo();
  QCOMPARE(retrieval.discardedAfterRun, 2);
  QCOMPARE(name->text(), QString("PRN"));
  QVERIFY(dialog.tree().isTicked(0));  // the boxes are not the printer's business
  QVERIFY(!dialog.tree().isTicked(1));
}

void SettingDialogTest::userPagesAreBuiltWhenFirstShown() {
  ProfileModel model;
  model.values.paper[6].index[paperIndex("FormLenRear")] = 16;
  model.values.paper[6].margin[1] = "12.7";
  model.text = ProfileText::of(model.values);
  CDlgSetting dialog(model, nullptr);
  CDlgUser& page = dialog.userPage(6);
  QVERIFY(!page.built());
  dialog.tree().selectSlot(userSlot(6, kRearRow));
  QVERIFY(page.built());
  auto* formLen = page.findChild<QComboBox*>("FormLenRear");
  QCOMPARE(formLen->currentIndex(), 16);
  QCOMPARE(page.findChild<StepperBox*>("TopMRear")->value(), QString("12.7"));
  // The operator's choices reach the page's state and the store.
  formLen->setCurrentIndex(3);
  Q_EMIT formLen->activated(3);
  auto* radio = page.findChild<QRadioButton*>("PrintSpeedRear_1");
  radio->click();
  QVERIFY(dialog.storeAll());
  QCOMPARE(model.text.paper[6][paperIndex("FormLenRear")], std::string("3"));
  QCOMPARE(model.text.paper[6][paperIndex("PrintSpeedRear")], std::string("1"));
  QVERIFY(model.valueWrite.paper[6][paperIndex("PrintSpeedRear")]);
}

void SettingDialogTest::screenReadersHearCaptionsNotValues() {
  ProfileModel model;
  CDlgSetting dialog(model, nullptr);
  for (int user = 0; user < cat::kUserCount; ++user) dialog.userPage(user).ensureBuilt();
  QVERIFY2(unnamedControls(dialog).isEmpty(), qPrintable(unnamedControls(dialog).join("; ")));

  // A list is announced by its caption, a pair by its group, and each says which frame it is
  // in: every user page has a "用紙長さ" in each tractor's frame.
  CDlgUser& page = dialog.userPage(2);
  auto* formLen = page.findChild<QComboBox*>("FormLenRear");
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(formLen);
  const auto labels = list->relations(QAccessible::Label);
  QVERIFY(!labels.isEmpty());
  QCOMPARE(labels.first().first->text(QAccessible::Name), QStringLiteral("用紙長さ"));
  QCOMPARE(list->text(QAccessible::Description), QStringLiteral("リアトラクタ"));
  QAccessibleInterface* pair = QAccessible::queryAccessibleInterface(
      page.findChild<QRadioButton*>("PrintSpeedFront_1")->parentWidget());
  QCOMPARE(pair->role(), QAccessible::Grouping);
  QCOMPARE(pair->text(QAccessible::Name), QStringLiteral("印字速度"));
  QCOMPARE(pair->text(QAccessible::Description), QStringLiteral("フロントトラクタ"));

  // The check hears what a screen reader would: a list named by its entry again, or a pair
  // whose group lost its name, is reported.
  formLen->setAccessibleName(formLen->currentText());
  QVERIFY(unnamedControls(page).join(' ').contains("\"FormLenRear\""));
  formLen->setAccessibleName(QStringLiteral("用紙長さ"));
  page.findChild<QLabel*>("FormLenRear_caption")->setBuddy(nullptr);
  QVERIFY(unnamedControls(page).join(' ').contains("\"FormLenRear\""));
  QWidget* speed = page.findChild<QRadioButton*>("PrintSpeedCut_0")->parentWidget();
  page.findChild<QLabel*>(speed->objectName() + "_caption")->setBuddy(nullptr);
  speed->setAccessibleName({});
  const QStringList faults = unnamedControls(page);
  QCOMPARE(faults.size(), 3);
  QVERIFY(faults.join(' ').contains("\"PrintSpeedCut_1\""));
}

DROVIK_QTEST_SUITE(SettingDialogTest);

}  // namespace drovik::test
