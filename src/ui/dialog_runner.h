// Modal dialogs are run through one replaceable object: a test fills in and closes the real
// dialog (found by object name) without an event loop.
#pragma once

class QDialog;

namespace drovik::ui {

class DialogRunner {
 public:
  virtual ~DialogRunner() = default;
  // Runs the dialog modally; returns its result (QDialog::Accepted or Rejected).
  virtual int run(QDialog& dialog) = 0;
};

// Runs the dialog with the runner in use: exec() unless replaced.
int runModal(QDialog& dialog);
// Replaces the runner (nullptr restores exec()); the caller keeps ownership.
void setDialogRunner(DialogRunner* runner);

}  // namespace drovik::ui
