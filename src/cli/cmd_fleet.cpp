// drovik-cli fleet PLAN.csv: replaces a fleet of old printers row by row (see src/fleet/). This
// file only reads the command line and the password, shows the progress and sets the status.
#include <unistd.h>

#include <sstream>

#include "cli/cancel_on_interrupt.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/fleet_progress.h"
#include "cli/password_input.h"
#include "fleet/plan_run.h"
#include "fleet/row_state.h"

namespace drovik::cli {
namespace {

Result<std::string> password(const Args& args, bool needed) {
  if (!needed) return std::string();
  if (const auto file = args.option("--password-file")) return readPasswordFile(*file);
  return readPassword();
}

// One line per row on standard output: name, old printer, target and what the row came to.
std::string summaryTable(const fleet::RunReport& report, bool dryRun) {
  std::string table;
  for (std::size_t i = 0; i < report.rows.size(); ++i) {
    const fleet::RowResult& row = report.rows[i];
    std::string summary = fleet::rowSummary(row, report.skipped[i], dryRun);
    for (char& c : summary)
      if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    table += row.name + '\t' + row.oldPrinter + '\t' + row.target + '\t' + summary + '\n';
  }
  return table;
}

}  // namespace

int runFleet(const Args& args) {
  auto jobs = numberOption(args, "--jobs", fleet::kDefaultJobs, fleet::kMaxJobs);
  if (!jobs) return fail(jobs.message(), kExitUsage);
  auto timeout = timeoutOption(args);
  if (!timeout) return fail(timeout.message(), kExitUsage);
  const bool dryRun = args.has("--dry-run");
  // Registered in the data folder, the rows must fit in its index; by default each row keeps its
  // profiles in a folder of its own beside the plan and the data folder is not touched.
  std::optional<ProfileService> dataFolder;
  if (args.has("--register")) {
    auto paths = dataPaths(args);
    if (!paths) return fail(paths.message(), kExitUsage);
    dataFolder.emplace(*paths);
  } else if (args.option("--data-dir")) {
    // A script written before the archive existed meant the rows to register there.
    reportError(
        "設定はデータフォルダではなく計画の保存フォルダに保存します（データフォルダに"
        "登録するには --register）");
  }

  const std::filesystem::path planPath = args.operands[0];
  auto plan = fleet::readPlan(planPath);
  if (!plan) {
    // One message per bad line, each as the other messages are.
    std::istringstream lines(plan.message());
    for (std::string line; std::getline(lines, line);) reportError(line);
    return kExitUsage;
  }
  // One run of a plan at a time, in this program or the desktop program.
  auto prepared = fleet::PlanRun::open(planPath, std::move(*plan),
                                       {dryRun, dataFolder ? &*dataFolder : nullptr});
  if (!prepared) return fail(prepared.message(), kExitUsage);
  auto typed = password(args, prepared->anyToRun());
  if (!typed) return fail(typed.message(), kExitUsage);

  // Cancelled by Ctrl-C: running steps end early, rows not started stay for the next run.
  transport::RunControl run(std::chrono::hours(24 * 365));
  const CancelOnInterrupt interrupt(run);
  FleetProgress progress(prepared->plan().size(), dryRun, ::isatty(STDERR_FILENO));
  auto ran = prepared->run(*typed, *timeout, *jobs, progress, run);
  progress.finish();
  if (!ran) return fail(ran.message(), kExitUsage);
  const fleet::RunReport& report = *ran;

  const Status shown = writeOutput(summaryTable(report, dryRun));
  if (!shown) reportError(shown.message());
  if (!report.recordError.empty()) reportError(report.recordError);
  if (run.cancelled())
    reportError("中断しました。完了していない行は、次に同じ計画を実行したときに実行します。");
  return report.allCompleted() && report.recordError.empty() && shown ? kExitOk : kExitFailure;
}

const Command kFleetCommand = {
    .name = "fleet",
    .operands = {"PLAN.csv"},
    .options = {{"--jobs", "N", "同時に実行する行の数（既定 4）"},
                {"--password-file", "FILE", "パスワードを読む、所有者だけが読めるファイル"},
                {"--timeout", "SECONDS", "取得と送信それぞれの待ち時間の上限（既定 22 秒）"},
                {"--dry-run", "", "取得だけ行い、登録と送信の内容を表示して何も書き込みません"},
                {"--register", "", "設定を計画の保存フォルダではなくデータフォルダに登録します"}},
    .notes =
        "  （計画の各行 設定名,旧プリンタのIPアドレス,送信先（ftp:A.B.C.D / cups:プリンタ名 /\n"
        "   parallel）について、旧プリンタの設定を取得して設定名に登録し、設定名-M に移行して\n"
        "   送信先に送信。設定は行ごとに PLAN.archive/設定名/ に保存し（取得した設定と\n"
        "   設定名-M.sib も）、--register のときだけデータフォルダに登録する。同時に N 台\n"
        "   （既定 4）。パスワードは標準入力の1行目か、所有者だけが読めるファイルから。結果は\n"
        "   PLAN.result.json に記録し、完了した行は次回は実行しない。計画は UTF-8 か\n"
        "   Shift-JIS。--timeout は取得と送信それぞれの待ち時間の上限（既定 22 秒）。\n"
        "   --dry-run は取得だけ行い、登録と送信の内容を表示して何も書き込まない）\n",
    .exitStatuses =
        "  0  すべての行が完了（前回完了済みを含む）\n"
        "  1  失敗した行がある\n"
        "  2  コマンドライン・計画・結果ファイル・パスワードの誤りか、保存フォルダを作れないか、\n"
        "     --register で設定を登録する空きがないか、同じ計画をほかのプログラムが実行中\n"
        "     （何も実行していません）\n",
    .overviewExitStatus =
        "  fleet は: 0 すべての行が完了（前回完了済みを含む）、1 失敗した行がある、\n"
        "            2 "
        "コマンドライン・計画・結果ファイル・パスワードの誤りか、保存フォルダを作れないか、\n"
        "            --register で設定を登録する空きがないか、同じ計画をほかのプログラムが\n"
        "            実行中（何も実行していません）\n",
    .run = runFleet,
};

}  // namespace drovik::cli
