// The settings list of a profile and the migration of an old-model profile to the M model.
#include "app/pelmora_dlg.h"
#include "app/setview_dlg.h"
#include "report/settings_report.h"
#include "service/profile_service.h"
#include "ui/dialog_runner.h"

namespace drovik {

void CPelmoraDlg::showReport(const std::string& report) {
  CDlgSetview view(report, this);
  ui::runModal(view);
}

bool CPelmoraDlg::showReportOf(const std::string& name, std::optional<CommandVariant> variant) {
  auto loaded = service_.loadProfile(model_, name);
  if (!loaded) {
    showFailure(loaded.message());
    return false;
  }
  const CommandVariant layout = variant.value_or(variantOf(loaded->modelType));
  auto report = BuildSettingsReportFor(model_.values, model_.flags, layout);
  if (!report) {
    showFailure(report.message());
    return false;
  }
  showReport(*report);
  return true;
}

void CPelmoraDlg::showSettingsList() {
  const OperationScope operation(*this);
  auto name = selectedName();
  if (!name) return;
  if (!showReportOf(*name)) reloadList(name);
  updateButtonStates();
}

void CPelmoraDlg::migrateProfile() {
  const OperationScope operation(*this);
  auto source = selectedName();
  if (!source || readOnly()) return;
  if (!checkRoomForAnotherProfile()) return;
  // The name dialog starts from the defaults as in registration; the report reloads the source.
  model_.resetToDefaults();
  if (auto newName = askProfileName()) {
    auto onExisting = askAboutExistingName(*newName);
    if (!onExisting) return;  // declined: nothing written and no report
    auto migrated = registerAsking(*newName, *onExisting, [&](OnExisting choice) {
      return underLock([&] { return service_.migrateProfile(*source, *newName, choice); });
    });
    if (!migrated) return;
    if (!*migrated) {
      showFailure(migrated->message());
      reloadList(source);
      return;
    }
    reloadList(*newName);
  }
  // The source as the M model will read it, also after the name dialog was cancelled.
  showReportOf(*source, CommandVariant::M);
  updateButtonStates();
}

}  // namespace drovik
