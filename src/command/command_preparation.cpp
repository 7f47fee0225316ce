#include "command/command_preparation.h"

namespace drovik {

Result<PreparedCommand> prepareCommand(const ProfileStore& store, ProfileModel& model, int slot) {
  if (Status s = store.loadProfile(model, slot); !s) return s.error();
  const CommandVariant variant = variantOf(model.slots[slot].modelType);
  auto codes = ApplyValueCodes(model.values, model.flags, variant);
  if (!codes) return codes.error();
  PreparedCommand prepared{variant,
                           BuildCommandImage(*codes, model.flags, model.values.selectUser, variant),
                           std::move(codes->warnings)};
  return prepared;
}

}  // namespace drovik
