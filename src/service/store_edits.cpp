#include "service/store_edits.h"

#include "history/recorder.h"
#include "model/profile_registry.h"
#include "model/value_validation.h"
#include "nvram/nvram_decoder.h"

namespace drovik::edits {
namespace {

// The checks the setting pages apply before they store margins, switch time and names.
Status validateDecoded(const ProfileModel& model) {
  for (int u = 0; u < cat::kUserCount; ++u) {
    for (int m = 0; m < cat::kMarginCount; ++m)
      if (Status s = validateMarginText(u, m, model.values.paper[u].margin[m]); !s) return s;
    if (Status s = validateUserName(u, model.text.userName[u]); !s) return s;
  }
  return validateIfChgTimeText(model.values.iface.ifChgTimeText);
}

Error isModelM(const std::string& name) {
  return Error{"「" + name + "」は８６３０－Ｍの設定です。移行できません。"};
}

// A profile of another model that happens to have the name of the copy is no copy.
Error notModelM(const std::string& name) {
  return Error{
      "移行先の設定名「" + name +
      "」は８６３０－Ｍ以外の設定として登録されています。上書きできるのは８６３０－Ｍの設定"
      "だけのため、移行しません。"};
}

}  // namespace

Error notRegistered(const std::string& name) {
  return Error{
      "設定名「" + name +
      "」は登録されていません。ほかの操作で削除されたか、名前が変わった可能性があります。"};
}

Result<ProfileEntry> registeredEntry(const StoreEdit& edit, const std::string& name) {
  auto entry = edit.findEntry(name);
  if (!entry) return notRegistered(name);
  return std::move(*entry);
}

Result<ProfileEntry> loadRegistered(const StoreEdit& edit, ProfileModel& model,
                                    const std::string& name) {
  auto entry = registeredEntry(edit, name);
  if (entry) edit.loadProfile(model, entry->section);
  return entry;
}

Result<Registered> chooseTarget(const StoreEdit& edit, const std::string& name,
                                OnExisting onExisting) {
  const ProfileSlotTable slots = edit.slotNames();
  if (Status s = checkRegistrationLimit(slots); !s) return s.error();
  const int existing = findSlotByName(slots, name);
  if (existing >= 0) {
    if (onExisting == OnExisting::Refuse) return Error{overwriteQuestion(name)};
    if (onExisting == OnExisting::OverwriteModelM && slots[existing].modelType != cat::kModelM)
      return notModelM(slots[existing].name);
    return Registered{existing, true};
  }
  const int free = firstFreeSlot(slots);
  if (free < 0) return registrationLimitError();
  return Registered{free, false};
}

Status decodeImages(StoreEdit& edit, ProfileModel& model, const std::string& name,
                    const nvram::PrinterImages& images, const std::string& base, ModelRule rule,
                    Registered& registered, std::vector<std::string>& warnings) {
  const ProfileSlotTable slots = edit.slotNames();
  const int slot = findSlotByName(slots, name);
  if (rule == ModelRule::GhjkOnly && slot >= 0 && slots[slot].modelType == cat::kModelM)
    return isModelM(slots[slot].name);
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
  auto decoded = nvram::decodePrinterImages(model, images);
  if (!decoded) return decoded.error();
  if (Status s = validateDecoded(model); !s) return s;
  warnings = std::move(*decoded);
  // Onto another base every key may differ from what `name` holds.
  if (!base.empty()) {
    model.refreshAndSnapshotCheckFlagTexts();
    model.markAllForWriting();
  }
  if (slot >= 0) {
    registered = Registered{slot, true};
    return edit.saveProfile(model, slots[slot].name);
  }

  if (Status s = validateProfileName(name); !s) return s;
  auto target = chooseTarget(edit, name, OnExisting::Refuse);
  if (!target) return target.error();
  registered = *target;
  model.refreshAndSnapshotCheckFlagTexts();
  model.markAllForWriting();
  if (Status s = edit.saveProfile(model, name); !s) return s;
  return edit.writeIndexEntry(target->slot, name, std::string(cat::kModelGhjk));
}

Status migrate(StoreEdit& edit, const std::string& source, const std::string& newName,
               OnExisting onExisting, Registered& registered) {
  auto from = registeredEntry(edit, source);
  if (!from) return from.error();
  if (from->modelType == cat::kModelM) return isModelM(from->section);
  auto target = chooseTarget(edit, newName, onExisting);
  if (!target) return target.error();
  registered = *target;
  if (Status s = edit.copySection(from->section, newName); !s) return s;
  return edit.writeIndexEntry(registered.slot, newName, std::string(cat::kModelM));
}

history::Record changeAt(const StoreEdit& edit, std::string_view operation, int slot,
                         std::string message) {
  const ProfileSlot entry = edit.slotNames()[slot];
  return history::change(operation, entry.name, entry.modelType, std::move(message));
}

history::Record decodedChange(const StoreEdit& edit, const Registered& registered) {
  return changeAt(edit, history::operation::kDecode, registered.slot,
                  registered.overwrote ? "プリンタの設定で上書き" : "プリンタの設定を新規登録");
}

history::Record migratedChange(const StoreEdit& edit, const std::string& source,
                               const Registered& registered) {
  return changeAt(edit, history::operation::kMigrate, registered.slot,
                  "「" + source + "」から移行" + (registered.overwrote ? "（上書き）" : ""));
}

}  // namespace drovik::edits
