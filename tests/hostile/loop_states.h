// Two complete and distinct saved states of a few profiles, and the order in which the
// save-loop child writes them: for each profile its section, then its index entry; all
// profiles in one state, then all in the other, over and over. Shared by the child and
// the test that kills it, so both know exactly what a finished write leaves on disk.
#pragma once

#include <array>
#include <string>

#include "model/profile_store.h"

namespace drovik::hostile {

inline constexpr int kLoopProfileCount = 4;
inline constexpr int kLoopStepCount = 2 * kLoopProfileCount;  // section, then index entry

class LoopStates {
 public:
  LoopStates();

  static std::string profileName(int profile);
  static std::string modelType(int variant);  // tells the index entry's state apart
  static int profileOfStep(int step) { return step / 2; }
  static bool stepSavesSection(int step) { return step % 2 == 0; }

  // Every key written: all write flags set, the profile's name in its slot.
  const ProfileModel& model(int profile, int variant) const { return models_[profile][variant]; }
  // Saves one step of the loop in the given state.
  Status apply(const ProfileStore& store, int step, int variant) const;

 private:
  std::array<std::array<ProfileModel, 2>, kLoopProfileCount> models_;
};

}  // namespace drovik::hostile
