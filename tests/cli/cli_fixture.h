// drovik-cli run as a whole process on a fresh data folder, with profiles written through
// the store.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "model/profile_store.h"
#include "support/temp_dir.h"

namespace drovik::test {

struct CliRun {
  int exitCode;
  std::string out;
  std::string err;
};

// The argument in single quotes for the shell.
std::string quote(const std::string& arg);

void excludeEverything(ProfileModel& model);

class CliTest : public ::testing::Test {
 protected:
  TempDir dir;
  ProfileStore store{StorePaths::inDirectory(dir.path())};

  // `input` is the standard input.
  CliRun run(const std::vector<std::string>& args, const std::string& input = {});
  // With --data-dir of the test's folder.
  CliRun runIn(std::vector<std::string> args, const std::string& input = {});
  // With --data-dir, standard output on a full disk; `args` is shell text.
  CliRun runToFullDisk(const std::string& args);

  // The folder's entries apart from the captured output of the runs.
  std::set<std::string> folderListing();

  // Registers a complete profile; `edit` changes it before the save.
  void registerProfile(int slot, const std::string& name, const std::string& type,
                       const std::function<void(ProfileModel&)>& edit = {});
};

}  // namespace drovik::test
