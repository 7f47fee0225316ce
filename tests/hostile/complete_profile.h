// A complete profile for saving: values, names and include flags that follow a seed, so
// that profiles built from different seeds differ in most keys.
#pragma once

#include "model/profile.h"

namespace drovik::hostile {

// Every write flag set; no slot filled in.
ProfileModel completeProfile(int seed);

}  // namespace drovik::hostile
