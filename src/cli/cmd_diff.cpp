// drovik-cli diff: the settings in which two profiles differ, or a profile and what an older
// printer holds now. Its exit status follows diff's convention (0 equal, 1 different,
// 2 trouble), so that a script can branch on it.
#include <memory>
#include <optional>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/printer_images.h"
#include "service/compared_profiles.h"

namespace drovik::cli {

namespace {

constexpr int kExitEqual = 0;
constexpr int kExitDiffer = 1;
constexpr int kExitTrouble = 2;

std::string lines(const ProfileComparison& comparison) {
  std::string out;
  for (const SettingDifference& difference : comparison.differences)
    out += DifferenceLine(difference) + '\n';
  return out;
}

Json side(const ComparedSetting& setting) {
  return {{"value", setting.text}, {"included", setting.included}};
}

std::string json(const ProfileComparison& comparison) {
  auto array = Json::array();
  for (const SettingDifference& d : comparison.differences)
    array.push_back({{"user", d.user},
                     {"group", d.group},
                     {"item", d.item},
                     {"a", side(d.a)},
                     {"b", side(d.b)}});
  return jsonText(array);
}

// The printer's side: the images decoded onto profile A itself. The printer reports only item
// values, and not all of them, so what it does not report (include flags, any value outside
// the images) reads as A has it: the differences are then exactly where the printer no longer
// holds what the profile says. The printer is an older model, so it reads as GHJK.
Status loadFromPrinter(const Ipv4Octets& address, const ProfileService& service,
                       const StorePaths& paths, const LoadedProfile& a, LoadedProfile& printer) {
  auto images = retrieveImages(service, paths, address);
  if (!images) return images.error();
  printer.model = a.model;
  printer.variant = CommandVariant::Ghjk;
  auto warnings = nvram::decodePrinterImages(printer.model, *images);
  if (!warnings) return warnings.error();
  printWarnings(*warnings);
  return {};
}

}  // namespace

int runDiff(const Args& args) {
  const bool fromPrinter = args.option("--ip").has_value();
  std::optional<Ipv4Octets> address;
  if (fromPrinter) {
    auto parsed = printerAddress(args);
    if (!parsed) return fail(parsed.message(), kExitTrouble);
    address = *parsed;
  }
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message(), kExitTrouble);
  const ProfileService service(*paths);
  // Two models are large; keep them off the stack.
  auto a = std::make_unique<LoadedProfile>();
  auto b = std::make_unique<LoadedProfile>();
  // Profile A must exist before the printer is asked.
  if (Status s = loadForComparison(service, args.operands[0], *a); !s)
    return fail(s.message(), kExitTrouble);
  if (Status s = fromPrinter ? loadFromPrinter(*address, service, *paths, *a, *b)
                             : loadForComparison(service, args.operands[1], *b);
      !s)
    return fail(s.message(), kExitTrouble);
  auto comparison = CompareProfiles(a->compared(), b->compared());
  if (!comparison) return fail(comparison.message(), kExitTrouble);
  const std::string out = args.has("--json") ? json(*comparison) : lines(*comparison);
  if (Status s = writeOutput(out); !s) return fail(s.message(), kExitTrouble);
  return comparison->equal() ? kExitEqual : kExitDiffer;
}

const Command kDiffCommand = {
    .name = "diff",
    .operands = {"A", "B"},
    .options = {{"--ip", "A.B.C.D", "B の代わりに、この旧プリンタの現在の設定と比較します"},
                {"--json", "", "JSON で出力します"}},
    .replaced = {"B", "--ip"},
    .notes = "  （--ip はプリンタの現在の設定と比較。パスワードは標準入力から）\n",
    .exitStatuses =
        "  0  違いなし\n"
        "  1  違いあり\n"
        "  2  エラー\n",
    .overviewExitStatus = "  diff だけは diff コマンドと同じく: 0 違いなし、1 違いあり、2 エラー\n",
    .run = runDiff,
};

}  // namespace drovik::cli
