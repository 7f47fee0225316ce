#include "transport/command_file.h"

#include "transport/delivery.h"

namespace drovik::transport {

Result<PreparedCommand> writeCommandFile(const ProfileService& service, ProfileModel& model,
                                         const std::string& name,
                                         const std::filesystem::path& file) {
  const ProfileStore& store = service.store();
  if (store.readOnly()) {
    std::error_code ec;
    const auto folder = std::filesystem::absolute(file, ec).parent_path();
    if (std::filesystem::equivalent(folder, store.paths().programDir, ec))
      return Error{"読み取り専用で開いているフォルダには保存できません: " + folder.string()};
  }
  ProfileEntry entry;
  auto prepared = service.prepareProfileCommand(model, name, &entry);
  if (!prepared) return prepared.error();
  // A file is written at once; the limit only bounds a stalled disk's progress report.
  RunControl control;
  const SendOutcome written =
      CommandDelivery(store, DeliverySettings::inDataFolder(store))
          .deliver(Target::commandFile(file),
                   {entry.section, entry.modelType, prepared->image.bytes}, control);
  if (!written.reached()) return Error{written.message};
  return prepared;
}

}  // namespace drovik::transport
