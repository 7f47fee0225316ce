#include "app/about_dlg.h"

#include "app/program_icon.h"
#include "program_version.h"
#include "ui/accessibility.h"
#include "ui/dialog_buttons.h"
#include "ui_about_dlg.h"

namespace drovik {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), ui_(new Ui::CAboutDlg) {
  ui_->setupUi(this);
  ui_->versionLabel->setText(QStringLiteral("Drovik Version ") + QLatin1String(kProgramVersion));
  ui::captionDialogButtons(*ui_->buttonBox);
  ui::nameControlsAfterCaptions(*this);
  const int side = 2 * fontMetrics().height() + 16;
  ui_->iconLabel->setPixmap(programIcon().pixmap(side, side));
  setWindowIcon(programIcon());
  connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &CAboutDlg::accept);
  // Wide enough for the caption in the title bar.
  setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 6 * fontMetrics().height());
}

CAboutDlg::~CAboutDlg() = default;

}  // namespace drovik
