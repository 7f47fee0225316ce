// A save onto a full file system: refused with a message, both files left byte for byte.
// A small tmpfs makes the disk really full where mounting is allowed; elsewhere (an
// unprivileged CI container) the write is made to fail the same way through the seam.
#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstring>

#include "hostile/file_checks.h"
#include "hostile/loop_states.h"
#include "hostile/time_guard.h"
#include "support/store_writes.h"
#include "support/temp_dir.h"

using namespace drovik;
using namespace drovik::hostile;
using drovik::test::readFile;
using drovik::test::TempDir;

namespace {

// A tmpfs mounted for the test, detached again at the end.
class SmallTmpfs {
 public:
  explicit SmallTmpfs(const std::filesystem::path& where) : where_(where) {
    std::filesystem::create_directory(where_);
    mounted_ = ::mount("tmpfs", where_.c_str(), "tmpfs", 0, "size=256k") == 0;
    if (!mounted_) why_ = std::strerror(errno);
  }
  ~SmallTmpfs() {
    if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
  }
  SmallTmpfs(const SmallTmpfs&) = delete;
  SmallTmpfs& operator=(const SmallTmpfs&) = delete;
  bool mounted() const { return mounted_; }
  const std::string& why() const { return why_; }

 private:
  std::filesystem::path where_;
  bool mounted_ = false;
  std::string why_;
};

// Writes until the file system has no block left.
void fillUp(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  ASSERT_GE(fd, 0);
  const std::string block(4096, 'f');
  std::size_t total = 0;
  while (total < std::size_t{64} << 20) {
    const ssize_t n = ::write(fd, block.data(), block.size());
    if (n <= 0) break;
    total += static_cast<std::size_t>(n);
  }
  ::close(fd);
  ASSERT_LT(total, std::size_t{64} << 20) << "the file system never filled up";
}

void expectRefused(const Status& status, const std::filesystem::path& file) {
  ASSERT_FALSE(status);
  EXPECT_NE(status.message().find("保存できません"), std::string::npos) << status.message();
  EXPECT_NE(status.message().find(file.filename().string()), std::string::npos) << status.message();
}

}  // namespace

TEST(CrashSafety, SaveOntoAFullDiskIsRefusedAndKeepsTheOldFiles) {
  const TimeGuard guard("CrashSafety.SaveOntoAFullDiskIsRefusedAndKeepsTheOldFiles",
                        kCaseTimeLimit);
  const TempDir dir;
  const SmallTmpfs tmpfs(dir / "disk");
  const bool realDisk = tmpfs.mounted();
  if (!realDisk) {
    std::cout << "[ NOTE     ] tmpfs not mounted (" << tmpfs.why()
              << "); the write failure is injected instead\n";
  }
  const ProfileStore store(StorePaths::inDirectory(dir / "disk"));
  const LoopStates states;
  ASSERT_TRUE(states.apply(store, 0, 0));
  ASSERT_TRUE(states.apply(store, 1, 0));
  const FolderSnapshot before = snapshotFolder(dir / "disk");
  if (realDisk) fillUp(dir / "disk" / "filler");
  const FolderSnapshot full = snapshotFolder(dir / "disk");

  if (!realDisk) ini::injectWriteFaultForTesting(ini::WriteFault::Write);
  expectRefused(test::saveSection(store, states.model(0, 1), hostile::LoopStates::profileName(0)),
                store.paths().settingsFile);
  if (!realDisk) ini::injectWriteFaultForTesting(ini::WriteFault::Write);
  expectRefused(
      test::writeIndexEntry(store, 0, LoopStates::profileName(0), LoopStates::modelType(1)),
      store.paths().indexFile);
  EXPECT_TRUE(sameFolder(full, snapshotFolder(dir / "disk")));  // no temporary file left

  // Once there is room again, the same save goes through.
  std::filesystem::remove(dir / "disk" / "filler");
  EXPECT_TRUE(sameFolder(before, snapshotFolder(dir / "disk")));
  ASSERT_TRUE(test::saveSection(store, states.model(0, 1), hostile::LoopStates::profileName(0)));
  ProfileModel loaded;
  ASSERT_TRUE(store.loadSection(loaded, LoopStates::profileName(0)));
  EXPECT_EQ(loaded.text.paper, states.model(0, 1).text.paper);
}
