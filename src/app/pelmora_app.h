// The application object: owns the profile service and the one current profile, and runs
// the main window until it is closed.
#pragma once

#include <QFuture>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/printer_retrieval.h"
#include "app/printer_sender.h"
#include "app/settings_editor_dialog.h"
#include "model/profile.h"
#include "model/store_paths.h"
#include "service/profile_service.h"

namespace drovik {

class CPelmoraDlg;

class CPelmoraApp {
 public:
  // Starts reading the index at once, so that the read overlaps the toolkit's start-up;
  // construct it before the QApplication. Sends and retrievals remember the printer and
  // write their files in `transfers` (by default the profiles' folder): a folder opened
  // read-only is never written.
  explicit CPelmoraApp(const StorePaths& profiles, StoreAccess access = StoreAccess::ReadWrite,
                       const std::optional<StorePaths>& transfers = std::nullopt);
  ~CPelmoraApp();

  // The main window with the profiles listed; needs the QApplication, which must outlive it.
  std::unique_ptr<CPelmoraDlg> createMainWindow();
  // Runs the main window modally and returns when it is closed and the work it left in the
  // background has ended; with `fleetPlan`, the fleet window opens over it on that plan.
  int run(const std::optional<std::filesystem::path>& fleetPlan = std::nullopt);

 private:
  ProfileService service_;
  ProfileStore transfers_;
  ProfileModel model_;
  PrinterRetrieval retrieval_;
  SettingsEditorDialog editor_;
  PrinterSender sender_;
  QFuture<Result<ProfileSlotTable>> firstRead_;
};

// Whether a window system is reachable, checked before Qt would abort for want of one.
bool displayAvailable();

}  // namespace drovik
