// Two copies of drovik-cli transferring through one data folder at the same time, as whole
// processes against two simulated printers: each run must get its own printer's settings and
// deliver its own profile, whichever starts first. The folder's fixed-name files make every
// transfer wait for the one before it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "cli/cli_fixture.h"
#include "peers/peer_process.h"
#include "peers/printer_simulator.h"
#include "service/profile_service.h"
#include "transport/ipv4_address.h"
#include "transport/transfer_lock.h"

namespace drovik {
namespace {

using test::readFile;
using test::writeFile;

constexpr int kRounds = 5;

std::string dotted(const Ipv4Octets& address) { return transport::dottedOctets(address); }

// Another printer than the corpus image's: initial user 3 (not 0) and address 10.1.2.3.
test::PrinterSimulatorOptions otherPrinter(double sendSeconds) {
  test::PrinterSimulatorOptions options;
  options.allImage[0] = 3;
  options.networkImage.replace(1, 4, "\x0a\x01\x02\x03");
  options.sendSeconds = sendSeconds;
  return options;
}

test::PrinterSimulatorOptions corpusPrinter(double sendSeconds) {
  test::PrinterSimulatorOptions options;
  options.sendSeconds = sendSeconds;
  return options;
}

// A printer that takes sends: the send script logs in without a password.
test::PrinterSimulatorOptions receivingPrinter() {
  test::PrinterSimulatorOptions options;
  options.password = "";
  return options;
}

class ConcurrentTransfers : public test::CliTest {
 protected:
  // Runs both commands (with --data-dir) at once, each as a process of its own.
  std::pair<test::CliRun, test::CliRun> runTogether(const std::vector<std::string>& first,
                                                    const std::vector<std::string>& second,
                                                    const std::string& input) {
    writeFile(dir / "stdin", input);
    std::string script;
    for (const auto* args : {&first, &second}) {
      const std::string tag = args == &first ? "1" : "2";
      std::string command = test::quote(DROVIK_CLI_PATH) + " --data-dir " + test::quote(dir.path());
      for (const auto& arg : *args) command += " " + test::quote(arg);
      script += "(" + command + " <" + test::quote(dir / "stdin") + " >" +
                test::quote(dir / ("stdout" + tag)) + " 2>" + test::quote(dir / ("stderr" + tag)) +
                "; echo $? >" + test::quote(dir / ("status" + tag)) + ") & ";
    }
    script += "wait";
    EXPECT_EQ(std::system(script.c_str()), 0);
    auto result = [&](const std::string& tag) {
      return test::CliRun{std::atoi(readFile(dir / ("status" + tag)).c_str()),
                          readFile(dir / ("stdout" + tag)), readFile(dir / ("stderr" + tag))};
    };
    return {result("1"), result("2")};
  }

  // What decode-nvram prints for a printer's images.
  std::string decoded(const test::PrinterSimulatorOptions& printer) {
    writeFile(dir / "all.bin", printer.allImage);
    writeFile(dir / "nw.bin", printer.networkImage);
    const test::CliRun run = this->run(
        {"decode-nvram", "--all", (dir / "all.bin").string(), "--nw", (dir / "nw.bin").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return run.out;
  }
};

TEST_F(ConcurrentTransfers, TwoFetchesIntoOneFolderEachGetTheirOwnPrinter) {
  // The printers hold each file back a little, so that the two runs overlap.
  const auto optionsA = corpusPrinter(0.1);
  const auto optionsB = otherPrinter(0.1);
  test::PrinterSimulator a(optionsA);
  DROVIK_START_OR_SKIP(a);
  test::PrinterSimulator b(optionsB);
  ASSERT_EQ(b.problem(), "");
  const std::string expectedA = decoded(optionsA);
  const std::string expectedB = decoded(optionsB);
  ASSERT_NE(expectedA, expectedB);

  const ProfileService service(StorePaths::inDirectory(dir.path()));
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    // Every other round registers them: the registration must take what its own run fetched.
    const bool registering = round % 2 == 1;
    std::vector<std::string> fetchA = {"fetch", "--ip", dotted(a.address())};
    std::vector<std::string> fetchB = {"fetch", "--ip", dotted(b.address())};
    if (registering) {
      fetchA.insert(fetchA.end(), {"--into", "A" + std::to_string(round)});
      fetchB.insert(fetchB.end(), {"--into", "B" + std::to_string(round)});
    }
    const auto [fromA, fromB] = runTogether(fetchA, fetchB, "secret\n");
    EXPECT_EQ(fromA.exitCode, 0) << fromA.err;
    EXPECT_EQ(fromB.exitCode, 0) << fromB.err;
    EXPECT_EQ(fromA.out, expectedA);
    EXPECT_EQ(fromB.out, expectedB);
    if (!registering) continue;
    ProfileModel storedA;
    ProfileModel storedB;
    ASSERT_TRUE(service.loadProfile(storedA, "A" + std::to_string(round)));
    ASSERT_TRUE(service.loadProfile(storedB, "B" + std::to_string(round)));
    EXPECT_EQ(storedA.values.selectUser, 0);
    EXPECT_EQ(storedA.values.iface.octet[0][0], 0);
    EXPECT_EQ(storedB.values.selectUser, 3);
    EXPECT_EQ(storedB.values.iface.octet[0][0], 10);
  }
  EXPECT_EQ(readFile(dir / "rftpcmd.ftp"), "");
}

TEST_F(ConcurrentTransfers, TwoNetworkSendsEachDeliverTheirOwnProfile) {
  test::PrinterSimulator a(receivingPrinter());
  DROVIK_START_OR_SKIP(a);
  test::PrinterSimulator b(receivingPrinter());
  ASSERT_EQ(b.problem(), "");
  registerProfile(0, "一階", "8630-GHJK");
  registerProfile(1, "二階", "8630-GHJK",
                  [](ProfileModel& model) { test::excludeEverything(model); });
  const auto generated = [&](const std::string& name) {
    EXPECT_EQ(runIn({"generate", name, "-o", dir / "cmd.bin"}).exitCode, 0);
    return readFile(dir / "cmd.bin");
  };
  const std::string first = generated("一階");
  const std::string second = generated("二階");
  ASSERT_NE(first, second);

  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::filesystem::remove(a.uploaded("rsic_cmd.bin"));
    std::filesystem::remove(b.uploaded("rsic_cmd.bin"));
    const auto [toA, toB] = runTogether({"send", "一階", "--ftp", dotted(a.address())},
                                        {"send", "二階", "--ftp", dotted(b.address())}, "");
    EXPECT_EQ(toA.exitCode, 0) << toA.err;
    EXPECT_EQ(toB.exitCode, 0) << toB.err;
    EXPECT_EQ(toA.out, "設定を送信できました\n");
    EXPECT_EQ(toB.out, "設定を送信できました\n");
    EXPECT_TRUE(readFile(a.uploaded("rsic_cmd.bin")) == first);
    EXPECT_TRUE(readFile(b.uploaded("rsic_cmd.bin")) == second);
  }
}

// While another copy transfers, a send says that it waits, touches no file of the folder and
// goes ahead once the other has ended.
TEST_F(ConcurrentTransfers, ASendWaitsForTheTransferBeforeIt) {
  test::PrinterSimulator printer(receivingPrinter());
  DROVIK_START_OR_SKIP(printer);
  registerProfile(0, "帳票", "8630-GHJK");
  const int held = ::open((dir / std::string(transport::kTransferLockName)).c_str(),
                          O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  test::PeerProcess sending({DROVIK_CLI_PATH, "--data-dir", dir.path(), "send", "帳票", "--ftp",
                             dotted(printer.address())},
                            dir / "stderr");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (readFile(dir / "stderr").find(transport::waitingForTransferMessage()) ==
             std::string::npos &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(readFile(dir / "stderr"),
            "drovik-cli: " + transport::waitingForTransferMessage() + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "rsic_cmd.bin"));
  EXPECT_FALSE(std::filesystem::exists(printer.uploaded("rsic_cmd.bin")));

  ::close(held);
  EXPECT_TRUE(sending.waitForLine("設定を送信できました", std::chrono::seconds(20)));
  EXPECT_EQ(sending.waitForExit(std::chrono::seconds(5)), 0);
  EXPECT_TRUE(std::filesystem::exists(printer.uploaded("rsic_cmd.bin")));
}

}  // namespace
}  // namespace drovik
