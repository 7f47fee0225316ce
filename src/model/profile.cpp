#include "model/profile.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace drovik {

std::int32_t& InterfaceRecord::choice(int item) {
  switch (item) {
    case cat::kIfSel:
      return ifSel;
    case cat::kParallel:
      return parallel;
    case cat::kDhcp:
      return dhcp;
    default:
      return errDisp;
  }
}

std::int32_t InterfaceRecord::choice(int item) const {
  return const_cast<InterfaceRecord*>(this)->choice(item);
}

void setNumberText(std::string& text, std::int32_t value) {
  char digits[12];
  const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
  text.assign(digits, end);
}

SettingProfile SettingProfile::defaults() {
  SettingProfile p;
  p.selectUser = cat::kDefaultSelectUser;
  for (int u = 0; u < cat::kUserCount; ++u) {
    p.userName[u] = cat::defaultUserName(u);
    const auto paper = cat::paperItems();
    for (int i = 0; i < cat::kPaperItemCount; ++i) p.paper[u].index[i] = paper[i].defaultIndex;
    for (int m = 0; m < cat::kMarginCount; ++m)
      p.paper[u].margin[m] = std::string(cat::marginDefault(m));
    const auto common = cat::commonItems();
    for (int i = 0; i < cat::kCommonItemCount; ++i) p.common[u].index[i] = common[i].defaultIndex;
  }
  const auto iface = cat::interfaceItems();
  for (int item : {cat::kIfSel, cat::kParallel, cat::kDhcp, cat::kErrDisp})
    p.iface.choice(item) = iface[item].defaultIndex;
  p.iface.ifChgTimeText = std::string(cat::kDefaultIfChgTime);
  p.iface.ifChgTime = cat::kDefaultIfChgTimeSeconds;
  for (auto& address : p.iface.octetText) address.fill("0");
  for (auto& address : p.iface.octet) address.fill(0);
  return p;
}

ProfileText ProfileText::of(const SettingProfile& values) {
  ProfileText t;
  setNumberText(t.selectUser, values.selectUser);
  for (int u = 0; u < cat::kUserCount; ++u) {
    t.userName[u] = values.userName[u];
    for (int i = 0; i < cat::kPaperItemCount; ++i) {
      const int slot = cat::marginSlotOfPaperItem(i);
      if (slot >= 0)
        t.paper[u][i] = values.paper[u].margin[slot];
      else
        setNumberText(t.paper[u][i], values.paper[u].index[i]);
    }
    for (int i = 0; i < cat::kCommonItemCount; ++i)
      setNumberText(t.common[u][i], values.common[u].index[i]);
  }
  const auto keys = cat::interfaceKeys();
  for (int k = 0; k < cat::kInterfaceKeyCount; ++k) {
    const auto& key = keys[k];
    if (key.octet >= 0)
      setNumberText(t.iface[k],
                    values.iface.octet[InterfaceRecord::addressOf(key.item)][key.octet]);
    else if (key.item == cat::kIfChgTime)
      setNumberText(t.iface[k], values.iface.ifChgTime);
    else
      setNumberText(t.iface[k], values.iface.choice(key.item));
  }
  return t;
}

namespace {

// The entry of a value key in a per-key table (texts or write flags); the interface keys
// are found at ifacePos.
template <class Table>
const auto& entryOf(const Table& table, const cat::ValueKey& key, int ifacePos) {
  switch (key.kind) {
    case cat::KeyKind::SelectUser:
      return table.selectUser;
    case cat::KeyKind::UserName:
      return table.userName[key.user];
    case cat::KeyKind::Paper:
      return table.paper[key.user][key.index];
    case cat::KeyKind::Common:
      return table.common[key.user][key.index];
    case cat::KeyKind::Interface:
      break;
  }
  return table.iface[ifacePos];
}

}  // namespace

const std::string& ProfileText::at(const cat::ValueKey& key) const {
  return entryOf(*this, key, key.index);
}

bool ValueWriteFlags::at(const cat::ValueKey& key) const {
  // One write flag covers all keys of an interface item (the four octets of an address).
  const int ifacePos =
      key.kind == cat::KeyKind::Interface ? cat::interfaceKeys()[key.index].item : -1;
  return entryOf(*this, key, ifacePos);
}

CheckFlagSet::CheckFlagSet() {
  state.fill(1);
  text.fill("1");
  snapshot.fill("1");
}

void ProfileModel::markAllForWriting() {
  valueWrite.selectUser = true;
  valueWrite.userName.fill(true);
  for (auto& user : valueWrite.paper) user.fill(true);
  for (auto& user : valueWrite.common) user.fill(true);
  valueWrite.iface.fill(true);
  flagWrite.fill(true);
}

void ProfileModel::clearWriteFlags() {
  valueWrite = ValueWriteFlags{};
  flagWrite.fill(false);
}

void ProfileModel::recomputeCheckFlagTexts() {
  for (int n = 0; n < cat::kCheckNodeCount; ++n) {
    flags.text[n] = std::to_string(flags.state[n]);
    if (flags.text[n] != flags.snapshot[n]) flagWrite[n] = true;
  }
}

void ProfileModel::refreshAndSnapshotCheckFlagTexts() {
  for (int n = 0; n < cat::kCheckNodeCount; ++n) flags.text[n] = flags.state[n] == 1 ? "1" : "0";
  flags.snapshot = flags.text;
}

void ProfileModel::resetToDefaults() {
  values = SettingProfile::defaults();
  text = ProfileText::of(values);
  flags.state.fill(1);
}

void ProfileModel::setSelectUser(std::int32_t index) {
  values.selectUser = index;
  text.selectUser = std::to_string(index);
  valueWrite.selectUser = true;
}

void ProfileModel::setUserName(int user, const std::string& name) {
  values.userName[user] = name.empty() ? cat::defaultUserName(user) : name;
  text.userName[user] = name;
  valueWrite.userName[user] = true;
}

void ProfileModel::setPaperIndex(int user, int item, std::int32_t index) {
  values.paper[user].index[item] = index;
  text.paper[user][item] = std::to_string(index);
  valueWrite.paper[user][item] = true;
}

void ProfileModel::setMargin(int user, int item, const std::string& margin) {
  const int slot = cat::marginSlotOfPaperItem(item);
  values.paper[user].margin[slot] = margin.empty() ? std::string(cat::marginDefault(slot)) : margin;
  text.paper[user][item] = margin;
  valueWrite.paper[user][item] = true;
}

void ProfileModel::setCommonIndex(int user, int item, std::int32_t index) {
  values.common[user].index[item] = index;
  text.common[user][item] = std::to_string(index);
  valueWrite.common[user][item] = true;
}

void ProfileModel::setInterfaceChoice(int item, std::int32_t index) {
  values.iface.choice(item) = index;
  text.iface[cat::interfaceKeyIndex(item, -1)] = std::to_string(index);
  valueWrite.iface[item] = true;
}

void ProfileModel::setIfChgTime(std::int32_t seconds) {
  values.iface.ifChgTime = seconds;
  values.iface.ifChgTimeText = std::to_string(seconds);
  text.iface[cat::interfaceKeyIndex(cat::kIfChgTime, -1)] = values.iface.ifChgTimeText;
  valueWrite.iface[cat::kIfChgTime] = true;
}

void ProfileModel::setOctet(int item, int octet, std::int32_t value) {
  const int address = InterfaceRecord::addressOf(item);
  values.iface.octet[address][octet] = value;
  values.iface.octetText[address][octet] = std::to_string(value);
  text.iface[cat::interfaceKeyIndex(item, octet)] = std::to_string(value);
  valueWrite.iface[item] = true;
}

}  // namespace drovik
