// "コマンド生成" saves the selected profile's command as a file; "設定送信" hands it to the
// send dialogs. Both load the profile by its name in the same read that builds the command.
#include <QFile>

#include "app/operation_hooks.h"
#include "app/pelmora_dlg.h"
#include "service/profile_service.h"
#include "transport/command_file.h"
#include "ui/file_dialogs.h"
#include "ui/message_boxes.h"
#include "ui_pelmora_dlg.h"

namespace drovik {

namespace {

QString joinedLines(const std::vector<std::string>& lines) {
  QStringList joined;
  for (const auto& line : lines) joined << QString::fromStdString(line);
  return joined.join(QLatin1Char('\n'));
}

}  // namespace

void CPelmoraDlg::showCommandWarnings(const PreparedCommand& command) {
  if (!command.warnings.empty()) ui::messageBoxes().warn(this, joinedLines(command.warnings));
}

void CPelmoraDlg::generateCommandFile() {
  const OperationScope operation(*this);
  auto name = selectedName();
  if (!name) return;
  ui::FileDialogRequest request;
  request.title = QStringLiteral("名前を付けて保存");
  request.nameFilter = QStringLiteral("VAD Command Binary files (*.sib)");
  request.defaultSuffix = QStringLiteral("sib");
  request.confirmOverwrite = true;
  if (auto path = ui::fileDialogs().saveFileName(this, request)) {
    const std::filesystem::path file = QFile::encodeName(*path).toStdString();
    // Its history record waits for the folder lock: off the GUI thread.
    auto written =
        underLock([&] { return transport::writeCommandFile(service_, model_, *name, file); });
    if (!written) {
      showFailure(written.message());
      reloadList(name);
    } else {
      showCommandWarnings(*written);
    }
  }
  updateButtonStates();
}

void CPelmoraDlg::sendCommand() {
  const OperationScope operation(*this);
  auto name = selectedName();
  if (!name) return;
  ProfileEntry profile;
  auto prepared = service_.prepareProfileCommand(model_, *name, &profile);
  if (!prepared) {
    showFailure(prepared.message());
    reloadList(name);
    return;
  }
  showCommandWarnings(*prepared);
  if (sender_) sender_->sendCommand(profile.section, *prepared, this);
  updateButtonStates();
}

}  // namespace drovik
