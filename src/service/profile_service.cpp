#include "service/profile_service.h"

#include "files/atomic_file.h"
#include "history/recorder.h"
#include "model/profile_registry.h"
#include "nvram/nvram_files.h"
#include "service/store_edits.h"

namespace drovik {

using edits::chooseTarget;
using edits::notRegistered;
using edits::registeredEntry;

ProfileService::ProfileService(StorePaths paths, StoreAccess access)
    : store_(std::move(paths), access) {}

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

Result<ProfileEntry> ProfileService::findProfile(const std::string& name) const {
  ProfileSlotTable slots;
  if (Status s = store_.readSlotNames(slots); !s) return s.error();
  const int slot = findSlotByName(slots, name);
  if (slot < 0) return notRegistered(name);
  return ProfileEntry{slot, slots[slot].name, slots[slot].modelType};
}

Result<ProfileEntry> ProfileService::loadProfile(ProfileModel& model,
                                                 const std::string& name) const {
  ProfileEntry entry;
  const Status done = store_.rehearse([&](StoreEdit& edit) -> Status {
    auto loaded = edits::loadRegistered(edit, model, name);
    if (!loaded) return loaded.error();
    entry = std::move(*loaded);
    return {};
  });
  if (!done) return done.error();
  return entry;
}

Result<Registered> ProfileService::registerProfile(ProfileModel& model, const std::string& name,
                                                   OnExisting onExisting) {
  if (Status s = validateProfileName(name); !s) return s.error();
  Registered registered;
  history::Record change;
  model.refreshAndSnapshotCheckFlagTexts();
  model.markAllForWriting();
  const Status done = store_.transact(
      [&](StoreEdit& edit) -> Status {
        auto target = chooseTarget(edit, name, onExisting);
        if (!target) return target.error();
        registered = *target;
        if (registered.overwrote) {
          // The index entry stays as it is, and with it the model type.
          change = edits::changeAt(edit, history::operation::kOverwrite, registered.slot);
          return edit.saveProfile(model, change.profile);
        }
        if (Status s = edit.saveProfile(model, name); !s) return s;
        change = history::change(history::operation::kRegister, name, cat::kModelGhjk);
        return edit.writeIndexEntry(registered.slot, name, std::string(cat::kModelGhjk));
      },
      recordWhenCommitted(change));
  model.clearWriteFlags();
  if (!done) return done.error();
  return registered;
}

Status ProfileService::saveChanges(ProfileModel& model, const std::string& name) {
  history::Record change;
  const Status done = store_.transact(
      [&](StoreEdit& edit) -> Status {
        auto entry = registeredEntry(edit, name);
        if (!entry) return entry.error();
        change = history::change(history::operation::kSave, entry->section, entry->modelType);
        return edit.saveProfile(model, entry->section);
      },
      recordWhenCommitted(change));
  if (done) model.clearWriteFlags();
  return done;
}

Status ProfileService::deleteProfile(const std::string& name) {
  history::Record change;
  return store_.transact(
      [&](StoreEdit& edit) -> Status {
        auto entry = registeredEntry(edit, name);
        if (!entry) return entry.error();
        const std::string section = entry->section;
        change = history::change(history::operation::kDelete, section, entry->modelType);
        edit.writeIndexFirst();
        if (Status s = edit.removeAndCompact(entry->slot); !s) return s;
        // A hand-edited index may name one section twice in different letter case; the
        // section stays while another entry still uses it.
        if (findSlotByName(edit.slotNames(), section) >= 0) return {};
        return edit.deleteSection(section);
      },
      recordWhenCommitted(change));
}

Result<Registered> ProfileService::migrateProfile(const std::string& source,
                                                  const std::string& newName,
                                                  OnExisting onExisting) {
  if (Status s = validateProfileName(newName); !s) return s.error();
  Registered registered;
  history::Record change;
  const Status done = store_.transact(
      [&](StoreEdit& edit) {
        if (Status s = edits::migrate(edit, source, newName, onExisting, registered); !s) return s;
        change = edits::migratedChange(edit, source, registered);
        return Status{};
      },
      recordWhenCommitted(change));
  if (!done) return done.error();
  return registered;
}

Result<std::vector<std::string>> ProfileService::decodeIntoProfile(
    ProfileModel& model, const std::string& name, const std::filesystem::path& allImage,
    const std::filesystem::path& nwImage, const std::string& base) {
  auto images = nvram::readPrinterImages(allImage, nwImage);
  if (!images) return images.error();
  return decodeIntoProfile(model, name, *images, base);
}

Result<std::vector<std::string>> ProfileService::decodeIntoProfile(
    ProfileModel& model, const std::string& name, const nvram::PrinterImages& images,
    const std::string& base) {
  auto decoded = decodeAndRegister(model, name, images, base, edits::ModelRule::Any);
  if (!decoded) return decoded.error();
  return std::move(decoded->warnings);
}

Result<DecodedRegistration> ProfileService::decodeAndRegister(ProfileModel& model,
                                                              const std::string& name,
                                                              const nvram::PrinterImages& images,
                                                              const std::string& base,
                                                              edits::ModelRule rule) {
  DecodedRegistration decoded;
  history::Record change;
  const Status done = store_.transact(
      [&](StoreEdit& edit) {
        if (Status s = edits::decodeImages(edit, model, name, images, base, rule,
                                           decoded.registered, decoded.warnings);
            !s)
          return s;
        change = edits::decodedChange(edit, decoded.registered);
        return Status{};
      },
      recordWhenCommitted(change));
  model.clearWriteFlags();
  if (!done) return done.error();
  return decoded;
}

std::function<void()> ProfileService::recordWhenCommitted(const history::Record& change) const {
  return [this, &change] { history::recordHoldingLock(store_.paths().lockFolder(), change); };
}

}  // namespace drovik
