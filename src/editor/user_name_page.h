// CDlgUserName: the initial user and the ten user names.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <array>

#include "editor/dialog_units.h"
#include "editor/page_states.h"
#include "editor/settings_page.h"

namespace drovik::editor {

class CDlgUserName : public SettingsPage {
  Q_OBJECT

 public:
  CDlgUserName(const ProfileText& snapshot, const DialogUnits& units, QWidget* parent);

  void fillFromProfile(const SettingProfile& values) override;
  bool storeToProfile(ProfileModel& model) override;
  void resetControls() override;

  const UserNamePageState& state() const { return state_; }

 private:
  void show(const UserNamePageState& state);

  UserNamePageState state_;
  QComboBox* selectUser_ = nullptr;
  std::array<QLineEdit*, catalogue::kUserCount> names_{};
};

}  // namespace drovik::editor
