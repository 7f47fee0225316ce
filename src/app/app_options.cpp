#include "app/app_options.h"

#include <string>

namespace drovik {

const char* const kAppUsage =
    "使い方: drovik [--data-dir DIR] [--read-only] [--fleet PLAN.csv]\n"
    "  --data-dir DIR  DIR の設定ファイル（R_MAIN.INI、RSETTING.INI）を開く\n"
    "                  （既定はプログラムのフォルダか ~/.local/share/drovik）\n"
    "  --read-only     設定を変更せずに開く（登録・削除・設定変更・移行はできません。\n"
    "                  設定送信はプログラムのフォルダでプリンタを記憶します）\n"
    "  --fleet PLAN.csv  フリート移行のウィンドウを PLAN.csv の計画で開いて始める\n"
    "  --help          この説明を表示する\n"
    "  --version       バージョンを表示する\n";

Result<AppOptions> parseAppOptions(int argc, const char* const* argv) {
  AppOptions options;
  constexpr std::string_view kDataDir = "--data-dir";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    std::optional<std::string_view> dataDir;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--read-only") {
      options.readOnly = true;
    } else if (arg == "--fleet") {
      if (i + 1 >= argc) return Error{"オプション --fleet には計画ファイルが必要です。"};
      if (options.fleetPlan) return Error{"オプション --fleet が重複しています。"};
      std::error_code ec;
      const std::filesystem::path plan = argv[++i];
      if (!std::filesystem::is_regular_file(plan, ec))
        return Error{"計画ファイルがありません: " + plan.string()};
      options.fleetPlan = std::filesystem::absolute(plan, ec);
    } else if (arg == kDataDir) {
      if (i + 1 >= argc) return Error{"オプション --data-dir にはフォルダが必要です。"};
      dataDir = argv[++i];
    } else if (arg.starts_with("--data-dir=")) {
      dataDir = arg.substr(kDataDir.size() + 1);
    } else if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-') {
      // Qt's option, and its value when it has one.
      if (i + 1 < argc && argv[i + 1][0] != '-') ++i;
    } else {
      return Error{"不明な引数です: " + std::string(arg)};
    }
    if (!dataDir) continue;
    if (options.dataDir) return Error{"オプション --data-dir が重複しています。"};
    std::error_code ec;
    if (dataDir->empty() || !std::filesystem::is_directory(*dataDir, ec))
      return Error{"データフォルダがありません: " + std::string(*dataDir)};
    // Absolute, as the window's title names it.
    options.dataDir = std::filesystem::absolute(*dataDir, ec);
  }
  return options;
}

}  // namespace drovik
