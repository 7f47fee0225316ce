#include "editor/user_name_page.h"

#include <QSignalBlocker>

#include "editor/page_layout.h"
#include "ui/qt_text.h"

namespace drovik::editor {

namespace cat = catalogue;

CDlgUserName::CDlgUserName(const ProfileText& snapshot, const DialogUnits& units, QWidget* parent)
    : SettingsPage(snapshot, parent) {
  setObjectName(QStringLiteral("CDlgUserName"));
  const auto& nodes = cat::checkNodes();
  PageLayout layout(*this, units);
  const int pitch = layout.standardPitch();
  const int top = layout.addFrame({}, QStringLiteral("selectUserRow"), units.y(7));
  selectUser_ = new QComboBox(layout.frame(top));
  selectUser_->setObjectName(qt(cat::kSelectUserKey));
  for (std::string_view entry : cat::selectUserList().entries) selectUser_->addItem(qt(entry));
  layout.addRow(top, qt(nodes[cat::kSelectUserNode].label), selectUser_);
  connect(selectUser_, &QComboBox::activated, this, [this](int i) { state_.selectUser = i; });

  const int names =
      layout.addFrame(qt(nodes[cat::kUserNameSettingNode].label), QStringLiteral("userNameFrame"),
                      units.y(7) + pitch + units.y(4));
  for (int u = 0; u < cat::kUserCount; ++u) {
    names_[u] = new QLineEdit(layout.frame(names));
    names_[u]->setObjectName(qt(cat::userNameKey(u)));
    layout.addRow(names, qt(cat::userCaption(u)), names_[u]);
    connect(names_[u], &QLineEdit::textEdited, this,
            [this, u](const QString& text) { state_.names[u] = utf8(text); });
  }
  resize(layout.place(pitch, units.x(208)));
  resetControls();
}

void CDlgUserName::show(const UserNamePageState& state) {
  state_ = state;
  const QSignalBlocker blocker(selectUser_);
  selectUser_->setCurrentIndex(
      state.selectUser >= 0 && state.selectUser < selectUser_->count() ? state.selectUser : -1);
  for (int u = 0; u < cat::kUserCount; ++u) names_[u]->setText(qt(state.names[u]));
}

void CDlgUserName::fillFromProfile(const SettingProfile& values) {
  show(UserNamePageState::of(values));
}

void CDlgUserName::resetControls() { show(UserNamePageState::defaults()); }

bool CDlgUserName::storeToProfile(ProfileModel& model) {
  return reported(storeUserNamePage(state_, model, snapshot_));
}

}  // namespace drovik::editor
