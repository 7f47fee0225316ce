#include "report/migration.h"

namespace drovik {

Status copyProfileAsM(const ProfileStore& store, const std::string& sourceName,
                      const std::string& newName, int targetSlot) {
  auto lines = store.readSection(sourceName);
  if (!lines) return lines.error();
  // The section first: should the index write fail, no entry points at a missing copy.
  if (Status s = store.writeSection(newName, *lines); !s) return s;
  return store.writeIndexEntry(targetSlot, newName, std::string(catalogue::kModelM));
}

}  // namespace drovik
