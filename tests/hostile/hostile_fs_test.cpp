// The settings file where something else stands: a folder, a file root cannot read, a path
// through a regular file, symbolic links. Each is an error with a message, or (links) is
// written through; nothing in the folder changes on an error.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "hostile/cli_runner.h"
#include "hostile/complete_profile.h"
#include "hostile/file_checks.h"
#include "hostile/time_guard.h"
#include "model/profile_store.h"
#include "support/store_writes.h"
#include "support/temp_dir.h"

using namespace drovik;
using namespace drovik::hostile;
using drovik::test::readFile;
using drovik::test::TempDir;
using drovik::test::writeFile;
namespace fs = std::filesystem;

namespace {

const std::string kIndex = "[SetName]\r\nSet0=P\r\n[MTypeName]\r\nMType0=8630-GHJK\r\n";
const std::string kSettings = "[P]\r\nUser01_FormLenFront=4\r\n";

class HostileFsTest : public ::testing::Test {
 protected:
  TempDir dir;
  ProfileStore store{StorePaths::inDirectory(dir.path())};

  // Loading, listing and saving all fail with a message naming the file; nothing changes.
  void expectEveryUseFails(const ProfileStore& where, const fs::path& named) {
    const FolderSnapshot before = snapshotFolder(dir.path());
    ProfileModel model;
    ProfileSlotTable slots;
    const Status read = where.readAllSlots(slots);
    ASSERT_FALSE(read);
    EXPECT_NE(read.message().find(named.string()), std::string::npos) << read.message();
    EXPECT_FALSE(where.loadSection(model, "P"));
    EXPECT_FALSE(test::saveSection(where, completeProfile(2), "P"));
    EXPECT_FALSE(test::deleteSection(where, "P"));
    EXPECT_TRUE(sameFolder(before, snapshotFolder(dir.path())));
  }
};

// Runs body in a child process as an ordinary user, for whom file permissions count.
// Returns false when that user cannot be taken on.
bool runAsUnprivileged(const std::function<int()>& body, int& exitCode) {
  const passwd* nobody = ::getpwnam("nobody");
  if (!nobody) return false;
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(125);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) == 125) return false;
  exitCode = WEXITSTATUS(status);
  return true;
}

}  // namespace

TEST_F(HostileFsTest, SettingsFileIsAFolder) {
  const TimeGuard guard("HostileFsTest.SettingsFileIsAFolder", kCaseTimeLimit);
  writeFile(store.paths().indexFile, kIndex);
  fs::create_directory(store.paths().settingsFile);
  writeFile(store.paths().settingsFile / "inside", "x");
  expectEveryUseFails(store, store.paths().settingsFile);
  const ProcessResult list = runCli({"--data-dir", dir.path().string(), "list"});
  ASSERT_TRUE(endedNormally(list));
  EXPECT_EQ(list.exitCode, 1);
  EXPECT_NE(list.err.find("フォルダー"), std::string::npos) << list.err;
}

TEST_F(HostileFsTest, FifoIsRefusedWithoutBlocking) {
  const TimeGuard guard("HostileFsTest.FifoIsRefusedWithoutBlocking", kCaseTimeLimit);
  writeFile(store.paths().indexFile, kIndex);
  ASSERT_EQ(::mkfifo(store.paths().settingsFile.c_str(), 0644), 0);  // nobody ever writes
  expectEveryUseFails(store, store.paths().settingsFile);
}

TEST_F(HostileFsTest, PathThroughARegularFile) {
  const TimeGuard guard("HostileFsTest.PathThroughARegularFile", kCaseTimeLimit);
  writeFile(dir / "plain", "not a folder");
  const ProfileStore through(StorePaths::inDirectory(dir / "plain"));
  expectEveryUseFails(through, through.paths().indexFile);
  EXPECT_FALSE(test::writeIndexEntry(through, 0, "P", "8630-GHJK"));
  EXPECT_EQ(readFile(dir / "plain"), "not a folder");
  const ProcessResult list = runCli({"--data-dir", (dir / "plain").string(), "list"});
  ASSERT_TRUE(endedNormally(list));
  EXPECT_EQ(list.exitCode, 1);
  EXPECT_NE(list.err.find("drovik-cli: "), std::string::npos);
}

TEST_F(HostileFsTest, UnreadableSettingsFile) {
  const TimeGuard guard("HostileFsTest.UnreadableSettingsFile", kCaseTimeLimit);
  writeFile(store.paths().indexFile, kIndex);
  writeFile(store.paths().settingsFile, kSettings);
  fs::permissions(dir.path(), fs::perms::all);  // others may create the lock files
  fs::permissions(store.paths().settingsFile, fs::perms::none);
  const FolderSnapshot before = snapshotFolder(dir.path());

  // Exit code: which use wrongly succeeded, 0 when every one failed.
  const auto useEverything = [this]() -> int {
    ProfileModel model;
    ProfileSlotTable slots;
    if (store.readAllSlots(slots)) return 1;
    const Status load = store.loadSection(model, "P");
    if (load || load.message().find("読み込めません") == std::string::npos) return 2;
    if (test::saveSection(store, completeProfile(2), "P")) return 3;
    return 0;
  };
  int failedUse = -1;
  if (::geteuid() != 0) {
    failedUse = useEverything();
  } else if (!runAsUnprivileged(useEverything, failedUse)) {
    GTEST_SKIP() << "running as root and cannot switch to the user nobody, so no file is "
                    "unreadable here";
  }
  EXPECT_EQ(failedUse, 0);
  EXPECT_TRUE(sameFolder(before, snapshotFolder(dir.path())));
  EXPECT_EQ(fs::status(store.paths().settingsFile).permissions(), fs::perms::none);
}

TEST_F(HostileFsTest, SymbolicLinksAreWrittenThroughAndStayLinks) {
  const TimeGuard guard("HostileFsTest.SymbolicLinksAreWrittenThroughAndStayLinks", kCaseTimeLimit);
  fs::create_directories(dir / "elsewhere");
  fs::create_directories(dir / "store");
  writeFile(dir / "elsewhere" / "settings.ini", kSettings);
  writeFile(dir / "elsewhere" / "index.ini", kIndex);
  fs::create_symlink(fs::path("..") / "elsewhere" / "settings.ini", dir / "store" / "RSETTING.INI");
  fs::create_symlink(dir / "elsewhere" / "index.ini", dir / "store" / "R_MAIN.INI");
  const ProfileStore linked(StorePaths::inDirectory(dir / "store"));
  const FolderSnapshot storeBefore = snapshotFolder(dir / "store");

  const ProfileModel saved = completeProfile(4);
  ASSERT_TRUE(test::saveSection(linked, saved, "P"));
  ASSERT_TRUE(test::writeIndexEntry(linked, 1, "Q", "8630-M"));
  EXPECT_TRUE(sameFolder(storeBefore, snapshotFolder(dir / "store")));  // links, nothing else
  ProfileModel loaded;
  ASSERT_TRUE(linked.loadSection(loaded, "P"));
  EXPECT_EQ(loaded.text.paper, saved.text.paper);
  EXPECT_NE(readFile(dir / "elsewhere" / "index.ini").find("Set1=Q\r\n"), std::string::npos);
}

TEST_F(HostileFsTest, DanglingAndLoopingLinks) {
  const TimeGuard guard("HostileFsTest.DanglingAndLoopingLinks", kCaseTimeLimit);
  // A link to a file not there yet: reads as empty, the save creates the target.
  fs::create_directories(dir / "elsewhere");
  fs::create_symlink(dir / "elsewhere" / "new.ini", store.paths().settingsFile);
  ProfileModel model;
  ASSERT_TRUE(store.loadSection(model, "P"));
  ASSERT_TRUE(test::saveSection(store, completeProfile(4), "P"));
  EXPECT_TRUE(fs::is_symlink(store.paths().settingsFile));
  EXPECT_EQ(readFile(dir / "elsewhere" / "new.ini").rfind("[P]\r\n", 0), 0u);

  // A link to itself: an error, and the link stays.
  fs::create_symlink("R_MAIN.INI", store.paths().indexFile);
  ProfileSlotTable slots;
  EXPECT_FALSE(store.readAllSlots(slots));
  EXPECT_FALSE(test::writeIndexEntry(store, 0, "P", "8630-GHJK"));
  EXPECT_EQ(fs::read_symlink(store.paths().indexFile), "R_MAIN.INI");
  const ProcessResult list = runCli({"--data-dir", dir.path().string(), "list"});
  ASSERT_TRUE(endedNormally(list));
  EXPECT_EQ(list.exitCode, 1);
  EXPECT_NE(list.err.find("シンボリックリンク"), std::string::npos) << list.err;
}
