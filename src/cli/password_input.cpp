#include "cli/password_input.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "files/safe_open.h"
#include "transport/core_dumps.h"

namespace drovik::cli {
namespace {

constexpr std::size_t kMaxPasswordFile = 4096;

std::string firstLine(std::string text) {
  text = text.substr(0, text.find('\n'));
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

// The terminal's settings before the prompt, for the signal handler.
termios promptSaved{};
constexpr int kPromptSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Ctrl-C and the like at the prompt still end the program as they would, but never leave the
// terminal without echo. tcsetattr, write, signal and raise are async-signal-safe.
extern "C" void restoreEchoAndDie(int number) {
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &promptSaved);
  if (::write(STDERR_FILENO, "\n", 1) < 0) {
    // Nothing to do about a lost line end while the program ends.
  }
  ::signal(number, SIG_DFL);
  ::raise(number);
}

// Echo off for the prompt, back on when it ends whichever way.
class QuietTerminal {
 public:
  explicit QuietTerminal(std::string_view prompt) {
    if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &promptSaved) != 0) return;
    active_ = true;
    struct sigaction action {};
    action.sa_handler = restoreEchoAndDie;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kPromptSignals); ++i)
      ::sigaction(kPromptSignals[i], &action, &earlier_[i]);
    termios quiet = promptSaved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    // Only once nothing typed can show any more.
    std::cerr << prompt << std::flush;
  }
  ~QuietTerminal() {
    if (!active_) return;
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &promptSaved);
    for (std::size_t i = 0; i < std::size(kPromptSignals); ++i)
      ::sigaction(kPromptSignals[i], &earlier_[i], nullptr);
    std::cerr << '\n';
  }
  QuietTerminal(const QuietTerminal&) = delete;
  QuietTerminal& operator=(const QuietTerminal&) = delete;

 private:
  bool active_ = false;
  struct sigaction earlier_[std::size(kPromptSignals)]{};
};

}  // namespace

std::string readPassword(std::string_view prompt) {
  transport::keepOutOfCoreDumps();
  std::string password;
  {
    const QuietTerminal quiet(prompt);
    std::getline(std::cin, password);
  }
  return firstLine(password);
}

namespace {

Result<std::string> readOwnerOnlyFile(const std::filesystem::path& path) {
  transport::keepOutOfCoreDumps();
  // The checks are made on the opened file itself, so that it cannot be swapped in between.
  const SafelyOpenedFile file = openSafely(path, O_RDONLY);
  switch (file.failure) {
    case SafeOpenFailure::None:
      break;
    case SafeOpenFailure::Open:
    case SafeOpenFailure::Link:
    case SafeOpenFailure::Special:
      return Error{"パスワードファイルを開けません: " + path.string() + "（" +
                   std::strerror(file.error) + "）"};
    case SafeOpenFailure::Inspect:
    case SafeOpenFailure::NotRegular:
      return Error{"パスワードファイルが通常のファイルではありません: " + path.string()};
    case SafeOpenFailure::OthersFile:
      return Error{"パスワードファイルの所有者が実行中のユーザーではありません: " + path.string()};
  }
  const FileDescriptor& fd = file.fd;
  const struct stat& info = file.info;
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
  return text;
}

}  // namespace

Result<std::string> readPasswordFile(const std::filesystem::path& path) {
  auto text = readOwnerOnlyFile(path);
  if (!text) return text.error();
  return firstLine(std::move(*text));
}

Result<std::vector<std::string>> readSecretLines(const std::filesystem::path& path) {
  auto text = readOwnerOnlyFile(path);
  if (!text) return text.error();
  std::vector<std::string> lines;
  std::string_view rest = *text;
  while (!rest.empty()) {
    const auto newline = rest.find('\n');
    lines.push_back(firstLine(std::string(rest.substr(0, newline))));
    rest = newline == std::string_view::npos ? std::string_view{} : rest.substr(newline + 1);
  }
  return lines;
}

}  // namespace drovik::cli
