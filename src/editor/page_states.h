// What the controls of each settings page hold, apart from the widgets: a page can be filled,
// reset and stored before it is built, and its store runs the same with or without widgets.
// Choices hold their code (the selected list entry, or 0 / 1 for the ticked radio button);
// a list code outside the list is kept as it was read, so that a control that cannot show
// it does not write a different value.
#pragma once

#include <array>
#include <string>

#include "files/status.h"
#include "model/catalogue.h"
#include "model/profile.h"

namespace drovik::editor {

// A choice of two is shown as a pair of radio buttons, a longer one as a drop-down list.
bool isRadioPair(const catalogue::Item& item);

struct UserNamePageState {
  int selectUser = catalogue::kDefaultSelectUser;
  std::array<std::string, catalogue::kUserCount> names;

  static UserNamePageState defaults();
  static UserNamePageState of(const SettingProfile& values);
};

struct UserPageState {
  std::array<int, catalogue::kPaperItemCount> paper{};  // unused at the margin items
  std::array<std::string, catalogue::kMarginCount> margin;
  std::array<int, catalogue::kCommonItemCount> common{};

  static UserPageState defaults();
  static UserPageState of(const SettingProfile& values, int user);
};

struct InterfacePageState {
  using Address = std::array<int, 4>;
  std::string seconds;
  std::array<Address, InterfaceRecord::kAddressCount> address{};

  // The shown code of a choice item (IfSel, Parallel, DHCP, ErrDisp), by its item number.
  int& choice(int item) { return choices_.at(item); }
  int choice(int item) const { return choices_.at(item); }
  static InterfacePageState defaults();
  static InterfacePageState of(const SettingProfile& values);

 private:
  std::array<int, cat::kInterfaceItemCount> choices_{};
};

// The stores write the text form and set the write flag of each text that differs from the
// snapshot taken when the dialog opened. The first refused value stops a store: what was
// written before it stays, nothing after it is written and no write flag of the page is set.
// The refusal carries the message for the operator.
Status storeUserNamePage(const UserNamePageState& state, ProfileModel& model,
                         const ProfileText& snapshot);
Status storeUserPage(const UserPageState& state, int user, ProfileModel& model,
                     const ProfileText& snapshot);
Status storeInterfacePage(const InterfacePageState& state, ProfileModel& model,
                          const ProfileText& snapshot);

}  // namespace drovik::editor
