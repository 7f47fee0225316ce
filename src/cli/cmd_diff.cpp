// drovik-cli diff: the settings in which two profiles differ. Its exit status follows diff's
// convention (0 equal, 1 different, 2 trouble), so that a script can branch on it.
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "report/profile_comparison.h"

namespace drovik::cli {

namespace {

constexpr int kExitEqual = 0;
constexpr int kExitDiffer = 1;
constexpr int kExitTrouble = 2;

// A profile loaded read-only, with the variant its model type selects.
struct LoadedProfile {
  ProfileModel model;
  CommandVariant variant = CommandVariant::Ghjk;

  ComparedProfile compared() const { return {model.values, model.flags, variant}; }
};

Status load(const ProfileService& service, const std::string& name, LoadedProfile& profile) {
  if (Status s =
          service.loadProfile(profile.model, name, ProfileService::SlotRefresh::NamesAndTypes);
      !s)
    return s;
  const int slot = findSlotByName(profile.model.slots, name);
  if (slot < 0) return Error{"「" + name + "」は登録されていません。"};
  profile.variant = variantOf(profile.model.slots[slot].modelType);
  return {};
}

std::string lines(const ProfileComparison& comparison) {
  std::string out;
  for (const SettingDifference& difference : comparison.differences)
    out += DifferenceLine(difference) + '\n';
  return out;
}

nlohmann::ordered_json side(const ComparedSetting& setting) {
  return {{"value", setting.text}, {"included", setting.included}};
}

std::string json(const ProfileComparison& comparison) {
  auto array = nlohmann::ordered_json::array();
  for (const SettingDifference& d : comparison.differences)
    array.push_back({{"user", d.user},
                     {"group", d.group},
                     {"item", d.item},
                     {"a", side(d.a)},
                     {"b", side(d.b)}});
  // A user name the store could not decode must not make the whole output invalid JSON.
  return array.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + '\n';
}

}  // namespace

int runDiff(const Args& args) {
  if (!expectOperands(args, 2, "[--data-dir DIR] diff A B [--json]")) return kExitTrouble;
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message(), kExitTrouble);
  const ProfileService service(*paths);
  // Two models are large; keep them off the stack.
  auto a = std::make_unique<LoadedProfile>();
  auto b = std::make_unique<LoadedProfile>();
  if (Status s = load(service, args.operands[0], *a); !s) return fail(s.message(), kExitTrouble);
  if (Status s = load(service, args.operands[1], *b); !s) return fail(s.message(), kExitTrouble);
  auto comparison = CompareProfiles(a->compared(), b->compared());
  if (!comparison) return fail(comparison.message(), kExitTrouble);
  const std::string out = args.has("--json") ? json(*comparison) : lines(*comparison);
  if (Status s = writeOutput(out); !s) return fail(s.message(), kExitTrouble);
  return comparison->equal() ? kExitEqual : kExitDiffer;
}

}  // namespace drovik::cli
