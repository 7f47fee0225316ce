#include "model/profile_registry.h"

#include "model/text_codec.h"

namespace drovik {

int registeredCount(const ProfileSlotTable& slots) {
  int count = 0;
  for (const auto& slot : slots)
    if (slot.registered()) ++count;
  return count;
}

int firstFreeSlot(const ProfileSlotTable& slots) {
  for (int i = 0; i < cat::kSlotCount; ++i)
    if (!slots[i].registered()) return i;
  return -1;
}

Status checkRegistrationLimit(const ProfileSlotTable& slots) {
  if (registeredCount(slots) >= cat::kSlotCount)
    return Error{std::to_string(cat::kSlotCount) + "個以上は登録できません"};
  return {};
}

namespace {

// A profile name is also a section name of the settings file and a value of the index, so it
// must read back exactly as written: the INI format trims blanks, ends a section name at ']',
// ends a line at a line break and strips one pair of surrounding quotes from values.
Status checkStorableName(const std::string& name) {
  if (!ini::isValidUtf8(name)) return Error{"設定名に読み取れない文字が含まれています"};
  if (name.find_first_of("[]") != std::string::npos)
    return Error{"設定名に「[」と「]」は使えません"};
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7F) return Error{"設定名に改行やタブなどの制御文字は使えません"};
  if (name.front() == ' ' || name.back() == ' ')
    return Error{"設定名の先頭と末尾に空白は使えません"};
  const char first = name.front();
  if (name.size() >= 2 && (first == '"' || first == '\'') && name.back() == first)
    return Error{"設定名全体を引用符で囲むことはできません"};
  // New profile files are written in code page 932.
  if (!ini::utf8ToCp932(name)) return Error{"設定名に保存できない文字が含まれています"};
  return {};
}

}  // namespace

Status validateProfileName(const std::string& name) {
  if (ini::utf16Length(name) > cat::kProfileNameCapacity)
    return Error{"設定名は60文字以内にしてください"};
  if (name.empty()) return Error{"設定名を入力してください"};
  return checkStorableName(name);
}

Result<RegistrationTarget> findRegistrationTarget(const ProfileStore& store,
                                                  const ProfileSlotTable& slots,
                                                  const std::string& name) {
  // The index as it stands now, read once, not the slot table the caller holds.
  ProfileSlotTable stored;
  if (Status s = store.readSlotNames(stored); !s) return s.error();
  for (int i = 0; i < cat::kSlotCount; ++i)
    if (stored[i].name == name) return RegistrationTarget{i, true};
  return RegistrationTarget{firstFreeSlot(slots), false};
}

std::string overwriteQuestion(const std::string& name) {
  return "登録名「" + name + "」はすでにあります。上書きしますか？";
}

int findSlotByName(const ProfileSlotTable& slots, const std::string& name) {
  for (int i = 0; i < cat::kSlotCount; ++i)
    if (slots[i].registered() && slots[i].name == name) return i;
  return -1;
}

}  // namespace drovik
