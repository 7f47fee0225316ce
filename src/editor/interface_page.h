// CDlgInterFace: interface selection, switch time, parallel mode and the network settings.
#pragma once

#include <array>

#include "editor/dialog_units.h"
#include "editor/page_states.h"
#include "editor/settings_page.h"

namespace drovik::ui {
class Ipv4Edit;
}

namespace drovik::editor {

class ChoiceControl;
class StepperBox;

class CDlgInterFace : public SettingsPage {
  Q_OBJECT

 public:
  CDlgInterFace(const ProfileText& snapshot, const DialogUnits& units, QWidget* parent);

  void fillFromProfile(const SettingProfile& values) override;
  bool storeToProfile(ProfileModel& model) override;
  void resetControls() override;

  const InterfacePageState& state() const { return state_; }

 private:
  void show(const InterfacePageState& state);

  InterfacePageState state_;
  std::array<ChoiceControl*, catalogue::kInterfaceItemCount> choices_{};
  StepperBox* seconds_ = nullptr;
  std::array<ui::Ipv4Edit*, InterfaceRecord::kAddressCount> addresses_{};
};

}  // namespace drovik::editor
