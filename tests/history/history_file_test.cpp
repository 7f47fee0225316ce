// The history file as several programs share it: whole records under the folder lock, one
// generation kept at rotation, a crash's cut-off line passed over, a failed write taken back,
// and nothing written through a link or into another user's file.
#include "history/history_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <future>
#include <map>
#include <thread>

#include "history/numbered_records.h"
#include "hostile/other_user.h"
#include "hostile/process_runner.h"
#include "support/held_folder_lock.h"
#include "support/temp_dir.h"

namespace drovik::history {
namespace {

namespace fs = std::filesystem;
using test::numberedRecord;
using test::numberOf;

// Each writer's numbers in the order read.
std::map<std::string, std::vector<int>> sequences(const HistoryContents& contents) {
  std::map<std::string, std::vector<int>> seen;
  for (const Record& record : contents.records) seen[record.profile].push_back(numberOf(record));
  return seen;
}

std::vector<int> upTo(int count) {
  std::vector<int> numbers(count);
  for (int i = 0; i < count; ++i) numbers[i] = i;
  return numbers;
}

TEST(HistoryFile, ConcurrentProgramsAndThreadsNeitherTearNorLoseRecords) {
  test::TempDir dir;
  constexpr int kCount = 120;
  constexpr std::size_t kPadding = 6000;  // past a page: a torn write would show
  std::vector<std::future<hostile::ProcessResult>> programs;
  for (const char* writer : {"program-a", "program-b"})
    programs.push_back(std::async(std::launch::async, [&dir, writer] {
      return hostile::runProcess({DROVIK_HISTORY_APPEND_CHILD_PATH, dir.path().string(), writer,
                                  std::to_string(kCount), std::to_string(kPadding)},
                                 std::chrono::seconds(60));
    }));
  {
    std::vector<std::jthread> threads;
    for (const char* writer : {"thread-a", "thread-b", "thread-c"})
      threads.emplace_back([&dir, writer] {
        const HistoryFile file(dir.path());
        for (int i = 0; i < kCount; ++i)
          ASSERT_TRUE(file.append(numberedRecord(writer, i, kPadding)).isOk());
      });
  }
  for (auto& program : programs) {
    const hostile::ProcessResult ended = program.get();
    ASSERT_EQ(ended.exitCode, 0) << ended.err;
  }

  const auto contents = HistoryFile(dir.path()).read();
  ASSERT_TRUE(contents) << contents.message();
  EXPECT_EQ(contents->notes, std::vector<std::string>{});
  const auto seen = sequences(*contents);
  ASSERT_EQ(seen.size(), 5u);
  for (const auto& [writer, numbers] : seen) EXPECT_EQ(numbers, upTo(kCount)) << writer;
}

TEST(HistoryFile, AppendWaitsForTheFolderLock) {
  test::TempDir dir;
  const test::ShortLockWait shortWait(std::chrono::milliseconds(100));
  test::HeldFolderLock other(dir.path());
  ASSERT_TRUE(other.held());
  const HistoryFile file(dir.path());
  EXPECT_FALSE(file.append(numberedRecord("w", 0, 10)));
  EXPECT_FALSE(fs::exists(file.path()));
  other.release();
  EXPECT_TRUE(file.append(numberedRecord("w", 0, 10)));
}

TEST(HistoryFile, RotationKeepsOneWholeGenerationUnderTheSize) {
  test::TempDir dir;
  constexpr std::uint64_t kSize = 4096;
  const HistoryFile file(dir.path(), kSize);
  constexpr int kCount = 60;
  for (int i = 0; i < kCount; ++i) {
    ASSERT_TRUE(file.append(numberedRecord("w", i, 300)));
    EXPECT_LE(fs::file_size(file.path()), kSize);
  }
  ASSERT_TRUE(fs::exists(file.previousPath()));
  EXPECT_LE(fs::file_size(file.previousPath()), kSize);
  EXPECT_FALSE(fs::exists(dir / "drovik-history.jsonl.2"));

  // What is left is the newest records, whole and in order, the older generation first.
  const auto contents = file.read();
  ASSERT_TRUE(contents);
  EXPECT_TRUE(contents->notes.empty());
  const std::vector<int> numbers = sequences(*contents)["w"];
  ASSERT_GT(numbers.size(), kSize / 500);
  ASSERT_LT(numbers.size(), static_cast<std::size_t>(kCount));
  for (std::size_t i = 0; i < numbers.size(); ++i)
    EXPECT_EQ(numbers[i], kCount - static_cast<int>(numbers.size() - i));
  EXPECT_EQ(test::readFile(file.previousPath()).back(), '\n');
}

TEST(HistoryFile, CutOffLastLineIsPassedOverWithANoteAndNeverJoinsTheNext) {
  test::TempDir dir;
  const HistoryFile file(dir.path());
  ASSERT_TRUE(file.append(numberedRecord("w", 0, 10)));
  ASSERT_TRUE(file.append(numberedRecord("w", 1, 10)));
  // A crash in the middle of a record.
  const std::string whole = encodeLine(numberedRecord("w", 2, 10));
  test::writeFile(file.path(), test::readFile(file.path()) + whole.substr(0, whole.size() / 2));

  auto contents = file.read();
  ASSERT_TRUE(contents) << contents.message();
  EXPECT_EQ(sequences(*contents)["w"], (std::vector<int>{0, 1}));
  ASSERT_EQ(contents->notes.size(), 1u);
  EXPECT_NE(contents->notes[0].find("最後の行（3行目）は途中で切れている"), std::string::npos)
      << contents->notes[0];

  // The next record starts a line of its own; the remnant stays a line passed over.
  ASSERT_TRUE(file.append(numberedRecord("w", 3, 10)));
  contents = file.read();
  ASSERT_TRUE(contents);
  EXPECT_EQ(sequences(*contents)["w"], (std::vector<int>{0, 1, 3}));
  ASSERT_EQ(contents->notes.size(), 1u);
  EXPECT_NE(contents->notes[0].find("3行目は履歴として読めない"), std::string::npos);
}

TEST(HistoryFile, WriteCutShortByTheFileSizeLimitIsTakenBack) {
  test::TempDir dir;
  const HistoryFile file(dir.path());
  ASSERT_TRUE(file.append(numberedRecord("w", 0, 10)));
  const std::string before = test::readFile(file.path());

  // The limit lets half of the next record in: write(2) stores that much and says so.
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit limited = saved;
  limited.rlim_cur = before.size() + 200;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  const Status written = file.append(numberedRecord("w", 1, 1000));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(written);
  EXPECT_NE(written.message().find(file.path().string()), std::string::npos);
  EXPECT_EQ(test::readFile(file.path()), before);
}

TEST(HistoryFile, RefusesLinksOtherFilesAndOtherUsersFiles) {
  test::TempDir dir;
  const HistoryFile file(dir.path());
  const Record record = numberedRecord("w", 0, 10);

  test::writeFile(dir / "elsewhere", "keep");
  fs::create_symlink(dir / "elsewhere", file.path());
  Status refused = file.append(record);
  EXPECT_NE(refused.message().find("通常のファイルではない"), std::string::npos)
      << refused.message();
  EXPECT_EQ(test::readFile(dir / "elsewhere"), "keep");
  EXPECT_FALSE(file.read());  // a link is not read through either
  fs::remove(file.path());

  ASSERT_EQ(::mkfifo(file.path().c_str(), 0600), 0);  // no reader: must not wait for one
  refused = file.append(record);
  EXPECT_NE(refused.message().find("通常のファイルではない"), std::string::npos);
  fs::remove(file.path());

  fs::create_directory(file.path());
  EXPECT_NE(file.append(record).message().find("通常のファイルではない"), std::string::npos);
  fs::remove(file.path());

  test::writeFile(file.path(), "");
  ASSERT_EQ(::chown(file.path().c_str(), hostile::kOtherUserId, hostile::kOtherUserId), 0);
  refused = file.append(record);
  EXPECT_NE(refused.message().find("他のユーザーが所有"), std::string::npos) << refused.message();
  EXPECT_EQ(fs::file_size(file.path()), 0u);
}

TEST(HistoryFile, MissingFilesHaveNoRecordsAndNoNotes) {
  test::TempDir dir;
  const auto contents = HistoryFile(dir.path()).read();
  ASSERT_TRUE(contents) << contents.message();
  EXPECT_TRUE(contents->records.empty());
  EXPECT_TRUE(contents->notes.empty());
  EXPECT_FALSE(fs::exists(dir / kHistoryFileName));  // reading leaves nothing behind
}

}  // namespace
}  // namespace drovik::history
