// What the settings dialog asks of each of its pages. A page holds its controls' contents
// in a state of its own; its store validates that state and writes the profile's text form,
// flagging for writing what differs from the texts the profile had when the dialog opened.
#pragma once

#include <QWidget>

#include "files/status.h"
#include "model/profile.h"

namespace drovik::editor {

class SettingsPage : public QWidget {
  Q_OBJECT

 public:
  SettingsPage(const ProfileText& snapshot, QWidget* parent);

  // Shows the values of the profile's record form.
  virtual void fillFromProfile(const SettingProfile& values) = 0;
  // Validates and writes the texts; on a refusal shows its message and returns false.
  virtual bool storeToProfile(ProfileModel& model) = 0;
  // Shows the catalogue defaults.
  virtual void resetControls() = 0;
  // Creates the widgets of a page that builds them only when first shown.
  virtual void ensureBuilt() {}

 protected:
  // Shows a refusal to the operator; true when there was none.
  bool reported(const Status& status);

  const ProfileText& snapshot_;
};

}  // namespace drovik::editor
