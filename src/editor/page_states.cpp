#include "editor/page_states.h"

#include "model/value_validation.h"

namespace drovik::editor {
namespace {

namespace cat = catalogue;

// The radio button a stored code ticks: the second caption for any code but 0, except for
// the ECO mode, whose page reads only code 1 as its second caption ("無効").
int radioOfCode(cat::ItemRef ref, int code) {
  static const cat::ItemRef ecomode = *cat::findItem("Ecomode");
  if (ref == ecomode) return code == 1 ? 1 : 0;
  return code == 0 ? 0 : 1;
}

int shownCode(cat::ItemRef ref, int code) {
  return isRadioPair(cat::item(ref)) ? radioOfCode(ref, code) : code;
}

// Up to two leading zeros go: a three-digit text "005" is stored as "5".
std::string withoutLeadingZeros(std::string text) {
  for (int i = 0; i < 2 && text.size() > 1 && text.front() == '0'; ++i) text.erase(0, 1);
  return text;
}

void flagIfChanged(bool& flag, const std::string& text, const std::string& snapshot) {
  if (text != snapshot) flag = true;
}

}  // namespace

bool isRadioPair(const cat::Item& item) {
  return item.kind == cat::ValueKind::Choice && item.values->size() == 2;
}

UserNamePageState UserNamePageState::defaults() {
  UserNamePageState s;
  for (int u = 0; u < cat::kUserCount; ++u) s.names[u] = cat::defaultUserName(u);
  return s;
}

UserNamePageState UserNamePageState::of(const SettingProfile& values) {
  UserNamePageState s;
  s.selectUser = values.selectUser;
  for (int u = 0; u < cat::kUserCount; ++u)
    s.names[u] = values.userName[u].empty() ? cat::defaultUserName(u) : values.userName[u];
  return s;
}

UserPageState UserPageState::defaults() {
  UserPageState s;
  const auto paper = cat::paperItems();
  for (int i = 0; i < cat::kPaperItemCount; ++i) s.paper[i] = paper[i].defaultIndex;
  for (int m = 0; m < cat::kMarginCount; ++m) s.margin[m] = std::string(cat::marginDefault(m));
  const auto common = cat::commonItems();
  for (int i = 0; i < cat::kCommonItemCount; ++i) s.common[i] = common[i].defaultIndex;
  return s;
}

UserPageState UserPageState::of(const SettingProfile& values, int user) {
  UserPageState s;
  for (int i = 0; i < cat::kPaperItemCount; ++i)
    s.paper[i] = shownCode({cat::Scope::Paper, i}, values.paper[user].index[i]);
  s.margin = values.paper[user].margin;
  for (int i = 0; i < cat::kCommonItemCount; ++i)
    s.common[i] = shownCode({cat::Scope::Common, i}, values.common[user].index[i]);
  return s;
}

InterfacePageState InterfacePageState::defaults() {
  InterfacePageState s;
  const auto items = cat::interfaceItems();
  for (int item : {cat::kIfSel, cat::kParallel, cat::kDhcp, cat::kErrDisp})
    s.choice(item) = items[item].defaultIndex;
  s.seconds = std::string(cat::kDefaultIfChgTime);
  return s;
}

InterfacePageState InterfacePageState::of(const SettingProfile& values) {
  InterfacePageState s;
  const InterfaceRecord& iface = values.iface;
  for (int item : {cat::kIfSel, cat::kParallel, cat::kDhcp, cat::kErrDisp})
    s.choice(item) = shownCode({cat::Scope::Interface, item}, iface.choice(item));
  s.seconds = iface.ifChgTimeText;
  // Shown as stored, also outside 0..255: the store refuses such an octet by name.
  s.address = iface.octet;
  return s;
}

Status storeUserNamePage(const UserNamePageState& state, ProfileModel& model,
                         const ProfileText& snapshot) {
  model.text.selectUser = std::to_string(state.selectUser);
  for (int u = 0; u < cat::kUserCount; ++u)
    if (Status s = validateUserName(u, state.names[u]); !s) return s;
  model.text.userName = state.names;
  flagIfChanged(model.valueWrite.selectUser, model.text.selectUser, snapshot.selectUser);
  for (int u = 0; u < cat::kUserCount; ++u)
    flagIfChanged(model.valueWrite.userName[u], state.names[u], snapshot.userName[u]);
  return Status::ok();
}

Status storeUserPage(const UserPageState& state, int user, ProfileModel& model,
                     const ProfileText& snapshot) {
  auto& paper = model.text.paper[user];
  for (int i = 0; i < cat::kPaperItemCount; ++i) {
    const int margin = cat::marginSlotOfPaperItem(i);
    if (margin < 0) {
      paper[i] = std::to_string(state.paper[i]);
      continue;
    }
    if (Status s = validateMarginText(user, margin, state.margin[margin]); !s) return s;
    paper[i] = state.margin[margin];
  }
  auto& common = model.text.common[user];
  for (int i = 0; i < cat::kCommonItemCount; ++i) common[i] = std::to_string(state.common[i]);

  for (int i = 0; i < cat::kPaperItemCount; ++i)
    flagIfChanged(model.valueWrite.paper[user][i], paper[i], snapshot.paper[user][i]);
  for (int i = 0; i < cat::kCommonItemCount; ++i)
    flagIfChanged(model.valueWrite.common[user][i], common[i], snapshot.common[user][i]);
  return Status::ok();
}

Status storeInterfacePage(const InterfacePageState& state, ProfileModel& model,
                          const ProfileText& snapshot) {
  auto& text = model.text.iface;
  auto at = [](int item, int octet = -1) { return cat::interfaceKeyIndex(item, octet); };
  text[at(cat::kIfSel)] = std::to_string(state.choice(cat::kIfSel));
  if (Status s = validateIfChgTimeText(state.seconds); !s) return s;
  text[at(cat::kIfChgTime)] = withoutLeadingZeros(state.seconds);
  for (int item : {cat::kParallel, cat::kDhcp}) text[at(item)] = std::to_string(state.choice(item));
  for (int item : {cat::kIpAddress, cat::kSubnetMask, cat::kDefaultGateway}) {
    const InterfacePageState::Address& octets = state.address[InterfaceRecord::addressOf(item)];
    for (int o = 0; o < 4; ++o)
      if (Status s = validateAddressOctet(item, o, octets[o]); !s) return s;
    for (int o = 0; o < 4; ++o) text[at(item, o)] = std::to_string(octets[o]);
  }
  text[at(cat::kErrDisp)] = std::to_string(state.choice(cat::kErrDisp));

  // One write flag per item: an address is flagged when any of its octets changed.
  const auto keys = cat::interfaceKeys();
  for (int k = 0; k < cat::kInterfaceKeyCount; ++k)
    flagIfChanged(model.valueWrite.iface[keys[k].item], text[k], snapshot.iface[k]);
  return Status::ok();
}

}  // namespace drovik::editor
