// The decisions and edits of the profile operations on files read under the lock. A
// transaction commits what they did; a rehearsal runs the same on the files as they are and
// throws the result away, so that a dry run decides exactly as the real run would.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/profile_store.h"
#include "nvram/nvram_files.h"
#include "service/profile_service.h"

namespace drovik::edits {

Error notRegistered(const std::string& name);

// Where `name` is registered in the files read, or the error that says it is gone.
Result<ProfileEntry> registeredEntry(const StoreEdit& edit, const std::string& name);

// Finds `name` and loads it into the model, from the files read.
Result<ProfileEntry> loadRegistered(const StoreEdit& edit, ProfileModel& model,
                                    const std::string& name);

// Where a profile named `name` goes, by the registration rules: the limit of 20 first, then
// the slot that holds the name (when `onExisting` allows overwriting it), else the first
// free slot.
Result<Registered> chooseTarget(const StoreEdit& edit, const std::string& name,
                                OnExisting onExisting);

enum class ModelRule { Any, GhjkOnly };

// Decodes the images onto a base and saves the result as `name` (see decodeIntoProfile).
// Under ModelRule::GhjkOnly an 8630-M profile `name` is refused before anything changes.
Status decodeImages(StoreEdit& edit, ProfileModel& model, const std::string& name,
                    const nvram::PrinterImages& images, const std::string& base, ModelRule rule,
                    Registered& registered, std::vector<std::string>& warnings);

// Copies the 8630-GHJK profile `source` to the 8630-M profile `newName`.
Status migrate(StoreEdit& edit, const std::string& source, const std::string& newName,
               OnExisting onExisting, Registered& registered);

// The history record of a change to the profile at `slot`, named as the edited files name it.
history::Record changeAt(const StoreEdit& edit, std::string_view operation, int slot,
                         std::string message = {});
// The same of a decoding into a profile and of a migration from `source`, once done.
history::Record decodedChange(const StoreEdit& edit, const Registered& registered);
history::Record migratedChange(const StoreEdit& edit, const std::string& source,
                               const Registered& registered);

}  // namespace drovik::edits
