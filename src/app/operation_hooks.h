// The main window's seams for the parts that plug into it: the settings editor that
// "設定変更", a double-click and registration open, and the sender that "設定送信" hands
// the command to (the application installs PrinterSender). Until an editor is installed the
// window says so on the button instead.
#pragma once

class QWidget;

namespace drovik {

class ProfileModel;
struct PreparedCommand;

class SettingsEditor {
 public:
  virtual ~SettingsEditor() = default;
  // Edits the model modally; true when the operator closed the editor with OK (the model then
  // carries the changed values and their write flags).
  virtual bool editSettings(ProfileModel& model, QWidget* parent) = 0;
};

class CommandSender {
 public:
  virtual ~CommandSender() = default;
  // Sends the freshly prepared command modally (printer driver, parallel port or network).
  virtual void sendCommand(const PreparedCommand& command, QWidget* parent) = 0;
};

}  // namespace drovik
