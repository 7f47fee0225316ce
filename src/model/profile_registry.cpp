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

Status validateProfileName(const std::string& name) {
  if (ini::utf16Length(name) > cat::kProfileNameCapacity)
    return Error{"設定名は60文字以内にしてください"};
  if (name.empty()) return Error{"設定名を入力してください"};
  return {};
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
