#include "files/safe_open.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "support/temp_dir.h"

namespace drovik {
namespace {

namespace fs = std::filesystem;

TEST(SafeOpen, OpensThisUsersRegularFileAndCreatesAMissingOne) {
  test::TempDir dir;
  test::writeFile(dir / "mine", "bytes");
  const SafelyOpenedFile mine = openSafely(dir / "mine", O_RDONLY);
  ASSERT_TRUE(mine);
  EXPECT_TRUE(mine.fd.valid());
  EXPECT_EQ(mine.info.st_size, 5);

  const SafelyOpenedFile created = openSafely(AT_FDCWD, dir / "new", O_WRONLY | O_CREAT, 0600);
  ASSERT_TRUE(created);
  EXPECT_TRUE(fs::is_regular_file(dir / "new"));

  const SafelyOpenedFile missing = openSafely(dir / "absent", O_RDONLY);
  EXPECT_EQ(missing.failure, SafeOpenFailure::Open);
  EXPECT_EQ(missing.error, ENOENT);
  EXPECT_FALSE(missing.fd.valid());
}

TEST(SafeOpen, RefusesALinkEvenToThisUsersFile) {
  test::TempDir dir;
  test::writeFile(dir / "target", "bytes");
  fs::create_symlink(dir / "target", dir / "link");
  const SafelyOpenedFile file = openSafely(dir / "link", O_RDONLY);
  EXPECT_EQ(file.failure, SafeOpenFailure::Link);
  EXPECT_FALSE(file.fd.valid());
}

TEST(SafeOpen, RefusesAFolderAndAFifoWithoutWaitingOnIt) {
  test::TempDir dir;
  fs::create_directory(dir / "folder");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);

  // Read-only, a folder and a FIFO open; what was opened is then refused.
  EXPECT_EQ(openSafely(dir / "folder", O_RDONLY).failure, SafeOpenFailure::NotRegular);
  EXPECT_EQ(openSafely(dir / "fifo", O_RDONLY).failure, SafeOpenFailure::NotRegular);
  // For writing, open(2) itself refuses them: no reader holds the FIFO, so it never blocks.
  EXPECT_EQ(openSafely(dir / "folder", O_WRONLY).failure, SafeOpenFailure::Special);
  EXPECT_EQ(openSafely(dir / "fifo", O_WRONLY).failure, SafeOpenFailure::Special);
}

TEST(SafeOpen, RefusesAnotherUsersFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
  test::TempDir dir;
  test::writeFile(dir / "theirs", "bytes");
  ASSERT_EQ(::chown((dir / "theirs").c_str(), 65534, 65534), 0);
  const SafelyOpenedFile file = openSafely(dir / "theirs", O_RDONLY);
  EXPECT_EQ(file.failure, SafeOpenFailure::OthersFile);
  EXPECT_FALSE(file.fd.valid());
}

TEST(SafeOpen, OpensRelativeToAFolderDescriptor) {
  test::TempDir dir;
  test::writeFile(dir / "mine", "bytes");
  fs::create_symlink(dir / "mine", dir / "link");
  const FileDescriptor folder = openFile(dir.path(), O_PATH | O_DIRECTORY);
  ASSERT_TRUE(folder.valid());
  EXPECT_TRUE(openSafely(folder.get(), "mine", O_RDONLY));
  EXPECT_EQ(openSafely(folder.get(), "link", O_RDONLY).failure, SafeOpenFailure::Link);
}

}  // namespace
}  // namespace drovik
