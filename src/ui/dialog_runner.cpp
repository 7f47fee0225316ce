#include "ui/dialog_runner.h"

#include <QDialog>

namespace drovik::ui {

namespace {
DialogRunner* replacement = nullptr;
}

int runModal(QDialog& dialog) { return replacement ? replacement->run(dialog) : dialog.exec(); }

void setDialogRunner(DialogRunner* runner) { replacement = runner; }

}  // namespace drovik::ui
