// CDlgUser: one printer user's tall page with the front-tractor, rear-tractor, cut-sheet,
// common, 8630 and ESC/P groups, each frame at its fixed page pixel. The widgets are
// created when the page is first shown; until then the page works on its state alone.
#pragma once

#include <array>

#include "editor/dialog_units.h"
#include "editor/page_states.h"
#include "editor/settings_page.h"

namespace drovik::editor {

class ChoiceControl;
class StepperBox;

class CDlgUser : public SettingsPage {
  Q_OBJECT

 public:
  CDlgUser(int user, const ProfileText& snapshot, const DialogUnits& units, QWidget* parent);

  int user() const { return user_; }
  void fillFromProfile(const SettingProfile& values) override;
  bool storeToProfile(ProfileModel& model) override;
  void resetControls() override;
  void ensureBuilt() override;
  bool built() const { return built_; }

  const UserPageState& state() const { return state_; }
  // The pixels between rows, chosen so that every group fits above the next group's frame.
  static int rowPitch(const DialogUnits& units, int titleHeight);

 private:
  void show(const UserPageState& state);

  int user_;
  DialogUnits units_;
  bool built_ = false;
  UserPageState state_;
  std::array<ChoiceControl*, catalogue::kPaperItemCount> paper_{};
  std::array<StepperBox*, catalogue::kMarginCount> margins_{};
  std::array<ChoiceControl*, catalogue::kCommonItemCount> common_{};
};

}  // namespace drovik::editor
