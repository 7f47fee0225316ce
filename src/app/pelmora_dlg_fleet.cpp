// "フリート移行...": the fleet window over the main window. A finished row's folder opens in
// the read-only folder window, and its history in the history window, as "フォルダーを開く..."
// and "履歴..." open them.
#include "app/history_dlg.h"
#include "app/pelmora_dlg.h"
#include "fleet_ui/fleet_window.h"
#include "service/profile_service.h"
#include "ui/dialog_runner.h"
#include "ui/message_boxes.h"
#include "ui/wait_box.h"

namespace drovik {

void CPelmoraDlg::showFleet(const std::optional<std::filesystem::path>& plan) {
  const OperationScope operation(*this);
  fleet_ui::FleetWindowHooks hooks;
  hooks.openArchive = [this](QWidget* parent, const std::filesystem::path& folder) {
    ProfileService archive(StorePaths::inDirectory(folder), StoreAccess::ReadOnly);
    ProfileModel model;
    CPelmoraDlg window(archive, model, std::nullopt, parent);
    window.setCommandSender(sender_);
    ui::runModal(window);
  };
  hooks.showHistory = [](QWidget* parent, const std::filesystem::path& folder) {
    const history::HistoryFile file(folder);
    auto contents = ui::runInBackground(parent, QStringLiteral("履歴を読み込んでいます…"),
                                        [&file] { return file.read(); });
    if (!contents)
      return ui::messageBoxes().warn(parent, QString::fromStdString(contents.message()));
    CDlgHistory dialog(std::move(*contents), parent);
    ui::runModal(dialog);
  };
  fleet_ui::FleetWindow window(std::move(hooks), this);
  if (plan) window.openPlan(*plan);
  ui::runModal(window);
}

}  // namespace drovik
