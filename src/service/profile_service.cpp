#include "service/profile_service.h"

#include "model/atomic_file.h"
#include "model/profile_registry.h"
#include "nvram/nvram_files.h"
#include "service/store_edits.h"

namespace drovik {

using edits::chooseTarget;
using edits::notRegistered;
using edits::registeredSlot;

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
  const Status done = store_.transact([&](StoreEdit& edit) {
    return edits::migrate(edit, source, newName, onExisting, registered);
  });
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
  std::vector<std::string> warnings;
  Registered registered;
  const Status done = store_.transact([&](StoreEdit& edit) {
    return edits::decodeImages(edit, model, name, images, base, edits::ModelRule::Any, registered,
                               warnings);
  });
  model.clearWriteFlags();
  if (!done) return done.error();
  return warnings;
}

Result<PreparedCommand> ProfileService::writeCommandFile(ProfileModel& model,
                                                         const std::string& name,
                                                         const std::filesystem::path& file) const {
  auto prepared = prepareProfileCommand(model, name);
  if (!prepared) return prepared.error();
  const auto& bytes = prepared->image.bytes;
  const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (Status s = writeFileAtomically(file, view); !s) return s.error();
  return prepared;
}

}  // namespace drovik
