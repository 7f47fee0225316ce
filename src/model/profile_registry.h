// Rules shared by every operation that registers a profile under a name: the limit of
// 20 profiles, the name check, how a typed name finds its slot, and the messages.
#pragma once

#include <string>

#include "files/status.h"
#include "model/profile.h"

namespace drovik {

int registeredCount(const ProfileSlotTable& slots);

// The first slot without a name, or -1. A hand-edited index may have gaps, so the count of
// registered slots is not a free slot.
int firstFreeSlot(const ProfileSlotTable& slots);

// "20個以上は登録できません".
Error registrationLimitError();
// The limit message when every slot is taken.
Status checkRegistrationLimit(const ProfileSlotTable& slots);

// 1 to 60 characters (UTF-16 units), and a name that the settings file can hold as a section
// name: no square brackets, no control characters, no blanks at either end, only characters
// of the file's code page.
Status validateProfileName(const std::string& name);

// The question asked before an existing profile is overwritten.
std::string overwriteQuestion(const std::string& name);

// The slot holding `name`: the first exact match, else the first that matches as the INI
// matches section names (ASCII letters regardless of case), since both would use one section.
// -1 when none does.
int findSlotByName(const ProfileSlotTable& slots, const std::string& name);

}  // namespace drovik
