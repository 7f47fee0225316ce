// Writes by slot or by section that tests, benchmarks and fixtures use to lay out a data
// folder; each is one store transaction, under the folder's write lock like every change.
#pragma once

#include <string>
#include <vector>

#include "model/profile_store.h"

namespace drovik::test {

Status writeIndexEntry(const ProfileStore& store, int slot, const std::string& name,
                       const std::string& modelType);
// Refuses a slot outside the index before the lock is taken.
Status deleteIndexEntry(const ProfileStore& store, int slot);

Status saveSection(const ProfileStore& store, const ProfileModel& model,
                   const std::string& section);
Status deleteSection(const ProfileStore& store, const std::string& section);
// Replaces the section's lines as they are, for files a profile save would never write.
Status writeSection(const ProfileStore& store, const std::string& section,
                    const std::vector<std::string>& lines);

}  // namespace drovik::test
