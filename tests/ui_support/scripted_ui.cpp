#include "ui_support/scripted_ui.h"

#include <QtCore/qtestsupport_core.h>

#include <QLineEdit>
#include <QPushButton>

namespace drovik::test {

ScriptedMessageBoxes::ScriptedMessageBoxes() { ui::setMessageBoxes(this); }
ScriptedMessageBoxes::~ScriptedMessageBoxes() { ui::setMessageBoxes(nullptr); }

QMessageBox::StandardButton ScriptedMessageBoxes::show(QWidget*, const QString& text,
                                                       QMessageBox::Icon icon,
                                                       QMessageBox::StandardButtons buttons) {
  shown.push_back({text, icon, buttons});
  if (!answers_.empty()) {
    const auto button = answers_.front();
    answers_.pop_front();
    return button;
  }
  if (buttons == QMessageBox::Ok) return QMessageBox::Ok;
  ++unanswered;
  return QMessageBox::Cancel;
}

ScriptedFileDialogs::ScriptedFileDialogs() { ui::setFileDialogs(this); }
ScriptedFileDialogs::~ScriptedFileDialogs() { ui::setFileDialogs(nullptr); }

std::optional<QString> ScriptedFileDialogs::saveFileName(QWidget*,
                                                         const ui::FileDialogRequest& request) {
  return next(request);
}

std::optional<QString> ScriptedFileDialogs::openFileName(QWidget*,
                                                         const ui::FileDialogRequest& request) {
  return next(request);
}

std::optional<QString> ScriptedFileDialogs::existingDirectory(
    QWidget*, const ui::FileDialogRequest& request) {
  return next(request);
}

std::optional<QString> ScriptedFileDialogs::next(const ui::FileDialogRequest& request) {
  requests.push_back(request);
  if (choices_.empty()) return std::nullopt;
  const Choice choice = choices_.front();
  choices_.pop_front();
  if (!choice.chosen) return std::nullopt;
  return choice.path;
}

ScriptedDialogRunner::ScriptedDialogRunner() { ui::setDialogRunner(this); }
ScriptedDialogRunner::~ScriptedDialogRunner() { ui::setDialogRunner(nullptr); }

int ScriptedDialogRunner::run(QDialog& dialog) {
  // The wait goes on after the runner returns (see ui::waitShowingBox).
  const bool waitBox = dialog.objectName() == QLatin1String("waitBox");
  if (waitBox && (steps_.empty() || !steps_.front().forWaitBox)) return QDialog::Rejected;
  opened.push_back(dialog.objectName());
  if (steps_.empty()) {
    ++unscripted;
    return QDialog::Rejected;
  }
  Step step = std::move(steps_.front());
  steps_.pop_front();
  return step.run(dialog);
}

namespace {

// Clicks the button and reports the result the dialog closed with; a dialog that refused to
// close (it stays visible) counts as not closed yet.
int click(QDialog& dialog, const char* button) {
  dialog.setResult(-1);
  dialog.show();
  if (auto* target = dialog.findChild<QPushButton*>(button)) target->click();
  return dialog.isVisible() ? -1 : dialog.result();
}

}  // namespace

ScriptedDialogRunner::Step typeAndOk(const char* edit, const QString& text) {
  return [edit, text](QDialog& dialog) {
    if (auto* field = dialog.findChild<QLineEdit*>(edit)) field->setText(text);
    return click(dialog, "okButton");
  };
}

ScriptedDialogRunner::Step pressOk() {
  return [](QDialog& dialog) { return click(dialog, "okButton"); };
}

ScriptedDialogRunner::Step pressCancel() {
  return [](QDialog& dialog) { return click(dialog, "cancelButton"); };
}

ScriptedDialogRunner::Step inspectThenOk(std::function<void(QDialog&)> look) {
  return [look = std::move(look)](QDialog& dialog) {
    look(dialog);
    return click(dialog, "okButton");
  };
}

ScriptedDialogRunner::Step waitBoxStep(std::function<int(QDialog&)> action) {
  return {std::move(action), true};
}

ScriptedDialogRunner::Step inspectThenWaitForClose(std::function<void(QDialog&)> look) {
  return waitBoxStep([look = std::move(look)](QDialog& box) {
    box.show();
    look(box);
    // Far beyond any lock wait of the tests: a box that never closes fails, not hangs.
    return QTest::qWaitFor([&box] { return !box.isVisible(); }, 30'000) ? box.result() : -1;
  });
}

}  // namespace drovik::test
