// drovik-cli's command line as each command declares it: what a command does not take is
// refused in one line that names it and the command, and --help shows that command alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/cli_fixture.h"

namespace {

using drovik::test::CliRun;
using drovik::test::CliTest;

using GrammarCliTest = CliTest;

struct Refusal {
  std::vector<std::string> args;
  std::string named;    // the option or operand the line names
  std::string command;  // empty: none was given, the hint is the overview's
};

// The command names of the overview, in its order.
std::vector<std::string> commandsOf(const std::string& overview) {
  std::vector<std::string> names;
  const std::string synopsis = "  drovik-cli ";
  const std::string global = "[--data-dir DIR] ";
  std::istringstream lines(overview);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(synopsis, 0) != 0) continue;
    std::string rest = line.substr(synopsis.size());
    if (rest.rfind(global, 0) == 0) rest.erase(0, global.size());
    const std::string name = rest.substr(0, rest.find(' '));
    const bool word = !name.empty() && name[0] >= 'a' && name[0] <= 'z' &&
                      std::all_of(name.begin(), name.end(),
                                  [](char c) { return (c >= 'a' && c <= 'z') || c == '-'; });
    if (word && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  return names;
}

TEST_F(GrammarCliTest, AWrongCommandLineIsOneLineNamingWhatAndWhere) {
  const std::string absent = (dir / "absent").string();
  const Refusal refusals[] = {
      {{"list", "--ftp", "1.2.3.4"}, "--ftp", "list"},
      {{"list", "--since", "x", "--yes"}, "--since", "list"},
      {{"--yes", "list"}, "--yes", "list"},
      {{"list", "--nope"}, "--nope", "list"},
      {{"list", "--json=yes"}, "--json", "list"},
      {{"dump", "x.sib", "--data-dir", absent}, "--data-dir", "dump"},  // dump has no data folder
      {{"fetch", "--ip"}, "--ip", "fetch"},
      {{"list", "--data-dir"}, "--data-dir", "list"},
      {{"history", "--profile", "a", "--profile", "b"}, "--profile", "history"},
      {{"report"}, "NAME", "report"},
      {{"migrate", "A"}, "NEWNAME", "migrate"},
      {{"list", "extra"}, "extra", "list"},
      {{"diff", "A"}, "B", "diff"},
      {{"diff", "A", "B", "--ip", "1.2.3.4"}, "B", "diff"},
      {{"send", "A", "B", "--parallel"}, "B", "send"},
      {{"frobnicate"}, "frobnicate", ""},
      {{"--nope"}, "--nope", ""},
      {{"--data-dir"}, "--data-dir", ""},
  };
  for (const Refusal& refusal : refusals) {
    const std::string what = refusal.args.front() + " … " + refusal.args.back();
    const CliRun r = run(refusal.args);
    EXPECT_EQ(r.exitCode, 2) << what;
    EXPECT_EQ(r.out, "") << what;
    ASSERT_FALSE(r.err.empty()) << what;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << what << ": " << r.err;
    EXPECT_EQ(r.err.rfind("drovik-cli: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(refusal.named), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(refusal.command), std::string::npos) << r.err;
    const std::string ending = "詳しくは drovik-cli " +
                               (refusal.command.empty() ? "" : refusal.command + " ") + "--help\n";
    EXPECT_TRUE(r.err.ends_with(ending)) << what << ": " << r.err;
  }
  EXPECT_TRUE(folderListing().empty());
}

TEST_F(GrammarCliTest, WhatTheCommandTakesStillWorksInAnyOrderAndRepeatedSwitches) {
  ASSERT_EQ(runIn({"register", "A"}).exitCode, 0);
  const CliRun listed = run({"list", "--json", "--data-dir", dir.path().string(), "--json"});
  EXPECT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_NE(listed.out.find("\"name\": \"A\""), std::string::npos) << listed.out;
  const CliRun byEquals = run({"--data-dir=" + dir.path().string(), "report", "A"});
  EXPECT_EQ(byEquals.exitCode, 0) << byEquals.err;
}

TEST_F(GrammarCliTest, EachCommandsHelpShowsThatCommandAlone) {
  const CliRun overview = run({"--help"});
  ASSERT_EQ(overview.exitCode, 0);
  const std::vector<std::string> commands = commandsOf(overview.out);
  ASSERT_GE(commands.size(), 14u) << overview.out;
  for (const std::string& command : commands) {
    // --help wins over anything else on the line, as the user asks how to write it.
    for (const auto& args : std::vector<std::vector<std::string>>{
             {command, "--help"}, {"-h", command}, {command, "--nope", "--help"}}) {
      const CliRun help = run(args);
      EXPECT_EQ(help.exitCode, 0) << command << help.err;
      EXPECT_EQ(commandsOf(help.out), std::vector<std::string>{command}) << help.out;
      EXPECT_NE(help.out.find("オプション:\n"), std::string::npos) << help.out;
      EXPECT_NE(help.out.find("終了ステータス:\n"), std::string::npos) << help.out;
    }
  }
  const CliRun fleet = run({"fleet", "--help"});
  for (const char* option : {"--jobs N", "--password-file FILE", "--timeout SECONDS", "--dry-run",
                             "--register", "--data-dir DIR"})
    EXPECT_NE(fleet.out.find(std::string("\n  ") + option + " "), std::string::npos) << option;
  EXPECT_NE(fleet.out.find("  1  失敗した行がある\n"), std::string::npos) << fleet.out;
  EXPECT_EQ(run({"dump", "--help"}).out.find("--data-dir"), std::string::npos);
  EXPECT_TRUE(folderListing().empty());
}

}  // namespace
