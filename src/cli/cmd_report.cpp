#include <iostream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "report/migration.h"
#include "report/settings_report.h"

namespace drovik::cli {

namespace {

// Loads the slot and prints its settings list in the given layout.
int printReport(const ProfileStore& store, ProfileModel& model, int slot, CommandVariant variant) {
  if (Status s = store.loadProfile(model, slot); !s) {
    reportError(s.message());
    return kExitFailure;
  }
  auto report = BuildSettingsReportFor(model.values, model.flags, variant);
  if (!report) {
    reportError(report.message());
    return kExitFailure;
  }
  std::cout << *report << std::flush;
  return kExitOk;
}

}  // namespace

int runReport(const Args& args) {
  if (!expectOperands(args, 1, "[--data-dir DIR] report NAME")) return kExitUsage;
  auto profile = openNamedProfile(args, args.operands[0]);
  if (!profile) {
    reportError(profile.message());
    return kExitFailure;
  }
  const int slot = profile->slot;
  return printReport(profile->store, profile->model, slot,
                     variantOf(profile->model.slots[slot].modelType));
}

int runMigrate(const Args& args) {
  if (!expectOperands(args, 2, "[--data-dir DIR] migrate SOURCE NEWNAME [--yes]"))
    return kExitUsage;
  const std::string& newName = args.operands[1];
  auto source = openNamedProfile(args, args.operands[0]);
  if (!source) {
    reportError(source.message());
    return kExitFailure;
  }
  const ProfileStore& store = source->store;
  ProfileModel& model = source->model;
  const ProfileSlot sourceSlot = model.slots[source->slot];
  if (variantOf(sourceSlot.modelType) == CommandVariant::M) {
    reportError("「" + sourceSlot.name + "」は８６３０－Ｍの設定です。移行できません。");
    return kExitFailure;
  }
  if (Status s = checkRegistrationLimit(model.slots); !s) {
    reportError(s.message());
    return kExitFailure;
  }
  if (Status s = validateProfileName(newName); !s) {
    reportError(s.message());
    return kExitUsage;
  }
  auto target = findRegistrationTarget(store, model.slots, newName);
  if (!target) {
    reportError(target.message());
    return kExitFailure;
  }
  if (target->existing && !args.has("--yes")) {
    reportError(overwriteQuestion(newName) + "（上書きするには --yes を付けてください）");
    return kExitFailure;
  }
  if (Status s = copyProfileAsM(store, sourceSlot.name, newName, target->slot); !s) {
    reportError(s.message());
    return kExitFailure;
  }
  // The report describes the source as the M model will read it.
  return printReport(store, model, source->slot, CommandVariant::M);
}

}  // namespace drovik::cli
