// Migration's store side: register a copy of an old-model profile's settings under a
// new name with the model type 8630-M.
#pragma once

#include <string>

#include "model/profile_store.h"

namespace drovik {

// Writes Set<target> = newName and MType<target> = "8630-M" and replaces the section
// newName with every key=value line of the section sourceName, however long it is.
Status copyProfileAsM(const ProfileStore& store, const std::string& sourceName,
                      const std::string& newName, int targetSlot);

}  // namespace drovik
