// The profile side of a fleet row: the old printer's images registered as NAME, migrated to
// NAME-M. Nobody is asked during a fleet run, so NAME-M is overwritten only when it is an
// earlier 8630-M copy; a profile of the old model that happens to bear the name is refused at
// the migrate step, in the real run and in the rehearsal alike, and stays as it was.
#include <gtest/gtest.h>

#include "model/profile_registry.h"
#include "service/profile_service.h"
#include "support/store_writes.h"
#include "support/temp_dir.h"

using namespace drovik;

namespace {

const std::string kMigrationCorpus = std::string(DROVIK_TEST_DATA_DIR) + "/corpus/nvram/";
const std::string kAllImage = kMigrationCorpus + "rnvr_all_1758.bin";
const std::string kMigrationImage = kMigrationCorpus + "rnvr_nw_13.bin";

class FleetMigrationTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ProfileService service{StorePaths::inDirectory(dir.path())};
  const ProfileStore& store = service.store();

  // A profile of its own, with a key no decoded profile has, registered as `modelType`.
  void addOther(const std::string& name, const std::string& modelType) {
    ProfileModel model;
    ASSERT_TRUE(service.registerProfile(model, name, OnExisting::Refuse));
    ASSERT_TRUE(test::writeSection(store, name, {"Mine=1"}));
    const int slot = findSlot(name);
    ASSERT_GE(slot, 0);
    ASSERT_TRUE(test::writeIndexEntry(store, slot, name, modelType));
  }
  int findSlot(const std::string& name) { return findSlotByName(*service.readSlots(), name); }
  std::string modelTypeOf(const std::string& name) {
    const int slot = findSlot(name);
    return slot < 0 ? "" : service.readSlots()->at(slot).modelType;
  }
  Result<MigrationRehearsal> rehearse(const std::string& name, MigrationStage& reached) {
    ProfileModel model;
    return service.rehearseMigration(model, name, name + "-M", kAllImage, kMigrationImage, reached);
  }
  // The real run's two steps; the migrate step's result.
  Result<Registered> run(const std::string& name) {
    ProfileModel model;
    auto decoded = service.registerDecoded(model, name, kAllImage, kMigrationImage);
    EXPECT_TRUE(decoded) << decoded.message();
    return service.migrateProfile(name, name + "-M", OnExisting::OverwriteModelM);
  }
};

TEST_F(FleetMigrationTest, AnOldModelProfileInPlaceOfTheCopyIsRefusedAtTheMigrateStep) {
  // Names match regardless of ASCII letter case, as the INI sections do.
  addOther("office-m", "8630-GHJK");
  const std::vector<std::string> before = *store.readSection("office-m");

  MigrationStage reached = MigrationStage::Register;
  const auto rehearsal = rehearse("Office", reached);
  ASSERT_FALSE(rehearsal);
  EXPECT_EQ(reached, MigrationStage::Migrate);
  EXPECT_NE(rehearsal.message().find("「office-m」は８６３０－Ｍ以外の設定"), std::string::npos)
      << rehearsal.message();

  const auto migrated = run("Office");
  ASSERT_FALSE(migrated);
  EXPECT_EQ(migrated.message(), rehearsal.message());
  EXPECT_EQ(*store.readSection("office-m"), before);
  EXPECT_EQ(modelTypeOf("office-m"), "8630-GHJK");
  EXPECT_EQ(modelTypeOf("Office"), "8630-GHJK");  // the register step stands

  // The interactive migration, where the operator agreed to overwrite, still may.
  ASSERT_TRUE(service.migrateProfile("Office", "Office-M", OnExisting::Overwrite));
  EXPECT_EQ(modelTypeOf("Office-M"), "8630-M");
}

TEST_F(FleetMigrationTest, AnEarlierCopyIsOverwritten) {
  addOther("Office-M", "8630-M");
  MigrationStage reached = MigrationStage::Register;
  const auto rehearsal = rehearse("Office", reached);
  ASSERT_TRUE(rehearsal) << rehearsal.message();
  EXPECT_TRUE(rehearsal->migrated.overwrote);
  EXPECT_EQ(*store.readSection("Office-M"), std::vector<std::string>{"Mine=1"});  // rehearsed

  const auto migrated = run("Office");
  ASSERT_TRUE(migrated) << migrated.message();
  EXPECT_TRUE(migrated->overwrote);
  EXPECT_EQ(migrated->slot, findSlot("Office-M"));
  EXPECT_EQ(modelTypeOf("Office-M"), "8630-M");
  EXPECT_EQ(*store.readSection("Office-M"), *store.readSection("Office"));
}

}  // namespace
