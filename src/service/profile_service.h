// The profile operations that change the profile files: registration, overwriting, deletion,
// migration, decoding a printer's images into a profile and writing a command file. Each change
// and each command file written leaves a record in the folder's history. Several
// copies of the program (and scripts) may share one data folder, so each operation is one
// transaction: it takes the folder's write lock, reads the index afresh, decides (limit,
// duplicate, target slot, compaction) on what it read under the lock, writes and releases.
// The desktop program and drovik-cli call these; neither picks slots or writes files itself.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "command/command_preparation.h"
#include "history/history_record.h"
#include "model/profile_store.h"
#include "nvram/nvram_files.h"

namespace drovik {

namespace edits {
enum class ModelRule;
}

// What to do when the chosen name is registered already.
enum class OnExisting {
  Refuse,     // fail with the overwrite question's text: the caller asks and tries again
  Overwrite,  // the operator agreed to overwrite
  // Overwrite only an 8630-M profile, refuse any other: for a run nobody is asked in.
  OverwriteModelM,
};

// Where a registration or migration landed.
struct Registered {
  int slot = -1;
  bool overwrote = false;
};

// Where a printer's decoded settings landed, and the decoder's warnings.
struct DecodedRegistration {
  Registered registered;
  std::vector<std::string> warnings;
};

// The steps of moving an old printer's settings to a new printer, as far as the profiles go.
enum class MigrationStage { Register, Migrate, Command };

// What moving an old printer's settings to a new printer would do to the profiles, and the
// command the new printer would receive.
struct MigrationRehearsal {
  DecodedRegistration decoded;  // the profile of the old printer's settings (8630-GHJK)
  Registered migrated;          // its 8630-M copy
  PreparedCommand command;      // the copy's command
};

// What looking at the index (without the lock) says about a name the operator typed:
// enough to ask the questions before the settings dialog opens. The transaction decides again.
struct RegistrationPreview {
  bool limitReached = false;  // 20 profiles registered
  int existingSlot = -1;      // the slot that holds the name already, or -1
};

class ProfileService {
 public:
  explicit ProfileService(StorePaths paths, StoreAccess access = StoreAccess::ReadWrite);
  const ProfileStore& store() const { return store_; }

  // Read-only views: no lock, nothing written.
  Result<ProfileSlotTable> readSlots() const;
  Result<RegistrationPreview> previewRegistration(const std::string& name) const;
  // Where `name` is registered now (as the INI matches section names), or an error that says
  // the profile is not registered (another copy may have deleted or renamed it). Only for
  // checks and messages: every operation finds the profile again in the read it works on.
  Result<ProfileEntry> findProfile(const std::string& name) const;
  // Finds the profile `name` and loads it into the model, both from one reading of the files;
  // tells where it was found and its model type.
  Result<ProfileEntry> loadProfile(ProfileModel& model, const std::string& name) const;

  // Registers the model's values under `name` as an 8630-GHJK profile (every key written), or
  // overwrites the profile of that name (its index entries and model type kept). Fails with
  // "20個以上は登録できません" when 20 profiles are registered, with the name rules' messages,
  // and, under OnExisting::Refuse, with the overwrite question when the name exists.
  // Clears the model's write flags after a successful save.
  Result<Registered> registerProfile(ProfileModel& model, const std::string& name,
                                     OnExisting onExisting);

  // Saves the changed keys (write flags) of the model into the registered profile `name`
  // and clears the write flags; fails when `name` is no longer registered.
  Status saveChanges(ProfileModel& model, const std::string& name);

  // Deletes the profile `name`: its section and its index entry, the later slots moving down.
  Status deleteProfile(const std::string& name);

  // Registers a copy of the 8630-GHJK profile `source` as the 8630-M profile `newName`.
  Result<Registered> migrateProfile(const std::string& source, const std::string& newName,
                                    OnExisting onExisting);

  // Decodes the two NVRAM images onto a base and saves the result as the profile `name`,
  // registering the name when it is free. The base is the registered profile `base` when
  // given, else the stored values of `name` when registered, else the defaults. The model
  // receives the decoded values; the warnings of the decoder are returned.
  Result<std::vector<std::string>> decodeIntoProfile(ProfileModel& model, const std::string& name,
                                                     const std::filesystem::path& allImage,
                                                     const std::filesystem::path& nwImage,
                                                     const std::string& base = {});
  // The same with the images' bytes, read earlier (a retrieval hands them over).
  Result<std::vector<std::string>> decodeIntoProfile(ProfileModel& model, const std::string& name,
                                                     const nvram::PrinterImages& images,
                                                     const std::string& base = {});

  // Moving an old printer's settings to a new printer, step by step (each one transaction):
  // decodes the images as decodeIntoProfile does, refusing an 8630-M profile `name` (it could
  // not be migrated), and tells where the profile landed.
  Result<DecodedRegistration> registerDecoded(ProfileModel& model, const std::string& name,
                                              const std::filesystem::path& allImage,
                                              const std::filesystem::path& nwImage);
  // registerDecoded(name), migrateProfile(name, mName, OverwriteModelM), the command of mName,
  // decided on the profile files as they are now and written nowhere: for a dry run. `reached`
  // tells the stage an error belongs to.
  Result<MigrationRehearsal> rehearseMigration(ProfileModel& model, const std::string& name,
                                               const std::string& mName,
                                               const std::filesystem::path& allImage,
                                               const std::filesystem::path& nwImage,
                                               MigrationStage& reached) const;

  // Loads the profile `name` and builds its command image, coded for its model type; `found`
  // receives where the profile was found (its name as stored).
  Result<PreparedCommand> prepareProfileCommand(ProfileModel& model, const std::string& name,
                                                ProfileEntry* found = nullptr) const;

 private:
  // Decodes the images into the profile `name` (see decodeIntoProfile) as one transaction
  // recorded in the history; `rule` says which model types `name` may have.
  Result<DecodedRegistration> decodeAndRegister(ProfileModel& model, const std::string& name,
                                                const nvram::PrinterImages& images,
                                                const std::string& base, edits::ModelRule rule);
  // What a transaction runs once it committed: appends `change` (filled in by then) to the
  // history, still under the lock.
  std::function<void()> recordWhenCommitted(const history::Record& change) const;

  ProfileStore store_;
};

}  // namespace drovik
