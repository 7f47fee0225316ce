// Scripted stand-ins for the message boxes, file choosers and modal dialogs of the Qt parts:
// each installs itself for its lifetime, answers from a queue and records what was shown.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <type_traits>
#include <vector>

#include "ui/dialog_runner.h"
#include "ui/file_dialogs.h"
#include "ui/message_boxes.h"

namespace drovik::test {

struct ShownMessage {
  QString text;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
};

class ScriptedMessageBoxes final : public ui::MessageBoxes {
 public:
  ScriptedMessageBoxes();
  ~ScriptedMessageBoxes() override;

  // The answer to the next box; boxes with only OK need none.
  void answer(QMessageBox::StandardButton button) { answers_.push_back(button); }
  QMessageBox::StandardButton show(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                                   QMessageBox::StandardButtons buttons) override;

  std::vector<ShownMessage> shown;
  int unanswered = 0;  // questions asked without a scripted answer (answered Cancel)

 private:
  std::deque<QMessageBox::StandardButton> answers_;
};

class ScriptedFileDialogs final : public ui::FileDialogs {
 public:
  ScriptedFileDialogs();
  ~ScriptedFileDialogs() override;

  // The next chooser returns `path`; nothing means the operator cancelled.
  void choose(const std::optional<QString>& path) {
    choices_.push_back({path.has_value(), path.value_or(QString())});
  }
  std::optional<QString> saveFileName(QWidget* parent,
                                      const ui::FileDialogRequest& request) override;
  std::optional<QString> openFileName(QWidget* parent,
                                      const ui::FileDialogRequest& request) override;
  std::optional<QString> existingDirectory(QWidget* parent,
                                           const ui::FileDialogRequest& request) override;

  std::vector<ui::FileDialogRequest> requests;

 private:
  std::optional<QString> next(const ui::FileDialogRequest& request);
  struct Choice {
    bool chosen;
    QString path;
  };
  std::deque<Choice> choices_;
};

class ScriptedDialogRunner final : public ui::DialogRunner {
 public:
  // What the operator does in one dialog. A wait box comes up only when the work outlasts a
  // brief wait, which a loaded machine decides: it is handed only to a step made for it
  // (forWaitBox), and otherwise left to close itself without taking the next step.
  struct Step {
    template <typename F>
    requires std::is_invocable_r_v<int, F&, QDialog&> Step(F action, bool waitBox = false)
        : run(std::move(action)), forWaitBox(waitBox) {}
    int operator()(QDialog& dialog) const { return run(dialog); }
    std::function<int(QDialog&)> run;
    bool forWaitBox;
  };
  ScriptedDialogRunner();
  ~ScriptedDialogRunner() override;

  // What the operator does in the next dialog; it returns the dialog's result.
  void then(Step step) { steps_.push_back(std::move(step)); }
  int run(QDialog& dialog) override;

  std::vector<QString> opened;  // object names, in order
  int unscripted = 0;           // dialogs opened without a step (rejected)

 private:
  std::deque<Step> steps_;
};

// Steps: type into the line edit `edit` and press OK; press OK; press Cancel; press OK after
// handing the dialog to `look`; hand a box that closes itself (a wait box) to `look` and wait
// until it has closed.
ScriptedDialogRunner::Step typeAndOk(const char* edit, const QString& text);
ScriptedDialogRunner::Step pressOk();
ScriptedDialogRunner::Step pressCancel();
ScriptedDialogRunner::Step inspectThenOk(std::function<void(QDialog&)> look);
ScriptedDialogRunner::Step inspectThenWaitForClose(std::function<void(QDialog&)> look);
// A step of the test's own for a wait box.
ScriptedDialogRunner::Step waitBoxStep(std::function<int(QDialog&)> action);

}  // namespace drovik::test
