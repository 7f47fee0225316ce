// Profile files no program of ours would write: huge, with odd bytes, odd names or odd
// encodings. Reading must change no byte; saving one profile must change nothing outside
// its own section; nothing may crash or hang.
#include <gtest/gtest.h>

#include "hostile/cli_runner.h"
#include "hostile/complete_profile.h"
#include "hostile/file_checks.h"
#include "hostile/ini_layouts.h"
#include "hostile/time_guard.h"
#include "model/profile_store.h"
#include "support/store_writes.h"
#include "support/temp_dir.h"

using namespace drovik;
using namespace drovik::hostile;
using drovik::test::readFile;
using drovik::test::TempDir;
using drovik::test::writeFile;

namespace {

class HostileIniTest : public ::testing::TestWithParam<IniCase> {
 protected:
  TempDir dir;
  ProfileStore store{StorePaths::inDirectory(dir.path())};

  std::string settings() const { return readFile(store.paths().settingsFile); }

  // A save of the profile: refused (when expected) with nothing changed, or the bytes around
  // its section kept, the section's own foreign lines kept, and the saved text read back.
  void expectSaveKeepsTheRest(const IniLayout& l, const ProfileModel& model, bool refused) {
    const FolderSnapshot before = snapshotFolder(dir.path());
    const Status saved = test::saveSection(store, model, l.profile);
    ASSERT_EQ(saved.isOk(), !refused) << (saved ? "" : saved.message());
    if (!saved) {
      EXPECT_TRUE(saved.message().find("書き込めません") != std::string::npos ||
                  saved.message().find("使えません") != std::string::npos)
          << saved.message();
      EXPECT_TRUE(sameFolder(before, snapshotFolder(dir.path())));
      return;
    }
    const std::string after = settings();
    ASSERT_TRUE(keepsAround(l.before, l.after, after));
    const std::string middle =
        after.substr(l.before.size(), after.size() - l.before.size() - l.after.size());
    for (const std::string& kept : l.keptInSection)
      EXPECT_NE(middle.find(kept), std::string::npos) << "lost a foreign line of the section";
    EXPECT_EQ(readFile(store.paths().indexFile), l.index);
    ProfileModel loaded;
    ASSERT_TRUE(store.loadSection(loaded, l.profile));
    EXPECT_EQ(loaded.text.paper, model.text.paper);
    EXPECT_EQ(loaded.text.common, model.text.common);
    EXPECT_EQ(loaded.text.iface, model.text.iface);
    EXPECT_EQ(loaded.flags.state, model.flags.state);
  }
};

TEST_P(HostileIniTest, ReadsChangeNothingAndASaveOnlyItsSection) {
  const TimeGuard guard(std::string("HostileIni ") + GetParam().name, kCaseTimeLimit);
  const IniLayout l = GetParam().build();
  writeFile(store.paths().settingsFile, l.before + l.section + l.after);
  writeFile(store.paths().indexFile, l.index);
  const FolderSnapshot original = snapshotFolder(dir.path());

  ProfileSlotTable slots;
  ASSERT_TRUE(store.readAllSlots(slots));
  ProfileModel loaded;
  ASSERT_TRUE(store.loadSection(loaded, l.profile));
  if (l.check) l.check(store);
  const ProcessResult list = runCli({"--data-dir", dir.path().string(), "list"});
  EXPECT_TRUE(endedNormally(list)) << list.err;
  EXPECT_EQ(list.exitCode, 0) << list.err;
  ASSERT_TRUE(sameFolder(original, snapshotFolder(dir.path())));

  // What was loaded, saved back whole; then a profile with every value changed.
  loaded.refreshAndSnapshotCheckFlagTexts();
  loaded.markAllForWriting();
  expectSaveKeepsTheRest(l, loaded, l.nameRefused || l.loadedValuesUnwritable);
  writeFile(store.paths().settingsFile, l.before + l.section + l.after);
  expectSaveKeepsTheRest(l, completeProfile(11), l.nameRefused);
}

INSTANTIATE_TEST_SUITE_P(HostileIni, HostileIniTest, ::testing::ValuesIn(hostileIniCases()),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
