#include "cli/cli_support.h"
#include "cli/commands.h"

namespace drovik::cli {

int runRegister(const Args& args) {
  const std::string& name = args.operands[0];
  if (Status s = validateProfileName(name); !s) return fail(s.message(), kExitUsage);
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  ProfileModel model;  // the defaults, every item included
  auto registered = ProfileService(*paths).registerProfile(
      model, name, args.has("--yes") ? OnExisting::Overwrite : OnExisting::Refuse);
  if (!registered) return fail(registrationFailure(registered.error(), name));
  return kExitOk;
}

const Command kRegisterCommand = {
    .name = "register",
    .operands = {"NAME"},
    .options = {{"--yes", "", "NAME がすでにあれば上書きします"}},
    .run = runRegister,
};

}  // namespace drovik::cli
