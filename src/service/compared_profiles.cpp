#include "service/compared_profiles.h"

#include <memory>

#include "model/profile_registry.h"

namespace drovik {

Status loadForComparison(const ProfileService& service, const std::string& name,
                         LoadedProfile& profile) {
  auto entry = service.loadProfile(profile.model, name);
  if (!entry) return entry.error();
  profile.variant = variantOf(entry->modelType);
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
