#include "service/profile_service.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "model/profile_registry.h"
#include "support/store_writes.h"
#include "support/temp_dir.h"
#include "transport/command_file.h"

using namespace drovik;

namespace {

namespace fs = std::filesystem;

class ProfileServiceTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ProfileService service{StorePaths::inDirectory(dir.path())};
  const ProfileStore& store = service.store();

  void add(const std::string& name, int selectUser = 0) {
    ProfileModel model;
    model.setSelectUser(selectUser);
    ASSERT_TRUE(service.registerProfile(model, name, OnExisting::Refuse));
  }
  ProfileSlotTable slots() { return *service.readSlots(); }
  std::vector<std::string> names() {
    std::vector<std::string> out;
    for (const auto& slot : slots()) out.push_back(slot.name);
    while (!out.empty() && out.back().empty()) out.pop_back();
    return out;
  }
  std::vector<std::string> section(const std::string& name) { return *store.readSection(name); }
};

TEST_F(ProfileServiceTest, RegistrationFillsTheFirstFreeSlotWithEveryKey) {
  add("A");
  add("B", 2);
  EXPECT_EQ(names(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(slots()[1].modelType, "8630-GHJK");
  EXPECT_EQ(slots()[1].initialUserText, "ユーザー３");
  EXPECT_EQ(section("B").size(), std::size_t{cat::kProfileKeyCount});
}

TEST_F(ProfileServiceTest, ExistingNameIsRefusedOrOverwrittenInPlace) {
  add("Abc");
  ASSERT_TRUE(test::writeIndexEntry(store, 0, "Abc", "8630-M"));
  ASSERT_TRUE(test::writeSection(store, "Abc", {"Extra=1"}));
  ProfileModel model;
  // Letter case does not make another profile: the INI would give both one section.
  auto refused = service.registerProfile(model, "ABC", OnExisting::Refuse);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.message(), overwriteQuestion("ABC"));

  model.setSelectUser(4);
  auto overwritten = service.registerProfile(model, "ABC", OnExisting::Overwrite);
  ASSERT_TRUE(overwritten);
  EXPECT_EQ(overwritten->slot, 0);
  EXPECT_TRUE(overwritten->overwrote);
  EXPECT_EQ(names(), std::vector<std::string>{"Abc"});
  EXPECT_EQ(slots()[0].modelType, "8630-M");  // the index entry stays
  const auto lines = section("Abc");
  EXPECT_EQ(lines.size(), std::size_t{cat::kProfileKeyCount} + 1);  // other keys stay
  EXPECT_NE(std::find(lines.begin(), lines.end(), "SelectUser=4"), lines.end());
}

TEST_F(ProfileServiceTest, LimitOfTwentyHoldsEvenForAnOverwrite) {
  for (int i = 0; i < cat::kSlotCount; ++i) add("P" + std::to_string(i));
  ProfileModel model;
  for (const char* name : {"new", "P3"})
    EXPECT_EQ(service.registerProfile(model, name, OnExisting::Overwrite).message(),
              "20個以上は登録できません");
  EXPECT_TRUE(service.previewRegistration("x")->limitReached);
}

TEST_F(ProfileServiceTest, NamesTheSettingsFileCannotHoldAreRefusedBeforeWriting) {
  ProfileModel model;
  for (const char* name : {"a]b", "[x", " lead", "trail\t", "line\nbreak", "😀"})
    EXPECT_FALSE(service.registerProfile(model, name, OnExisting::Refuse)) << name;
  EXPECT_FALSE(fs::exists(store.paths().settingsFile));
  EXPECT_FALSE(fs::exists(store.paths().indexFile));
}

TEST_F(ProfileServiceTest, DeletionCompactsTheIndexAndKeepsOtherSections) {
  add("A");
  add("B");
  add("C");
  ASSERT_TRUE(test::writeIndexEntry(store, 2, "C", "8630-M"));
  ASSERT_TRUE(service.deleteProfile("A"));
  EXPECT_EQ(names(), (std::vector<std::string>{"B", "C"}));
  EXPECT_EQ(slots()[1].modelType, "8630-M");
  EXPECT_FALSE(store.indexName(2)->size());
  EXPECT_TRUE(section("A").empty());
  EXPECT_EQ(section("B").size(), std::size_t{cat::kProfileKeyCount});

  EXPECT_NE(service.deleteProfile("A").message().find("登録されていません"), std::string::npos);
}

TEST_F(ProfileServiceTest, DeletionKeepsASectionThatAnotherEntryStillNames) {
  add("abc");
  ASSERT_TRUE(test::writeIndexEntry(store, 1, "ABC", "8630-GHJK"));  // a hand-edited index
  ASSERT_TRUE(service.deleteProfile("ABC"));
  EXPECT_EQ(names(), std::vector<std::string>{"abc"});
  EXPECT_EQ(section("abc").size(), std::size_t{cat::kProfileKeyCount});
}

TEST_F(ProfileServiceTest, MigrationCopiesTheSectionUnderTheNewNameAsM) {
  add("A", 1);
  add("C");
  ASSERT_TRUE(test::writeSection(store, "C", {"OnlyInC=1"}));
  const auto before = section("A");

  auto copy = service.migrateProfile("A", "B", OnExisting::Refuse);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->slot, 2);
  EXPECT_EQ(section("B"), before);
  EXPECT_EQ(slots()[0].modelType, "8630-GHJK");
  EXPECT_EQ(slots()[2].modelType, "8630-M");

  // Onto another profile: its section is replaced entirely.
  EXPECT_EQ(service.migrateProfile("A", "C", OnExisting::Refuse).message(), overwriteQuestion("C"));
  ASSERT_TRUE(service.migrateProfile("A", "C", OnExisting::Overwrite));
  EXPECT_EQ(section("C"), before);
  // Onto itself: the profile becomes M with its values.
  ASSERT_TRUE(service.migrateProfile("A", "A", OnExisting::Overwrite));
  EXPECT_EQ(section("A"), before);
  EXPECT_EQ(slots()[0].modelType, "8630-M");
  EXPECT_EQ(names(), (std::vector<std::string>{"A", "C", "B"}));
  // An M profile is not migrated again.
  EXPECT_FALSE(service.migrateProfile("A", "D", OnExisting::Refuse));
}

TEST_F(ProfileServiceTest, LongSectionsAreCopiedWhole) {
  add("A");
  auto lines = section("A");
  for (int i = 0; i < 200; ++i)
    lines.push_back("Extra" + std::to_string(i) + "=" + std::string(500, 'x'));
  ASSERT_TRUE(test::writeSection(store, "A", lines));
  ASSERT_TRUE(service.migrateProfile("A", "B", OnExisting::Refuse));
  EXPECT_EQ(section("B"), lines);  // well over 65535 characters
}

TEST_F(ProfileServiceTest, SavingChangesNeedsTheProfileStillRegistered) {
  add("A");
  ProfileModel model;
  ASSERT_TRUE(service.loadProfile(model, "A"));
  model.setSelectUser(6);
  ASSERT_TRUE(service.saveChanges(model, "a"));
  EXPECT_EQ(slots()[0].initialUserText, "ユーザー７");
  ASSERT_TRUE(service.deleteProfile("A"));
  model.setSelectUser(2);
  EXPECT_NE(service.saveChanges(model, "A").message().find("登録されていません"),
            std::string::npos);
  EXPECT_TRUE(section("A").empty());  // no section without its index entry
}

TEST_F(ProfileServiceTest, ALoadTellsWhereAndWhatItFoundInTheSameRead) {
  add("A", 3);
  ASSERT_TRUE(service.migrateProfile("A", "B", OnExisting::Refuse));
  ProfileModel model;
  auto b = service.loadProfile(model, "b");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->slot, 1);
  EXPECT_EQ(b->section, "B");
  EXPECT_EQ(b->modelType, "8630-M");
  EXPECT_EQ(model.values.selectUser, 3);
  EXPECT_NE(service.loadProfile(model, "C").message().find("登録されていません"),
            std::string::npos);
}

// The window's list and a slot number go stale when another copy deletes an earlier profile;
// a command prepared by name is still the named profile's, coded for its own model type.
TEST_F(ProfileServiceTest, CommandFollowsTheNameWhenEarlierProfilesAreDeleted) {
  add("AAA");
  add("DDD", 5);
  add("CCC", 2);
  ASSERT_TRUE(service.migrateProfile("CCC", "BBB", OnExisting::Refuse));
  ProfileModel model;
  auto before = service.prepareProfileCommand(model, "BBB");
  ASSERT_TRUE(before);
  ASSERT_TRUE(service.deleteProfile("AAA"));
  auto after = service.prepareProfileCommand(model, "BBB");
  ASSERT_TRUE(after);
  EXPECT_EQ(after->variant, CommandVariant::M);
  EXPECT_EQ(after->image.bytes, before->image.bytes);
  ASSERT_TRUE(service.deleteProfile("BBB"));
  EXPECT_NE(service.prepareProfileCommand(model, "BBB").message().find("登録されていません"),
            std::string::npos);
}

// Another copy deletes and re-registers a profile without pause (a deletion replaces the
// index before the settings file). A load sees the profile with its values or not at all,
// never an index entry read with a settings file that has lost its section (the defaults).
TEST_F(ProfileServiceTest, ALoadNeverPairsAnIndexWithASettingsFileOfAnotherState) {
  add("keep");
  ProfileModel marked;
  marked.setSelectUser(7);
  ASSERT_TRUE(service.registerProfile(marked, "X", OnExisting::Refuse));
  std::atomic<bool> stop = false;
  std::thread other([&] {
    ProfileService copy(StorePaths::inDirectory(dir.path()));
    ProfileModel values;
    values.setSelectUser(7);
    while (!stop) {
      (void)copy.deleteProfile("X");
      (void)copy.registerProfile(values, "X", OnExisting::Overwrite);
    }
  });
  int found = 0;
  for (int i = 0; i < 400; ++i) {
    ProfileModel model;
    if (auto loaded = service.loadProfile(model, "X")) {
      ++found;
      ASSERT_EQ(model.values.selectUser, 7) << "after " << found << " loads";
    }
  }
  stop = true;
  other.join();
  EXPECT_GT(found, 0);
}

TEST_F(ProfileServiceTest, CommandFileIsReplacedWholeOrNotAtAll) {
  add("A");
  const fs::path file = dir.path() / "out.sib";
  ProfileModel model;
  auto written = transport::writeCommandFile(service, model, "A", file);
  ASSERT_TRUE(written);
  EXPECT_EQ(fs::file_size(file), written->image.bytes.size());

  std::ofstream(file, std::ios::binary) << "old";
  injectWriteFaultForTesting(WriteFault::Write);
  EXPECT_FALSE(transport::writeCommandFile(service, model, "A", file));
  std::stringstream kept;
  kept << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_EQ(kept.str(), "old");
  // The two profile files, the lock, the history and out.sib: no temporary file left.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 5);
}

}  // namespace

namespace {

TEST_F(ProfileServiceTest, EveryFieldAtItsCapacityComesBackUnchanged) {
  const std::string name = [] {
    std::string sixty;
    for (int i = 0; i < 30; ++i) sixty += "帳ｱ";  // kanji and half-width kana: 60 UTF-16 units
    return sixty;
  }();
  ProfileModel model;
  for (int u = 0; u < cat::kUserCount; ++u) {
    model.setUserName(u, u % 2 ? "ｱｲｳｴｵｶｷｸｹｺ" : "ABCDEFGH-" + std::to_string(u));
    for (int m = 0; m < cat::kMarginCount; ++m)
      model.setMargin(u, cat::kMarginPaperItems[m], m % 2 ? "-0000025.4" : "0000000254");
  }
  model.setIfChgTime(255);
  for (int item : {cat::kIpAddress, cat::kSubnetMask, cat::kDefaultGateway})
    for (int octet = 0; octet < 4; ++octet) model.setOctet(item, octet, 255);
  ASSERT_TRUE(service.registerProfile(model, name, OnExisting::Refuse));

  ProfileModel loaded;
  auto found = service.loadProfile(loaded, name);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->section, name);
  EXPECT_EQ(loaded.text.userName, model.text.userName);
  EXPECT_EQ(loaded.text.paper, model.text.paper);
  EXPECT_EQ(loaded.text.iface, model.text.iface);
  EXPECT_EQ(loaded.values.paper[0].margin, model.values.paper[0].margin);
  EXPECT_EQ(loaded.values.iface.ifChgTimeText, "255");
}

}  // namespace

namespace {

TEST_F(ProfileServiceTest, DecodingOntoAnotherBaseCarriesItsFlagsIntoTheTarget) {
  const std::string corpus = std::string(DROVIK_TEST_DATA_DIR) + "/corpus/nvram/";
  ProfileModel base;
  base.flags.state.fill(0);
  ASSERT_TRUE(service.registerProfile(base, "B", OnExisting::Refuse));
  add("A");
  ProfileModel model;
  ASSERT_TRUE(service.decodeIntoProfile(model, "A", corpus + "rnvr_all_1758.bin",
                                        corpus + "rnvr_nw_13.bin", "B"));
  ProfileModel target;
  ASSERT_TRUE(service.loadProfile(target, "A"));
  EXPECT_EQ(target.flags.state, base.flags.state);
}

}  // namespace
