// The IP-address field: what the keyboard, the input method and the clipboard can put into
// it, and that stored octets are shown as they are.
#include "ui/ipv4_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "transfer_ui/transfer_ui_tests.h"
#include "transfer_ui/transport_fixture.h"
#include "ui_support/control_names.h"
#include "ui_support/qtest_suites.h"
#include "ui_support/scripted_ui.h"

namespace drovik::test {

using ui::Ipv4Edit;
using Octets = Ipv4Edit::Octets;

namespace {

// A field in a shown window of its own; the messages it shows are recorded.
struct Field {
  Field() : edit(new Ipv4Edit("ip", QStringLiteral("ＩＰアドレス"), &window)) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }

  QLineEdit* box(int i) const { return edit->box(i); }
  QWidget* focused() const { return window.focusWidget(); }
  void paste(int i, const QString& text) const {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(box(i), Qt::Key_V, Qt::ControlModifier);
  }

  ScriptedMessageBoxes boxes;
  QWidget window;
  Ipv4Edit* edit;
};

QString tooLarge(const char* typed) {
  return QStringLiteral(
             "ＩＰアドレス：%1 は 0 から 255 までの範囲を超えています。\n255 にしました。")
      .arg(QString::fromLatin1(typed));
}

}  // namespace

void Ipv4EditTest::boxesAreNamedAfterTheField() {
  Field f;
  QVERIFY2(unnamedControls(f.window).isEmpty(), qPrintable(unnamedControls(f.window).join("; ")));
  QCOMPARE(f.box(0)->objectName(), QStringLiteral("ip_1"));
  QCOMPARE(f.box(3)->objectName(), QStringLiteral("ip_4"));
  QCOMPARE(f.box(1)->accessibleName(), QStringLiteral("ＩＰアドレス 第2"));
  QCOMPARE(f.edit->accessibleName(), QStringLiteral("ＩＰアドレス"));
}

void Ipv4EditTest::digitsAndDotsMoveThroughTheBoxes() {
  Field f;
  f.box(0)->setFocus();
  QTest::keyClicks(f.box(0), "192");
  QCOMPARE(f.focused(), f.box(1));  // the third digit moves on
  QTest::keyClicks(f.box(1), "1a6-8");
  QCOMPARE(f.box(1)->text(), QStringLiteral("168"));  // letters and signs are not taken
  QCOMPARE(f.focused(), f.box(2));
  QTest::keyClicks(f.box(2), "1.");
  QCOMPARE(f.focused(), f.box(3));  // "." moves on and is not taken either
  QCOMPARE(f.box(2)->text(), QStringLiteral("1"));
  // With the input method on, digits arrive full-width.
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("２０"));
  QApplication::sendEvent(f.box(3), &commit);
  QCOMPARE(f.box(3)->text(), QStringLiteral("20"));
  QCOMPARE(f.edit->octets(), (Octets{192, 168, 1, 20}));
  // Backspace in an emptied box goes back to the one before.
  QTest::keyClick(f.box(3), Qt::Key_Backspace);
  QTest::keyClick(f.box(3), Qt::Key_Backspace);
  QTest::keyClick(f.box(3), Qt::Key_Backspace);
  QCOMPARE(f.focused(), f.box(2));
  QCOMPARE(f.edit->octets(), (Octets{192, 168, 1, 0}));  // a blank box reads 0
  QVERIFY(f.boxes.shown.empty());
}

void Ipv4EditTest::anOctetAbove255BecomesItWithAMessage() {
  Field f;
  QSignalSpy edited(f.edit, &Ipv4Edit::edited);
  f.box(0)->setFocus();
  QTest::keyClicks(f.box(0), "300");
  QCOMPARE(f.box(0)->text(), QStringLiteral("255"));
  QCOMPARE(f.edit->octets()[0], 255);
  QCOMPARE(edited.count(), 3);  // the last one already with 255
  QCOMPARE(shownTexts(f.boxes), QStringList{tooLarge("300")});
  QCOMPARE(f.boxes.shown[0].icon, QMessageBox::Warning);
  // The corrected octet stays selected for retyping; 256 is the first value too large.
  QCOMPARE(f.focused(), f.box(0));
  QCOMPARE(f.box(0)->selectedText(), QStringLiteral("255"));
  QTest::keyClicks(f.box(0), "256");
  QCOMPARE(f.box(0)->text(), QStringLiteral("255"));
  QCOMPARE(f.boxes.shown.back().text, tooLarge("256"));
  QTest::keyClicks(f.box(0), "255");
  QCOMPARE(f.focused(), f.box(1));
  QCOMPARE(f.boxes.shown.size(), std::size_t{2});
  // In the last box as well: nothing after it to move to.
  f.box(3)->setFocus();
  QTest::keyClicks(f.box(3), "999");
  QCOMPARE(f.edit->octets(), (Octets{255, 0, 0, 255}));
  QCOMPARE(f.boxes.shown.back().text, tooLarge("999"));
}

void Ipv4EditTest::pastingAbove255IsCorrectedAndOtherTextRefused() {
  Field f;
  f.box(2)->setFocus();
  f.paste(2, QStringLiteral("999"));
  QCOMPARE(f.box(2)->text(), QStringLiteral("255"));
  QCOMPARE(shownTexts(f.boxes), QStringList{tooLarge("999")});
  // Pasted after a digit already there, the octet they make together counts.
  f.box(1)->setText(QStringLiteral("7"));
  f.box(1)->end(false);
  f.paste(1, QStringLiteral("00"));
  QCOMPARE(f.box(1)->text(), QStringLiteral("255"));
  QCOMPARE(f.boxes.shown.back().text, tooLarge("700"));
  // A whole address, a sign or four digits do not fit one box: nothing changes, nothing said.
  f.box(3)->setText(QStringLiteral("4"));
  for (const char* text : {"10.0.0.1", "-1", "1000", "1e2"}) {
    f.box(3)->selectAll();
    f.paste(3, QString::fromLatin1(text));
    QCOMPARE(f.box(3)->text(), QStringLiteral("4"));
  }
  QCOMPARE(f.boxes.shown.size(), std::size_t{2});
  QCOMPARE(f.edit->octets(), (Octets{0, 255, 255, 4}));
}

void Ipv4EditTest::storedOctetsAreShownAsTheyAre() {
  Field f;
  f.edit->setOctets({192, 168, 1, 300});
  QCOMPARE(f.box(3)->text(), QStringLiteral("300"));
  QCOMPARE(f.edit->octets(), (Octets{192, 168, 1, 300}));
  // Return and leaving the box keep it: the user of the address refuses it by name.
  f.box(3)->setFocus();
  QTest::keyClick(f.box(3), Qt::Key_Return);
  f.box(0)->setFocus();
  QCOMPARE(f.box(3)->text(), QStringLiteral("300"));

  f.edit->setOctets({-1, 1000, 0, 0});
  QCOMPARE(f.box(0)->text(), QStringLiteral("-1"));
  QCOMPARE(f.box(1)->text(), QStringLiteral("1000"));
  QCOMPARE(f.edit->octets(), (Octets{-1, 1000, 0, 0}));
  QVERIFY(f.boxes.shown.empty());
  // Editing down into three digits does not jump to the next box.
  f.box(1)->setFocus();
  f.box(1)->end(false);
  QTest::keyClick(f.box(1), Qt::Key_Backspace);
  QCOMPARE(f.box(1)->text(), QStringLiteral("100"));
  QCOMPARE(f.focused(), f.box(1));
}

DROVIK_QTEST_SUITE(Ipv4EditTest);

}  // namespace drovik::test
