// The main window's seams for the parts that plug into it: the settings editor that
// "設定変更", a double-click and registration open, and the sender that "設定送信" hands
// the command to (the application installs PrinterSender). Until an editor is installed the
// window says so on the button instead.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace drovik {

class ProfileModel;
struct PreparedCommand;

class SettingsEditor {
 public:
  virtual ~SettingsEditor() = default;
  // What OK runs once the model carries the changed values and their write flags: saves them,
  // shows any failure itself and returns true when saved. Until it does, the editor stays
  // open with the operator's edits, so that they can try again or cancel.
  using Save = std::function<bool()>;
  // Edits the model modally; true when the operator closed the editor with OK and it saved.
  virtual bool editSettings(ProfileModel& model, QWidget* parent, const Save& save) = 0;
};

class CommandSender {
 public:
  virtual ~CommandSender() = default;
  // Sends the freshly prepared command of the profile `profile` modally (printer driver,
  // parallel port or network).
  virtual void sendCommand(const std::string& profile, const PreparedCommand& command,
                           QWidget* parent) = 0;
};

}  // namespace drovik
