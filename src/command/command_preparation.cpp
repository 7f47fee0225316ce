#include "command/command_preparation.h"

namespace drovik {

Result<PreparedCommand> prepareCommand(const ProfileModel& model, CommandVariant variant) {
  auto codes = ApplyValueCodes(model.values, model.flags, variant, ValueTexts::Left);
  if (!codes) return codes.error();
  PreparedCommand prepared{variant,
                           BuildCommandImage(*codes, model.flags, model.values.selectUser, variant),
                           std::move(codes->warnings)};
  return prepared;
}

}  // namespace drovik
