// The application object: owns the profile service and the one current profile, and runs
// the main window until it is closed.
#pragma once

#include <memory>

#include "model/profile.h"
#include "model/store_paths.h"
#include "service/profile_service.h"

namespace drovik {

class CPelmoraDlg;
class SettingsEditorDialog;

class CPelmoraApp {
 public:
  explicit CPelmoraApp(const StorePaths& paths);
  ~CPelmoraApp();

  CPelmoraDlg& mainWindow() { return *window_; }
  // Shows the main window and returns when it is closed.
  int run();

 private:
  ProfileService service_;
  ProfileModel model_;
  std::unique_ptr<SettingsEditorDialog> editor_;
  std::unique_ptr<CPelmoraDlg> window_;
};

// Whether a window system is reachable, checked before Qt would abort for want of one.
bool displayAvailable();

}  // namespace drovik
