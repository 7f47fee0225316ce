#include "editor/stepper_box.h"

#include <QLineEdit>

#include "ui/qt_text.h"

namespace drovik::editor {

StepperBox::StepperBox(Step step, QWidget* parent)
    : QAbstractSpinBox(parent), step_(std::move(step)) {
  // The box itself stays writable so that its arrows work; only its text field refuses typing.
  lineEdit()->setReadOnly(true);
  setFocusPolicy(Qt::StrongFocus);
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  setAccelerated(false);
}

QString StepperBox::value() const { return lineEdit()->text(); }

void StepperBox::showValue(const QString& text) { lineEdit()->setText(text); }

void StepperBox::stepBy(int steps) {
  // One step per press, however far a key or a repeat asks to go.
  if (steps == 0) return;
  lineEdit()->setText(qt(step_(utf8(value()), steps > 0)));
  Q_EMIT stepped(value());
}

QAbstractSpinBox::StepEnabled StepperBox::stepEnabled() const {
  return StepUpEnabled | StepDownEnabled;
}

}  // namespace drovik::editor
