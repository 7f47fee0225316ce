#include "app/settings_editor_dialog.h"

#include "app/ui/dialog_runner.h"
#include "editor/setting_dlg.h"

namespace drovik {

bool SettingsEditorDialog::editSettings(ProfileModel& model, QWidget* parent) {
  editor::CDlgSetting dialog(model, retrieval_, parent);
  return ui::runModal(dialog) == QDialog::Accepted;
}

}  // namespace drovik
