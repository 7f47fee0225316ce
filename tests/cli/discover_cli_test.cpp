// drovik-cli discover against printer simulators on a loopback block of its own.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/fleet_cli_fixture.h"
#include "peers/snmp_agent.h"

namespace drovik::test {
namespace {

// The tests run at once in processes of their own: each sweeps a block of its own, 127.1.B.0/24,
// where no other test's peers ever are (theirs are at 127.X.Y.Z, X from 2).
int blockOfThisTest() {
  const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  if (name.starts_with("Lists")) return 20;
  if (name.starts_with("ThePlan")) return 21;
  return 22;
}

class DiscoverCli : public FleetCli {
 protected:
  // Old printers at .21 and .22, an 8630-M at .30, another FTP server at .40.
  const int block = blockOfThisTest();
  PrinterSimulator h05{fixedAt({127, 1, block, 21}, "8630-H05 FTP server ready.")};
  PrinterSimulator g05{fixedAt({127, 1, block, 22}, "8630-G05 FTP server ready.")};
  PrinterSimulator m{fixedAt({127, 1, block, 30}, "8630-M FTP server ready.")};
  PrinterSimulator other{fixedAt({127, 1, block, 40}, "ProFTPD Server")};

  // The text with the addresses of block 20, as the tests write them, in this test's block.
  std::string here(std::string text) const {
    const std::string mine = "127.1." + std::to_string(block) + ".";
    for (auto at = text.find("127.1.20."); at != std::string::npos;
         at = text.find("127.1.20.", at + mine.size()))
      text.replace(at, 9, mine);
    return text;
  }
  CliRun runHere(std::vector<std::string> args, const std::string& input = {}) {
    for (std::string& arg : args) arg = here(arg);
    return run(args, input);
  }

  static PrinterSimulatorOptions fixedAt(Ipv4Octets address, std::string greeting) {
    PrinterSimulatorOptions options = printerOptions(std::move(greeting), "secret");
    options.fixedAddresses = {address};
    return options;
  }
  bool started() {
    for (const PrinterSimulator* simulator : {&h05, &g05, &m, &other})
      if (!simulator->problem().empty()) return false;
    return true;
  }
};

#define DROVIK_START_ALL_OR_SKIP() \
  DROVIK_START_OR_SKIP(h05);       \
  ASSERT_TRUE(started()) << g05.problem() << m.problem() << other.problem()

TEST_F(DiscoverCli, ListsEverySimulatedPrinterWithItsModelAndNothingElse) {
  DROVIK_START_ALL_OR_SKIP();
  const CliRun swept = runHere({"discover", "127.1.20.0/24", "--timeout", "1"});
  ASSERT_EQ(swept.exitCode, 0) << swept.err;
  EXPECT_EQ(swept.out, here("127.1.20.21\t8630-H05\t-\t-\t-\tftp\n"
                            "127.1.20.22\t8630-G05\t-\t-\t-\tftp\n"
                            "127.1.20.30\t8630-M\t-\t-\t-\tftp\n"
                            "127.1.20.40\tその他（220 ProFTPD Server）\t-\t-\t-\tftp\n"));
  EXPECT_NE(
      swept.err.find("256 件を調べ、4 台が応答しました（旧機種 2、8630-M 1、その他 1、応答なし "
                     "252）"),
      std::string::npos)
      << swept.err;

  const CliRun asJson = runHere({"discover", "127.1.20.20-30", "--json"});
  ASSERT_EQ(asJson.exitCode, 0) << asJson.err;
  const auto document = nlohmann::json::parse(asJson.out);
  EXPECT_EQ(document["counts"]["old"], 2);
  EXPECT_EQ(document["counts"]["silent"], 8);
  EXPECT_EQ(document["printers"][0]["greeting"][0], "220 8630-H05 FTP server ready.");
  EXPECT_EQ(document["printers"][2]["kind"], "new");
}

TEST_F(DiscoverCli, ThePlanItWritesRunsInTheFleet) {
  DROVIK_START_ALL_OR_SKIP();
  writeFile(plans() / "map.csv", here("127.1.20.21,ftp:127.1.20.30\n"));
  const auto plan = plans() / "found.csv";
  const CliRun found = runHere({"discover", "127.1.20.20-45", "--plan", plan.string(),
                                "--target-map", (plans() / "map.csv").string()});
  ASSERT_EQ(found.exitCode, 0) << found.err;
  EXPECT_EQ(readFile(plan), here("name,old_printer,new_target\n"
                                 "127.1.20.21,127.1.20.21,ftp:127.1.20.30\n"
                                 "127.1.20.22,127.1.20.22,\n"));
  EXPECT_NE(found.err.find(here("127.1.20.22: 送信先が決まりません")), std::string::npos)
      << found.err;

  // The open row is the fleet's to refuse, by its line; filled in, the plan runs.
  const CliRun refused = runHere({"fleet", plan.string(), "--dry-run"}, "secret\n");
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_NE(refused.err.find("計画の3行目: 送信先がありません"), std::string::npos) << refused.err;
  writeFile(plan, readFile(plan).substr(0, readFile(plan).size() - 1) + "parallel\n");
  const CliRun rehearsed = runHere({"fleet", plan.string(), "--dry-run"}, "secret\n");
  EXPECT_EQ(rehearsed.exitCode, 0) << rehearsed.out << rehearsed.err;
  EXPECT_NE(rehearsed.out.find(here("127.1.20.21")), std::string::npos);
  EXPECT_NE(rehearsed.out.find(here("127.1.20.22")), std::string::npos);

  // An existing plan stays as it is unless --force.
  const std::string kept = readFile(plan);
  const CliRun again = runHere({"discover", "127.1.20.21", "--plan", plan.string()});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("--force"), std::string::npos);
  EXPECT_EQ(readFile(plan), kept);
  EXPECT_EQ(runHere({"discover", "127.1.20.21", "--plan", plan.string(), "--force"}).exitCode, 0);
  EXPECT_NE(readFile(plan), kept);
}

SnmpAgentOptions agentAt(Ipv4Octets address, std::string name, std::string location) {
  SnmpAgentOptions options;
  options.address = address;
  options.sysName = std::move(name);
  options.sysLocation = std::move(location);
  options.serialNumber = "SN-" + std::to_string(address[3]);
  return options;
}

TEST_F(DiscoverCli, WithACommunityPrintersHaveNamesAndTheirPlaceFindsTheNewPrinter) {
  DROVIK_START_ALL_OR_SKIP();
  SnmpAgent oldAgent(agentAt({127, 1, block, 21}, "pr-3f-01", "3F 東"));
  SnmpAgent slashed(agentAt({127, 1, block, 22}, "pr/4f", "4F"));
  SnmpAgent newAgent(agentAt({127, 1, block, 30}, "m-3f", "3F 東"));
  // An SNMP agent where no FTP server greets: listed from SNMP alone.
  SnmpAgent snmpOnly(agentAt({127, 1, block, 50}, "switch", "1F"));
  for (const SnmpAgent* agent : {&oldAgent, &slashed, &newAgent, &snmpOnly}) {
    DROVIK_SNMP_AGENT_OR_SKIP(*agent);
  }
  const auto plan = plans() / "found.csv";
  const CliRun swept = runHere({"discover", "127.1.20.0/24", "--snmp-community", "public", "--plan",
                                plan.string(), "--timeout", "1"});
  ASSERT_EQ(swept.exitCode, 0) << swept.err;
  EXPECT_EQ(swept.out, here("127.1.20.21\t8630-H05\tpr-3f-01\t3F 東\tSN-21\tftp+snmp\n"
                            "127.1.20.22\t8630-G05\tpr/4f\t4F\tSN-22\tftp+snmp\n"
                            "127.1.20.30\t8630-M\tm-3f\t3F 東\tSN-30\tftp+snmp\n"
                            "127.1.20.40\tその他（220 ProFTPD Server）\t-\t-\t-\tftp\n"
                            "127.1.20.50\t8630-H05\tswitch\t1F\tSN-50\tsnmp\n"));
  // The agent's description names an old model, so the SNMP-only host is a row too.
  EXPECT_EQ(readFile(plan), here("name,old_printer,new_target\n"
                                 "pr-3f-01,127.1.20.21,ftp:127.1.20.30\n"
                                 "pr_4f,127.1.20.22,\n"
                                 "switch,127.1.20.50,\n"));
}

TEST_F(CliTest, DiscoverRefusesABadCommandLineBeforeAskingAnything) {
  const auto plan = dir / "plan.csv";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"discover"},
        {"discover", "10.0.0.0/8"},
        {"discover", "224.0.0.1"},
        {"discover", "printer-3"},
        {"discover", "127.0.0.1", "--target-map", "map.csv"},
        {"discover", "127.0.0.1", "--snmp-priv", "AES"},
        {"discover", "127.0.0.1", "--snmp-user", "u", "--snmp-auth", "SHA-1"},
        {"discover", "127.0.0.1", "--jobs", "0"},
        {"discover", "127.0.0.1", "--plan", plan.string(), "--data-dir", "x"}}) {
    const CliRun refused = run(args);
    EXPECT_EQ(refused.exitCode, 2) << args.back() << ": " << refused.err;
    EXPECT_EQ(refused.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(plan));
  EXPECT_NE(run({"discover", "10.0.0.0/8"}).err.find("10.0.0.0/8"), std::string::npos);
}

}  // namespace
}  // namespace drovik::test
