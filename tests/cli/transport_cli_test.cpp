// drovik-cli printers, send and fetch as whole processes against the printer simulator and
// the private spooler: the same files, judgement, messages and remembered choices as the GUI.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "peers/loopback_listener.h"
#include "peers/printer_simulator.h"
#include "peers/private_cups.h"
#include "service/profile_service.h"
#include "support/temp_dir.h"
#include "transport/ipv4_address.h"

namespace drovik {
namespace {

namespace cat = catalogue;
using test::readFile;

struct CliRun {
  int exitCode;
  std::string out;
  std::string err;
};

std::string quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class TransportCli : public ::testing::Test {
 protected:
  TransportCli() {
    ProfileModel model;
    EXPECT_TRUE(service.registerProfile(model, "帳票", OnExisting::Refuse).isOk());
  }

  CliRun run(const std::vector<std::string>& args, const std::string& input = "") {
    test::writeFile(dir / "stdin", input);
    std::string command = quote(DROVIK_CLI_PATH) + " --data-dir " + quote(data.string());
    for (const auto& arg : args) command += " " + quote(arg);
    command += " <" + quote((dir / "stdin").string()) + " >" + quote((dir / "out").string()) +
               " 2>" + quote((dir / "err").string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir / "out"),
            readFile(dir / "err")};
  }
  std::string generated() {
    EXPECT_EQ(run({"generate", "帳票", "-o", (dir / "x.sib").string()}).exitCode, 0);
    return readFile(dir / "x.sib");
  }

  test::TempDir dir;
  const std::filesystem::path data = [this] {
    std::filesystem::create_directory(dir / "data");
    return dir / "data";
  }();
  ProfileService service{StorePaths::inDirectory(data)};
};

test::PrinterSimulatorOptions printer(std::string password) {
  test::PrinterSimulatorOptions options;
  options.password = std::move(password);
  return options;
}

TEST_F(TransportCli, FetchDecodesIntoTheProfileAndRemembersTheAddress) {
  test::PrinterSimulator simulator(printer("pass word"));
  DROVIK_START_OR_SKIP(simulator);
  const std::string ip = transport::dottedOctets(simulator.address());
  const CliRun wrong = run({"fetch", "--ip", ip, "--into", "帳票"}, "nope\n");
  EXPECT_EQ(wrong.exitCode, 1);
  EXPECT_NE(wrong.err.find("パスワードが正しくないか、入力されていません"), std::string::npos);

  const CliRun fetched = run({"fetch", "--ip", ip, "--into", "取得"}, "pass word\n");
  ASSERT_EQ(fetched.exitCode, 0) << fetched.err;
  EXPECT_EQ(*service.store().retrievalAddress(), simulator.address());
  // Exactly what decode-nvram prints for those images, and the profile now holds it.
  const CliRun decoded =
      run({"decode-nvram", "--all", DROVIK_TEST_DATA_DIR "/corpus/nvram/rnvr_all_1758.bin", "--nw",
           DROVIK_TEST_DATA_DIR "/corpus/nvram/rnvr_nw_13.bin"});
  EXPECT_EQ(fetched.out, decoded.out);
  ProfileModel stored;
  ASSERT_TRUE(service.loadProfile(stored, "取得"));
  ProfileModel expected;
  ASSERT_TRUE(
      service.decodeIntoProfile(expected, "比較", data / "rnvr_all.bin", data / "rnvr_nw.bin")
          .isOk());
  EXPECT_EQ(stored.text.paper, expected.text.paper);
  EXPECT_EQ(readFile(data / "rftpcmd.ftp"), "");

  // --json: decode-nvram's records of the same images; a refusal stays text on stderr.
  const CliRun json = run({"fetch", "--ip", ip, "--json"}, "pass word\n");
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const auto records = nlohmann::json::parse(json.out);
  EXPECT_EQ(records,
            nlohmann::json::parse(run({"decode-nvram", "--json", "--all",
                                       DROVIK_TEST_DATA_DIR "/corpus/nvram/rnvr_all_1758.bin",
                                       "--nw", DROVIK_TEST_DATA_DIR "/corpus/nvram/rnvr_nw_13.bin"})
                                      .out));
  ASSERT_EQ(records["values"].size(), cat::valueKeysInSaveOrder().size());
  for (std::size_t i = 0; i < records["values"].size(); ++i)
    EXPECT_EQ(records["values"][i]["value"], stored.text.at(cat::valueKeysInSaveOrder()[i]));
  const CliRun refused = run({"fetch", "--ip", ip, "--json"}, "nope\n");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("drovik-cli: パスワードが正しくないか"), std::string::npos);
}

// The printer side is the profile with what the printer reports decoded onto it, so a
// profile fetched from that printer compares equal and any other differs exactly as it
// differs from that fetched profile.
TEST_F(TransportCli, DiffComparesAProfileWithWhatThePrinterHolds) {
  test::PrinterSimulator simulator(printer("pw"));
  DROVIK_START_OR_SKIP(simulator);
  const std::string ip = transport::dottedOctets(simulator.address());
  const CliRun missing = run({"diff", "無い", "--ip", ip}, "pw\n");
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("無い"), std::string::npos);
  const auto remembered = service.store().retrievalAddress();
  EXPECT_FALSE(remembered && *remembered == simulator.address());  // the printer was not asked
  const CliRun wrong = run({"diff", "帳票", "--ip", ip}, "nope\n");
  EXPECT_EQ(wrong.exitCode, 2);
  EXPECT_NE(wrong.err.find("パスワードが正しくないか、入力されていません"), std::string::npos);
  EXPECT_EQ(wrong.out, "");
  EXPECT_EQ(run({"diff", "帳票", "--ip", "1.2.3"}, "pw\n").exitCode, 2);

  ASSERT_EQ(run({"fetch", "--ip", ip, "--into", "取得"}, "pw\n").exitCode, 0);
  const CliRun changed = run({"diff", "帳票", "--ip", ip}, "pw\n");
  EXPECT_EQ(changed.exitCode, 1) << changed.err;
  const CliRun expected = run({"diff", "帳票", "取得"});
  EXPECT_NE(expected.out, "");
  EXPECT_EQ(changed.out, expected.out);
  EXPECT_EQ(*service.store().retrievalAddress(), simulator.address());
  EXPECT_EQ(readFile(data / "rftpcmd.ftp"), "");

  const CliRun same = run({"diff", "取得", "--ip", ip, "--json"}, "pw\n");
  EXPECT_EQ(same.exitCode, 0) << same.err;
  EXPECT_EQ(same.out, "[]\n");
}

TEST_F(TransportCli, SendsOverTheNetworkAndRemembersTheAddress) {
  test::PrinterSimulator simulator(printer(""));
  DROVIK_START_OR_SKIP(simulator);
  const CliRun sent = run({"send", "帳票", "--ftp", transport::dottedOctets(simulator.address())});
  ASSERT_EQ(sent.exitCode, 0) << sent.err;
  EXPECT_EQ(sent.out, "設定を送信できました\n");
  EXPECT_TRUE(readFile(simulator.uploaded("rsic_cmd.bin")) == generated());
  EXPECT_EQ(*service.store().sendAddress(), simulator.address());
}

TEST_F(TransportCli, ListsTheSpoolersPrintersAndSendsThroughOne) {
  test::PrivateCups cups;
  ASSERT_EQ(cups.problem(), "");
  test::ByteCapture device;
  ASSERT_TRUE(cups.addQueue("VAD_Printer", device.port()));
  const CliRun printers = run({"printers"});
  const std::string uri = "socket://127.0.0.1:" + std::to_string(device.port()) + "/?contimeout=5";
  EXPECT_EQ(printers.out, "VAD_Printer\t" + uri + "\n");
  const CliRun json = run({"printers", "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(nlohmann::json::parse(json.out),
            nlohmann::json::parse(R"([{"name": "VAD_Printer", "device_uri": ")" + uri + "\"}]"));
  EXPECT_EQ(run({"send", "帳票", "--printer", "vad_printer"}).exitCode, 1);  // names are exact
  const CliRun sent = run({"send", "帳票", "--printer", "VAD_Printer"});
  ASSERT_EQ(sent.exitCode, 0) << sent.err;
  EXPECT_EQ(sent.out, "設定を送信できました\n");
  EXPECT_EQ(sent.err, "");
  EXPECT_TRUE(device.bytes(std::chrono::seconds(15)) == generated());
  EXPECT_EQ(*service.store().printerDriverName(), "VAD_Printer");
}

// A job the spooler holds when the time is up is no failure, and not a success either: status 0
// with a warning that says so and why.
TEST_F(TransportCli, AJobNotYetPrintedWhenTheTimeIsUpIsAWarning) {
  test::PrivateCups cups;
  ASSERT_EQ(cups.problem(), "");
  test::LoopbackListener device;  // takes the job's connection, never finishes it
  ASSERT_TRUE(cups.addQueue("Slow", device.port()));
  EXPECT_EQ(run({"send", "帳票", "--printer", "Slow", "--timeout", "0"}).exitCode, 2);
  const CliRun sent = run({"send", "帳票", "--printer", "Slow", "--timeout", "2"});
  EXPECT_EQ(sent.exitCode, 0) << sent.err;
  EXPECT_EQ(sent.out, "");
  EXPECT_EQ(sent.err.rfind("drovik-cli: 警告: "
                           "印刷システムに送信しましたが、まだ印刷されていません（ジョブ ",
                           0),
            0u)
      << sent.err;
  EXPECT_NE(sent.err.find("（ジョブは印刷中です: "), std::string::npos) << sent.err;
}

}  // namespace
}  // namespace drovik
