// The profile side of replacing old printers: the steps of a fleet migration and their
// rehearsal for a dry run, on the same edits so that both decide alike.
#include "model/profile_registry.h"
#include "nvram/nvram_files.h"
#include "service/profile_service.h"
#include "service/store_edits.h"

namespace drovik {
Result<DecodedRegistration> ProfileService::registerDecoded(ProfileModel& model,
                                                            const std::string& name,
                                                            const std::filesystem::path& allImage,
                                                            const std::filesystem::path& nwImage) {
  auto files = nvram::readPrinterImages(allImage, nwImage);
  if (!files) return files.error();
  return decodeAndRegister(model, name, *files, {}, edits::ModelRule::GhjkOnly);
}

Result<MigrationRehearsal> ProfileService::rehearseMigration(ProfileModel& model,
                                                             const std::string& name,
                                                             const std::string& mName,
                                                             const std::filesystem::path& allImage,
                                                             const std::filesystem::path& nwImage,
                                                             MigrationStage& reached) const {
  reached = MigrationStage::Register;
  auto files = nvram::readPrinterImages(allImage, nwImage);
  if (!files) return files.error();
  MigrationRehearsal rehearsal;
  const Status done = store_.rehearse([&](StoreEdit& edit) -> Status {
    if (Status s = edits::decodeImages(edit, model, name, *files, {}, edits::ModelRule::GhjkOnly,
                                       rehearsal.decoded.registered, rehearsal.decoded.warnings);
        !s)
      return s;
    reached = MigrationStage::Migrate;
    if (Status s = validateProfileName(mName); !s) return s;
    if (Status s =
            edits::migrate(edit, name, mName, OnExisting::OverwriteModelM, rehearsal.migrated);
        !s)
      return s;
    reached = MigrationStage::Command;
    auto copy = edits::loadRegistered(edit, model, mName);
    if (!copy) return copy.error();
    auto prepared = prepareCommand(model, variantOf(copy->modelType));
    if (!prepared) return prepared.error();
    rehearsal.command = std::move(*prepared);
    return {};
  });
  model.clearWriteFlags();
  if (!done) return done.error();
  return rehearsal;
}

Result<PreparedCommand> ProfileService::prepareProfileCommand(ProfileModel& model,
                                                              const std::string& name,
                                                              ProfileEntry* found) const {
  auto entry = loadProfile(model, name);
  if (!entry) return entry.error();
  if (found) *found = *entry;
  return prepareCommand(model, variantOf(entry->modelType));
}

}  // namespace drovik
