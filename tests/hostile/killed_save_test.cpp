// A save loop in a child process, killed at random moments: every kill must leave both
// files readable, each profile section and index entry whole in one of its two states,
// every save the child saw succeed still there, and no write lost or reordered.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <random>
#include <thread>

#include "hostile/file_checks.h"
#include "hostile/loop_states.h"
#include "hostile/process_runner.h"
#include "hostile/time_guard.h"
#include "support/store_writes.h"
#include "support/temp_dir.h"

using namespace drovik;
using namespace drovik::hostile;
using drovik::test::readFile;
using drovik::test::TempDir;
using drovik::test::writeFile;

namespace {

constexpr int kKills = 200;
constexpr int kMaxDelayMicroseconds = 5000;
constexpr int kCycle = 2 * kLoopStepCount;  // both states of every step
// Content of the settings file that no save may touch.
const std::string kForeign = "; kept by hand\r\n[Foreign]\r\nKeep=1\r\n";

// Where the loop stands: the step it writes next, and in which state.
struct Position {
  int step = 0;
  int variant = 0;
  int index() const { return variant * kLoopStepCount + step; }
  Position advanced(int steps) const {
    const int next = (index() + steps) % kCycle;
    return {next % kLoopStepCount, next / kLoopStepCount};
  }
  bool operator==(const Position&) const = default;
};

using ExpectedSections = std::array<std::array<std::vector<std::string>, 2>, kLoopProfileCount>;

ExpectedSections expectedSections(const LoopStates& states) {
  ExpectedSections expected;
  const TempDir scratch;
  const ProfileStore store(StorePaths::inDirectory(scratch.path()));
  for (int p = 0; p < kLoopProfileCount; ++p) {
    for (int v = 0; v < 2; ++v) {
      EXPECT_TRUE(test::saveSection(store, states.model(p, v), LoopStates::profileName(p)));
      auto lines = store.readSection(LoopStates::profileName(p));
      EXPECT_TRUE(lines);
      if (lines) expected[p][v] = *lines;
    }
  }
  return expected;
}

// The state (0 or 1) each step's write stands in; nullopt for anything else.
std::array<std::optional<int>, kLoopStepCount> observe(const ProfileStore& store,
                                                       const ExpectedSections& expected) {
  std::array<std::optional<int>, kLoopStepCount> seen;
  ProfileSlotTable slots;
  EXPECT_TRUE(store.readSlotNames(slots));
  for (int step = 0; step < kLoopStepCount; ++step) {
    const int p = LoopStates::profileOfStep(step);
    if (LoopStates::stepSavesSection(step)) {
      auto lines = store.readSection(LoopStates::profileName(p));
      EXPECT_TRUE(lines) << lines.message();
      for (int v = 0; lines && v < 2; ++v)
        if (*lines == expected[p][v]) seen[step] = v;
    } else if (slots[p].name == LoopStates::profileName(p)) {
      for (int v = 0; v < 2; ++v)
        if (slots[p].modelType == LoopStates::modelType(v)) seen[step] = v;
    }
  }
  return seen;
}

// Steps before the next one to write carry the newer state, the rest the older one;
// anything else is a torn, lost or reordered write.
std::optional<Position> positionOf(const std::array<std::optional<int>, kLoopStepCount>& seen) {
  if (std::any_of(seen.begin(), seen.end(), [](auto state) { return !state; })) return {};
  int next = 0;
  while (next < kLoopStepCount && *seen[next] == *seen[0]) ++next;
  for (int step = next; step < kLoopStepCount; ++step)
    if (*seen[step] == *seen[0]) return {};
  if (next == kLoopStepCount) return Position{0, 1 - *seen[0]};
  return Position{next, *seen[0]};
}

int leftoverFiles(const std::filesystem::path& dir, const std::string& prefix) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.path().filename().string().rfind(prefix, 0) == 0) ++count;
  return count;
}

// What a killed save may leave beside the files: a temporary file and the kept old file of
// the last save of each file, never more, as every save clears what the one before left.
void expectFewLeftovers(const std::filesystem::path& dir, int& interruptedWrites,
                        int& interruptedCommits) {
  int temporaries = 0;
  for (const std::string file : {".R_MAIN.INI.", ".RSETTING.INI."}) {
    const int temporary = leftoverFiles(dir, file + "tmp");
    const int kept = leftoverFiles(dir, file + "old");
    EXPECT_LE(temporary + kept, 2) << file << ": leftovers pile up";
    temporaries += temporary;
    interruptedCommits += kept > 0 ? 1 : 0;
  }
  interruptedWrites += temporaries > 0 ? 1 : 0;
}

}  // namespace

TEST(CrashSafety, KilledSavesLeaveEveryProfileWholeAndInOrder) {
  const TimeGuard guard("CrashSafety.KilledSavesLeaveEveryProfileWholeAndInOrder",
                        kCaseTimeLimit * 2);
  const TempDir dir;
  const ProfileStore store(StorePaths::inDirectory(dir.path()));
  const LoopStates states;
  const ExpectedSections expected = expectedSections(states);
  writeFile(store.paths().settingsFile, kForeign);
  for (int step = 0; step < kLoopStepCount; ++step) ASSERT_TRUE(states.apply(store, step, 0));

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delay(0, kMaxDelayMicroseconds);
  Position position{0, 1};
  int interruptedWrites = 0;
  int interruptedCommits = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    int reported = 0;
    {
      const auto errors = dir / "child.err";
      SignallingChild child({DROVIK_SAVE_LOOP_CHILD_PATH, dir.path().string(),
                             std::to_string(position.step), std::to_string(position.variant)},
                            errors);
      ASSERT_TRUE(child.started());
      ASSERT_EQ(child.nextByte(std::chrono::seconds(10)), 'R') << readFile(errors);
      // Odd kills wait for one finished save first, so that kills fall at every point of a
      // save however long one takes on this machine.
      if (kill % 2 == 1) {
        ASSERT_EQ(child.nextByte(std::chrono::seconds(10)), 'S') << readFile(errors);
        ++reported;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
      const int status = child.killAndWait();
      ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
          << "the child stopped by itself: " << readFile(errors);
      const std::string rest = child.remainingOutput();
      reported += static_cast<int>(std::count(rest.begin(), rest.end(), 'S'));
    }
    ASSERT_TRUE(
        sameBytes(kForeign, readFile(store.paths().settingsFile).substr(0, kForeign.size())));
    // A kill inside a write leaves its temporary file (or inside the commit, the kept old
    // file) until the next save of that file clears it.
    expectFewLeftovers(dir.path(), interruptedWrites, interruptedCommits);

    const auto seen = observe(store, expected);
    const auto next = positionOf(seen);
    ASSERT_TRUE(next) << "a profile or index entry is torn, lost or out of order";
    // Every save that returned success is on disk; the one in flight may be too.
    const Position confirmed = position.advanced(reported);
    ASSERT_TRUE(*next == confirmed || *next == confirmed.advanced(1))
        << "reported " << reported << " saves from step " << position.step << "/"
        << position.variant << ", found the loop at " << next->step << "/" << next->variant;
    position = *next;

    // Loaded as the program loads it, the last profile written has one state's text form.
    const int p = LoopStates::profileOfStep((position.step + kLoopStepCount - 1) % kLoopStepCount);
    ProfileModel loaded;
    ASSERT_TRUE(store.loadSection(loaded, LoopStates::profileName(p)));
    const ProfileModel& saved = states.model(p, *seen[2 * p]);
    EXPECT_EQ(loaded.text.paper, saved.text.paper);
    EXPECT_EQ(loaded.text.common, saved.text.common);
    EXPECT_EQ(loaded.text.userName, saved.text.userName);
    EXPECT_EQ(loaded.flags.state, saved.flags.state);
  }
  // Make sure some kills fell inside a write.
  EXPECT_GE(interruptedWrites, 5);
  ::testing::Test::RecordProperty("interrupted_writes", interruptedWrites);
  ::testing::Test::RecordProperty("interrupted_commits", interruptedCommits);

  // One more round of saves clears whatever the kills left.
  for (int step = 0; step < kLoopStepCount; ++step)
    ASSERT_TRUE(states.apply(store, step, position.variant));
  EXPECT_EQ(leftoverFiles(dir.path(), ".R_MAIN.INI."), 0);
  EXPECT_EQ(leftoverFiles(dir.path(), ".RSETTING.INI."), 0);
}
