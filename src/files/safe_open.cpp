#include "files/safe_open.h"

#include <unistd.h>

#include <cerrno>

namespace drovik {
namespace {

SafelyOpenedFile failed(SafeOpenFailure failure, int error) {
  SafelyOpenedFile file;
  file.failure = failure;
  file.error = error;
  return file;
}

SafeOpenFailure openFailure(int error) {
  switch (error) {
    case ELOOP:
      return SafeOpenFailure::Link;
    case ENXIO:
    case EISDIR:
      return SafeOpenFailure::Special;
    default:
      return SafeOpenFailure::Open;
  }
}

}  // namespace

SafelyOpenedFile openSafely(int dirFd, const std::filesystem::path& name, int flags, mode_t mode) {
  int fd = -1;
  do {
    fd =
        ::openat(dirFd, name.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return failed(openFailure(errno), errno);
  SafelyOpenedFile file;
  file.fd = FileDescriptor(fd);
  if (::fstat(fd, &file.info) != 0) return failed(SafeOpenFailure::Inspect, errno);
  if (!S_ISREG(file.info.st_mode)) return failed(SafeOpenFailure::NotRegular, 0);
  if (file.info.st_uid != ::geteuid()) return failed(SafeOpenFailure::OthersFile, 0);
  return file;
}

}  // namespace drovik
