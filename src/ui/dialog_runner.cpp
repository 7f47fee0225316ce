#include "ui/dialog_runner.h"

#include <QDialog>

namespace drovik::ui {

namespace {
DialogRunner* replacementRunner = nullptr;
}

int runModal(QDialog& dialog) {
  return replacementRunner ? replacementRunner->run(dialog) : dialog.exec();
}

void setDialogRunner(DialogRunner* runner) { replacementRunner = runner; }

}  // namespace drovik::ui
