#include "app/settings_editor_dialog.h"

#include "editor/setting_dlg.h"
#include "ui/dialog_runner.h"

namespace drovik {

bool SettingsEditorDialog::editSettings(ProfileModel& model, QWidget* parent) {
  editor::CDlgSetting dialog(model, retrieval_, parent);
  return ui::runModal(dialog) == QDialog::Accepted;
}

}  // namespace drovik
