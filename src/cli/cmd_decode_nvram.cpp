#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/printer_images.h"

namespace drovik::cli {

namespace {

std::string valueLines(const ProfileText& text) {
  std::string out;
  auto line = [&out](std::string_view key, const std::string& value) {
    out.append(key).append("=").append(value).append("\n");
  };
  for (const catalogue::ValueKey& key : catalogue::valueKeysInSaveOrder())
    line(key.key, text.at(key));
  return out;
}

// Every key as the lines give it, named where the settings tree names it, and the warnings
// that also went to stderr.
std::string valueRecords(const ProfileText& text, const std::vector<std::string>& warnings) {
  Json values = Json::array();
  for (const catalogue::ValueKey& key : catalogue::valueKeysInSaveOrder()) {
    Json record = {{"key", key.key}, {"value", text.at(key)}};
    record.update(labelled(LabelOfKey(key)));
    values.push_back(std::move(record));
  }
  return jsonText({{"values", std::move(values)}, {"warnings", warnings}});
}

// Decodes onto the defaults or onto a registered profile, writing nothing.
Result<std::vector<std::string>> decodeOnly(const Args& args, ProfileModel& model,
                                            const nvram::PrinterImages& images) {
  if (const auto base = args.option("--base")) {
    auto paths = dataPaths(args);
    if (!paths) return paths.error();
    if (auto loaded = ProfileService(*paths).loadProfile(model, *base); !loaded)
      return loaded.error();
  }
  return nvram::decodePrinterImages(model, images);
}

}  // namespace

int decodeAndShow(const Args& args, const nvram::PrinterImages& images) {
  ProfileModel model;
  Result<std::vector<std::string>> warnings = std::vector<std::string>{};
  if (const auto into = args.option("--into")) {
    auto paths = dataPaths(args);
    if (!paths) return fail(paths.message());
    warnings = ProfileService(*paths).decodeIntoProfile(model, *into, images,
                                                        args.option("--base").value_or(""));
  } else {
    warnings = decodeOnly(args, model, images);
  }
  if (!warnings) return fail(warnings.message());
  printWarnings(*warnings);
  const std::string out =
      args.has("--json") ? valueRecords(model.text, *warnings) : valueLines(model.text);
  if (Status s = writeOutput(out); !s)
    return fail(s.message(), args.option("--into") ? kExitPartial : kExitFailure);
  return kExitOk;
}

int runDecodeNvram(const Args& args) {
  const auto allPath = args.option("--all");
  const auto nwPath = args.option("--nw");
  if (!allPath || !nwPath)
    return fail("--all FILE と --nw FILE の両方を指定してください。", kExitUsage);
  auto images = nvram::readPrinterImages(*allPath, *nwPath);
  if (!images) return fail(images.message());
  return decodeAndShow(args, *images);
}

const Command kDecodeNvramCommand = {
    .name = "decode-nvram",
    .options = {{"--all", "FILE", "プリンタの NVRAM イメージ（全体）", Presence::Required},
                {"--nw", "FILE", "プリンタの NVRAM イメージ（ネットワーク）", Presence::Required},
                {"--base", "NAME", "既定値の代わりに読み取りの元にする登録済みの設定"},
                {"--into", "NAME", "読み取った値を保存する設定（未登録なら新しく登録）"},
                {"--json", "", "値を JSON で出力します"}},
    .run = runDecodeNvram,
};

}  // namespace drovik::cli
