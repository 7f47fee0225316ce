// Rules shared by every operation that registers a profile under a name: the limit of
// 20 profiles, the name check, and the choice of the slot (the slot that already holds
// the name, or the first free one).
#pragma once

#include <string>

#include "model/profile_store.h"

namespace drovik {

int registeredCount(const ProfileSlotTable& slots);

// The first slot without a name, or -1. A hand-edited index may have gaps, so the count of
// registered slots is not a free slot.
int firstFreeSlot(const ProfileSlotTable& slots);

// "20個以上は登録できません" when every slot is taken.
Status checkRegistrationLimit(const ProfileSlotTable& slots);

// 1 to 60 characters (UTF-16 units) that the INI files store and read back unchanged: no
// brackets, control characters, outer blanks or surrounding quotes, only characters of code
// page 932. The messages of the name dialog otherwise.
Status validateProfileName(const std::string& name);

struct RegistrationTarget {
  int slot;
  bool existing;  // the name is registered already: saving overwrites that profile
};

// The first slot whose index entry equals `name` exactly, else the first free slot.
Result<RegistrationTarget> findRegistrationTarget(const ProfileStore& store,
                                                  const ProfileSlotTable& slots,
                                                  const std::string& name);

// The question asked before an existing profile is overwritten.
std::string overwriteQuestion(const std::string& name);

// The first slot holding exactly `name`, or -1.
int findSlotByName(const ProfileSlotTable& slots, const std::string& name);

}  // namespace drovik
