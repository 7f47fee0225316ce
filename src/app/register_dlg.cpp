#include "app/register_dlg.h"

#include "model/profile_registry.h"
#include "ui/accessibility.h"
#include "ui/dialog_buttons.h"
#include "ui/message_boxes.h"
#include "ui_register_dlg.h"

namespace drovik {

CDlgRegister::CDlgRegister(QWidget* parent) : QDialog(parent), ui_(new Ui::CDlgRegister) {
  ui_->setupUi(this);
  ui::captionDialogButtons(*ui_->buttonBox);
  ui::nameControlsAfterCaptions(*this);
  connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &CDlgRegister::accept);
  connect(ui_->buttonBox, &QDialogButtonBox::rejected, this, &CDlgRegister::reject);
}

CDlgRegister::~CDlgRegister() = default;

std::string CDlgRegister::profileName() const { return ui_->nameEdit->text().toStdString(); }

void CDlgRegister::accept() {
  if (Status s = validateProfileName(profileName()); !s) {
    ui::messageBoxes().warn(this, QString::fromStdString(s.message()));
    ui_->nameEdit->setFocus();
    return;
  }
  QDialog::accept();
}

}  // namespace drovik
