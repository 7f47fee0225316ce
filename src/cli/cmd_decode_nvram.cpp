#include <iostream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "model/value_validation.h"
#include "transport/nvram_decoder.h"
#include "transport/nvram_files.h"

namespace drovik::cli {

namespace {

void printValues(const ProfileText& text) {
  std::string out;
  auto line = [&out](std::string_view key, const std::string& value) {
    out.append(key).append("=").append(value).append("\n");
  };
  for (const catalogue::ValueKey& key : catalogue::valueKeysInSaveOrder())
    line(key.key, text.at(key));
  std::cout << out;
}

// The checks the setting pages apply before they store margins, switch time and names.
Status validateDecoded(const ProfileModel& model) {
  for (int u = 0; u < catalogue::kUserCount; ++u) {
    for (int m = 0; m < catalogue::kMarginCount; ++m)
      if (Status s = validateMarginText(u, m, model.values.paper[u].margin[m]); !s) return s;
    if (Status s = validateUserName(u, model.text.userName[u]); !s) return s;
  }
  return validateIfChgTimeText(model.values.iface.ifChgTimeText);
}

// Saves the decoded values into the profile `name`, registering it when the name is free.
Status saveInto(const ProfileStore& store, ProfileModel& model, const std::string& name) {
  if (Status s = validateDecoded(model); !s) return s;
  if (Status s = store.readAllSlots(model.slots); !s) return s;
  int slot = findSlotByName(model.slots, name);
  if (slot < 0) {
    if (Status s = checkRegistrationLimit(model.slots); !s) return s;
    if (Status s = validateProfileName(name); !s) return s;
    slot = firstFreeSlot(model.slots);
    model.refreshAndSnapshotCheckFlagTexts();
    model.markAllForWriting();
    if (Status s = store.saveSection(model, name); !s) return s;
    return store.writeIndexEntry(slot, name, std::string(catalogue::kModelGhjk));
  }
  return store.saveSection(model, name);
}

}  // namespace

int runDecodeNvram(const Args& args) {
  const auto allPath = args.option("--all");
  const auto nwPath = args.option("--nw");
  if (!expectOperands(args, 0,
                      "decode-nvram --all FILE --nw FILE [--data-dir DIR --base NAME] "
                      "[--into NAME]"))
    return kExitUsage;
  if (!allPath || !nwPath) {
    reportError("--all FILE と --nw FILE の両方を指定してください。");
    return kExitUsage;
  }
  const auto base = args.option("--base");
  const auto into = args.option("--into");

  ProfileModel model;
  std::optional<ProfileStore> store;
  if (base || into) {
    auto opened = openStore(args);
    if (!opened) {
      reportError(opened.message());
      return kExitFailure;
    }
    store.emplace(std::move(*opened));
  }
  if (store) {
    if (Status s = store->readAllSlots(model.slots); !s) {
      reportError(s.message());
      return kExitFailure;
    }
    // Decoding into a registered profile starts from its stored values, so that the
    // interface keys, always saved, keep what the image does not carry.
    const bool intoRegistered = into && findSlotByName(model.slots, *into) >= 0;
    if (base || intoRegistered) {
      const std::string& name = base ? *base : *into;
      const int slot = findSlotByName(model.slots, name);
      if (slot < 0) {
        reportError("設定名「" + name + "」は登録されていません。");
        return kExitFailure;
      }
      if (Status s = store->loadProfile(model, slot); !s) {
        reportError(s.message());
        return kExitFailure;
      }
    }
  }

  auto allImage = nvram::readImageFile(*allPath);
  auto nwImage = nvram::readImageFile(*nwPath);
  for (const auto* image : {&allImage, &nwImage})
    if (!*image) {
      reportError(image->message());
      return kExitFailure;
    }
  auto decoded =
      nvram::decodeAllImage(model, *allImage, std::filesystem::path(*allPath).filename().string());
  if (!decoded) {
    reportError(decoded.message());
    return kExitFailure;
  }
  if (Status s = nvram::decodeNetworkImage(model, *nwImage,
                                           std::filesystem::path(*nwPath).filename().string());
      !s) {
    reportError(s.message());
    return kExitFailure;
  }
  printWarnings(decoded->warnings);
  printValues(model.text);
  if (into) {
    if (Status s = saveInto(*store, model, *into); !s) {
      reportError(s.message());
      return kExitFailure;
    }
  }
  return kExitOk;
}

}  // namespace drovik::cli
