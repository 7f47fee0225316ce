#include "history/history_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <string_view>

#include "files/atomic_file.h"
#include "files/folder_lock.h"
#include "files/safe_open.h"

namespace drovik::history {
namespace {

const std::string kPreviousSuffix = ".1";

Error notWritten(const std::filesystem::path& path, int cause) {
  return Error{"履歴ファイル「" + path.string() + "」に書き込めません（" + std::strerror(cause) +
               "）"};
}

Error notRegular(const std::filesystem::path& path) {
  return Error{"履歴ファイル「" + path.string() +
               "」は通常のファイルではないため使用できません。移動してからやり直してください"};
}

Error othersFile(const std::filesystem::path& path) {
  return Error{"履歴ファイル「" + path.string() +
               "」は他のユーザーが所有しているため使用できません。移動してからやり直してください"};
}

Error notRead(const std::filesystem::path& path, int cause) {
  return Error{"履歴ファイル「" + path.string() + "」を読み込めません（" + std::strerror(cause) +
               "）"};
}

using OpenedFile = SafelyOpenedFile;

// The history file opened for appending, created when missing: never through a link, never
// waiting on a FIFO, and only when it is this user's regular file.
Result<OpenedFile> openForAppend(int dir, const std::string& name,
                                 const std::filesystem::path& path) {
  OpenedFile file = openSafely(dir, name, O_RDWR | O_APPEND | O_CREAT, 0666);
  switch (file.failure) {
    case SafeOpenFailure::None:
      return file;
    case SafeOpenFailure::Link:
    case SafeOpenFailure::Special:
    case SafeOpenFailure::NotRegular:
      return notRegular(path);
    case SafeOpenFailure::OthersFile:
      return othersFile(path);
    case SafeOpenFailure::Open:
    case SafeOpenFailure::Inspect:
      break;
  }
  return notWritten(path, file.error);
}

// One write of the whole line: a shorter one is taken back, so that no part of a record is
// left for the next one to follow.
Status writeLine(const OpenedFile& file, std::string_view line, const std::filesystem::path& path) {
  ssize_t written = -1;
  do {
    written = ::write(file.fd.get(), line.data(), line.size());
  } while (written < 0 && errno == EINTR);
  if (written == static_cast<ssize_t>(line.size())) return {};
  const int cause = written < 0 ? errno : ENOSPC;
  // A part that cannot be taken back stays behind as a line of its own: the next record starts
  // a new line, and readers pass over it with a note.
  [[maybe_unused]] const bool takenBack =
      written <= 0 || ::ftruncate(file.fd.get(), file.info.st_size) == 0;
  return notWritten(path, cause);
}

// Whether the file ends in the middle of a line (a crash cut off its last record).
bool endsMidLine(const OpenedFile& file) {
  if (file.info.st_size == 0) return false;
  char last = '\n';
  return ::pread(file.fd.get(), &last, 1, file.info.st_size - 1) == 1 && last != '\n';
}

Result<std::string> readWhole(const FileDescriptor& fd, const std::filesystem::path& path) {
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return notRead(path, errno);
  if (!S_ISREG(info.st_mode)) return notRegular(path);
  std::string text;
  text.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return notRead(path, errno);
    if (got == 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return text;
}

FileDescriptor openForReading(const std::filesystem::path& path) {
  return openFile(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
}

bool sameFile(const FileDescriptor& fd, const std::filesystem::path& path) {
  struct stat opened {};
  struct stat now {};
  if (!fd.valid()) return ::lstat(path.c_str(), &now) != 0;
  return ::fstat(fd.get(), &opened) == 0 && ::lstat(path.c_str(), &now) == 0 &&
         opened.st_dev == now.st_dev && opened.st_ino == now.st_ino;
}

// Case-insensitive for ASCII letters, as profile names match.
char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Passes over the lines that lack one of the texts, before they are decoded.
class LineSieve {
 public:
  explicit LineSieve(std::vector<std::string> texts) : texts_(std::move(texts)) {
    searchers_.reserve(texts_.size());
    for (const std::string& text : texts_)
      searchers_.emplace_back(text.begin(), text.end(), Hash{}, Equal{});
  }
  // The searchers point into the texts.
  LineSieve(const LineSieve&) = delete;
  LineSieve& operator=(const LineSieve&) = delete;

  bool mayMatch(std::string_view line) const {
    for (const auto& searcher : searchers_)
      if (std::search(line.begin(), line.end(), searcher) == line.end()) return false;
    return true;
  }

 private:
  struct Hash {
    std::size_t operator()(char c) const { return static_cast<unsigned char>(folded(c)); }
  };
  struct Equal {
    bool operator()(char a, char b) const { return folded(a) == folded(b); }
  };
  using Searcher = std::boyer_moore_horspool_searcher<std::string::const_iterator, Hash, Equal>;
  std::vector<std::string> texts_;
  std::vector<Searcher> searchers_;
};

}  // namespace

void collectRecords(std::string_view text, const std::filesystem::path& path,
                    const RecordFilter& filter, HistoryContents& contents) {
  const LineSieve sieve(filter.lineTexts());
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    const bool complete = end != std::string_view::npos;
    const std::string_view line = text.substr(0, complete ? end : text.size());
    text.remove_prefix(complete ? end + 1 : text.size());
    if (line.empty() || !sieve.mayMatch(line)) continue;
    if (auto record = decodeLine(line)) {
      if (filter.matches(*record)) contents.records.push_back(std::move(*record));
    } else if (!complete) {
      contents.notes.push_back("履歴ファイル「" + path.string() + "」の最後の行（" +
                               std::to_string(lineNumber) +
                               "行目）は途中で切れているため読み飛ばしました");
    } else {
      contents.notes.push_back("履歴ファイル「" + path.string() + "」の" +
                               std::to_string(lineNumber) +
                               "行目は履歴として読めないため読み飛ばしました");
    }
  }
}

HistoryFile::HistoryFile(std::filesystem::path folder, std::uint64_t rotationSize)
    : folder_(std::move(folder)), rotationSize_(rotationSize) {}

std::filesystem::path HistoryFile::path() const { return folder_ / kHistoryFileName; }

std::filesystem::path HistoryFile::previousPath() const {
  return folder_ / (std::string(kHistoryFileName) + kPreviousSuffix);
}

Status HistoryFile::append(const Record& record) const {
  auto lock = FolderLock::acquire(folder_);
  if (!lock) return lock.error();
  return appendHoldingLock(record);
}

Status HistoryFile::appendHoldingLock(const Record& record) const {
  std::string line = encodeLine(record);
  const FileDescriptor dir = openFile(folder_, O_RDONLY | O_DIRECTORY);
  if (!dir.valid()) return notWritten(path(), errno);
  const std::string name = kHistoryFileName;
  auto file = openForAppend(dir.get(), name, path());
  if (!file) return file.error();
  if (file->info.st_size > 0 &&
      static_cast<std::uint64_t>(file->info.st_size) + line.size() > rotationSize_) {
    // The rename replaces the previous generation's entry itself, whatever it is.
    const std::string previous = name + kPreviousSuffix;
    if (::renameat(dir.get(), name.c_str(), dir.get(), previous.c_str()) != 0)
      return notWritten(previousPath(), errno);
    file = openForAppend(dir.get(), name, path());
    if (!file) return file.error();
  }
  // What a crash cut off stays a line of its own, passed over by readers.
  if (endsMidLine(*file)) line.insert(line.begin(), '\n');
  if (Status s = writeLine(*file, line, path()); !s) return s;
  if (::fsync(file->fd.get()) != 0) return notWritten(path(), errno);
  // A new file's name should survive a crash as well as its content; the record is written
  // either way.
  if (file->info.st_size == 0) ::fsync(dir.get());
  return {};
}

Result<HistoryContents> HistoryFile::read(const RecordFilter& filter) const {
  // The current file is opened first and found still in its place after the previous one was
  // opened: a rotation in between would otherwise lose a generation or read one twice.
  constexpr int kAttempts = 5;
  FileDescriptor current;
  FileDescriptor previous;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    current = openForReading(path());
    if (!current.valid() && errno != ENOENT) return notRead(path(), errno);
    previous = openForReading(previousPath());
    if (!previous.valid() && errno != ENOENT) return notRead(previousPath(), errno);
    if (sameFile(current, path())) break;
  }
  HistoryContents contents;
  const std::pair<const FileDescriptor*, std::filesystem::path> generations[] = {
      {&previous, previousPath()}, {&current, path()}};
  for (const auto& [fd, where] : generations) {
    if (!fd->valid()) continue;
    auto text = readWhole(*fd, where);
    if (!text) return text.error();
    collectRecords(*text, where, filter, contents);
  }
  return contents;
}

}  // namespace drovik::history
