#include "command/command_preparation.h"

namespace drovik {
namespace {

// Codes the model's values in the variant of the slot's model type and assembles the image.
Result<PreparedCommand> prepareLoaded(const ProfileModel& model, int slot) {
  const CommandVariant variant = variantOf(model.slots[slot].modelType);
  auto codes = ApplyValueCodes(model.values, model.flags, variant);
  if (!codes) return codes.error();
  PreparedCommand prepared{variant,
                           BuildCommandImage(*codes, model.flags, model.values.selectUser, variant),
                           std::move(codes->warnings)};
  return prepared;
}

}  // namespace

Result<PreparedCommand> prepareCommand(const ProfileStore& store, ProfileModel& model, int slot) {
  if (Status s = store.loadProfile(model, slot); !s) return s.error();
  return prepareLoaded(model, slot);
}

Result<PreparedCommand> prepareCommand(const StoreEdit& files, ProfileModel& model, int slot) {
  if (Status s = files.loadProfile(model, slot); !s) return s.error();
  return prepareLoaded(model, slot);
}

}  // namespace drovik
