// Several copies of drovik-cli working on one data folder at the same moment, as operators and
// scripts do: whatever order the copies take, the index stays gap-free and duplicate-free,
// every entry has its section, and every copy that reported success shows in the files.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "ini/ini_document.h"
#include "peers/peer_process.h"
#include "service/profile_service.h"
#include "support/temp_dir.h"

using namespace drovik;

namespace {

namespace fs = std::filesystem;

struct CliResult {
  int exitCode = -1;
  std::string err;
};

// Starts drovik-cli on the folder without waiting; finish() collects the result.
class CliProcess {
 public:
  CliProcess(const fs::path& dataDir, std::vector<std::string> args, const fs::path& errFile)
      : errFile_(errFile),
        process_(withProgram(dataDir, std::move(args)), errFile,
                 test::PeerProcess::Output::Discard) {}
  CliResult finish() {
    return {process_.waitForExit(std::chrono::minutes(2)).value_or(-1), test::readFile(errFile_)};
  }

 private:
  static std::vector<std::string> withProgram(const fs::path& dataDir,
                                              std::vector<std::string> args) {
    args.insert(args.begin(), {DROVIK_CLI_PATH, "--data-dir", dataDir.string()});
    return args;
  }
  fs::path errFile_;
  test::PeerProcess process_;
};

class ConcurrentCliTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ProfileService service{StorePaths::inDirectory(dir.path())};

  void SetUp() override {
    for (const char* name : {"SRC", "two", "three"}) {
      ProfileModel model;
      ASSERT_TRUE(service.registerProfile(model, name, OnExisting::Refuse));
    }
  }

  // Runs every command at once and returns their results in order.
  std::vector<CliResult> runAtOnce(const std::vector<std::vector<std::string>>& commands) {
    std::deque<CliProcess> processes;  // started in place: a running process does not move
    for (std::size_t i = 0; i < commands.size(); ++i)
      processes.emplace_back(dir.path(), commands[i], dir / ("err" + std::to_string(i)));
    std::vector<CliResult> runs;
    for (auto& process : processes) runs.push_back(process.finish());
    return runs;
  }

  std::vector<std::string> registeredNames() {
    std::vector<std::string> names;
    const auto slots = service.readSlots();
    for (const auto& slot : *slots)
      if (slot.registered()) names.push_back(slot.name);
    return names;
  }

  // Slots 0..n-1 without gaps, no two entries for one section, every entry with its section
  // and every section with its entry.
  void expectConsistentFiles() {
    const auto slots = *service.readSlots();
    std::size_t count = 0;
    while (count < slots.size() && slots[count].registered()) ++count;
    for (std::size_t i = count; i < slots.size(); ++i)
      EXPECT_FALSE(slots[i].registered()) << "gap before slot " << i;
    const auto settings = ini::IniDocument::parse(test::readFile(dir / "RSETTING.INI"));
    const auto sections = settings.sectionNames();
    EXPECT_EQ(sections.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
      EXPECT_EQ(settings.readSection(slots[i].name).size(), std::size_t{cat::kProfileKeyCount})
          << slots[i].name;
      for (std::size_t j = 0; j < i; ++j)
        EXPECT_FALSE(ini::IniDocument::sameName(slots[i].name, slots[j].name)) << slots[i].name;
    }
  }
};

TEST_F(ConcurrentCliTest, TwelveMigrationsAtOnceAllLand) {
  std::vector<std::vector<std::string>> commands;
  for (int i = 0; i < 12; ++i) commands.push_back({"migrate", "SRC", "par" + std::to_string(i)});
  for (const CliResult& run : runAtOnce(commands)) EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(registeredNames().size(), 15u);
  expectConsistentFiles();
}

TEST_F(ConcurrentCliTest, ThirtyRegistrationsAtOnceStopAtTwenty) {
  std::vector<std::vector<std::string>> commands;
  for (int i = 0; i < 30; ++i) commands.push_back({"register", "r" + std::to_string(i)});
  int landed = 0;
  for (const CliResult& run : runAtOnce(commands)) {
    if (run.exitCode == 0) {
      ++landed;
    } else {
      EXPECT_EQ(run.exitCode, 1);
      EXPECT_NE(run.err.find("20個以上は登録できません"), std::string::npos) << run.err;
    }
  }
  EXPECT_EQ(landed, 17);
  EXPECT_EQ(registeredNames().size(), 20u);
  expectConsistentFiles();
}

// Five workers, each a script of its own names run at the same time as the others:
// registrations, overwrites, migrations, saves of decoded images and deletions mixed.
TEST_F(ConcurrentCliTest, MixedOperationsKeepTheFilesConsistent) {
  const std::string all = std::string(DROVIK_TEST_DATA_DIR) + "/corpus/nvram/rnvr_all_1758.bin";
  const std::string nw = std::string(DROVIK_TEST_DATA_DIR) + "/corpus/nvram/rnvr_nw_13.bin";
  constexpr int kWorkers = 5;
  constexpr int kRounds = 10;
  std::vector<std::set<std::string>> expected(kWorkers);
  std::vector<std::string> failures;
  std::mutex failuresMutex;
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&, w] {
      auto name = [w](int round, const char* suffix) {
        return "w" + std::to_string(w) + "-" + std::to_string(round) + suffix;
      };
      for (int r = 0; r < kRounds; ++r) {
        const std::vector<std::vector<std::string>> script = {
            {"register", name(r, "")},
            {"register", name(r, ""), "--yes"},
            {"migrate", name(r, ""), name(r, "m")},
            {"decode-nvram", "--all", all, "--nw", nw, "--into", name(r, "m")},
            {"delete", name(r, "")},
        };
        for (std::size_t step = 0; step < script.size(); ++step) {
          CliProcess process(dir.path(), script[step],
                             dir / ("err-w" + std::to_string(w) + "-" + std::to_string(step)));
          const CliResult run = process.finish();
          if (run.exitCode != 0) {
            const std::lock_guard lock(failuresMutex);
            failures.push_back(script[step][0] + " " + name(r, "") + ": " + run.err);
          }
        }
        if (r > 0) {
          CliProcess process(dir.path(), {"delete", name(r - 1, "m")},
                             dir / ("err-w" + std::to_string(w)));
          if (const CliResult run = process.finish(); run.exitCode != 0) {
            const std::lock_guard lock(failuresMutex);
            failures.push_back("delete " + name(r - 1, "m") + ": " + run.err);
          }
        }
      }
      expected[w].insert(name(kRounds - 1, "m"));
    });
  }
  for (auto& worker : workers) worker.join();
  EXPECT_TRUE(failures.empty()) << failures.size() << " failed, first: " << failures.front();

  std::set<std::string> want = {"SRC", "two", "three"};
  for (const auto& names : expected) want.insert(names.begin(), names.end());
  const auto names = registeredNames();
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), want);
  expectConsistentFiles();
}

}  // namespace
