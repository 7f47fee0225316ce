#include "service/profile_service.h"

#include "model/atomic_file.h"
#include "model/profile_registry.h"
#include "model/value_validation.h"
#include "transport/nvram_decoder.h"
#include "transport/nvram_files.h"

namespace drovik {

namespace {

Error notRegistered(const std::string& name) {
  return Error{
      "設定名「" + name +
      "」は登録されていません。ほかの操作で削除されたか、名前が変わった可能性があります。"};
}

// Under the lock: the slot holding `name`, or the error that says it is gone.
Result<int> registeredSlot(const StoreEdit& edit, const std::string& name) {
  const int slot = findSlotByName(edit.slotNames(), name);
  if (slot < 0) return notRegistered(name);
  return slot;
}

// Under the lock: where a profile named `name` goes, by the registration rules: the limit of
// 20 first, then the slot that holds the name (when the operator agreed to overwrite it), else
// the first free slot.
Result<Registered> chooseTarget(const StoreEdit& edit, const std::string& name,
                                OnExisting onExisting) {
  const ProfileSlotTable slots = edit.slotNames();
  if (Status s = checkRegistrationLimit(slots); !s) return s.error();
  const int existing = findSlotByName(slots, name);
  if (existing >= 0) {
    if (onExisting == OnExisting::Refuse) return Error{overwriteQuestion(name)};
    return Registered{existing, true};
  }
  const int free = firstFreeSlot(slots);
  if (free < 0) return registrationLimitError();
  return Registered{free, false};
}

// The checks the setting pages apply before they store margins, switch time and names.
Status validateDecoded(const ProfileModel& model) {
  for (int u = 0; u < cat::kUserCount; ++u) {
    for (int m = 0; m < cat::kMarginCount; ++m)
      if (Status s = validateMarginText(u, m, model.values.paper[u].margin[m]); !s) return s;
    if (Status s = validateUserName(u, model.text.userName[u]); !s) return s;
  }
  return validateIfChgTimeText(model.values.iface.ifChgTimeText);
}

}  // namespace

ProfileService::ProfileService(StorePaths paths) : store_(std::move(paths)) {}

Result<ProfileSlotTable> ProfileService::readSlots() const {
  ProfileSlotTable slots;
  if (Status s = store_.readAllSlots(slots); !s) return s.error();
  return slots;
}

Result<RegistrationPreview> ProfileService::previewRegistration(const std::string& name) const {
  ProfileSlotTable slots;
  if (Status s = store_.readSlotNames(slots); !s) return s.error();
  return RegistrationPreview{registeredCount(slots) >= cat::kSlotCount,
                             findSlotByName(slots, name)};
}

Result<int> ProfileService::findProfile(const std::string& name) const {
  ProfileSlotTable slots;
  if (Status s = store_.readSlotNames(slots); !s) return s.error();
  const int slot = findSlotByName(slots, name);
  if (slot < 0) return notRegistered(name);
  return slot;
}

Status ProfileService::loadProfile(ProfileModel& model, const std::string& name,
                                   SlotRefresh refresh) const {
  const Status read = refresh == SlotRefresh::Full ? store_.readAllSlots(model.slots)
                                                   : store_.readSlotNames(model.slots);
  if (!read) return read;
  const int slot = findSlotByName(model.slots, name);
  if (slot < 0) return notRegistered(name);
  return store_.loadSection(model, model.slots[slot].name);
}

Result<Registered> ProfileService::registerProfile(ProfileModel& model, const std::string& name,
                                                   OnExisting onExisting) {
  if (Status s = validateProfileName(name); !s) return s.error();
  Registered registered;
  model.refreshAndSnapshotCheckFlagTexts();
  model.markAllForWriting();
  const Status done = store_.transact([&](StoreEdit& edit) -> Status {
    auto target = chooseTarget(edit, name, onExisting);
    if (!target) return target.error();
    registered = *target;
    if (registered.overwrote) {
      // The index entry stays as it is, and with it the model type.
      return edit.saveProfile(model, edit.slotNames()[registered.slot].name);
    }
    if (Status s = edit.saveProfile(model, name); !s) return s;
    return edit.writeIndexEntry(registered.slot, name, std::string(cat::kModelGhjk));
  });
  model.clearWriteFlags();
  if (!done) return done.error();
  return registered;
}

Status ProfileService::saveChanges(ProfileModel& model, const std::string& name) {
  const Status done = store_.transact([&](StoreEdit& edit) -> Status {
    auto slot = registeredSlot(edit, name);
    if (!slot) return slot.error();
    return edit.saveProfile(model, edit.slotNames()[*slot].name);
  });
  if (done) model.clearWriteFlags();
  return done;
}

Status ProfileService::deleteProfile(const std::string& name) {
  return store_.transact([&](StoreEdit& edit) -> Status {
    auto slot = registeredSlot(edit, name);
    if (!slot) return slot.error();
    const std::string section = edit.slotNames()[*slot].name;
    edit.writeIndexFirst();
    if (Status s = edit.removeAndCompact(*slot); !s) return s;
    // A hand-edited index may name one section twice in different letter case; the section
    // stays while another entry still uses it.
    if (findSlotByName(edit.slotNames(), section) >= 0) return {};
    return edit.deleteSection(section);
  });
}

Result<Registered> ProfileService::migrateProfile(const std::string& source,
                                                  const std::string& newName,
                                                  OnExisting onExisting) {
  if (Status s = validateProfileName(newName); !s) return s.error();
  Registered registered;
  const Status done = store_.transact([&](StoreEdit& edit) -> Status {
    auto from = registeredSlot(edit, source);
    if (!from) return from.error();
    const ProfileSlot sourceSlot = edit.slotNames()[*from];
    if (sourceSlot.modelType == cat::kModelM)
      return Error{"「" + sourceSlot.name + "」は８６３０－Ｍの設定です。移行できません。"};
    auto target = chooseTarget(edit, newName, onExisting);
    if (!target) return target.error();
    registered = *target;
    if (Status s = edit.copySection(sourceSlot.name, newName); !s) return s;
    return edit.writeIndexEntry(registered.slot, newName, std::string(cat::kModelM));
  });
  if (!done) return done.error();
  return registered;
}

Result<std::vector<std::string>> ProfileService::decodeIntoProfile(
    ProfileModel& model, const std::string& name, const std::filesystem::path& allImage,
    const std::filesystem::path& nwImage, const std::string& base) {
  auto all = nvram::readImageFile(allImage);
  if (!all) return all.error();
  auto nw = nvram::readImageFile(nwImage);
  if (!nw) return nw.error();
  std::vector<std::string> warnings;
  const Status done = store_.transact([&](StoreEdit& edit) -> Status {
    const ProfileSlotTable slots = edit.slotNames();
    const int slot = findSlotByName(slots, name);
    model.resetToDefaults();
    model.clearWriteFlags();
    // The registered profile is the base, so that what the images do not carry (and the
    // interface keys, always saved) keeps its stored values.
    if (!base.empty()) {
      const int baseSlot = findSlotByName(slots, base);
      if (baseSlot < 0) return notRegistered(base);
      edit.loadProfile(model, slots[baseSlot].name);
    } else if (slot >= 0) {
      edit.loadProfile(model, slots[slot].name);
    }
    auto decoded = nvram::decodeAllImage(model, *all, allImage.filename().string());
    if (!decoded) return decoded.error();
    if (Status s = nvram::decodeNetworkImage(model, *nw, nwImage.filename().string()); !s) return s;
    if (Status s = validateDecoded(model); !s) return s;
    warnings = std::move(decoded->warnings);
    // Onto another base every key may differ from what `name` holds.
    if (!base.empty()) {
      model.refreshAndSnapshotCheckFlagTexts();
      model.markAllForWriting();
    }
    if (slot >= 0) return edit.saveProfile(model, slots[slot].name);

    if (Status s = validateProfileName(name); !s) return s;
    auto target = chooseTarget(edit, name, OnExisting::Refuse);
    if (!target) return target.error();
    model.refreshAndSnapshotCheckFlagTexts();
    model.markAllForWriting();
    if (Status s = edit.saveProfile(model, name); !s) return s;
    return edit.writeIndexEntry(target->slot, name, std::string(cat::kModelGhjk));
  });
  model.clearWriteFlags();
  if (!done) return done.error();
  return warnings;
}

Result<PreparedCommand> ProfileService::writeCommandFile(ProfileModel& model,
                                                         const std::string& name,
                                                         const std::filesystem::path& file) const {
  if (Status s = store_.readSlotNames(model.slots); !s) return s.error();
  const int slot = findSlotByName(model.slots, name);
  if (slot < 0) return notRegistered(name);
  auto prepared = prepareCommand(store_, model, slot);
  if (!prepared) return prepared.error();
  const auto& bytes = prepared->image.bytes;
  const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (Status s = writeFileAtomically(file, view); !s) return s.error();
  return prepared;
}

}  // namespace drovik
