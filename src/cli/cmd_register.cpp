#include "cli/cli_support.h"
#include "cli/commands.h"

namespace drovik::cli {

int runRegister(const Args& args) {
  if (!expectOperands(args, 1, "[--data-dir DIR] register NAME [--yes]")) return kExitUsage;
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

int runDelete(const Args& args) {
  if (!expectOperands(args, 1, "[--data-dir DIR] delete NAME")) return kExitUsage;
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  if (Status s = ProfileService(*paths).deleteProfile(args.operands[0]); !s)
    return fail(s.message());
  return kExitOk;
}

}  // namespace drovik::cli
