#include "support/store_writes.h"

#include "model/catalogue.h"

namespace drovik::test {

namespace {

// A failed settings edit names the file, as the store's own saves do.
Status inSettingsFile(const ProfileStore& store, const Status& s) {
  if (s) return s;
  return Error{store.paths().settingsFile.string() + ": " + s.message()};
}

}  // namespace

Status writeIndexEntry(const ProfileStore& store, int slot, const std::string& name,
                       const std::string& modelType) {
  return store.transact(
      [&](StoreEdit& edit) -> Status { return edit.writeIndexEntry(slot, name, modelType); });
}

Status deleteIndexEntry(const ProfileStore& store, int slot) {
  if (slot < 0 || slot >= catalogue::kSlotCount)
    return Error{"登録番号 " + std::to_string(slot) + " は範囲外です。"};
  return store.transact([&](StoreEdit& edit) -> Status {
    edit.deleteIndexEntry(slot);
    return {};
  });
}

Status saveSection(const ProfileStore& store, const ProfileModel& model,
                   const std::string& section) {
  return store.transact([&](StoreEdit& edit) -> Status {
    return inSettingsFile(store, edit.saveProfile(model, section));
  });
}

Status deleteSection(const ProfileStore& store, const std::string& section) {
  return store.transact([&](StoreEdit& edit) -> Status { return edit.deleteSection(section); });
}

Status writeSection(const ProfileStore& store, const std::string& section,
                    const std::vector<std::string>& lines) {
  return store.transact([&](StoreEdit& edit) -> Status {
    return inSettingsFile(store, edit.settings().writeSection(section, lines));
  });
}

}  // namespace drovik::test
