#include "app/settings_editor_dialog.h"

#include "editor/setting_dlg.h"
#include "ui/dialog_runner.h"

namespace drovik {

bool SettingsEditorDialog::editSettings(ProfileModel& model, QWidget* parent, const Save& save) {
  editor::CDlgSetting dialog(model, retrieval_, parent);
  dialog.setSaveAction(save);
  return ui::runModal(dialog) == QDialog::Accepted;
}

}  // namespace drovik
