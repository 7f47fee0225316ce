// Spinner steps of the margin and switch-time boxes.
#include "editor/margin_steps.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "editor/editor_tests.h"
#include "editor/stepper_box.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

using editor::stepMargin;
using editor::stepSeconds;

void MarginStepsTest::marginSteps_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("up");
  QTest::addColumn<QString>("down");
  // The ordinary step, the 0.5 and 0.6 entries, the one place where the tables do not mirror
  // each other, texts that are not one-decimal numbers, and the wrap at both ends.
  QTest::newRow("default") << "8.5"
                           << "8.9"
                           << "8.0";
  QTest::newRow("cut default") << "6.4"
                               << "6.8"
                               << "5.9";
  QTest::newRow("two decimals") << "8.50"
                                << "8.9"
                                << "8.0";
  QTest::newRow("0.6 up") << "113.7"
                          << "114.3"
                          << "113.3";
  QTest::newRow("0.6 down") << "114.3"
                            << "114.7"
                            << "113.7";
  QTest::newRow("up table only") << "22.4"
                                 << "22.9"
                                 << "22.0";
  QTest::newRow("down table only") << "22.8"
                                   << "23.2"
                                   << "22.3";
  QTest::newRow("not mirrored") << "22.9"
                                << "23.3"
                                << "22.5";
  QTest::newRow("negative 0.5") << "-24.6"
                                << "-24.1"
                                << "-25.0";
  QTest::newRow("empty") << ""
                         << "0.4"
                         << "-0.4";
  QTest::newRow("letters") << "abc"
                           << "0.4"
                           << "-0.4";
  QTest::newRow("top wraps") << "254.0"
                             << "-25.4"
                             << "253.4";
  QTest::newRow("bottom wraps") << "-25.4"
                                << "-25.0"
                                << "254.0";
  QTest::newRow("to the top") << "253.4"
                              << "254.0"
                              << "253.0";
  QTest::newRow("above the range") << "300"
                                   << "-25.4"
                                   << "299.6";
}

void MarginStepsTest::marginSteps() {
  QFETCH(QString, text);
  QFETCH(QString, up);
  QFETCH(QString, down);
  QCOMPARE(QString::fromStdString(stepMargin(text.toStdString(), true)), up);
  QCOMPARE(QString::fromStdString(stepMargin(text.toStdString(), false)), down);
}

void MarginStepsTest::secondsStopAtTheEnds() {
  QCOMPARE(stepSeconds("30", true), std::string("31"));
  QCOMPARE(stepSeconds("030", false), std::string("29"));
  QCOMPARE(stepSeconds("255", true), std::string("255"));
  QCOMPARE(stepSeconds("5", false), std::string("5"));
  QCOMPARE(stepSeconds("4", true), std::string("5"));
  QCOMPARE(stepSeconds("999", false), std::string("254"));
}

void MarginStepsTest::boxesChangeOnlyThroughTheirSpinners() {
  editor::StepperBox box(stepMargin, nullptr);
  box.showValue("8.5");
  QVERIFY(box.findChild<QLineEdit*>()->isReadOnly());
  QSignalSpy stepped(&box, &editor::StepperBox::stepped);
  box.show();
  box.setFocus();
  QTest::keyClicks(&box, "12");
  QCOMPARE(box.value(), QString("8.5"));
  QTest::keyClick(&box, Qt::Key_Up);
  QCOMPARE(box.value(), QString("8.9"));
  // A page key is one step too, not ten.
  QTest::keyClick(&box, Qt::Key_PageDown);
  QCOMPARE(box.value(), QString("8.5"));
  QCOMPARE(stepped.count(), 2);
}

DROVIK_QTEST_SUITE(MarginStepsTest);

}  // namespace drovik::test
