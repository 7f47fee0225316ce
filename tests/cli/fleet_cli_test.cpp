// drovik-cli fleet as a whole process against real peers: old printers (supported, another
// model, another password, one that never answers), new printers on FTP and a private spooler.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "cli/fleet_cli_fixture.h"
#include "history/history_file.h"
#include "history/sha256.h"
#include "peers/loopback_listener.h"
#include "peers/peer_process.h"
#include "peers/private_cups.h"
#include "peers/silent_printer.h"
#include "service/profile_service.h"
#include "transport/ipv4_address.h"
#include "transport/transport_messages.h"

namespace drovik {
namespace {

using test::FleetCli;
using test::ip;
using test::printerOptions;

using nlohmann::json;
using test::readFile;
using test::writeFile;

// With --register: the rows' profiles land in the data folder's index.
TEST_F(FleetCli, MigratesEveryRowItCanAndRetriesOnlyTheFailedOnes) {
  test::PrinterSimulator old(printerOptions("8630-H05 FTP server ready.", "pw"));
  DROVIK_START_OR_SKIP(old);
  test::PrinterSimulator otherModel(printerOptions("8630-X01 FTP server ready.", "pw"));
  test::PrinterSimulator otherPassword(printerOptions("8630-J05 FTP server ready.", "other"));
  test::SilentPrinter silent;
  test::PrinterSimulator newFirst(printerOptions("8630-M FTP server ready.", ""));
  auto threeNewPrinters = printerOptions("8630-M FTP server ready.", "");
  threeNewPrinters.moreAddresses = 3;
  test::PrinterSimulator newSecond(threeNewPrinters);
  for (const auto* peer : {&otherModel, &otherPassword, &newFirst, &newSecond})
    ASSERT_EQ(peer->problem(), "");
  ASSERT_TRUE(silent.listening());
  test::PrivateCups cups;
  ASSERT_EQ(cups.problem(), "");
  test::ByteCapture device;
  ASSERT_TRUE(cups.addQueue("Fleet_Q", device.port()));
  test::LoopbackListener stuck;  // takes the job's connection, never finishes it
  ASSERT_TRUE(cups.addQueue("Stuck_Q", stuck.port()));

  registerProfile(0, "本社", "8630-GHJK");
  registerProfile(1, "本社-M", "8630-M");     // an earlier copy, overwritten
  registerProfile(2, "M型", "8630-M");        // cannot be the GHJK side of a row
  registerProfile(3, "工場-M", "8630-GHJK");  // no copy: never overwritten
  ProfileService service(StorePaths::inDirectory(dir.path()));
  const auto unrelated = service.store().readSection("工場-M");
  ASSERT_TRUE(unrelated);
  const std::string oldIp = ip(old.address());
  const auto plan = writePlan(
      "name,old_printer,new_target\n"
      "本社," +
      oldIp + ",ftp:" + ip(newFirst.address()) + "\n" + "支社," + oldIp + ",cups:Fleet_Q\n" +
      "旧型," + ip(otherModel.address()) + ",ftp:" + ip(newSecond.address()) + "\n" + "誤り," +
      ip(otherPassword.address()) + ",ftp:" + ip(newSecond.moreAddresses()[0]) + "\n" + "無応答," +
      ip(silent.address()) + ",ftp:" + ip(newSecond.moreAddresses()[1]) + "\n" + "M型," + oldIp +
      ",parallel\n" + "工場," + oldIp + ",ftp:" + ip(newSecond.moreAddresses()[2]) + "\n" +
      "出張所," + oldIp + ",cups:Stuck_Q\n");
  const std::vector<std::string> fleet = {"fleet", plan.string(), "--timeout", "2", "--register"};

  // A dry run fetches and tells what it would do, and writes nothing anywhere.
  const auto before = folderListing();
  const std::string profilesBefore = readFile(dir / "RSETTING.INI");
  auto dry = fleet;
  dry.push_back("--dry-run");
  const test::CliRun rehearsed = runIn(dry, "pw\n");
  EXPECT_EQ(rehearsed.exitCode, 1) << rehearsed.err;
  EXPECT_EQ(folderListing(), before);
  EXPECT_EQ(readFile(dir / "RSETTING.INI"), profilesBefore);
  EXPECT_FALSE(std::filesystem::exists(resultFile()));
  EXPECT_FALSE(std::filesystem::exists(newFirst.uploaded("rsic_cmd.bin")));
  EXPECT_NE(rehearsed.out.find("「本社」を上書きします（8630-GHJK）"), std::string::npos);
  EXPECT_NE(rehearsed.out.find("「本社-M」を上書きします（8630-M）"), std::string::npos);
  EXPECT_NE(rehearsed.out.find("「支社-M」を新規登録します（8630-M）"), std::string::npos);
  EXPECT_NE(rehearsed.out.find("失敗 登録: 「M型」は８６３０－Ｍの設定です"), std::string::npos);
  EXPECT_NE(rehearsed.out.find("失敗 移行: 移行先の設定名「工場-M」は８６３０－Ｍ以外の設定"),
            std::string::npos);

  const auto start = std::chrono::steady_clock::now();
  const test::CliRun first = runIn(fleet, "pw\n");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(first.exitCode, 1) << first.err;

  // The rows that could be fetched are registered, migrated and received by the new printers.
  const ProfileSlotTable slots = *service.readSlots();
  std::map<std::string, std::string> models;
  for (const ProfileSlot& slot : slots)
    if (slot.registered()) models[slot.name] = slot.modelType;
  EXPECT_EQ(models, (std::map<std::string, std::string>{{"本社", "8630-GHJK"},
                                                        {"本社-M", "8630-M"},
                                                        {"支社", "8630-GHJK"},
                                                        {"支社-M", "8630-M"},
                                                        {"M型", "8630-M"},
                                                        {"工場", "8630-GHJK"},
                                                        {"工場-M", "8630-GHJK"},
                                                        {"出張所", "8630-GHJK"},
                                                        {"出張所-M", "8630-M"}}));
  EXPECT_EQ(*service.store().readSection("工場-M"), *unrelated);
  const std::string headOffice = command("本社-M");
  EXPECT_TRUE(readFile(newFirst.uploaded("rsic_cmd.bin")) == headOffice);
  EXPECT_TRUE(device.bytes(std::chrono::seconds(15)) == command("支社-M"));
  const std::span<const std::uint8_t> sent(reinterpret_cast<const std::uint8_t*>(headOffice.data()),
                                           headOffice.size());
  EXPECT_NE(rehearsed.out.find(history::sha256Hex(sent)), std::string::npos);

  // The result file tells each row's steps; a failed step ends its row.
  const json document = results();
  const json send = rowOf(document, "本社")["steps"][4];
  EXPECT_EQ(send["outcome"], "ok");
  EXPECT_EQ(send["bytes"], headOffice.size());
  EXPECT_EQ(send["sha256"], history::sha256Hex(sent));
  EXPECT_EQ(rowOf(document, "支社")["status"], "completed");
  EXPECT_EQ(rowOf(document, "支社")["steps"][4]["outcome"], "ok");
  // A job the spooler still holds completes the row, with its own outcome and a warning.
  const json branch = rowOf(document, "出張所");
  EXPECT_EQ(branch["status"], "completed");
  EXPECT_EQ(branch["steps"][4]["outcome"], "queued");
  EXPECT_NE(branch["steps"][4]["message"].get<std::string>().find("まだ印刷されていません"),
            std::string::npos);
  EXPECT_NE(first.out.find("（警告: 印刷システムに送信しましたが"), std::string::npos) << first.out;
  const std::map<std::string, std::pair<int, std::string_view>> failures = {
      {"旧型", {0, transport::kUnsupportedModelMessage}},
      {"誤り", {0, transport::kLoginIncorrectMessage}},
      {"無応答", {0, transport::kRetrievalFailedMessage}},
      {"M型", {1, "８６３０－Ｍの設定です"}},
      {"工場", {2, "上書きできるのは８６３０－Ｍの設定だけ"}}};
  for (const auto& [name, failure] : failures) {
    const json row = rowOf(document, name);
    EXPECT_EQ(row["status"], "failed") << name;
    const json& step = row["steps"][failure.first];
    EXPECT_EQ(step["outcome"], "failed") << name;
    EXPECT_NE(step["message"].get<std::string>().find(failure.second), std::string::npos) << name;
    EXPECT_EQ(row["steps"][4]["outcome"], "skipped") << name;
  }
  // The history has the row's changes and what its new printer received.
  history::RecordFilter headOfficeRows;
  headOfficeRows.target = "ftp:" + ip(newFirst.address());
  const auto delivered = history::HistoryFile(dir.path()).read(headOfficeRows);
  ASSERT_TRUE(delivered);
  ASSERT_EQ(delivered->records.size(), 1u);
  EXPECT_EQ(delivered->records[0].operation, "fleet-send");
  EXPECT_EQ(delivered->records[0].profile, "本社-M");
  EXPECT_EQ(delivered->records[0].sha256, history::sha256Hex(sent));
  EXPECT_EQ(delivered->records[0].outcome, "ok");
  history::RecordFilter headOfficeChanges;
  headOfficeChanges.profile = "本社";
  EXPECT_EQ(history::HistoryFile(dir.path()).read(headOfficeChanges)->records.at(0).operation,
            "decode");

  // Again with the other printer's password, from a private file: the completed rows are not
  // sent again, the printer that refused the first password now gets its new printer's command.
  std::filesystem::remove(newFirst.uploaded("rsic_cmd.bin"));
  writeFile(plans() / "password", "other\n");
  ::chmod((plans() / "password").c_str(), 0600);
  auto retry = fleet;
  retry.insert(retry.end(), {"--password-file", (plans() / "password").string(), "--jobs", "2"});
  const test::CliRun second = runIn(retry);
  EXPECT_EQ(second.exitCode, 1) << second.err;
  EXPECT_NE(second.err.find("本社 " + oldIp + " → ftp:" + ip(newFirst.address()) +
                            ": 前回完了済みのため実行しません"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(newFirst.uploaded("rsic_cmd.bin")));
  EXPECT_TRUE(readFile(newSecond.uploaded("rsic_cmd.bin")) == command("誤り-M"));
  const json again = results();
  EXPECT_EQ(rowOf(again, "本社"), rowOf(document, "本社"));
  EXPECT_EQ(rowOf(again, "出張所"), branch);  // not queued a second time
  EXPECT_EQ(rowOf(again, "誤り")["status"], "completed");
  EXPECT_EQ(rowOf(again, "旧型")["status"], "failed");
}

// The result file is replaced as each row finishes: a run killed while one printer keeps it
// waiting has recorded the row that completed, and the next run does not send it again.
TEST_F(FleetCli, AKilledRunKeepsTheRowsThatCompleted) {
  test::PrinterSimulator old(printerOptions("8630-K05 FTP server ready.", "pw"));
  DROVIK_START_OR_SKIP(old);
  test::PrinterSimulator replacement(printerOptions("8630-M FTP server ready.", ""));
  ASSERT_EQ(replacement.problem(), "");
  test::SilentPrinter silent;
  ASSERT_TRUE(silent.listening());
  const auto plan = writePlan("速い," + ip(old.address()) + ",ftp:" + ip(replacement.address()) +
                              "\n遅い," + ip(silent.address()) + ",parallel\n");
  writeFile(plans() / "password", "pw\n");
  ::chmod((plans() / "password").c_str(), 0600);
  const std::vector<std::string> fleet = {DROVIK_CLI_PATH,
                                          "--data-dir",
                                          dir.path().string(),
                                          "fleet",
                                          plan.string(),
                                          "--timeout",
                                          "60",
                                          "--password-file",
                                          (plans() / "password").string()};
  // The killed run cannot remove its work folder (nor empty the script with the password in
  // it): it goes into the test's folder.
  std::filesystem::create_directory(plans() / "tmp");
  const std::string tmpdir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  ::setenv("TMPDIR", (plans() / "tmp").c_str(), 1);
  bool wasKillable = false;
  {
    test::PeerProcess killed(fleet, plans() / "killed.err", test::PeerProcess::Output::Discard);
    // Killed once the fast row is recorded and the slow one is held by the silent printer.
    const auto killable = [&] {
      return readFile(resultFile()).find("\"completed\"") != std::string::npos &&
             silent.hasCaller();
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(50);
    while (!killable() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    wasKillable = killable();
    ::kill(killed.pid(), SIGKILL);
  }
  if (tmpdir.empty())
    ::unsetenv("TMPDIR");
  else
    ::setenv("TMPDIR", tmpdir.c_str(), 1);
  ASSERT_TRUE(wasKillable) << readFile(plans() / "killed.err");
  const json document = results();
  EXPECT_EQ(rowOf(document, "速い")["status"], "completed");
  EXPECT_EQ(rowOf(document, "遅い")["status"], "pending");

  std::filesystem::remove(replacement.uploaded("rsic_cmd.bin"));
  const test::CliRun again = runIn({"fleet", plan.string(), "--timeout", "1"}, "pw\n");
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(replacement.uploaded("rsic_cmd.bin")));
  EXPECT_EQ(rowOf(results(), "遅い")["status"], "failed");
}

// Whatever is wrong with the command line, the plan, the result file or the password file,
// nothing is asked of any printer and nothing is written.
TEST_F(FleetCli, RefusesBeforeAnythingIsDone) {
  auto refused = [&](const std::vector<std::string>& extra, const std::string& why) {
    std::vector<std::string> args = {"fleet", (plans() / "fleet.csv").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    const test::CliRun run = runIn(args, "pw\n");
    EXPECT_EQ(run.exitCode, 2) << why;
    EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
  };
  writePlan("本社,10.0.0.1,parallel\n支社,10.0.0.999,parallel\n");
  refused({}, "計画の2行目: ");
  EXPECT_FALSE(std::filesystem::exists(resultFile()));

  std::string tooMany;
  for (int i = 0; i < 11; ++i)
    tooMany += "p" + std::to_string(i) + ",10.0.0.1,ftp:10.0.1." + std::to_string(i + 1) + "\n";
  writePlan(tooMany);
  refused({"--register"}, "新たに22個登録しますが、登録できるのはあと20個です");

  writePlan("本社,10.0.0.1,parallel\n");
  refused({"--jobs", "0"}, "--jobs には 1 から 16 までの数");
  refused({"--timeout", "2s"}, "--timeout には 1 から 600 までの数");
  writeFile(plans() / "password", "pw\n");
  ::chmod((plans() / "password").c_str(), 0640);
  refused({"--password-file", (plans() / "password").string()}, "ほかのユーザーが読み書きできる");
  EXPECT_FALSE(std::filesystem::exists(resultFile()));

  writeFile(resultFile(), "{\"rows\": [");
  refused({}, "結果ファイルの内容が正しくないため、実行しません");
  EXPECT_EQ(readFile(resultFile()), "{\"rows\": [");
  EXPECT_EQ(folderListing(), std::set<std::string>{"plans"});
}

}  // namespace
}  // namespace drovik
