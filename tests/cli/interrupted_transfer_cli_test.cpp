// drovik-cli stopped by a signal while it holds a printer password, as a whole process: the
// FTP script is emptied and the fleet's work folders removed whichever signal it was, no core
// dump can be written, and a terminal interrupted at the password prompt gets its echo back.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "cli/cli_fixture.h"
#include "peers/peer_process.h"
#include "peers/silent_printer.h"
#include "transport/ipv4_address.h"
#include "transport/transfer_lock.h"

namespace drovik {
namespace {

using test::readFile;
using test::writeFile;

constexpr const char* kPassword = "pw-held-by-the-script";

bool waitFor(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// Every file below `folder` that holds the text.
std::vector<std::string> filesHolding(const std::filesystem::path& folder,
                                      const std::string& text) {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ec))
    if (entry.is_regular_file() && readFile(entry.path()).find(text) != std::string::npos)
      found.push_back(entry.path().string());
  return found;
}

bool anyFileNamed(const std::filesystem::path& folder, const std::string& name) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ec))
    if (entry.path().filename() == name) return true;
  return false;
}

// The soft limit of the process's core dumps, as /proc shows it to anyone.
std::string coreLimit(pid_t pid) {
  std::istringstream limits(readFile("/proc/" + std::to_string(pid) + "/limits"));
  for (std::string line; std::getline(limits, line);) {
    if (!line.starts_with("Max core file size")) continue;
    std::istringstream words(line.substr(std::string("Max core file size").size()));
    std::string soft;
    words >> soft;
    return soft;
  }
  return "?";
}

class InterruptedTransfer : public test::CliTest {
 protected:
  // drovik-cli with --data-dir, its standard input from a file, through a shell that
  // becomes it (so that the signals reach drovik-cli itself).
  // `setup` is shell text run first.
  std::unique_ptr<test::PeerProcess> start(const std::string& arguments,
                                           const std::string& setup = "") {
    writeFile(dir / "stdin", std::string(kPassword) + "\n");
    // Core dumps allowed to start with, so that only the program itself can forbid them.
    const std::string command =
        "ulimit -c unlimited; " + setup + "exec " + test::quote(DROVIK_CLI_PATH) + " --data-dir " +
        test::quote(dir.path()) + " " + arguments + " <" + test::quote(dir / "stdin");
    return std::make_unique<test::PeerProcess>(std::vector<std::string>{"/bin/sh", "-c", command},
                                               dir / "stderr", test::PeerProcess::Output::Discard);
  }
};

TEST_F(InterruptedTransfer, ASignalDuringARetrievalLeavesNoPasswordBehind) {
  test::SilentPrinter printer;  // keeps the run waiting for its greeting
  if (!printer.listening()) GTEST_SKIP() << "cannot listen on port 21 (needs root)";
  registerProfile(0, "帳票", "8630-GHJK");
  const std::string ip = transport::dottedOctets(printer.address());
  const std::pair<std::string, int> cases[] = {
      {"fetch", SIGHUP},  {"fetch", SIGQUIT}, {"fetch", SIGPIPE},
      {"fetch", SIGTERM}, {"fetch", SIGINT},  {"diff 帳票", SIGHUP},
  };
  for (const auto& [command, signal] : cases) {
    SCOPED_TRACE(command + " " + ::strsignal(signal));
    std::filesystem::remove(dir / "rftpcmd.log");
    const auto run = start(command + " --ip " + ip);
    // The log is opened once the script has been written and the client starts.
    ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(dir / "rftpcmd.log"); }));
    EXPECT_EQ(coreLimit(run->pid()), "0");
    ::kill(run->pid(), signal);
    const auto exitCode = run->waitForExit(std::chrono::seconds(5));
    EXPECT_EQ(exitCode, command == "fetch" ? 1 : 2) << readFile(dir / "stderr");
    EXPECT_EQ(filesHolding(dir.path(), kPassword), std::vector<std::string>{dir / "stdin"});
  }
}

TEST_F(InterruptedTransfer, AHangUpDuringAFleetRunRemovesItsWorkFolders) {
  test::SilentPrinter printer;
  if (!printer.listening()) GTEST_SKIP() << "cannot listen on port 21 (needs root)";
  const std::filesystem::path plan = dir / "plan.csv";
  const std::string ip = transport::dottedOctets(printer.address());
  writeFile(plan, "一号," + ip + ",ftp:127.0.0.2\n二号," + ip + ",ftp:127.0.0.3\n");
  std::filesystem::create_directory(dir / "tmp");
  // The rows work in private folders: a transfer in the data folder does not hold them up.
  const auto transfer = transport::TransferLock::tryAcquire(dir.path());
  ASSERT_TRUE(transfer.has_value());
  const auto run = start("fleet " + test::quote(plan) + " --timeout 60",
                         "export TMPDIR=" + test::quote(dir / "tmp") + "; ");
  ASSERT_TRUE(waitFor([&] { return anyFileNamed(dir / "tmp", "rftpcmd.log"); }))
      << readFile(dir / "stderr");
  EXPECT_EQ(coreLimit(run->pid()), "0");
  ::kill(run->pid(), SIGHUP);
  EXPECT_EQ(run->waitForExit(std::chrono::seconds(5)), 1) << readFile(dir / "stderr");
  EXPECT_NE(readFile(dir / "stderr").find("中断しました"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "tmp"));
}

// drovik-cli fetch on a pseudo-terminal of its own, stopped at the password prompt.
class PasswordPrompt {
 public:
  explicit PasswordPrompt(const std::filesystem::path& data) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    ::fcntl(master_, F_SETFL, O_NONBLOCK);
    const std::string slaveName = ::ptsname(master_);
    // The test's own view of the terminal, kept open after the program ends.
    slave_ = ::open(slaveName.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    const std::vector<std::string> argv = {DROVIK_CLI_PATH, "--data-dir", data.string(),
                                           "fetch",         "--ip",       "127.0.0.1"};
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      // A session of its own with the terminal as its controlling one, as a login shell has.
      ::setsid();
      const int terminal = ::open(slaveName.c_str(), O_RDWR);
      for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) ::dup2(terminal, fd);
      ::execv(args[0], args.data());
      ::_exit(127);
    }
  }
  ~PasswordPrompt() {
    if (pid_ > 0 && !waited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    for (int fd : {master_, slave_})
      if (fd >= 0) ::close(fd);
  }

  pid_t pid() const { return pid_; }
  bool echoing() const {
    termios now{};
    return ::tcgetattr(slave_, &now) == 0 && (now.c_lflag & ECHO) != 0;
  }
  // True once the prompt is on the screen.
  bool prompted() {
    std::string screen;
    return waitFor([&] {
      char buffer[256];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n > 0) screen.append(buffer, static_cast<std::size_t>(n));
      return screen.find("パスワード: ") != std::string::npos;
    });
  }
  void type(const std::string& keys) {
    EXPECT_EQ(::write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }
  // The signal that ended the program, 0 when it exited by itself.
  int endingSignal() {
    int status = 0;
    waited_ = ::waitpid(pid_, &status, 0) == pid_;
    return waited_ && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  pid_t pid_ = -1;
  bool waited_ = false;
};

TEST_F(InterruptedTransfer, AnInterruptedPasswordPromptGivesTheEchoBack) {
  for (const bool ctrlC : {true, false}) {
    SCOPED_TRACE(ctrlC ? "Ctrl-C" : "SIGTERM");
    PasswordPrompt prompt(dir.path());
    ASSERT_GT(prompt.pid(), 0);
    ASSERT_TRUE(prompt.prompted());
    EXPECT_FALSE(prompt.echoing());
    if (ctrlC)
      prompt.type("\x03");
    else
      ::kill(prompt.pid(), SIGTERM);
    // It still ends as the signal says, only with the terminal as it found it.
    EXPECT_EQ(prompt.endingSignal(), ctrlC ? SIGINT : SIGTERM);
    EXPECT_TRUE(prompt.echoing());
  }
}

}  // namespace
}  // namespace drovik
