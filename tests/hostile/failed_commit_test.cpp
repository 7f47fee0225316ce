// A change of both profile files that fails after the first file was already replaced: a
// rename or a folder sync refused. The failure must mean that nothing changed: the replaced
// file is put back (removed when it is new), with its permission bits, and nothing is left
// beside the files. What a killed commit leaves behind is never read and goes with the next.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <utility>
#include <vector>

#include "hostile/file_checks.h"
#include "hostile/loop_states.h"
#include "hostile/time_guard.h"
#include "support/temp_dir.h"

using namespace drovik;
using namespace drovik::hostile;
using drovik::test::readFile;
using drovik::test::TempDir;
using drovik::test::writeFile;
namespace fs = std::filesystem;

namespace {

struct FaultCase {
  const char* what;
  std::vector<std::pair<WriteFault, int>> faults;  // step, occurrence
};

const std::vector<FaultCase> kLateFaults = {
    {"first rename", {{WriteFault::Rename, 1}}},
    {"second rename", {{WriteFault::Rename, 2}}},
    {"folder sync after the first rename", {{WriteFault::DirectorySync, 1}}},
    {"folder sync after both renames", {{WriteFault::DirectorySync, 2}}},
    {"second rename, first file kept as a copy",
     {{WriteFault::HardLink, 1}, {WriteFault::Rename, 2}}},
    {"folder sync after both renames, second file kept as a copy",
     {{WriteFault::HardLink, 2}, {WriteFault::DirectorySync, 2}}},
};

// Profile `profile` in state `variant`: its section and its index entry, in one transaction.
Status saveBoth(const ProfileStore& store, const LoopStates& states, int profile, int variant) {
  return store.transact([&](StoreEdit& edit) -> Status {
    if (Status s =
            edit.saveProfile(states.model(profile, variant), LoopStates::profileName(profile));
        !s)
      return s;
    return edit.writeIndexEntry(profile, LoopStates::profileName(profile),
                                LoopStates::modelType(variant));
  });
}

mode_t modeOf(const fs::path& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Runs the change under every late fault; each must fail and leave the folder as it was.
void expectEveryLateFaultChangesNothing(const ProfileStore& store, const LoopStates& states,
                                        const fs::path& folder) {
  const FolderSnapshot before = snapshotFolder(folder);
  const mode_t indexMode = modeOf(store.paths().indexFile);
  const mode_t settingsMode = modeOf(store.paths().settingsFile);
  for (const FaultCase& fault : kLateFaults) {
    SCOPED_TRACE(fault.what);
    for (const auto& [step, occurrence] : fault.faults)
      injectWriteFaultForTesting(step, occurrence);
    const Status status = saveBoth(store, states, 0, 1);
    injectWriteFaultForTesting(WriteFault::None);
    ASSERT_FALSE(status);
    EXPECT_NE(status.message().find("保存できません"), std::string::npos) << status.message();
    EXPECT_EQ(status.message().find("元に戻せません"), std::string::npos) << status.message();
    EXPECT_TRUE(sameFolder(before, snapshotFolder(folder)));
    EXPECT_EQ(modeOf(store.paths().indexFile), indexMode);
    EXPECT_EQ(modeOf(store.paths().settingsFile), settingsMode);
  }
}

void expectSaved(const ProfileStore& store, const LoopStates& states, int profile, int variant) {
  ProfileSlotTable slots;
  ASSERT_TRUE(store.readSlotNames(slots));
  EXPECT_EQ(slots[profile].name, LoopStates::profileName(profile));
  EXPECT_EQ(slots[profile].modelType, LoopStates::modelType(variant));
  ProfileModel loaded;
  ASSERT_TRUE(store.loadSection(loaded, LoopStates::profileName(profile)));
  EXPECT_EQ(loaded.text.paper, states.model(profile, variant).text.paper);
}

class FailedCommitTest : public ::testing::Test {
 protected:
  const TimeGuard guard{std::string("FailedCommitTest.") +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name(),
                        kCaseTimeLimit};
  const TempDir dir;
  const ProfileStore store{StorePaths::inDirectory(dir.path())};
  const LoopStates states;
};

}  // namespace

TEST_F(FailedCommitTest, ChangeOfBothFilesFailingHalfWayLeavesBothAsTheyWere) {
  ASSERT_TRUE(saveBoth(store, states, 0, 0));
  ASSERT_TRUE(saveBoth(store, states, 1, 0));
  // Permission bits of their own, which a put-back file must have again.
  fs::permissions(store.paths().indexFile, fs::perms(0640));
  fs::permissions(store.paths().settingsFile, fs::perms(0604));
  expectEveryLateFaultChangesNothing(store, states, dir.path());

  ASSERT_TRUE(saveBoth(store, states, 0, 1));  // no fault lingers
  expectSaved(store, states, 0, 1);
  expectSaved(store, states, 1, 0);
  EXPECT_EQ(modeOf(store.paths().indexFile), 0640u);
  EXPECT_EQ(modeOf(store.paths().settingsFile), 0604u);
}

TEST_F(FailedCommitTest, FirstChangeFailingHalfWayLeavesNoFile) {
  expectEveryLateFaultChangesNothing(store, states, dir.path());
  EXPECT_FALSE(fs::exists(store.paths().indexFile));
  EXPECT_FALSE(fs::exists(store.paths().settingsFile));
}

TEST_F(FailedCommitTest, LeftoversOfAKilledCommitAreNeverReadAndGoWithTheNextChange) {
  ASSERT_TRUE(saveBoth(store, states, 0, 0));
  const std::string liveSettings = readFile(store.paths().settingsFile);
  // Killed after keeping the index, before replacing it: a second link to the live file.
  fs::create_hard_link(store.paths().indexFile, dir / ".R_MAIN.INI.old4242-0");
  // Killed after replacing the settings: the file before, and a half-written temporary file.
  ASSERT_TRUE(saveBoth(store, states, 0, 1));
  writeFile(dir / ".RSETTING.INI.old4242-1", liveSettings);
  writeFile(dir / ".RSETTING.INI.tmp4242-2", liveSettings.substr(0, liveSettings.size() / 2));
  expectSaved(store, states, 0, 1);

  // A failing change puts back the live files, not a leftover.
  const FolderSnapshot before = snapshotFolder(dir.path());
  injectWriteFaultForTesting(WriteFault::DirectorySync, 2);
  const Status failed = saveBoth(store, states, 0, 0);
  injectWriteFaultForTesting(WriteFault::None);
  ASSERT_FALSE(failed);
  const FolderSnapshot after = snapshotFolder(dir.path());
  EXPECT_EQ(after.at("R_MAIN.INI"), before.at("R_MAIN.INI"));
  EXPECT_EQ(after.at("RSETTING.INI"), before.at("RSETTING.INI"));
  expectSaved(store, states, 0, 1);

  ASSERT_TRUE(saveBoth(store, states, 1, 0));
  expectSaved(store, states, 0, 1);
  expectSaved(store, states, 1, 0);
  std::vector<std::string> left;
  for (const auto& [name, bytes] : snapshotFolder(dir.path())) left.push_back(name);
  EXPECT_EQ(left, (std::vector<std::string>{"RSETTING.INI", "R_MAIN.INI"}));
}
