// "フォルダーを開く...": another data folder (a fleet row's archive, a colleague's folder) in
// a window of its own over this one, read-only: its files are never written, and a send
// remembers the printer and writes its transfer files where this window's sends do.
#include <QFile>

#include "app/pelmora_dlg.h"
#include "service/profile_service.h"
#include "ui/dialog_runner.h"
#include "ui/file_dialogs.h"

namespace drovik {

void CPelmoraDlg::openFolder() {
  const OperationScope operation(*this);
  ui::FileDialogRequest request;
  request.title = QStringLiteral("フォルダーを開く");
  const auto chosen = ui::fileDialogs().existingDirectory(this, request);
  if (!chosen) return;
  const StorePaths paths = StorePaths::inDirectory(QFile::encodeName(*chosen).toStdString());
  // A folder without an index is no data folder: an empty list would only puzzle.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(paths.indexFile, ec))
    return showFailure("このフォルダには設定ファイル（R_MAIN.INI）がありません: " +
                       paths.programDir.string());
  ProfileService folder(paths, StoreAccess::ReadOnly);
  ProfileModel model;
  CPelmoraDlg window(folder, model, std::nullopt, this);
  window.setCommandSender(sender_);
  ui::runModal(window);
}

}  // namespace drovik
