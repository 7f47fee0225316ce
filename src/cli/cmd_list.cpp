#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/json_output.h"

namespace drovik::cli {

namespace {

std::string lines(const ProfileSlotTable& slots) {
  std::string out;
  for (const ProfileSlot& slot : slots) {
    if (!slot.registered()) continue;
    out += slot.name + '\t' + slot.initialUserText + '\t' + slot.userName + '\t' + slot.modelType +
           '\n';
  }
  return out;
}

// An M profile, or one whose initial user names none of the ten, has no initial user: null,
// where the lines leave the field empty.
std::string json(const ProfileSlotTable& slots) {
  Json array = Json::array();
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const ProfileSlot& slot = slots[i];
    if (!slot.registered()) continue;
    const bool hasUser = !slot.initialUserText.empty();
    array.push_back({{"slot", i},
                     {"name", slot.name},
                     {"initial_user", hasUser ? Json(slot.initialUserText) : Json(nullptr)},
                     {"user_name", hasUser ? Json(slot.userName) : Json(nullptr)},
                     {"model_type", slot.modelType}});
  }
  return jsonText(array);
}

}  // namespace

int runList(const Args& args) {
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  auto slots = ProfileService(*paths).readSlots();
  if (!slots) return fail(slots.message());
  if (Status s = writeOutput(args.has("--json") ? json(*slots) : lines(*slots)); !s)
    return fail(s.message());
  return kExitOk;
}

const Command kListCommand = {
    .name = "list",
    .options = {{"--json", "", "JSON で出力します"}},
    .run = runList,
};

}  // namespace drovik::cli
