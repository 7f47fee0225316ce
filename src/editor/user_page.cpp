#include "editor/user_page.h"

#include <algorithm>

#include "editor/choice_control.h"
#include "editor/margin_steps.h"
#include "editor/page_layout.h"
#include "editor/stepper_box.h"
#include "editor/tree_slots.h"
#include "ui/qt_text.h"

namespace drovik::editor {
namespace {

namespace cat = catalogue;

constexpr int kFrameGapUnits = 7;     // a group's page pixel to its frame
constexpr int kFrameBottomUnits = 4;  // the last row to the frame's lower edge

}  // namespace

CDlgUser::CDlgUser(int user, const ProfileText& snapshot, const DialogUnits& units, QWidget* parent)
    : SettingsPage(snapshot, parent), user_(user), units_(units) {
  setObjectName(QStringLiteral("CDlgUser%1").arg(user + 1));
  resetControls();
}

int CDlgUser::rowPitch(const DialogUnits& units, int titleHeight) {
  int pitch = units.y(16);
  for (int g = 0; g + 1 < cat::kUserGroupCount; ++g) {
    const int rowsTop = kGroupPageOffsets[g] + units.y(kFrameGapUnits) + titleHeight;
    const int room = kGroupPageOffsets[g + 1] - rowsTop - units.y(kFrameBottomUnits);
    pitch = std::min(pitch, room / cat::groups()[g].count);
  }
  return pitch;
}

void CDlgUser::ensureBuilt() {
  if (built_) return;
  built_ = true;
  PageLayout layout(*this, units_);
  std::array<int, cat::kUserGroupCount> frames{};
  for (int g = 0; g < cat::kUserGroupCount; ++g) {
    const cat::Group& group = cat::groups()[g];
    frames[g] = layout.addFrame(qt(group.label), qt(group.flagStem),
                                kGroupPageOffsets[g] + units_.y(kFrameGapUnits),
                                group.parent >= 0 ? frames[group.parent] : -1);
    QWidget* host = layout.frame(frames[g]);
    for (int k = 0; k < group.count; ++k) {
      const cat::ItemRef ref = group.ref(k);
      const cat::Item& it = cat::item(ref);
      const QString name = qt(it.name);
      const QString caption = qt(it.pageCaption());
      const int index = ref.index;
      if (it.kind == cat::ValueKind::Margin) {
        const int slot = cat::marginSlotOfPaperItem(index);
        auto* box = new StepperBox(stepMargin, host);
        box->setObjectName(name);
        connect(box, &StepperBox::stepped, this,
                [this, slot](const QString& text) { state_.margin[slot] = utf8(text); });
        margins_[slot] = box;
        layout.addRow(frames[g], caption, box, QStringLiteral("mm"));
        continue;
      }
      auto* control = new ChoiceControl(it, name, caption, host);
      const bool paper = ref.scope == cat::Scope::Paper;
      connect(control, &ChoiceControl::chosen, this, [this, paper, index](int code) {
        (paper ? state_.paper[index] : state_.common[index]) = code;
      });
      (paper ? paper_[index] : common_[index]) = control;
      layout.addRow(frames[g], caption, control->widget());
    }
  }
  resize(layout.place(rowPitch(units_, layout.titleHeight()), units_.x(230)));
  show(state_);
}

void CDlgUser::show(const UserPageState& state) {
  state_ = state;
  if (!built_) return;
  for (int i = 0; i < cat::kPaperItemCount; ++i)
    if (paper_[i]) paper_[i]->showCode(state.paper[i]);
  for (int m = 0; m < cat::kMarginCount; ++m) margins_[m]->showValue(qt(state.margin[m]));
  for (int i = 0; i < cat::kCommonItemCount; ++i) common_[i]->showCode(state.common[i]);
}

void CDlgUser::fillFromProfile(const SettingProfile& values) {
  show(UserPageState::of(values, user_));
}

void CDlgUser::resetControls() { show(UserPageState::defaults()); }

bool CDlgUser::storeToProfile(ProfileModel& model) {
  return reported(storeUserPage(state_, user_, model, snapshot_));
}

}  // namespace drovik::editor
