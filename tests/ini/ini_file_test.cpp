#include "ini/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace drovik::ini {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
 protected:
  void TearDown() override { injectWriteFaultForTesting(WriteFault::None); }

  static void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  // Everything in the folder except the lock file, to spot leftover temporary files.
  std::vector<std::string> folderContents() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      if (name != ".drovik.lock") names.push_back(name);
    }
    return names;
  }
  static Status setValue(const IniFile& file, const std::string& key, const std::string& value) {
    return file.update([&](IniDocument& doc) { return doc.writeText("S", key, value); });
  }

  test::TempDir temp_;
  const fs::path& dir_ = temp_.path();
};

TEST_F(IniFileTest, MissingFileReadsEmptyAndUpdateCreatesIt) {
  const IniFile file(dir_ / "R_MAIN.INI");
  const Result<IniDocument> empty = file.read();
  ASSERT_TRUE(empty.isOk()) << empty.message();
  EXPECT_TRUE(empty->sectionNames().empty());

  ASSERT_TRUE(setValue(file, "k", "v").isOk());
  EXPECT_EQ(readBytes(file.path()), "[S]\r\nk=v\r\n");
  EXPECT_EQ(file.read()->readText("S", "k"), "v");
}

TEST_F(IniFileTest, UpdateRereadsTheFileAndKeepsOtherChanges) {
  const IniFile file(dir_ / "R_MAIN.INI");
  writeBytes(file.path(), "[S]\r\na=1\r\n");
  ASSERT_TRUE(setValue(file, "b", "2").isOk());
  writeBytes(file.path(), readBytes(file.path()) + "[T]\r\nc=3\r\n");  // another program
  ASSERT_TRUE(setValue(file, "a", "9").isOk());
  EXPECT_EQ(readBytes(file.path()), "[S]\r\na=9\r\nb=2\r\n[T]\r\nc=3\r\n");
}

TEST_F(IniFileTest, NothingIsWrittenWhenTheEditChangesNothingOrFails) {
  const IniFile file(dir_ / "R_MAIN.INI");
  writeBytes(file.path(), "[S]\r\nk=v\r\n");
  struct stat before {};
  ASSERT_EQ(::stat(file.path().c_str(), &before), 0);

  ASSERT_TRUE(setValue(file, "k", "v").isOk());
  const Status failed = file.update([](IniDocument& doc) -> Status {
    static_cast<void>(doc.writeText("S", "k", "changed"));
    return Error{"中止"};
  });
  ASSERT_FALSE(failed.isOk());
  EXPECT_EQ(failed.message(), file.path().string() + ": 中止");  // names the file

  struct stat after {};
  ASSERT_EQ(::stat(file.path().c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);  // never replaced
  EXPECT_EQ(readBytes(file.path()), "[S]\r\nk=v\r\n");
}

TEST_F(IniFileTest, FailedWriteStepsLeaveTheOldFileAndNoTemporaryFile) {
  const IniFile file(dir_ / "R_MAIN.INI");
  const std::string original = "[S]\r\nk=old\r\n";
  for (const WriteFault fault : {WriteFault::CreateTemporary, WriteFault::Write, WriteFault::Sync,
                                 WriteFault::Rename, WriteFault::DirectorySync}) {
    writeBytes(file.path(), original);
    injectWriteFaultForTesting(fault);
    const Status status = setValue(file, "k", std::string(100000, 'x'));
    ASSERT_FALSE(status.isOk()) << static_cast<int>(fault);
    EXPECT_NE(status.message().find(file.path().string()), std::string::npos);
    EXPECT_EQ(readBytes(file.path()), original);
    EXPECT_EQ(folderContents(), std::vector<std::string>{"R_MAIN.INI"});
  }
  ASSERT_TRUE(setValue(file, "k", "new").isOk());  // the fault does not linger
}

TEST_F(IniFileTest, TemporaryFilesOfAKilledWriterAreRemovedByTheNextSave) {
  const IniFile file(dir_ / "R_MAIN.INI");
  writeBytes(dir_ / ".R_MAIN.INI.tmp4242-0", "half");
  writeBytes(dir_ / ".RSETTING.INI.tmp4242-0", "another file's");
  writeBytes(dir_ / "notes.txt", "mine");
  ASSERT_TRUE(setValue(file, "k", "v").isOk());
  auto contents = folderContents();
  std::sort(contents.begin(), contents.end());
  EXPECT_EQ(contents,
            (std::vector<std::string>{".RSETTING.INI.tmp4242-0", "R_MAIN.INI", "notes.txt"}));
}

TEST_F(IniFileTest, FolderInPlaceOfTheFileIsAnError) {
  const IniFile file(dir_ / "R_MAIN.INI");
  fs::create_directory(file.path());
  const Result<IniDocument> read = file.read();
  ASSERT_FALSE(read.isOk());
  EXPECT_NE(read.message().find(file.path().string()), std::string::npos);
  EXPECT_FALSE(setValue(file, "k", "v").isOk());
  EXPECT_TRUE(fs::is_directory(file.path()));
}

TEST_F(IniFileTest, PathBelowARegularFileIsAnErrorNotAnEmptyFile) {
  writeBytes(dir_ / "plain", "x");
  const IniFile file(dir_ / "plain" / "R_MAIN.INI");
  EXPECT_FALSE(file.read().isOk());
  EXPECT_FALSE(setValue(file, "k", "v").isOk());
}

TEST_F(IniFileTest, UnusableLockFileStopsTheUpdate) {
  const IniFile file(dir_ / "R_MAIN.INI");
  writeBytes(file.path(), "[S]\r\nk=old\r\n");
  fs::create_directory(dir_ / ".drovik.lock");
  const Status status = setValue(file, "k", "new");
  ASSERT_FALSE(status.isOk());
  EXPECT_NE(status.message().find(".drovik.lock"), std::string::npos);
  EXPECT_EQ(readBytes(file.path()), "[S]\r\nk=old\r\n");
}

TEST_F(IniFileTest, ReplacementKeepsPermissionBits) {
  const IniFile file(dir_ / "R_MAIN.INI");
  writeBytes(file.path(), "[S]\r\nk=old\r\n");
  fs::permissions(file.path(),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(setValue(file, "k", "new").isOk());
  EXPECT_EQ(fs::status(file.path()).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniFileTest, SymbolicLinkIsWrittenThrough) {
  fs::create_directory(dir_ / "real");
  writeBytes(dir_ / "real" / "R_MAIN.INI", "[S]\r\nk=old\r\n");
  fs::create_symlink(fs::path("real") / "R_MAIN.INI", dir_ / "link.ini");
  const IniFile file(dir_ / "link.ini");
  ASSERT_TRUE(setValue(file, "k", "new").isOk());
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.ini"));
  EXPECT_EQ(readBytes(dir_ / "real" / "R_MAIN.INI"), "[S]\r\nk=new\r\n");
}

TEST_F(IniFileTest, OversizedFileIsRefusedUnread) {
  const IniFile file(dir_ / "R_MAIN.INI");
  writeBytes(file.path(), "");
  fs::resize_file(file.path(), std::uintmax_t{257} * 1024 * 1024);  // sparse
  const Result<IniDocument> read = file.read();
  ASSERT_FALSE(read.isOk());
  EXPECT_NE(read.message().find("256"), std::string::npos);
}

TEST_F(IniFileTest, ConcurrentUpdatesLoseNoKey) {
  const IniFile file(dir_ / "R_MAIN.INI");
  constexpr int kThreads = 4;
  constexpr int kWritesEach = 20;
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([&file, t] {
      for (int i = 0; i < kWritesEach; ++i) {
        const std::string key = "t" + std::to_string(t) + "_" + std::to_string(i);
        EXPECT_TRUE(setValue(file, key, std::to_string(i)).isOk());
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  const Result<IniDocument> doc = file.read();
  ASSERT_TRUE(doc.isOk());
  EXPECT_EQ(doc->readSection("S").size(), std::size_t{kThreads * kWritesEach});
}

}  // namespace
}  // namespace drovik::ini
