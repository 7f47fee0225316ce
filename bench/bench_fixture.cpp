#include "bench_fixture.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "peers/peer_process.h"
#include "support/store_writes.h"
#include "support/temp_dir.h"

namespace drovik::bench {

namespace {

void vary(ProfileModel& model, int seed) {
  const auto paper = cat::paperItems();
  const auto common = cat::commonItems();
  for (int u = 0; u < cat::kUserCount; ++u) {
    for (int i = 0; i < cat::kPaperItemCount; ++i) {
      if (cat::marginSlotOfPaperItem(i) >= 0)
        model.setMargin(u, i, std::to_string((seed + u + i) % 20) + ".5");
      else
        model.setPaperIndex(u, i, (seed + u * 3 + i) % paper[i].values->size());
    }
    for (int i = 0; i < cat::kCommonItemCount; ++i)
      model.setCommonIndex(u, i, (seed + u + i * 5) % common[i].values->size());
    model.setUserName(u, "ﾕｰｻﾞ" + std::to_string(u));
  }
  for (int n = 0; n < cat::kCheckNodeCount; ++n)
    model.flags.state[n] = seed == 0 || (n + seed) % 7 ? 1 : 0;  // slot 0: every item
  model.setSelectUser(seed % 10);
}

}  // namespace

const TwentyProfiles& twentyProfiles() {
  static const TwentyProfiles fixture = [] {
    // Removed when the benchmark program ends.
    static const test::TempDir folder;
    const auto dir = folder.path();
    TwentyProfiles f{dir, ProfileStore(StorePaths::inDirectory(dir)), {}};
    for (int slot = 0; slot < cat::kSlotCount; ++slot) {
      const std::string name = "設定" + std::to_string(slot + 1) + "_帳票ソフト";
      ProfileModel model;
      vary(model, slot);
      model.refreshAndSnapshotCheckFlagTexts();
      model.markAllForWriting();
      if (!test::writeIndexEntry(f.store, slot, name, std::string(cat::kModelGhjk)) ||
          !test::saveSection(f.store, model, name))
        throw std::runtime_error("cannot build the benchmark data");
    }
    if (!f.store.readAllSlots(f.slots)) throw std::runtime_error("cannot read the slots");
    return f;
  }();
  return fixture;
}

const std::vector<std::string>& profileKeys() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> k;
    for (const auto& node : cat::checkNodes()) k.push_back(node.key);
    for (const auto& key : cat::valueKeysInSaveOrder()) k.emplace_back(key.key);
    return k;
  }();
  return keys;
}

int runQuietly(std::vector<std::string> args) {
  return test::runToEnd(args, "/dev/null", std::chrono::minutes(2));
}

Measured runMeasured(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  Measured measured;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
      measured.exitCode = WEXITSTATUS(status);
      measured.peakKb = usage.ru_maxrss;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
  return measured;
}

}  // namespace drovik::bench
