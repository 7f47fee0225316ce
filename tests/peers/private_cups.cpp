#include "peers/private_cups.h"

#include <arpa/inet.h>
#include <cups/cups.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace drovik::test {
namespace {

int boundLoopbackSocket() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

int portOf(int fd) {
  sockaddr_in address{};
  socklen_t size = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  return ntohs(address.sin_port);
}

bool accepts(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

}  // namespace

int unusedLoopbackPort() {
  const int fd = boundLoopbackSocket();
  const int port = portOf(fd);
  ::close(fd);
  return port;
}

PrivateCups::PrivateCups() {
  const auto& d = dir_.path();
  // The spooler's own user (lp) reads the spool files through this folder.
  std::filesystem::permissions(d, std::filesystem::perms(0755));
  for (const char* sub : {"spool", "cache", "state", "log", "tmp"})
    std::filesystem::create_directories(d / sub);
  const int port = unusedLoopbackPort();
  server_ = "127.0.0.1:" + std::to_string(port);
  writeFile(
      d / "cupsd.conf",
      "Listen " + server_ +
          "\nBrowsing Off\nLogLevel warn\nDefaultAuthType None\n"
          "<Policy default>\n<Limit All>\nOrder allow,deny\nAllow all\n</Limit>\n</Policy>\n");
  std::string files = "User lp\nGroup lp\nSystemGroup root\n";
  for (const auto& [key, sub] : {std::pair{"ServerRoot", ""},
                                 {"RequestRoot", "spool"},
                                 {"CacheDir", "cache"},
                                 {"StateDir", "state"},
                                 {"TempDir", "tmp"},
                                 {"ErrorLog", "log/error_log"},
                                 {"AccessLog", "log/access_log"},
                                 {"PageLog", "log/page_log"},
                                 {"Printcap", "printcap"}})
    files += std::string(key) + " " + (d / sub).string() + "\n";
  writeFile(d / "cups-files.conf", files);
  daemon_ = std::make_unique<PeerProcess>(
      std::vector<std::string>{"/usr/sbin/cupsd", "-f", "-c", (d / "cupsd.conf").string(), "-s",
                               (d / "cups-files.conf").string()},
      d / "cupsd.err");
  for (int i = 0; i < 100 && !accepts(port); ++i) {
    if (daemon_->waitForExit(std::chrono::milliseconds(50))) break;
  }
  if (!accepts(port)) {
    problem_ = "cupsd did not start: " + readFile(d / "cupsd.err") + readFile(d / "log/error_log");
    return;
  }
  // Every thread of this process, and every program it starts, uses this spooler.
  ::setenv("CUPS_SERVER", server_.c_str(), 1);
  cupsSetServer(server_.c_str());
}

bool PrivateCups::addQueue(const std::string& name, int devicePort, const QueueSetup& setup) {
  const std::string uri = "socket://127.0.0.1:" + std::to_string(devicePort) +
                          "/?contimeout=" + std::to_string(setup.connectSeconds);
  std::vector<std::string> command = {
      "/usr/sbin/lpadmin", "-h", server_, "-p", name, "-E", "-v", uri};
  if (!setup.errorPolicy.empty())
    command.insert(command.end(), {"-o", "printer-error-policy=" + setup.errorPolicy});
  return runToEnd(command, dir_.path() / "lpadmin.err") == 0;
}

ByteCapture::ByteCapture() {
  listener_ = boundLoopbackSocket();
  port_ = portOf(listener_);
  ::listen(listener_, 1);
  thread_ = std::thread([this] {
    pollfd ready{listener_, POLLIN, 0};
    while (!finished_ && ::poll(&ready, 1, 50) == 0) {
    }
    if (finished_) return;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) return;
    char buffer[4096];
    for (;;) {
      pollfd readable{connection, POLLIN, 0};
      if (finished_) break;
      if (::poll(&readable, 1, 50) == 0) continue;
      const ssize_t n = ::read(connection, buffer, sizeof buffer);
      if (n <= 0) break;
      std::lock_guard lock(mutex_);
      bytes_.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(connection);
    finished_ = true;
  });
}

ByteCapture::~ByteCapture() {
  finished_ = true;
  thread_.join();
  ::close(listener_);
}

std::string ByteCapture::bytes(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!finished_ && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::lock_guard lock(mutex_);
  return bytes_;
}

}  // namespace drovik::test
