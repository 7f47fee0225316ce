#include "cli/cli_fixture.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/store_writes.h"

namespace drovik::test {

namespace {

int exitCodeOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

}  // namespace

std::string quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

void excludeEverything(ProfileModel& model) { model.flags.state.fill(0); }

CliRun CliTest::run(const std::vector<std::string>& args, const std::string& input) {
  std::string command = quote(DROVIK_CLI_PATH);
  for (const auto& arg : args) command += " " + quote(arg);
  const auto inPath = dir / "stdin";
  const auto outPath = dir / "stdout";
  const auto errPath = dir / "stderr";
  writeFile(inPath, input);
  command += " <" + quote(inPath.string()) + " >" + quote(outPath.string()) + " 2>" +
             quote(errPath.string());
  const int status = std::system(command.c_str());
  return {exitCodeOf(status), readFile(outPath), readFile(errPath)};
}

CliRun CliTest::runIn(std::vector<std::string> args, const std::string& input) {
  args.insert(args.begin(), {"--data-dir", dir.path().string()});
  return run(args, input);
}

CliRun CliTest::runToFullDisk(const std::string& args) {
  const std::string command = quote(DROVIK_CLI_PATH) + " --data-dir " + quote(dir.path().string()) +
                              " " + args + " >/dev/full 2>" + quote((dir / "stderr").string());
  const int status = std::system(command.c_str());
  return {exitCodeOf(status), "", readFile(dir / "stderr")};
}

std::set<std::string> CliTest::folderListing() {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    const std::string name = entry.path().filename().string();
    if (name != "stdin" && name != "stdout" && name != "stderr") names.insert(name);
  }
  return names;
}

void CliTest::registerProfile(int slot, const std::string& name, const std::string& type,
                              const std::function<void(ProfileModel&)>& edit) {
  ProfileModel model;
  if (edit) edit(model);
  model.refreshAndSnapshotCheckFlagTexts();
  model.markAllForWriting();
  ASSERT_TRUE(test::saveSection(store, model, name));
  ASSERT_TRUE(test::writeIndexEntry(store, slot, name, type));
}

}  // namespace drovik::test
