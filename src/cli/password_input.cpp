#include "cli/password_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "model/atomic_file.h"

namespace drovik::cli {
namespace {

constexpr std::size_t kMaxPasswordFile = 4096;

std::string firstLine(std::string text) {
  text = text.substr(0, text.find('\n'));
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

}  // namespace

std::string readPassword() {
  const bool terminal = ::isatty(STDIN_FILENO);
  termios saved{};
  if (terminal && ::tcgetattr(STDIN_FILENO, &saved) == 0) {
    std::cerr << "パスワード: " << std::flush;
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string password;
  std::getline(std::cin, password);
  if (terminal) {
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << '\n';
  }
  return firstLine(password);
}

Result<std::string> readPasswordFile(const std::filesystem::path& path) {
  // The checks are made on the opened file itself, so that it cannot be swapped in between.
  const FileDescriptor fd = openFile(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
  if (!fd.valid())
    return Error{"パスワードファイルを開けません: " + path.string() + "（" + std::strerror(errno) +
                 "）"};
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
    return Error{"パスワードファイルが通常のファイルではありません: " + path.string()};
  if (info.st_uid != ::geteuid())
    return Error{"パスワードファイルの所有者が実行中のユーザーではありません: " + path.string()};
  if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
    return Error{"パスワードファイルはほかのユーザーが読み書きできるため使えません: " +
                 path.string() + "（chmod 600 で所有者だけが読めるようにしてください）"};
  std::string text;
  char buffer[512];
  ssize_t got = 0;
  while ((got = ::read(fd.get(), buffer, sizeof buffer)) > 0 && text.size() <= kMaxPasswordFile)
    text.append(buffer, static_cast<std::size_t>(got));
  if (got < 0)
    return Error{"パスワードファイルを読み込めません: " + path.string() + "（" +
                 std::strerror(errno) + "）"};
  return firstLine(std::move(text));
}

}  // namespace drovik::cli
