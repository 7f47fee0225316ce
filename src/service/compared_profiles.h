// Registered profiles loaded read-only for a comparison: drovik-cli diff and the comparison
// window load them the same way.
#pragma once

#include <string>

#include "files/status.h"
#include "model/profile.h"
#include "report/profile_comparison.h"
#include "service/profile_service.h"

namespace drovik {

// A profile with the reading its model type selects.
struct LoadedProfile {
  ProfileModel model;
  CommandVariant variant = CommandVariant::Ghjk;

  ComparedProfile compared() const { return {model.values, model.flags, variant}; }
};

// Loads `name` (matched as the index matches names) with the reading of its model type.
Status loadForComparison(const ProfileService& service, const std::string& name,
                         LoadedProfile& profile);

// Loads both profiles and compares them.
Result<ProfileComparison> compareRegisteredProfiles(const ProfileService& service,
                                                    const std::string& a, const std::string& b);

}  // namespace drovik
