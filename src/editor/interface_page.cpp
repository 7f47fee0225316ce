#include "editor/interface_page.h"

#include "editor/choice_control.h"
#include "editor/margin_steps.h"
#include "editor/page_layout.h"
#include "editor/stepper_box.h"
#include "ui/ipv4_edit.h"
#include "ui/qt_text.h"

namespace drovik::editor {

namespace cat = catalogue;

CDlgInterFace::CDlgInterFace(const ProfileText& snapshot, const DialogUnits& units, QWidget* parent)
    : SettingsPage(snapshot, parent) {
  setObjectName(QStringLiteral("CDlgInterFace"));
  PageLayout layout(*this, units);
  const int pitch = layout.standardPitch();
  int top = units.y(7);
  for (int g : {cat::kInterfaceGroup, cat::kNetworkGroup}) {
    const cat::Group& group = cat::groups()[g];
    const int frame = layout.addFrame(qt(group.label), qt(group.flagStem), top);
    QWidget* host = layout.frame(frame);
    for (int k = 0; k < group.count; ++k) {
      const int item = group.first + k;
      const cat::Item& it = cat::interfaceItems()[item];
      const QString name = qt(it.name);
      const QString caption = qt(it.pageCaption());
      switch (it.kind) {
        case cat::ValueKind::Choice: {
          auto* control = new ChoiceControl(it, name, caption, host);
          connect(control, &ChoiceControl::chosen, this,
                  [this, item](int code) { state_.choice(item) = code; });
          choices_[item] = control;
          layout.addRow(frame, caption, control->widget());
          break;
        }
        case cat::ValueKind::Seconds:
          seconds_ = new StepperBox(stepSeconds, host);
          seconds_->setObjectName(name);
          connect(seconds_, &StepperBox::stepped, this,
                  [this](const QString& text) { state_.seconds = utf8(text); });
          layout.addRow(frame, caption, seconds_, QStringLiteral("sec"));
          break;
        default: {
          const int address = InterfaceRecord::addressOf(item);
          addresses_[address] = new ui::Ipv4Edit(name, caption, host);
          connect(addresses_[address], &ui::Ipv4Edit::edited, this,
                  [this, address] { state_.address[address] = addresses_[address]->octets(); });
          layout.addRow(frame, caption, addresses_[address]);
          break;
        }
      }
    }
    top += layout.titleHeight() + group.count * pitch + units.y(4) + units.y(7);
  }
  resize(layout.place(pitch, units.x(208)));
  resetControls();
}

void CDlgInterFace::show(const InterfacePageState& state) {
  state_ = state;
  for (int item : {cat::kIfSel, cat::kParallel, cat::kDhcp, cat::kErrDisp})
    choices_[item]->showCode(state.choice(item));
  seconds_->showValue(qt(state.seconds));
  for (int a = 0; a < InterfaceRecord::kAddressCount; ++a)
    addresses_[a]->setOctets(state.address[a]);
}

void CDlgInterFace::fillFromProfile(const SettingProfile& values) {
  show(InterfacePageState::of(values));
}

void CDlgInterFace::resetControls() { show(InterfacePageState::defaults()); }

bool CDlgInterFace::storeToProfile(ProfileModel& model) {
  return reported(storeInterfacePage(state_, model, snapshot_));
}

}  // namespace drovik::editor
