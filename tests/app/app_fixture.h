// A main window on a fresh data folder with every dialog, message box and file chooser
// answered by script.
#pragma once

#include <QPushButton>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/operation_hooks.h"
#include "app/pelmora_dlg.h"
#include "service/profile_service.h"
#include "support/temp_dir.h"
#include "ui_support/scripted_ui.h"

namespace drovik::test {

// Stands in for the settings dialog: applies `edit` to the loaded profile and answers OK
// (which saves) or Cancel; after a failed save it cancels.
class FakeSettingsEditor final : public SettingsEditor {
 public:
  bool editSettings(ProfileModel& model, QWidget* parent, const Save& save) override;

  std::function<void(ProfileModel&)> edit;
  bool answerOk = true;
  int opened = 0;
  std::string lastUserName0;  // user 1's name in the profile the editor was opened on
};

// Which operation buttons of a main window are enabled, one word per button ("register
// delete ..."), for a readable comparison.
QString enabledButtons(const QWidget& window);
// Clicks a row of a main window's list with the mouse.
void clickRowOf(QWidget& window, int row);

struct AppFixture {
  AppFixture();
  ~AppFixture();

  // Registers a profile directly in the files: every item included, or none.
  void addProfile(int slot, const std::string& name, const std::string& modelType,
                  bool allIncluded = true, const std::string& userName1 = "");
  void reopenWindow();  // a new window on the same files, as at start-up

  QPushButton* button(const char* name) const;
  QTreeWidget* list() const;
  int rowOf(const std::string& name) const;  // -1 when not listed
  void clickRow(int row);                    // with the mouse
  void doubleClickRow(int row);
  std::string selectedName() const;
  std::string indexBytes() const;
  std::string settingsBytes() const;

  TempDir dir;
  ProfileService service;
  ProfileModel model;
  ScriptedMessageBoxes boxes;
  ScriptedDialogRunner dialogs;
  ScriptedFileDialogs files;
  std::unique_ptr<CPelmoraDlg> window;
};

}  // namespace drovik::test
