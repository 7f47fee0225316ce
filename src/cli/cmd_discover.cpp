// drovik-cli discover: the printers at the addresses named, their models and SNMP names, and
// optionally a fleet plan of the old ones.
#include <iostream>

#include "cli/cancel_on_interrupt.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/discover_output.h"
#include "cli/password_input.h"
#include "discovery/plan_draft.h"
#include "discovery/spooler_queues.h"
#include "discovery/sweep.h"
#include "discovery/sweep_targets.h"
#include "transport/ipv4_address.h"

namespace drovik::cli {
namespace {

constexpr int kMaxJobs = 1024;
constexpr int kMaxRate = 10000;
constexpr int kMaxTimeoutSeconds = 60;

void note(const std::string& text) { std::cerr << "drovik-cli: " << text << '\n'; }

// The secrets of a v3 user: the lines of --snmp-secret-file, else typed at the prompt.
Status readSnmpSecrets(const Args& args, discovery::SnmpCredentials& credentials) {
  const bool auth = args.option("--snmp-auth").has_value();
  const bool priv = args.option("--snmp-priv").has_value();
  if (!auth) return {};
  if (const auto file = args.option("--snmp-secret-file")) {
    auto lines = readSecretLines(*file);
    if (!lines) return lines.error();
    if (lines->size() < (priv ? 2u : 1u))
      return Error{"SNMP の秘密ファイルには、1行目に認証のパスフレーズ" +
                   std::string(priv ? "、2行目に暗号化のパスフレーズ" : "") +
                   "を書いてください: " + *file};
    credentials.authPassphrase = (*lines)[0];
    if (priv) credentials.privPassphrase = (*lines)[1];
    return {};
  }
  credentials.authPassphrase = readPassword("SNMP 認証パスフレーズ: ");
  if (priv) credentials.privPassphrase = readPassword("SNMP 暗号化パスフレーズ: ");
  return {};
}

// The SNMP part of the command line; nullopt without a community or a user. Usage errors
// (a choice that does not exist, priv without auth) are errors of their own.
Result<std::optional<discovery::SnmpCredentials>> snmpCredentials(const Args& args) {
  const auto community = args.option("--snmp-community");
  const auto user = args.option("--snmp-user");
  const auto auth = args.option("--snmp-auth");
  const auto priv = args.option("--snmp-priv");
  if (community && user)
    return Error{"discover の --snmp-community と --snmp-user は一緒に使えません。"};
  if ((auth || priv || args.option("--snmp-secret-file").has_value()) && !user)
    return Error{
        "discover の --snmp-auth、--snmp-priv、--snmp-secret-file は --snmp-user と使います。"};
  if (priv && !auth) return Error{"discover の --snmp-priv には --snmp-auth も必要です。"};
  if (auth && *auth != "SHA" && *auth != "SHA-256" && *auth != "MD5")
    return Error{"discover の --snmp-auth は SHA、SHA-256、MD5 のどれかです: " + *auth + "。"};
  if (priv && *priv != "AES" && *priv != "DES")
    return Error{"discover の --snmp-priv は AES か DES です: " + *priv + "。"};
  if (!community && !user) return std::optional<discovery::SnmpCredentials>{};
  discovery::SnmpCredentials credentials;
  if (community) {
    credentials.version = discovery::SnmpCredentials::Version::V2c;
    credentials.community = *community;
  } else {
    credentials.version = discovery::SnmpCredentials::Version::V3;
    credentials.user = *user;
    if (auth) credentials.authProtocol = *auth;
    if (priv) credentials.privProtocol = *priv;
  }
  return std::optional<discovery::SnmpCredentials>{std::move(credentials)};
}

Result<discovery::SweepOptions> sweepOptions(const Args& args) {
  discovery::SweepOptions options;
  auto jobs = numberOption(args, "--jobs", options.jobs, kMaxJobs);
  if (!jobs) return jobs.error();
  auto rate = numberOption(args, "--rate", options.rate, kMaxRate);
  if (!rate) return rate.error();
  auto seconds = numberOption(args, "--timeout", 2, kMaxTimeoutSeconds);
  if (!seconds) return seconds.error();
  auto snmp = snmpCredentials(args);
  if (!snmp) return snmp.error();
  options.jobs = *jobs;
  options.rate = *rate;
  options.timeout = std::chrono::seconds(*seconds);
  options.snmp = std::move(*snmp);
  return options;
}

// Writes the plan of the old printers found, each row without a target noted.
int writePlan(const Args& args, const discovery::SweepReport& report,
              const std::vector<discovery::TargetMapEntry>& map) {
  const std::string path = *args.option("--plan");
  const auto rows = discovery::draftPlan(report.found, map);
  const Status written = fleet::writePlanFile(path, fleet::planFileText(discovery::planLines(rows)),
                                              args.has("--force"));
  if (!written) {
    const bool exists = written.message().starts_with(fleet::kPlanExists);
    return fail(written.message() + (exists ? "（置き換えるには --force を付けてください）" : ""));
  }
  std::size_t open = 0;
  for (const auto& row : rows) {
    if (!row.target) ++open;
    if (!row.note.empty())
      note((row.name == transport::dottedOctets(row.oldPrinter)
                ? row.name
                : row.name + "（" + transport::dottedOctets(row.oldPrinter) + "）") +
           ": " + row.note);
  }
  note("計画を書き込みました: " + path + "（" + std::to_string(rows.size()) + " 行" +
       (open ? "、うち送信先のない行 " + std::to_string(open) : std::string()) + "）");
  return kExitOk;
}

}  // namespace

int runDiscover(const Args& args) {
  auto options = sweepOptions(args);
  if (!options) return fail(options.message(), kExitUsage);
  if (!args.option("--plan").has_value() &&
      (args.option("--target-map").has_value() || args.has("--force")))
    return fail("discover の --target-map と --force は --plan と使います。", kExitUsage);
  // A spooler that cannot be asked is no mistake of the command line.
  bool spoolerFailed = false;
  auto addresses = discovery::sweepAddresses(args.operands, [&] {
    auto queues = discovery::spoolerQueues();
    spoolerFailed = !queues;
    return queues;
  });
  if (!addresses) return fail(addresses.message(), spoolerFailed ? kExitFailure : kExitUsage);
  for (const std::string& text : addresses->notes) note(text);

  std::vector<discovery::TargetMapEntry> map;
  if (const auto file = args.option("--target-map")) {
    auto read = discovery::readTargetMap(*file);
    if (!read) return fail(read.message());
    map = std::move(*read);
  }
  if (options->snmp && options->snmp->version == discovery::SnmpCredentials::Version::V3)
    if (Status s = readSnmpSecrets(args, *options->snmp); !s) return fail(s.message());

  transport::RunControl run(std::chrono::hours(24 * 365));
  const CancelOnInterrupt interrupt(run);
  auto report = discovery::sweep(addresses->addresses, *options, run);
  if (!report) return fail(report.message());

  const Status shown =
      writeOutput(args.has("--json") ? discoveryJson(*report) : discoveryLines(*report));
  for (const std::string& text : report->notes) note(text);
  if (!args.has("--json"))
    for (const auto& printer : report->found)
      for (const std::string& text : printer.notes)
        note(transport::dottedOctets(printer.address) + ": " + text);
  note(discovery::sweepSummary(*report));
  if (!shown) return fail(shown.message());
  if (report->cancelled) {
    if (args.option("--plan").has_value()) note("中止したため計画は書き込みません。");
    return kExitFailure;
  }
  if (args.option("--plan").has_value()) return writePlan(args, *report, map);
  return kExitOk;
}

const Command kDiscoverCommand = {
    .name = "discover",
    .operands = {"TARGET..."},
    .options = {{"--jobs", "N", "同時に調べるアドレスの数（既定 64）"},
                {"--timeout", "SECONDS", "一件の問い合わせを待つ秒数（既定 2）"},
                {"--rate", "N", "一秒あたりに始める接続の数（既定 200）"},
                {"--json", "", "JSON で出力します"},
                {"--plan", "FILE", "見つかった旧機種の移行計画を書き込むファイル"},
                {"--target-map", "FILE",
                 "旧プリンタ（アドレス、シリアル番号、名前）ごとの送信先の表"},
                {"--force", "", "--plan のファイルがあれば置き換えます"},
                {"--snmp-community", "NAME", "SNMP v2c のコミュニティ"},
                {"--snmp-user", "NAME", "SNMP v3 のユーザー"},
                {"--snmp-auth", "SHA|SHA-256|MD5", "SNMP v3 の認証方式"},
                {"--snmp-priv", "AES|DES", "SNMP v3 の暗号化方式"},
                {"--snmp-secret-file", "FILE",
                 "SNMP v3 のパスフレーズを読む、所有者だけが読めるファイル"}},
    .usesDataFolder = false,
    .notes =
        "  （TARGET はアドレス、ブロック 192.168.10.0/24、範囲 192.168.10.20-80、@ファイル\n"
        "   （一行に一つ、# から行末は注釈）、cups（スプーラのキューの接続先）。各アドレスの\n"
        "   FTP の挨拶で機種を見分け、--snmp-community か --snmp-user があれば SNMP で名前と\n"
        "   場所も尋ねる。--plan は見つかった旧機種の移行計画を書き込む。v3 のパスフレーズは\n"
        "   標準入力か、所有者だけが読めるファイル（1行目 認証、2行目 暗号化）から）\n",
    .exitStatuses =
        "  0  調べ終えました（応答がなくても）\n"
        "  1  調べられませんでした（ライブラリがない、中止した、計画を書けない）\n"
        "  2  コマンドラインの誤り（調べるアドレスが 65536 件を超える場合も）\n",
    .overviewExitStatus =
        "  discover は: 0 調べ終えた（応答がなくても）、1 調べられなかった・中止した・\n"
        "              計画を書けない、2 コマンドラインの誤り\n",
    .run = runDiscover,
};

}  // namespace drovik::cli
