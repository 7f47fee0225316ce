// drovik-cli fleet without --register: more rows than a data folder's index holds, each row's
// profiles, images and command in its own folder beside the plan, every folder a data folder
// drovik-cli opens; a plan saved by a Japanese spreadsheet (Shift-JIS, CR LF).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "cli/fleet_cli_fixture.h"
#include "history/sha256.h"
#include "ini/text_codec.h"

namespace drovik {
namespace {

using test::FleetCli;
using test::ip;
using test::printerOptions;
using test::readFile;
using test::writeFile;

constexpr int kRows = 25;  // two profiles each: more than the 20 of an index

// "表" and "ソ" end in the byte of "\" in Shift-JIS: still no path separator in a name.
std::string rowName(int row) { return "表示ソ拠点" + std::to_string(row); }

std::string sha256Of(const std::string& bytes) {
  return history::sha256Hex({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

TEST_F(FleetCli, KeepsEachRowInAFolderOfItsOwnBesideThePlan) {
  test::PrinterSimulator old(printerOptions("8630-G05 FTP server ready.", "pw"));
  DROVIK_START_OR_SKIP(old);
  auto newOptions = printerOptions("8630-M FTP server ready.", "");
  newOptions.moreAddresses = kRows - 1;
  test::PrinterSimulator replacements(newOptions);
  ASSERT_EQ(replacements.problem(), "");
  std::vector<Ipv4Octets> targets{replacements.address()};
  targets.insert(targets.end(), replacements.moreAddresses().begin(),
                 replacements.moreAddresses().end());

  std::string plan = "name,old_printer,new_target\r\n";
  for (int row = 0; row < kRows; ++row)
    plan += rowName(row) + "," + ip(old.address()) + ",ftp:" + ip(targets[row]) + "\r\n";
  const auto planPath = writePlan(*ini::utf8ToCp932(plan));
  const auto archive = plans() / "fleet.archive";
  writeFile(plans() / "password", "pw\n");
  ::chmod((plans() / "password").c_str(), 0600);
  const std::vector<std::string> fleet = {"fleet",           planPath.string(),
                                          "--jobs",          "8",
                                          "--password-file", (plans() / "password").string()};

  // A dry run writes no folder and no result file.
  auto dry = fleet;
  dry.push_back("--dry-run");
  const test::CliRun rehearsed = runIn(dry);
  EXPECT_EQ(rehearsed.exitCode, 0) << rehearsed.err;
  EXPECT_NE(rehearsed.out.find("「" + rowName(3) + "-M」を新規登録します（8630-M）"),
            std::string::npos)
      << rehearsed.out;
  EXPECT_FALSE(std::filesystem::exists(archive));
  EXPECT_FALSE(std::filesystem::exists(resultFile()));

  // A file where one row's folder would go fails that row alone.
  std::filesystem::create_directory(archive);
  writeFile(archive / rowName(7), "not a folder");
  const test::CliRun first = runIn(fleet);
  EXPECT_EQ(first.exitCode, 1) << first.err;
  EXPECT_EQ(rowOf(results(), rowName(7))["steps"][1]["outcome"], "failed");
  EXPECT_NE(first.out.find("失敗 登録: 保存フォルダを作成できません"), std::string::npos)
      << first.out;

  // The data folder is not touched; each other row's folder is a data folder of its own.
  EXPECT_EQ(folderListing(), std::set<std::string>{"plans"});
  const auto document = results();
  const std::string received = readFile(replacements.uploaded("rsic_cmd.bin"));
  for (int row = 0; row < kRows; ++row) {
    if (row == 7) continue;
    const std::string name = rowName(row);
    const json record = rowOf(document, name);
    EXPECT_EQ(record["status"], "completed") << name;
    EXPECT_EQ(record["archive"], "fleet.archive/" + name);
    const auto folder = archive / name;
    const test::CliRun listed = run({"--data-dir", folder.string(), "list"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out.rfind(name + "\t", 0), 0u) << listed.out;
    EXPECT_NE(listed.out.find("\n" + name + "-M\t"), std::string::npos) << listed.out;
    const test::CliRun report = run({"--data-dir", folder.string(), "report", name + "-M"});
    EXPECT_EQ(report.exitCode, 0) << report.err;
    EXPECT_FALSE(report.out.empty());
    // The images the profile came from, and the command the new printer received.
    EXPECT_TRUE(readFile(folder / "rnvr_all.bin") == test::sampleImage("rnvr_all_1758.bin"));
    EXPECT_TRUE(readFile(folder / "rnvr_nw.bin") == test::sampleImage("rnvr_nw_13.bin"));
    const std::string kept = readFile(folder / (name + "-M.sib"));
    EXPECT_TRUE(kept == received) << name;
    EXPECT_EQ(record["steps"][4]["sha256"], sha256Of(kept));
  }

  // Again once the way is clear: only the failed row runs.
  std::filesystem::remove(archive / rowName(7));
  std::filesystem::remove(replacements.uploaded("rsic_cmd.bin"));
  const auto firstFolder = archive / rowName(0);
  const std::string firstSettings = readFile(firstFolder / "RSETTING.INI");
  std::filesystem::remove(firstFolder / "rnvr_all.bin");
  const test::CliRun second = runIn(fleet);
  EXPECT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(rowOf(results(), rowName(7))["status"], "completed");
  EXPECT_TRUE(readFile(replacements.uploaded("rsic_cmd.bin")) ==
              readFile(archive / rowName(7) / (rowName(7) + "-M.sib")));
  EXPECT_FALSE(std::filesystem::exists(firstFolder / "rnvr_all.bin"));  // not fetched again
  EXPECT_EQ(readFile(firstFolder / "RSETTING.INI"), firstSettings);
  EXPECT_EQ(rowOf(results(), rowName(0)), rowOf(document, rowName(0)));
}

}  // namespace
}  // namespace drovik
