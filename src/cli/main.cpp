// drovik-cli: the profile store, command generation, reports, NVRAM decoding and
// migration without the GUI, for scripts and tests.
#include <iostream>
#include <map>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "history/recorder.h"
#include "program_version.h"

namespace {

constexpr const char* kUsage =
    "使い方:\n"
    "  drovik-cli [--data-dir DIR] list [--json]\n"
    "  drovik-cli [--data-dir DIR] generate NAME -o FILE\n"
    "  drovik-cli [--data-dir DIR] report NAME [--json]\n"
    "  drovik-cli [--data-dir DIR] migrate SOURCE NEWNAME [--yes]\n"
    "  drovik-cli [--data-dir DIR] register NAME [--yes]\n"
    "  drovik-cli [--data-dir DIR] delete NAME\n"
    "  drovik-cli decode-nvram --all FILE --nw FILE [--data-dir DIR --base NAME] [--into NAME]\n"
    "             [--json]\n"
    "  drovik-cli dump FILE\n"
    "  drovik-cli --help | --version\n"
    "  drovik-cli [--data-dir DIR] printers [--json]\n"
    "  drovik-cli [--data-dir DIR] send NAME --printer QUEUE | --parallel | --ftp A.B.C.D\n"
    "             [--timeout SECONDS]  （プリンタを待つ時間の上限。既定 22 秒）\n"
    "  drovik-cli [--data-dir DIR] fetch --ip A.B.C.D [--base NAME] [--into NAME] [--json]\n"
    "              （パスワードは標準入力から）\n"
    "  drovik-cli [--data-dir DIR] diff A B [--json]\n"
    "  drovik-cli [--data-dir DIR] diff A --ip A.B.C.D [--json]"
    "  （プリンタの現在の設定と比較。パスワードは標準入力から）\n"
    "  drovik-cli [--data-dir DIR] history [--profile NAME] [--target T] [--since DATE]\n"
    "             [--operation OP] [--json]\n"
    "  （設定の変更と送信の履歴。古い順に1行1件、タブ区切り。--json は1行1件のJSON。\n"
    "   --target は cups:プリンタ名 / ftp:A.B.C.D / parallel / ファイル名、\n"
    "   --since は 2024-04-01 や 2024-04-01T09:30 など。OP は register, overwrite, save,\n"
    "   delete, migrate, decode, command-file, send, fleet-send）\n"
    "  drovik-cli [--data-dir DIR] fleet PLAN.csv [--jobs N] [--password-file FILE]\n"
    "             [--timeout SECONDS] [--dry-run] [--register]\n"
    "  （計画の各行 設定名,旧プリンタのIPアドレス,送信先（ftp:A.B.C.D / cups:プリンタ名 /\n"
    "   parallel）について、旧プリンタの設定を取得して設定名に登録し、設定名-M に移行して\n"
    "   送信先に送信。設定は行ごとに PLAN.archive/設定名/ に保存し（取得した設定と\n"
    "   設定名-M.sib も）、--register のときだけデータフォルダに登録する。同時に N 台\n"
    "   （既定 4）。パスワードは標準入力の1行目か、所有者だけが読めるファイルから。結果は\n"
    "   PLAN.result.json に記録し、完了した行は次回は実行しない。計画は UTF-8 か\n"
    "   Shift-JIS。--timeout は取得と送信それぞれの待ち時間の上限（既定 22 秒）。\n"
    "   --dry-run は取得だけ行い、登録と送信の内容を表示して何も書き込まない）\n"
    "\n"
    "終了ステータス:\n"
    "  0  成功\n"
    "  1  失敗（何も変更していません）\n"
    "  2  コマンドラインの誤り（何も変更していません）\n"
    "  3  設定ファイルは変更しましたが、結果を出力できませんでした\n"
    "  diff だけは diff コマンドと同じく: 0 違いなし、1 違いあり、2 エラー\n"
    "  fleet は: 0 すべての行が完了（前回完了済みを含む）、1 失敗した行がある、\n"
    "            2 "
    "コマンドライン・計画・結果ファイル・パスワードの誤りか、保存フォルダを作れないか、\n"
    "            --register で設定を登録する空きがない\n"
    "            （何も実行していません）\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace drovik::cli;
  auto args = parseArgs(argc, argv);
  if (!args) {
    reportError(args.message());
    std::cerr << kUsage;
    return kExitUsage;
  }
  if (args->has("--help") || args->has("-h")) {
    if (drovik::Status s = writeOutput(kUsage); !s) return fail(s.message());
    return kExitOk;
  }
  if (args->has("--version")) {
    const std::string line = std::string("drovik-cli ") + drovik::kProgramVersion + "\n";
    if (drovik::Status s = writeOutput(line); !s) return fail(s.message());
    return kExitOk;
  }
  static const std::map<std::string, int (*)(const Args&)> kCommands = {
      {"list", runList},         {"generate", runGenerate},
      {"report", runReport},     {"migrate", runMigrate},
      {"register", runRegister}, {"delete", runDelete},
      {"dump", runDump},         {"decode-nvram", runDecodeNvram},
      {"printers", runPrinters}, {"send", runSend},
      {"fetch", runFetch},       {"diff", runDiff},
      {"fleet", runFleet},       {"history", runHistory},
  };
  auto it = kCommands.find(args->command);
  if (it == kCommands.end()) {
    reportError(args->command.empty() ? "コマンドを指定してください。"
                                      : "不明なコマンドです: " + args->command);
    std::cerr << kUsage;
    return kExitUsage;
  }
  const int status = it->second(*args);
  // A change or delivery stands whether or not its history could be written.
  printWarnings(drovik::history::takeWarnings());
  return status;
}
