// The fleet runs profile transactions from several threads of one process. Each transaction
// opens the lock file anew, and flock excludes between open file descriptions, so threads
// exclude each other as separate programs do: no registration is lost.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "history/history_file.h"
#include "service/profile_service.h"
#include "support/temp_dir.h"

namespace drovik {
namespace {

TEST(ThreadedTransactions, NoRegistrationIsLost) {
  test::TempDir dir;
  const StorePaths paths = StorePaths::inDirectory(dir.path());
  std::set<std::string> expected;
  std::vector<std::jthread> threads;
  for (int t = 0; t < 10; ++t) {
    const std::string name = "スレッド" + std::to_string(t);
    expected.insert({name, name + "-M"});
    threads.emplace_back([&paths, name] {
      ProfileService service(paths);
      ProfileModel model;
      EXPECT_TRUE(service.registerProfile(model, name, OnExisting::Refuse).isOk());
      EXPECT_TRUE(service.migrateProfile(name, name + "-M", OnExisting::Refuse).isOk());
    });
  }
  threads.clear();  // joined
  std::set<std::string> names;
  const auto slots = ProfileService(paths).readSlots();
  ASSERT_TRUE(slots.isOk());
  for (const ProfileSlot& slot : *slots)
    if (slot.registered()) names.insert(slot.name);
  EXPECT_EQ(names, expected);

  // Each change left its record, in the order of the changes.
  const auto history = history::HistoryFile(dir.path()).read();
  ASSERT_TRUE(history.isOk());
  std::set<std::string> recorded;
  for (const history::Record& record : history->records) {
    if (record.operation == "migrate") {
      EXPECT_TRUE(recorded.count(record.profile.substr(0, record.profile.size() - 2)))
          << record.profile;
    }
    recorded.insert(record.profile);
  }
  EXPECT_EQ(history->records.size(), expected.size());
  EXPECT_EQ(recorded, expected);
}

}  // namespace
}  // namespace drovik
