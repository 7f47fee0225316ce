// drovik-cli --version: the project's version, wherever the switch stands, touching nothing.
#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "program_version.h"

namespace {

using drovik::test::CliRun;
using drovik::test::CliTest;

TEST_F(CliTest, VersionIsTheProjectsAndTouchesNothing) {
  const std::string expected = std::string("drovik-cli ") + drovik::kProgramVersion + "\n";
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--version"},
           {"list", "--version"},
           {"--data-dir", (dir / "absent").string(), "--version"}}) {
    const CliRun r = run(args);
    EXPECT_EQ(r.exitCode, 0) << args.size() << r.err;
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, "");
  }
  EXPECT_TRUE(folderListing().empty());
  EXPECT_EQ(run({"--version=2"}).exitCode, 2);
  const CliRun full = runToFullDisk("--version");
  EXPECT_EQ(full.exitCode, 1);
  EXPECT_NE(full.err.find("標準出力に書き込めません"), std::string::npos) << full.err;
}

}  // namespace
