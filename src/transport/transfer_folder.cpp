#include "transport/transfer_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "files/safe_open.h"

namespace drovik::transport {
namespace {

Error notWritten(const std::filesystem::path& path, int error) {
  return Error{"ファイル「" + path.string() + "」を書き込めませんでした（" + std::strerror(error) +
               "）"};
}

Error notRegular(const std::filesystem::path& path) {
  return Error{"「" + path.string() +
               "」は通常のファイルではないため使用できません。削除してからやり直してください"};
}

Error othersFile(const std::filesystem::path& path) {
  return Error{"ファイル「" + path.string() +
               "」は他のユーザーが所有しているため使用できません。削除してからやり直してください"};
}

// Why an existing entry may not be replaced, or nothing.
std::optional<Error> refusal(const std::filesystem::path& path, const struct stat& info) {
  if (!S_ISREG(info.st_mode)) return notRegular(path);
  if (info.st_uid != ::geteuid()) return othersFile(path);
  return std::nullopt;
}

std::string randomSuffix() {
  static constexpr std::string_view kLetters =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
  std::string suffix(8, ' ');
  for (char& c : suffix) c = kLetters[pick(random)];
  return suffix;
}

}  // namespace

bool writeAllBytes(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

PrivateFile::PrivateFile(int dirFd, std::filesystem::path dir, int fd, std::string temporaryName)
    : dirFd_(dirFd), dir_(std::move(dir)), fd_(fd), temporaryName_(std::move(temporaryName)) {}

PrivateFile::PrivateFile(PrivateFile&& other) noexcept
    : dirFd_(other.dirFd_),
      dir_(std::move(other.dir_)),
      fd_(other.fd_),
      temporaryName_(std::move(other.temporaryName_)) {
  other.fd_ = -1;
  other.temporaryName_.clear();
}

PrivateFile::~PrivateFile() { discard(); }

void PrivateFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  if (!temporaryName_.empty()) ::unlinkat(dirFd_, temporaryName_.c_str(), 0);
  fd_ = -1;
  temporaryName_.clear();
}

Status PrivateFile::close(std::string_view name) {
  const int closed = ::close(fd_);
  fd_ = -1;
  return closed == 0 ? Status{} : notWritten(dir_ / name, errno);
}

Status PrivateFile::publish(std::string_view name) {
  // The rename replaces the entry itself, whatever it became meanwhile: a link put there is
  // never followed.
  const std::string target(name);
  if (::renameat(dirFd_, temporaryName_.c_str(), dirFd_, target.c_str()) != 0)
    return notWritten(dir_ / name, errno);
  temporaryName_.clear();
  return {};
}

Result<TransferFolder> TransferFolder::open(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::absolute(dir, ec).lexically_normal();
  if (ec) path = dir;
  if (!path.has_filename() && path.has_parent_path() && path != path.root_path())
    path = path.parent_path();
  const int fd = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    return Error{"フォルダ「" + path.string() + "」を開けません（" + std::strerror(errno) + "）"};
  return TransferFolder(fd, std::move(path));
}

TransferFolder::TransferFolder(TransferFolder&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)) {
  other.fd_ = -1;
}

TransferFolder::~TransferFolder() {
  if (fd_ >= 0) ::close(fd_);
}

Status TransferFolder::checkReplaceable(std::string_view name) const {
  const std::string entry(name);
  struct stat info {};
  if (::fstatat(fd_, entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
    return errno == ENOENT ? Status{} : notWritten(pathOf(name), errno);
  if (auto refused = refusal(pathOf(name), info)) return *refused;
  return {};
}

Result<PrivateFile> TransferFolder::createPrivate(std::string_view name, mode_t mode) const {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temporary = "." + std::string(name) + "." + randomSuffix();
    const int fd = ::openat(fd_, temporary.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) return PrivateFile(fd_, path_, fd, std::move(temporary));
    if (errno != EEXIST) return notWritten(pathOf(name), errno);
  }
  return notWritten(pathOf(name), EEXIST);
}

Status TransferFolder::replace(std::string_view name, std::string_view bytes, mode_t mode) const {
  if (Status s = checkReplaceable(name); !s) return s;
  auto file = createPrivate(name, mode);
  if (!file) return file.status();
  if (!file->writeAll(bytes)) return notWritten(pathOf(name), errno);
  if (Status closed = file->close(name); !closed) return closed;
  return file->publish(name);
}

Status TransferFolder::truncate(std::string_view name) const {
  const std::string entry(name);
  if (Status s = checkReplaceable(name); !s) return s;
  // What was opened is checked again, since the entry may have been swapped after the first
  // look.
  SafelyOpenedFile file = openSafely(fd_, entry, O_WRONLY);
  switch (file.failure) {
    case SafeOpenFailure::None:
      break;
    case SafeOpenFailure::Open:
      if (file.error == ENOENT) return {};
      return notWritten(pathOf(name), file.error);
    case SafeOpenFailure::Link:
    case SafeOpenFailure::Special:
    case SafeOpenFailure::NotRegular:
      return notRegular(pathOf(name));
    case SafeOpenFailure::OthersFile:
      return othersFile(pathOf(name));
    case SafeOpenFailure::Inspect:
      return notWritten(pathOf(name), file.error);
  }
  if (::ftruncate(file.fd.get(), 0) != 0) return notWritten(pathOf(name), errno);
  if (const int error = file.fd.close(); error != 0) return notWritten(pathOf(name), error);
  return {};
}

Status TransferFolder::remove(std::string_view name) const {
  if (Status s = checkReplaceable(name); !s) return s;
  const std::string entry(name);
  if (::unlinkat(fd_, entry.c_str(), 0) != 0 && errno != ENOENT)
    return notWritten(pathOf(name), errno);
  return {};
}

}  // namespace drovik::transport
