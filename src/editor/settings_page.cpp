#include "editor/settings_page.h"

#include "ui/message_boxes.h"
#include "ui/qt_text.h"

namespace drovik::editor {

SettingsPage::SettingsPage(const ProfileText& snapshot, QWidget* parent)
    : QWidget(parent), snapshot_(snapshot) {}

bool SettingsPage::reported(const Status& status) {
  if (status) return true;
  ui::messageBoxes().warn(this, qt(status.message()));
  return false;
}

}  // namespace drovik::editor
