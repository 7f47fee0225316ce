#include "service/compared_profiles.h"

#include <memory>

#include "model/profile_registry.h"

namespace drovik {

Status loadForComparison(const ProfileService& service, const std::string& name,
                         LoadedProfile& profile) {
  if (Status s =
          service.loadProfile(profile.model, name, ProfileService::SlotRefresh::NamesAndTypes);
      !s)
    return s;
  const int slot = findSlotByName(profile.model.slots, name);
  if (slot < 0) return Error{"「" + name + "」は登録されていません。"};
  profile.variant = variantOf(profile.model.slots[slot].modelType);
  return {};
}

Result<ProfileComparison> compareRegisteredProfiles(const ProfileService& service,
                                                    const std::string& a, const std::string& b) {
  // Two models are large; keep them off the stack.
  auto loadedA = std::make_unique<LoadedProfile>();
  auto loadedB = std::make_unique<LoadedProfile>();
  if (Status s = loadForComparison(service, a, *loadedA); !s) return s.error();
  if (Status s = loadForComparison(service, b, *loadedB); !s) return s.error();
  return CompareProfiles(loadedA->compared(), loadedB->compared());
}

}  // namespace drovik
