#include "hostile/loop_states.h"

#include "hostile/complete_profile.h"
#include "support/store_writes.h"

namespace drovik::hostile {

LoopStates::LoopStates() {
  for (int p = 0; p < kLoopProfileCount; ++p) {
    for (int v = 0; v < 2; ++v) models_[p][v] = completeProfile(p * 7 + v * 3);
  }
}

std::string LoopStates::profileName(int profile) { return "帳票" + std::to_string(profile); }

std::string LoopStates::modelType(int variant) {
  return std::string(variant == 0 ? cat::kModelGhjk : cat::kModelM);
}

Status LoopStates::apply(const ProfileStore& store, int step, int variant) const {
  const int profile = profileOfStep(step);
  if (stepSavesSection(step))
    return test::saveSection(store, model(profile, variant), profileName(profile));
  return test::writeIndexEntry(store, profile, profileName(profile), modelType(variant));
}

}  // namespace drovik::hostile
