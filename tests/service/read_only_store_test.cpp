// A data folder opened read-only (a fleet row's archive): everything reads as usual, and no
// operation writes anything in the folder, not even the lock file, whatever it is asked.
#include <gtest/gtest.h>

#include <map>

#include "service/profile_service.h"
#include "support/temp_dir.h"
#include "transport/command_file.h"

using namespace drovik;

namespace {

namespace fs = std::filesystem;

const std::string kNvramCorpus = std::string(DROVIK_TEST_DATA_DIR) + "/corpus/nvram/";

// Every file of the folder with its bytes.
std::map<std::string, std::string> folderContents(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : fs::directory_iterator(folder))
    contents[entry.path().filename().string()] = test::readFile(entry.path());
  return contents;
}

TEST(ReadOnlyStore, ReadsButRefusesEveryChange) {
  test::TempDir dir;
  const StorePaths paths = StorePaths::inDirectory(dir.path());
  {
    ProfileService writable(paths);
    ProfileModel model;
    ASSERT_TRUE(writable.registerProfile(model, "本社", OnExisting::Refuse));
    ASSERT_TRUE(writable.migrateProfile("本社", "本社-M", OnExisting::Refuse));
  }
  fs::remove(dir / ".drovik.lock");
  const auto before = folderContents(dir.path());

  ProfileService folder(paths, StoreAccess::ReadOnly);
  ProfileModel model;
  ASSERT_TRUE(folder.loadProfile(model, "本社-M"));
  EXPECT_EQ(folder.readSlots()->at(1).name, "本社-M");

  const std::string refused = "読み取り専用で開いているため、変更できません: ";
  auto expectRefused = [&](const std::string& message, const char* what) {
    EXPECT_EQ(message.rfind(refused, 0), 0u) << what << ": " << message;
  };
  expectRefused(folder.registerProfile(model, "支社", OnExisting::Refuse).message(), "register");
  expectRefused(folder.registerProfile(model, "本社", OnExisting::Overwrite).message(),
                "overwrite");
  model.markAllForWriting();
  expectRefused(folder.saveChanges(model, "本社").message(), "save");
  expectRefused(folder.deleteProfile("本社").message(), "delete");
  expectRefused(folder.migrateProfile("本社", "本社-M", OnExisting::Overwrite).message(),
                "migrate");
  expectRefused(folder
                    .decodeIntoProfile(model, "本社", kNvramCorpus + "rnvr_all_1758.bin",
                                       kNvramCorpus + "rnvr_nw_13.bin")
                    .message(),
                "decode");
  expectRefused(folder.store().setSendAddress({10, 0, 0, 1}).message(), "remembered address");

  // A command file goes anywhere but into the folder itself, by whatever path it is named.
  fs::create_directory(dir / "sub");
  const auto inside =
      transport::writeCommandFile(folder, model, "本社-M", dir / "sub" / ".." / "本社-M.sib");
  EXPECT_FALSE(inside);
  EXPECT_NE(inside.message().find("読み取り専用で開いているフォルダには保存できません"),
            std::string::npos)
      << inside.message();
  test::TempDir elsewhere;
  ASSERT_TRUE(transport::writeCommandFile(folder, model, "本社-M", dir / "sub" / "本社-M.sib"));
  ASSERT_TRUE(transport::writeCommandFile(folder, model, "本社-M", elsewhere / "本社-M.sib"));
  fs::remove_all(dir / "sub");

  EXPECT_EQ(folderContents(dir.path()), before);
}

}  // namespace
